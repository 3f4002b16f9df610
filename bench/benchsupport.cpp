#include "benchsupport.h"

#include "launcher/windowmanager.h"
#include "launcher/windownames.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <numeric>

namespace Bench {

namespace {

// Map names as a server folder holds them: a few prefixes, numbers of varying width.
QString mapName(int i)
{
    static const char *const prefixes[] = {"dm_", "ctf_", "tfc_", "crossfire", "2fort", "op4_"};
    const char *prefix = prefixes[i % 6];
    return QStringLiteral("%1%2.bsp").arg(QLatin1String(prefix)).arg(i / 6);
}

bool writeFile(const QString &path, const QByteArray &bytes, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace

Fixture fixtureAt(const QString &root)
{
    const QDir dir(root);
    return Fixture{
        dir.filePath(QStringLiteral("program")), dir.filePath(QStringLiteral("program-empty")),
        dir.filePath(QStringLiteral("maps")), dir.filePath(QStringLiteral("big/crvn.ini"))};
}

QString bigSettingsSection()
{
    return QStringLiteral("SECTION%1").arg(kSettingsLines / 100 - 1);
}

QString bigSettingsKey()
{
    return QStringLiteral("key98");
}

QString bigSettingsValue()
{
    return QStringLiteral("C:\\Program Files\\Example\\value %1 98").arg(kSettingsLines / 100 - 1);
}

bool prepareFixture(const QString &root, Fixture *fixture, QString *error)
{
    *fixture = fixtureAt(root);
    const QDir dir(root);
    for (const char *sub : {"program", "program-empty", "maps", "maps-empty", "big"}) {
        if (!dir.mkpath(QLatin1String(sub))) {
            *error = QStringLiteral("cannot create %1 in %2").arg(QLatin1String(sub), root);
            return false;
        }
    }

    const auto ini = [&](const QString &maps) {
        return QByteArrayLiteral("[GAMEDIR]\r\nprogram=")
            + QFile::encodeName(dir.filePath(QStringLiteral("hl.exe")))
            + "\r\nmaps=" + QFile::encodeName(maps) + "\r\ntfcmaps=" + QFile::encodeName(maps)
            + "\r\n[MISC]\r\ntfc=true\r\nfirstuse=no\r\n";
    };
    if (!writeFile(QDir(fixture->programDirectory).filePath(QStringLiteral("crvn.ini")),
                   ini(fixture->mapsDirectory), error)
        || !writeFile(QDir(fixture->emptyProgramDirectory).filePath(QStringLiteral("crvn.ini")),
                      ini(dir.filePath(QStringLiteral("maps-empty"))), error))
        return false;

    const QDir maps(fixture->mapsDirectory);
    for (int i = 0; i < kMapCount; ++i) {
        if (!writeFile(maps.filePath(mapName(i)), {}, error))
            return false;
    }

    // 100 sections of a header and 99 keys: the key asked for is the file's last line.
    QByteArray big;
    big.reserve(kSettingsLines * 48);
    for (int s = 0; s < kSettingsLines / 100; ++s) {
        big += "[SECTION" + QByteArray::number(s) + "]\r\n";
        for (int k = 0; k < 99; ++k)
            big += "key" + QByteArray::number(k) + "=C:\\Program Files\\Example\\value "
                + QByteArray::number(s) + ' ' + QByteArray::number(k) + "\r\n";
    }
    return writeFile(fixture->bigSettingsFile, big, error);
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

double mean(const std::vector<double> &values)
{
    if (values.empty())
        return 0;
    return std::accumulate(values.begin(), values.end(), 0.0) / double(values.size());
}

bool waitUntil(const std::function<bool()> &done, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    return true;
}

bool isExposed(const QWidget *widget)
{
    return widget && widget->windowHandle() && widget->windowHandle()->isExposed();
}

namespace {

qint64 statusField(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> lines = status.readAll().split('\n');
    for (const QByteArray &line : lines) {
        if (line.startsWith(field)) {
            const QByteArray number =
                line.mid(qsizetype(std::strlen(field))).trimmed().split(' ').value(0);
            bool ok = false;
            const qint64 value = number.toLongLong(&ok);
            return ok ? value : -1;
        }
    }
    return -1;
}

} // namespace

qint64 peakMemoryKiB()
{
    return statusField("VmHWM:");
}

qint64 residentMemoryKiB()
{
    return statusField("VmRSS:");
}

void PaintWatch::watch(QWidget *widget)
{
    painted = false;
    widget->installEventFilter(this);
}

bool PaintWatch::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Paint)
        painted = true;
    return QObject::eventFilter(watched, event);
}

void watchMapList(WindowManager &windows, PaintWatch &watch, const std::function<void()> &onLoaded)
{
    watch.painted = false;
    QObject::connect(&windows, &WindowManager::windowLoaded, &watch,
                     [&windows, &watch, onLoaded](const QString &name) {
                         if (name != WindowName::main)
                             return;
                         if (onLoaded)
                             onLoaded();
                         QWidget *window = windows.find(name);
                         auto *list = window
                             ? window->findChild<QAbstractItemView *>(QStringLiteral("dirFichiers"))
                             : nullptr;
                         if (list)
                             watch.watch(list->viewport());
                     });
}

} // namespace Bench
