#include "benchwrite.h"

#include "benchsupport.h"
#include "settings/settings.h"
#include "settings/textfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSaveFile>

#include <cstdio>
#include <vector>

namespace {

constexpr SettingKey kKey{u"LAST", u"key"};

// Short lines ("k12345=v" and CR LF) in sections of 100 keys, the written key in the last
// section, last: the whole file is scanned and the splice copies all of it.
QByteArray shortLines(qint64 size)
{
    QByteArray text;
    text.reserve(size);
    int section = 0;
    int key = 0;
    const QByteArray last = "[LAST]\r\nkey=v0\r\n";
    while (text.size() + 32 + last.size() < size) {
        if (key % 100 == 0)
            text += "[S" + QByteArray::number(section++) + "]\r\n";
        text += 'k' + QByteArray::number(key++) + "=v\r\n";
    }
    return text + last;
}

double msSince(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

namespace BenchWrite {

int runChild(int argc, char *argv[])
{
    if (argc < 4)
        return 2;
    const QString path = QString::fromLocal8Bit(argv[2]);
    const QString value = QString::fromLocal8Bit(argv[3]);
    Settings settings(path);
    // Peak memory from here on: Linux resets VmHWM to the present resident size on "5".
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
    clear.close();
    const qint64 before = Bench::residentMemoryKiB();
    QElapsedTimer timer;
    double cpu = Bench::threadCpuMs();
    timer.start();
    const bool written = settings.write(kKey, value);
    const double writeMs = msSince(timer);
    const double writeCpuMs = Bench::threadCpuMs() - cpu;
    const qint64 peak = Bench::peakMemoryKiB();
    if (!written || settings.read(kKey) != value) {
        std::fprintf(stderr, "write failed: %s\n", qPrintable(settings.errorString()));
        return 1;
    }

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 1;
    const QByteArray bytes = file.readAll();
    cpu = Bench::threadCpuMs();
    timer.start();
    QSaveFile copy(path + QStringLiteral(".floor"));
    if (!copy.open(QIODevice::WriteOnly) || copy.write(bytes) != bytes.size() || !copy.commit())
        return 1;
    const double floorMs = msSince(timer);
    const double floorCpuMs = Bench::threadCpuMs() - cpu;
    QFile::remove(copy.fileName());
    std::printf("write %.3f\nfloor %.3f\nextra %lld\nwritecpu %.3f\nfloorcpu %.3f\n", writeMs,
                floorMs, static_cast<long long>(peak - before), writeCpuMs, floorCpuMs);
    return 0;
}

Figures measure(const QString &directory, int runs)
{
    Figures figures;
    const QString path = QDir(directory).filePath(QStringLiteral("big-crvn.ini"));
    {
        QFile file(path);
        const QByteArray text = shortLines(TextFile::kMaxSize - 64);
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size()) {
            figures.error = QStringLiteral("cannot write %1").arg(path);
            return figures;
        }
        figures.fileMiB = double(text.size()) / (1024.0 * 1024.0);
    }
    std::vector<double> writes;
    std::vector<double> floors;
    std::vector<double> extras;
    std::vector<double> writeCpus;
    std::vector<double> floorCpus;
    for (int i = 0; i <= runs; ++i) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--write-child"), path, QStringLiteral("v%1").arg(i % 10)});
        if (!child.waitForFinished(60000) || child.exitCode() != 0) {
            figures.error = QStringLiteral("write child failed: %1")
                                .arg(QString::fromLocal8Bit(child.readAllStandardError()));
            return figures;
        }
        if (i == 0) // the first run only fills the disk cache
            continue;
        for (const QByteArray &line : child.readAllStandardOutput().split('\n')) {
            const QList<QByteArray> parts = line.split(' ');
            if (parts.size() != 2)
                continue;
            if (parts[0] == "write")
                writes.push_back(parts[1].toDouble());
            else if (parts[0] == "floor")
                floors.push_back(parts[1].toDouble());
            else if (parts[0] == "extra")
                extras.push_back(parts[1].toDouble() / 1024.0);
            else if (parts[0] == "writecpu")
                writeCpus.push_back(parts[1].toDouble());
            else if (parts[0] == "floorcpu")
                floorCpus.push_back(parts[1].toDouble());
        }
    }
    figures.writeMs = Bench::median(writes);
    figures.floorMs = Bench::median(floors);
    figures.extraMiB = Bench::median(extras);
    figures.writeCpuMs = Bench::median(writeCpus);
    figures.floorCpuMs = Bench::median(floorCpus);
    figures.ok = !writes.empty() && writes.size() == extras.size();
    return figures;
}

} // namespace BenchWrite
