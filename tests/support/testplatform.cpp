#include "testplatform.h"

#include <QDir>
#include <QFile>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif
#ifdef Q_OS_WIN
#include <windows.h>
#endif

QString readOnlyFilesUnavailable()
{
#ifdef Q_OS_UNIX
    if (::geteuid() == 0)
        return QStringLiteral("running as root, which may write into a read-only folder");
#endif
    return {};
}

QString readOnlyFoldersUnavailable()
{
#ifdef Q_OS_WIN
    return QStringLiteral("Windows ignores a folder's read-only attribute");
#else
    return readOnlyFilesUnavailable();
#endif
}

ReadOnlyFolder::ReadOnlyFolder(const QString &folder, const QStringList &files)
    : m_folder(folder)
    , m_files(files)
{
#ifdef Q_OS_WIN
    for (const QString &file : files) {
        const QString path = QDir::toNativeSeparators(QDir(folder).filePath(file));
        HANDLE handle = CreateFileW(reinterpret_cast<const wchar_t *>(path.utf16()), GENERIC_READ,
                                    FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (handle != INVALID_HANDLE_VALUE)
            m_handles.append(handle);
        else
            qWarning("could not hold %s open", qPrintable(path));
    }
#else
    for (const QString &file : files)
        QFile::setPermissions(QDir(folder).filePath(file), QFile::ReadOwner);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
#endif
}

ReadOnlyFolder::~ReadOnlyFolder()
{
#ifdef Q_OS_WIN
    for (void *handle : std::as_const(m_handles))
        CloseHandle(handle);
#else
    QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    for (const QString &file : std::as_const(m_files))
        QFile::setPermissions(QDir(m_folder).filePath(file), QFile::ReadOwner | QFile::WriteOwner);
#endif
}

QByteArray pathWithFirst(const QString &folder, const QByteArray &path)
{
    return QDir::toNativeSeparators(folder).toLocal8Bit() + QDir::listSeparator().toLatin1() + path;
}
