#include "files/outsidefile.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>

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
#ifdef EDQUOT
    {EDQUOT, u"quota de disque dépassé"},
#endif
};

// Reads at most limit bytes of an open file. A big file (the 4 MiB settings file) is read into a
// buffer the kernel may back with 2 MiB pages: a first touch of a thousand 4 KiB pages costs more
// than the read itself (about 12 ms on a virtual machine), two huge pages next to nothing.
QByteArray readAtMost(QFile &file, qint64 limit, qint64 expectedSize)
{
#ifdef Q_OS_LINUX
    constexpr qint64 kHugePage = qint64(2) * 1024 * 1024;
    if (expectedSize >= kHugePage) {
        QByteArray buffer(qsizetype(limit + kHugePage), Qt::Uninitialized);
        // Dropping bytes at the front only moves the start, so the data begins on a boundary.
        const auto address = reinterpret_cast<quintptr>(buffer.constData());
        const auto skip = qsizetype((kHugePage - address % kHugePage) % kHugePage);
        buffer.remove(0, skip);
        ::madvise(buffer.data(), size_t(buffer.size()), MADV_HUGEPAGE); // advice only
        const qint64 got = file.read(buffer.data(), limit);
        buffer.resize(qsizetype(qMax<qint64>(got, 0)));
        return buffer;
    }
#else
    Q_UNUSED(expectedSize);
#endif
    return file.read(limit);
}

} // namespace

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

Status read(const QString &path, qint64 maxSize, QByteArray *bytes, QString *reason)
{
    bytes->clear();
    QFile file;
    qint64 knownSize = 0;
#ifdef Q_OS_UNIX
    // Non-blocking: opening a FIFO for reading would otherwise wait for a writer forever.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return Status::Missing;
        setReason(reason, unreadable(path, systemReason(errno)));
        return Status::Refused;
    }
    struct stat info { };
    if (::fstat(fd, &info) != 0) {
        setReason(reason, unreadable(path, systemReason(errno)));
        ::close(fd);
        return Status::Refused;
    }
    if (!S_ISREG(info.st_mode)) {
        setReason(reason, notRegular(path, kindName(info.st_mode)));
        ::close(fd);
        return Status::Refused;
    }
    if (info.st_size > maxSize) {
        setReason(reason, tooBigReason(path, info.st_size, maxSize));
        ::close(fd);
        return Status::Refused;
    }
    knownSize = info.st_size;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        setReason(reason, unreadable(path, file.errorString()));
        return Status::Refused;
    }
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
    if (info.size() > maxSize) {
        setReason(reason, tooBigReason(path, info.size(), maxSize));
        return Status::Refused;
    }
    knownSize = info.size();
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly)) {
        setReason(reason, unreadable(path, file.errorString()));
        return Status::Refused;
    }
#endif
    // The size seen above may be stale (a growing file, a file system that reports none): the
    // read itself stops one byte past the limit. The first read asks for the size seen plus one
    // byte, not for the limit: a buffer of the limit would cost what the limit costs (64 MiB
    // for a map) on every read of a small file.
    const qint64 expected = std::clamp<qint64>(knownSize, 0, maxSize);
    *bytes = readAtMost(file, expected + 1, expected);
    if (bytes->size() > expected && expected < maxSize && file.error() == QFileDevice::NoError)
        bytes->append(file.read(maxSize - expected));
    if (file.error() != QFileDevice::NoError) {
        setReason(reason, unreadable(path, file.errorString()));
        bytes->clear();
        return Status::Refused;
    }
    if (bytes->size() > maxSize) {
        setReason(reason, tooBigReason(path, bytes->size(), maxSize));
        bytes->clear();
        return Status::Refused;
    }
    return Status::Ok;
}

} // namespace OutsideFile
