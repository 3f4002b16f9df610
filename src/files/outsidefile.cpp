#include "files/outsidefile.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif
#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif
#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

namespace OutsideFile {

namespace {

QString fileName(const QString &path)
{
    return QFileInfo(path).fileName();
}

QString unreadable(const QString &path, const QString &why)
{
    return QStringLiteral("%1 ne peut pas être lu : %2").arg(fileName(path), why);
}

QString notRegular(const QString &path, const QString &kind)
{
    return QStringLiteral("%1 n'est pas un fichier ordinaire : c'est %2.")
        .arg(fileName(path), kind);
}

void setReason(QString *reason, const QString &text)
{
    if (reason)
        *reason = text;
}

#ifdef Q_OS_UNIX
QString kindName(mode_t mode)
{
    if (S_ISDIR(mode))
        return QStringLiteral("un dossier");
    if (S_ISFIFO(mode))
        return QStringLiteral("un tube nommé (FIFO)");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("un périphérique");
    if (S_ISSOCK(mode))
        return QStringLiteral("une socket");
    return QStringLiteral("un fichier spécial");
}
#endif

// What the player may meet when a file cannot be read or written; anything else keeps its
// number, which is still more use than an English sentence among French ones.
struct ErrorText {
    int error;
    const char16_t *text;
};
constexpr ErrorText kErrorTexts[] = {
    {EACCES, u"permission refusée"},
    {EPERM, u"opération non permise"},
    {ENOENT, u"fichier ou dossier introuvable"},
    {ENOTDIR, u"un élément du chemin n'est pas un dossier"},
    {EISDIR, u"c'est un dossier"},
    {ELOOP, u"trop de niveaux de liens symboliques"},
    {ENAMETOOLONG, u"nom de fichier trop long"},
    {EROFS, u"système de fichiers en lecture seule"},
    {ENOSPC, u"plus de place sur le disque"},
    {EIO, u"erreur d'entrée-sortie"},
    {EBUSY, u"ressource occupée"},
    {EEXIST, u"le fichier existe déjà"},
    {EXDEV, u"déplacement impossible d'un disque à un autre"},
    {EMFILE, u"trop de fichiers ouverts"},
    {ENFILE, u"trop de fichiers ouverts dans le système"},
    {ENOMEM, u"mémoire insuffisante"},
    {EFBIG, u"fichier trop grand"},
    {EINVAL, u"argument invalide"},
    {EAGAIN, u"ressource temporairement indisponible"},
    {ENXIO, u"périphérique ou adresse inexistant"},
    {ENODEV, u"aucun périphérique de ce type"},
    {ETXTBSY, u"fichier texte occupé"},
    {ENOEXEC, u"ce n'est pas un programme que ce système sait lancer"},
    {E2BIG, u"liste d'arguments trop longue"},
#ifdef EDQUOT
    {EDQUOT, u"quota de disque dépassé"},
#endif
};

#ifdef Q_OS_UNIX
// A buffer for size bytes. A big file (the 4 MiB settings file) goes into memory the kernel may
// back with 2 MiB pages: a first touch of a thousand 4 KiB pages costs more than the read itself
// (about 12 ms on a virtual machine), two huge pages next to nothing.
QByteArray bufferFor(qint64 size)
{
#ifdef Q_OS_LINUX
    constexpr qint64 kHugePage = qint64(2) * 1024 * 1024;
    if (size >= kHugePage) {
        // Whole huge pages only: a part page is backed by small ones again.
        const qint64 pages = (size + kHugePage - 1) / kHugePage;
        QByteArray buffer(qsizetype((pages + 1) * kHugePage), Qt::Uninitialized);
        // Dropping bytes at the front only moves the start, so the data begins on a boundary.
        const auto address = reinterpret_cast<quintptr>(buffer.constData());
        const auto skip = qsizetype((kHugePage - address % kHugePage) % kHugePage);
        buffer.remove(0, skip);
        ::madvise(buffer.data(), size_t(pages * kHugePage), MADV_HUGEPAGE); // advice only
        buffer.resize(qsizetype(size));
        return buffer;
    }
#endif
    return QByteArray(qsizetype(size), Qt::Uninitialized);
}
#endif

// The same texts for the codes Windows gives (GetLastError), by number: this table is compiled
// and tested everywhere.
constexpr struct {
    unsigned long code;
    int error;
} kWindowsErrors[] = {
    {2, ENOENT},         // ERROR_FILE_NOT_FOUND
    {3, ENOENT},         // ERROR_PATH_NOT_FOUND
    {4, EMFILE},         // ERROR_TOO_MANY_OPEN_FILES
    {5, EACCES},         // ERROR_ACCESS_DENIED
    {8, ENOMEM},         // ERROR_NOT_ENOUGH_MEMORY
    {17, EXDEV},         // ERROR_NOT_SAME_DEVICE
    {19, EROFS},         // ERROR_WRITE_PROTECT
    {32, EBUSY},         // ERROR_SHARING_VIOLATION
    {33, EBUSY},         // ERROR_LOCK_VIOLATION
    {39, ENOSPC},        // ERROR_HANDLE_DISK_FULL
    {80, EEXIST},        // ERROR_FILE_EXISTS
    {87, EINVAL},        // ERROR_INVALID_PARAMETER
    {112, ENOSPC},       // ERROR_DISK_FULL
    {123, EINVAL},       // ERROR_INVALID_NAME
    {183, EEXIST},       // ERROR_ALREADY_EXISTS
    {206, ENAMETOOLONG}, // ERROR_FILENAME_EXCED_RANGE
    {1920, ELOOP},       // ERROR_CANT_ACCESS_FILE (a link that cannot be followed)
    {1921, ELOOP},       // ERROR_CANT_RESOLVE_FILENAME
};

#ifdef Q_OS_WIN
QString lastSystemReason()
{
    return windowsReason(GetLastError());
}
#endif

} // namespace

QString windowsReason(unsigned long code)
{
    for (const auto &entry : kWindowsErrors) {
        if (entry.code == code)
            return systemReason(entry.error);
    }
    return QStringLiteral("erreur Windows %1").arg(code);
}

QString systemReason(int error)
{
    for (const ErrorText &entry : kErrorTexts) {
        if (entry.error == error)
            return QString::fromUtf16(entry.text);
    }
    return QStringLiteral("erreur système %1").arg(error);
}

QString tooBigReason(const QString &path, qint64 size, qint64 maxSize)
{
    return QStringLiteral("%1 est trop volumineux (%2 octets ; %3 octets au plus).")
        .arg(fileName(path))
        .arg(size)
        .arg(maxSize);
}

bool isRegularFile(const QString &path)
{
#ifdef Q_OS_UNIX
    struct stat info { };
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISREG(info.st_mode);
#else
    const QFileInfo info(path);
    return info.isFile();
#endif
}

namespace {

// Reads the file at path when it is a regular file: at most `limit` bytes, and, when `whole`,
// refuses a file larger than maxSize (the read stops one byte past it, so a file that grows
// meanwhile is refused too, never read past maxSize).
Status readBounded(const QString &path, qint64 maxSize, bool whole, QByteArray *bytes,
                   QString *reason)
{
    bytes->clear();
    const qint64 limit = whole ? maxSize + 1 : maxSize;
#ifdef Q_OS_UNIX
    // Non-blocking: opening a FIFO for reading would otherwise wait for a writer forever.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return Status::Missing;
        setReason(reason, unreadable(path, systemReason(errno)));
        return Status::Refused;
    }
    const auto refuse = [fd, bytes, reason](const QString &why) {
        setReason(reason, why);
        bytes->clear();
        ::close(fd);
        return Status::Refused;
    };
    struct stat info { };
    if (::fstat(fd, &info) != 0)
        return refuse(unreadable(path, systemReason(errno)));
    if (!S_ISREG(info.st_mode))
        return refuse(notRegular(path, kindName(info.st_mode)));
    if (whole && info.st_size > maxSize)
        return refuse(tooBigReason(path, info.st_size, maxSize));
    // The size seen above may be stale (a growing file, a file system that reports none).
    *bytes = bufferFor(std::min<qint64>(limit, whole ? info.st_size + 1 : limit));
    qsizetype got = 0;
    for (;;) {
        if (got == bytes->size()) {
            if (got >= limit)
                break;
            bytes->resize(qsizetype(std::min<qint64>(limit, qint64(got) * 2 + 4096)));
        }
        const ssize_t n = ::read(fd, bytes->data() + got, size_t(bytes->size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return refuse(unreadable(path, systemReason(errno)));
        if (n == 0)
            break;
        got += n;
    }
    ::close(fd);
    bytes->truncate(got);
#else
    const QFileInfo info(path);
    if (!info.exists())
        return Status::Missing;
    if (!info.isFile()) {
        setReason(reason,
                  notRegular(path,
                             info.isDir() ? QStringLiteral("un dossier")
                                          : QStringLiteral("un fichier spécial")));
        return Status::Refused;
    }
    if (whole && info.size() > maxSize) {
        setReason(reason, tooBigReason(path, info.size(), maxSize));
        return Status::Refused;
    }
    const qint64 knownSize = info.size();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        setReason(reason, unreadable(path, lastSystemReason()));
        return Status::Refused;
    }
    // The first read asks for the size seen plus one byte, not for the limit: a buffer of the
    // limit would cost what the limit costs (64 MiB for a map) on every read of a small file.
    const qint64 expected = std::clamp<qint64>(knownSize, 0, limit - 1);
    *bytes = file.read(expected + 1);
    if (bytes->size() > expected && file.error() == QFileDevice::NoError)
        bytes->append(file.read(limit - expected - 1));
    if (file.error() != QFileDevice::NoError) {
        setReason(reason, unreadable(path, lastSystemReason()));
        bytes->clear();
        return Status::Refused;
    }
#endif
    if (whole && bytes->size() > maxSize) {
        setReason(reason, tooBigReason(path, bytes->size(), maxSize));
        bytes->clear();
        return Status::Refused;
    }
    return Status::Ok;
}

} // namespace

QString notRegularProblem(const QString &path)
{
#ifdef Q_OS_UNIX
    struct stat info { };
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return errno == ENOENT || errno == ENOTDIR ? QString() : systemReason(errno);
    return S_ISREG(info.st_mode) ? QString() : notRegular(path, kindName(info.st_mode));
#else
    const QFileInfo info(path);
    if (!info.exists() || info.isFile())
        return QString();
    return notRegular(
        path, info.isDir() ? QStringLiteral("un dossier") : QStringLiteral("un fichier spécial"));
#endif
}

Status read(const QString &path, qint64 maxSize, QByteArray *bytes, QString *reason)
{
    return readBounded(path, maxSize, true, bytes, reason);
}

Status readStart(const QString &path, qint64 count, QByteArray *bytes, QString *reason)
{
    return readBounded(path, count, false, bytes, reason);
}

} // namespace OutsideFile
