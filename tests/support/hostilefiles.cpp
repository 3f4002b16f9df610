#include "hostilefiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <chrono>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace Hostile {

QStringList kinds()
{
    return {QStringLiteral("fifo"),  QStringLiteral("device"),   QStringLiteral("directory"),
            QStringLiteral("loop"),  QStringLiteral("dangling"), QStringLiteral("toobig")};
}

bool make(const QString &kind, const QString &path, qint64 maxSize, const QByteArray &text)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        return false;
    QFile::remove(path);
    if (kind == u"directory")
        return QDir().mkdir(path);
    if (kind == u"ok" || kind == u"toobig") {
        QFile file(path);
        const QByteArray bytes = kind == u"ok"
            ? text
            : text + QByteArray(qMax<qint64>(0, maxSize + 1 - text.size()), '\n');
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    }
#ifdef Q_OS_UNIX
    if (kind == u"fifo")
        return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
    if (kind == u"device")
        return QFile::link(QStringLiteral("/dev/zero"), path);
    if (kind == u"dangling")
        return QFile::link(folder + QStringLiteral("/nothing-here"), path);
    if (kind == u"loop") {
        const QString other = path + QStringLiteral(".other");
        return QFile::link(other, path) && QFile::link(path, other);
    }
#endif
    return false;
}

Watchdog::Watchdog(QStringList fifos, int ms)
    : m_fifos(std::move(fifos))
{
    m_thread = std::thread([this, ms] {
        std::unique_lock lock(m_mutex);
        if (m_wake.wait_for(lock, std::chrono::milliseconds(ms), [this] { return m_done; }))
            return;
        m_fired = true;
        while (!m_done) {
#ifdef Q_OS_UNIX
            for (const QString &fifo : std::as_const(m_fifos)) {
                const int fd = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0)
                    ::close(fd);
            }
#endif
            m_wake.wait_for(lock, std::chrono::milliseconds(50), [this] { return m_done; });
        }
    });
}

Watchdog::~Watchdog()
{
    {
        std::lock_guard lock(m_mutex);
        m_done = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

} // namespace Hostile
