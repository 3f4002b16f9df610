#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

// What a player's disk may hold where Corvane expects a file it did not write.
namespace Hostile {

// "fifo", "device" (a link to /dev/zero), "directory", "loop" (two links to each other),
// "dangling" (a link to nothing), "toobig" (`text` padded with line ends to maxSize + 1 bytes).
QStringList kinds();

// Puts a thing of that kind at path (its folder is made); "ok" writes `text` as it is. FIFOs,
// devices and links are Unix things: false elsewhere.
bool make(const QString &kind, const QString &path, qint64 maxSize, const QByteArray &text = {});

// Fails a test instead of hanging it: when still alive after `ms`, it opens the given FIFOs for
// writing, again and again, which frees a reader blocked on one; fired() then says so.
class Watchdog
{
public:
    explicit Watchdog(QStringList fifos, int ms = 5000);
    ~Watchdog();
    bool fired() const { return m_fired; }

private:
    QStringList m_fifos;
    std::atomic<bool> m_fired{false};
    bool m_done = false;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::thread m_thread;
};

} // namespace Hostile
