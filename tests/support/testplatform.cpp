#include "testplatform.h"

#include <QDir>
#include <QFile>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

QString readOnlyFoldersUnavailable()
{
#ifdef Q_OS_UNIX
    if (::geteuid() == 0)
        return QStringLiteral("running as root, which may write into a read-only folder");
    return {};
#else
    return QStringLiteral("Windows ignores a folder's read-only attribute");
#endif
}

ReadOnlyFolder::ReadOnlyFolder(const QString &folder, const QStringList &files)
    : m_folder(folder)
    , m_files(files)
{
    for (const QString &file : files)
        QFile::setPermissions(QDir(folder).filePath(file), QFile::ReadOwner);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
}

ReadOnlyFolder::~ReadOnlyFolder()
{
    QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    for (const QString &file : std::as_const(m_files))
        QFile::setPermissions(QDir(m_folder).filePath(file), QFile::ReadOwner | QFile::WriteOwner);
}

QByteArray pathWithFirst(const QString &folder, const QByteArray &path)
{
    return QDir::toNativeSeparators(folder).toLocal8Bit() + QDir::listSeparator().toLatin1() + path;
}
