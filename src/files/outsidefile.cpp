#include "files/outsidefile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
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
    qint64 seenSize = 0;
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
    seenSize = info.st_size;
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
    seenSize = info.size();
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly)) {
        setReason(reason, unreadable(path, file.errorString()));
        return Status::Refused;
    }
#endif
    // The size seen above may be stale (a growing file, a file system that reports none): the
    // read goes on to the end of the file and stops one byte past the limit. It asks for the
    // size seen, not the limit: QIODevice::read allocates all it is asked for, and a 4 MiB
    // buffer for every small file read adds up.
    *bytes = file.read(qMin(seenSize, maxSize) + 1);
    while (file.error() == QFileDevice::NoError && bytes->size() <= maxSize) {
        constexpr qint64 kChunk = 64 * 1024;
        const QByteArray more = file.read(qMin(kChunk, maxSize + 1 - bytes->size()));
        if (more.isEmpty())
            break;
        bytes->append(more);
    }
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
