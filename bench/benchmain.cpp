// bench_corvane: the program's speed and memory beside what a bare Qt program costs on the
// same machine, in one run. See README.md.

#include "benchchild.h"
#include "benchmaps.h"
#include "benchmemory.h"
#include "benchserverlist.h"
#include "benchsupport.h"
#include "benchwrite.h"
#include "detect/detection.h"
#include "launcher/mapfiles.h"
#include "launcher/program.h"
#include "launcher/windownames.h"
#include "platform/qtplatform.h"
#include "platform/systemprocessstarter.h"
#include "settings/profilefile.h"
#include "settings/settings.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QListWidget>
#include <QPointer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

double msSince(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

// ---- child processes: start-up and peak memory ----

struct ChildRun {
    bool ok = false;
    double readyMs = 0; // QProcess::start to the "ready" line
    QHash<QString, double> steps;
    double peakMiB = 0;
    double residentMiB = 0;
    QHash<QString, double> kinds; // resident KiB by what holds it
    double fromFilesMiB = 0;      // of the resident memory, pages mapped from files
    QString error;
};

ChildRun runChildProcess(const QString &mode, const QString &root)
{
    ChildRun run;
    QProcess process;
    QElapsedTimer timer;
    timer.start();
    process.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child"), mode, root});
    QByteArray output;
    while (!output.contains("ready\n")) {
        if (!process.waitForReadyRead(30000)) {
            process.kill();
            process.waitForFinished(5000);
            run.error = QStringLiteral("%1 child gave no ready line: %2")
                            .arg(mode, QString::fromLocal8Bit(process.readAllStandardError()));
            return run;
        }
        output += process.readAllStandardOutput();
    }
    run.readyMs = msSince(timer);
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished(5000);
    }
    output += process.readAllStandardOutput();
    for (const QByteArray &line : output.split('\n')) {
        if (line.startsWith("step ")) {
            const qsizetype space = line.lastIndexOf(' ');
            run.steps.insert(QString::fromLatin1(line.mid(5, space - 5)),
                             line.mid(space + 1).toDouble());
        } else if (line.startsWith("rss ")) {
            run.residentMiB = line.mid(4).toDouble() / 1024.0;
        } else if (line.startsWith("hwm ")) {
            run.peakMiB = line.mid(4).toDouble() / 1024.0;
        } else if (line.startsWith("files ")) {
            run.fromFilesMiB = line.mid(6).toDouble() / 1024.0;
        } else if (line.startsWith("kind ")) {
            const qsizetype space = line.indexOf(' ', 5);
            run.kinds.insert(QString::fromUtf8(line.mid(space + 1)),
                             line.mid(5, space - 5).toDouble());
        }
    }
    run.ok = run.peakMiB > 0;
    if (!run.ok)
        run.error = QStringLiteral("%1 child printed no peak memory").arg(mode);
    return run;
}

struct ChildFigures {
    std::vector<double> readyMs;
    std::vector<double> peakMiB;
    std::vector<double> residentMiB;
    QHash<QString, std::vector<double>> steps;
    QHash<QString, std::vector<double>> kinds;
    std::vector<double> fromFilesMiB;
    void add(const ChildRun &run)
    {
        fromFilesMiB.push_back(run.fromFilesMiB);
        for (auto it = run.kinds.cbegin(); it != run.kinds.cend(); ++it)
            kinds[it.key()].push_back(it.value());
        readyMs.push_back(run.readyMs);
        peakMiB.push_back(run.peakMiB);
        residentMiB.push_back(run.residentMiB);
        for (auto it = run.steps.cbegin(); it != run.steps.cend(); ++it)
            steps[it.key()].push_back(it.value());
    }
};

// ---- in process: the main window's load against a bare list ----

void destroyDeferred()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

double listFloorLoad(const QString &directory)
{
    QElapsedTimer timer;
    timer.start();
    auto *list = new QListWidget;
    list->setUniformItemSizes(true);
    list->addItems(QDir(directory).entryList({QStringLiteral("*.bsp")}, QDir::Files));
    Bench::PaintWatch watch;
    watch.watch(list->viewport());
    list->show();
    const bool painted = Bench::waitUntil([&] { return watch.painted; });
    const double ms = msSince(timer);
    delete list;
    destroyDeferred();
    return painted ? ms : -1;
}

struct MainLoad {
    double totalMs = -1;  // show(main) until the list has painted
    double loadedMs = -1; // show(main) until built and its load handler has run
};

MainLoad mainWindowLoad(Program &program)
{
    MainLoad result;
    QElapsedTimer timer;
    Bench::PaintWatch watch;
    Bench::watchMapList(program.windows(), watch, [&] { result.loadedMs = msSince(timer); });
    timer.start();
    program.windows().show(WindowName::main);
    const bool painted = Bench::waitUntil([&] { return watch.painted; });
    if (painted)
        result.totalMs = msSince(timer);
    program.windows().unload(WindowName::main);
    destroyDeferred();
    return result;
}

// ---- reading one key ----

struct ReadFigures {
    double readMs = -1;
    double fileMs = -1;
    double readCpuMs = -1; // the same reads in CPU time of this thread
    double parseMs = -1;   // finding the key in bytes already in memory
    bool correct = false;
};

ReadFigures settingsRead(const Bench::Fixture &fixture, int reads)
{
    ReadFigures figures;
    const Settings settings(fixture.bigSettingsFile);
    const QString section = Bench::bigSettingsSection();
    const QString key = Bench::bigSettingsKey();
    const SettingKey settingKey{section, key};
    figures.correct = settings.read(settingKey) == Bench::bigSettingsValue(); // and warms the cache

    std::vector<double> readTimes;
    std::vector<double> readCpuTimes;
    std::vector<double> fileTimes;
    std::vector<double> parseTimes;
    for (int i = 0; i < reads; ++i) {
        QElapsedTimer timer;
        const double cpu = Bench::threadCpuMs();
        timer.start();
        const QString value = settings.read(settingKey);
        readTimes.push_back(msSince(timer));
        readCpuTimes.push_back(Bench::threadCpuMs() - cpu);
        figures.correct = figures.correct && value.size() > 0;

        timer.start();
        QFile file(fixture.bigSettingsFile);
        const bool opened = file.open(QIODevice::ReadOnly);
        const QByteArray bytes = opened ? file.readAll() : QByteArray();
        fileTimes.push_back(msSince(timer));
        figures.correct = figures.correct && !bytes.isEmpty();

        timer.start();
        const QString parsed = ProfileFile::readFromBytes(bytes, section, key, QString());
        parseTimes.push_back(msSince(timer));
        figures.correct = figures.correct && parsed == value;
    }
    figures.readMs = Bench::mean(readTimes);
    figures.readCpuMs = Bench::mean(readCpuTimes);
    figures.parseMs = Bench::mean(parseTimes);
    figures.fileMs = Bench::mean(fileTimes);
    return figures;
}

// ---- Steam detection ----

// Detection looks only under this home; the machine's own HOME plays no part.
class BenchEnvironment final : public DetectEnvironment
{
public:
    explicit BenchEnvironment(QString home)
        : m_home(std::move(home))
    {
    }
    QString homePath() const override { return m_home; }
    QString variable(const char *) const override { return {}; }
    QString registryValue(const QString &, const QString &) const override { return {}; }
    bool processAlive(qint64) const override { return false; }

private:
    QString m_home;
};

bool writeFile(const QString &path, const QByteArray &text)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

// A Steam root under <root>/home/.local/share/Steam listing four more libraries: each
// library holds three app manifests and their game folders; Half-Life is in the last one.
bool prepareSteam(const QString &root, QStringList *libraries)
{
    const QString home = root + QStringLiteral("/home");
    libraries->append(home + QStringLiteral("/.local/share/Steam"));
    for (int i = 1; i < 5; ++i)
        libraries->append(root + QStringLiteral("/library%1").arg(i));
    QByteArray list = "\"libraryfolders\"\n{\n";
    for (int i = 0; i < libraries->size(); ++i)
        list += "\t\"" + QByteArray::number(i) + "\"\n\t{\n\t\t\"path\"\t\t\""
            + libraries->at(i).toUtf8()
            + "\"\n\t\t\"apps\"\n\t\t{\n\t\t\t\"10\"\t\t\"1\"\n"
              "\t\t}\n\t}\n";
    list += "}\n";
    if (!writeFile(libraries->first() + QStringLiteral("/steamapps/libraryfolders.vdf"), list))
        return false;
    for (int i = 0; i < libraries->size(); ++i) {
        const QString steamapps = libraries->at(i) + QStringLiteral("/steamapps");
        for (int app : {10, 20, 30}) {
            const QString name = QStringLiteral("Game %1").arg(app + i);
            if (!writeFile(steamapps + QStringLiteral("/appmanifest_%1.acf").arg(app),
                           "\"AppState\"\n{\n\t\"appid\"\t\t\"" + QByteArray::number(app)
                               + "\"\n\t\"StateFlags\"\t\t\"4\"\n\t\"installdir\"\t\t\""
                               + name.toUtf8() + "\"\n}\n")
                || !writeFile(
                    steamapps + QStringLiteral("/common/") + name + QStringLiteral("/game"), "x"))
                return false;
        }
    }
    const QString last = libraries->last() + QStringLiteral("/steamapps");
    return writeFile(last + QStringLiteral("/appmanifest_70.acf"),
                     "\"AppState\"\n{\n\t\"appid\"\t\t\"70\"\n\t\"StateFlags\"\t\t\"4\"\n"
                     "\t\"installdir\"\t\t\"Half-Life\"\n}\n")
        && writeFile(last + QStringLiteral("/common/Half-Life/hl.sh"), "#!/bin/sh\n")
        && writeFile(last + QStringLiteral("/common/Half-Life/hl.exe"), "MZ")
        && writeFile(last + QStringLiteral("/common/Half-Life/valve/maps/crossfire.bsp"), "")
        && writeFile(last + QStringLiteral("/common/Half-Life/tfc/liblist.gam"), "game \"TFC\"\n");
}

struct DetectFigures {
    bool correct = false;
    double detectMs = 0;
    double floorMs = 0;
};

// Detection against listing the five libraries' steamapps and common folders with QDir.
DetectFigures steamDetection(const QString &root, int runs)
{
    DetectFigures figures;
    QStringList libraries;
    if (!prepareSteam(root, &libraries))
        return figures;
    const BenchEnvironment environment(root + QStringLiteral("/home"));
    std::vector<double> detectTimes;
    std::vector<double> floorTimes;
    for (int i = 0; i <= runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        const Detection detection = Detect::detect(environment);
        const double detectMs = msSince(timer);
        timer.start();
        qsizetype listed = 0;
        for (const QString &library : std::as_const(libraries)) {
            listed += QDir(library + QStringLiteral("/steamapps")).entryList().size();
            listed += QDir(library + QStringLiteral("/steamapps/common")).entryList().size();
        }
        const double floorMs = msSince(timer);
        figures.correct = detection.libraries.size() == 5 && detection.installations.size() == 1
            && listed > 0;
        if (!figures.correct)
            return figures;
        if (i == 0) // warms the caches
            continue;
        detectTimes.push_back(detectMs);
        floorTimes.push_back(floorMs);
    }
    figures.detectMs = Bench::median(detectTimes);
    figures.floorMs = Bench::median(floorTimes);
    return figures;
}

// ---- the table ----

struct Row {
    QString figure;
    double value;
    double floor;
    QString unit;
    double limit; // the target: ratio limit, or absolute when `absolute`
    bool absolute;
};

void printTable(const std::vector<Row> &rows)
{
    out() << QStringLiteral("%1 %2 %3 %4 %5 %6\n")
                 .arg(QStringLiteral("figure"), -44)
                 .arg(QStringLiteral("value"), 12)
                 .arg(QStringLiteral("floor"), 12)
                 .arg(QStringLiteral("ratio"), 7)
                 .arg(QStringLiteral("target"), 10)
                 .arg(QStringLiteral("result"));
    for (const Row &row : rows) {
        const double ratio = row.floor > 0 ? row.value / row.floor : 0;
        const bool ok = row.value >= 0
            && (row.absolute ? row.value < row.limit : ratio <= row.limit);
        const QString target = row.absolute ? QStringLiteral("< %1 %2").arg(row.limit).arg(row.unit)
                                            : QStringLiteral("<= %1x").arg(row.limit, 0, 'f', 1);
        out() << QStringLiteral("%1 %2 %3 %4 %5 %6\n")
                     .arg(row.figure, -44)
                     .arg(QStringLiteral("%1 %2").arg(row.value, 0, 'f', 3).arg(row.unit), 12)
                     .arg(QStringLiteral("%1 %2").arg(row.floor, 0, 'f', 3).arg(row.unit), 12)
                     .arg(QStringLiteral("%1x").arg(ratio, 0, 'f', 2), 7)
                     .arg(target, 10)
                     .arg(ok ? QStringLiteral("OK") : QStringLiteral("over"));
    }
}

QString stepLine(const QString &label, const ChildFigures &figures)
{
    QString line = QStringLiteral("  %1 start->ready %2 ms;")
                       .arg(label, -11)
                       .arg(Bench::median(figures.readyMs), 0, 'f', 2);
    const double ready = Bench::median(figures.steps.value(QStringLiteral("ready")));
    line += QStringLiteral(" before main() %1 ms;")
                .arg(Bench::median(figures.readyMs) - ready, 0, 'f', 2);
    for (const char *name : {"application", "program", "splash shown", "splash exposed",
                             "main loaded", "shown", "ready"}) {
        const auto it = figures.steps.constFind(QLatin1String(name));
        if (it != figures.steps.cend())
            line += QStringLiteral(" %1 @%2")
                        .arg(QLatin1String(name))
                        .arg(Bench::median(*it), 0, 'f', 2);
    }
    return line
        + QStringLiteral(" ms since main(); peak %1 MiB, resident at ready %2 MiB\n")
              .arg(Bench::median(figures.peakMiB), 0, 'f', 1)
              .arg(Bench::median(figures.residentMiB), 0, 'f', 1);
}

int intOption(const QStringList &arguments, const QString &name, int fallback)
{
    const qsizetype at = arguments.indexOf(name);
    if (at < 0 || at + 1 >= arguments.size())
        return fallback;
    bool ok = false;
    const int value = arguments.at(at + 1).toInt(&ok);
    return ok && value > 0 ? value : fallback;
}

int runBenchmark()
{
    const QStringList arguments = QCoreApplication::arguments();
    const int childRuns = intOption(arguments, QStringLiteral("--runs"), 9);
    const int loads = intOption(arguments, QStringLiteral("--loads"), 9);
    const int reads = intOption(arguments, QStringLiteral("--reads"), 200);
    const int detections = intOption(arguments, QStringLiteral("--detections"), 50);

    QTemporaryDir root;
    Bench::Fixture fixture;
    QString error;
    if (!root.isValid() || !Bench::prepareFixture(root.path(), &fixture, &error)) {
        out() << QStringLiteral("cannot prepare the test folder: %1\n").arg(error);
        return 1;
    }
    out() << QStringLiteral("bench_corvane: platform %1, %2 child runs, %3 loads, %4 reads\n")
                 .arg(QGuiApplication::platformName())
                 .arg(childRuns)
                 .arg(loads)
                 .arg(reads);
    out().flush();

    // 4. One key from a big settings file.
    const ReadFigures read = settingsRead(fixture, reads);
    if (!read.correct) {
        out() << QStringLiteral("the settings read returned the wrong value\n");
        return 1;
    }

    // 5. Steam detection with five libraries.
    const DetectFigures detect = steamDetection(root.path() + QStringLiteral("/steam"), detections);
    if (!detect.correct) {
        out() << QStringLiteral("detection did not find the five libraries and Half-Life\n");
        return 1;
    }

    // 2. The main window's load, interleaved with its floor; the first pair warms up.
    QtMessageBoxes messages;
    SystemProcessStarter processes;
    QtFileDialogs files;
    QtVolumes volumes;
    Program program(fixture.programDirectory,
                    PlatformServices{messages, processes, files, volumes});
    std::vector<double> floorLoads;
    std::vector<double> mainLoads;
    std::vector<double> mainBuilt;
    std::vector<double> listing;
    std::vector<double> filteredListing;
    std::vector<double> sorting;
    std::vector<double> sortedListing;
    for (int i = 0; i <= loads; ++i) {
        const double floorMs = listFloorLoad(fixture.mapsDirectory);
        const MainLoad load = mainWindowLoad(program);
        if (floorMs < 0 || load.totalMs < 0) {
            out() << QStringLiteral("a list was never painted\n");
            return 1;
        }
        QElapsedTimer timer;
        timer.start();
        const qsizetype plain =
            QDir(fixture.mapsDirectory).entryList({QStringLiteral("*.bsp")}, QDir::Files).size();
        const double plainMs = msSince(timer);
        // mapFiles' own steps: its filters (hidden and readable files, unsorted), its sort.
        timer.start();
        QStringList names = QDir(fixture.mapsDirectory)
                                .entryList({QStringLiteral("*.bsp")},
                                           QDir::Files | QDir::Hidden | QDir::Readable,
                                           QDir::Unsorted);
        const double filteredMs = msSince(timer);
        timer.start();
        std::sort(names.begin(), names.end(), naturalLess);
        const double sortMs = msSince(timer);
        timer.start();
        const qsizetype sorted = mapFiles(fixture.mapsDirectory).size();
        const double sortedMs = msSince(timer);
        if (plain != Bench::kMapCount || sorted != Bench::kMapCount) {
            out() << QStringLiteral("the maps folder holds %1 maps, listed %2\n")
                         .arg(plain)
                         .arg(sorted);
            return 1;
        }
        if (i == 0)
            continue;
        floorLoads.push_back(floorMs);
        mainLoads.push_back(load.totalMs);
        mainBuilt.push_back(load.loadedMs);
        listing.push_back(plainMs);
        filteredListing.push_back(filteredMs);
        sorting.push_back(sortMs);
        sortedListing.push_back(sortedMs);
    }

    // 1 and 3. Child processes, interleaved so that a busy moment hits each mode alike.
    ChildFigures bare;
    ChildFigures splash;
    ChildFigures atMain;
    ChildFigures mainDirect;
    ChildFigures mainEmpty;
    ChildFigures listOnly;
    ChildFigures labelOnly;
    for (int i = 0; i <= childRuns; ++i) {
        const struct {
            const char *mode;
            ChildFigures *figures;
        } modes[] = {{"bare", &bare},
                     {"splash", &splash},
                     {"main", &atMain},
                     {"main-direct", &mainDirect},
                     {"main-empty", &mainEmpty},
                     {"list", &listOnly},
                     {"label", &labelOnly}};
        for (const auto &m : modes) {
            const ChildRun run = runChildProcess(QLatin1String(m.mode), root.path());
            if (!run.ok) {
                out() << run.error << '\n';
                return 1;
            }
            if (i > 0) // the first round only fills the disk cache
                m.figures->add(run);
        }
    }

    // 6 and 7. One write into a 4 MiB settings file of short lines, each in a child process.
    const BenchWrite::Figures write = BenchWrite::measure(root.path(), childRuns);
    if (!write.ok) {
        out() << write.error << '\n';
        return 1;
    }

    out() << '\n';
    printTable({
        {QStringLiteral("1. process start to splash shown"), Bench::median(splash.readyMs),
         Bench::median(bare.readyMs), QStringLiteral("ms"), 2.0, false},
        {QStringLiteral("2. main window, 10,000 maps, list painted"), Bench::median(mainLoads),
         Bench::median(floorLoads), QStringLiteral("ms"), 1.0, false},
        {QStringLiteral("3. peak memory at the main window"), Bench::median(atMain.peakMiB),
         Bench::median(bare.peakMiB), QStringLiteral("MiB"), 1.3, false},
        {QStringLiteral("4. one key of a 10,000-line settings file"), read.readMs, read.fileMs,
         QStringLiteral("ms"), 5.0, true},
        {QStringLiteral("5. Steam detection, five libraries"), detect.detectMs, detect.floorMs,
         QStringLiteral("ms"), 50.0, true},
        {QStringLiteral("6. one write into a 4 MiB settings file"), write.writeMs, write.floorMs,
         QStringLiteral("ms"), 3.0, false},
        {QStringLiteral("7. extra peak memory of that write"), write.extraMiB, write.fileMiB,
         QStringLiteral("MiB"), 3.0, false},
    });
    if (!BenchMaps::run(out(), root.path(), loads))
        return 1;
    out() << QStringLiteral(
        "\nFloors: 1 and 3 a bare QWidget in a child process; 2 QDir::entryList into a "
        "QListWidget;\n4 reading the whole file with QFile; 5 QDir listing of the five libraries' "
        "steamapps\nand common folders; 6 the same bytes saved whole with QSaveFile; 7 the file's "
        "size.\nTimes are medians (4: a mean).\n");

    out() << QStringLiteral("\n3. largest contributors beyond the bare window: %1\n")
                 .arg(Bench::largestGrowth(bare.kinds, atMain.kinds, 3).join(QStringLiteral("; ")));
    {
        const double grown = Bench::median(atMain.residentMiB) - Bench::median(bare.residentMiB);
        const double mapped = Bench::median(atMain.fromFilesMiB) - Bench::median(bare.fromFilesMiB);
        out() << QStringLiteral("   of the %1 MiB resident beyond it, %2 MiB are pages of "
                                "libraries and fonts mapped from disk\n   (shared with every "
                                "program mapping them), %3 MiB the process's own (heap, window "
                                "images, stacks)\n")
                     .arg(grown, 0, 'f', 1)
                     .arg(mapped, 0, 'f', 1)
                     .arg(grown - mapped, 0, 'f', 1);
        // For scale: what text alone costs, one label instead of the bare window.
        const double labelGrown = Bench::median(labelOnly.residentMiB)
            - Bench::median(bare.residentMiB);
        const double labelMapped = Bench::median(labelOnly.fromFilesMiB)
            - Bench::median(bare.fromFilesMiB);
        out() << QStringLiteral("   one label instead of the bare window: +%1 MiB, %2 MiB of "
                                "them mapped from disk\n")
                     .arg(labelGrown, 0, 'f', 1)
                     .arg(labelMapped, 0, 'f', 1);
    }

    out() << QStringLiteral("\nWhere the time goes (medians):\n");
    out() << stepLine(QStringLiteral("bare"), bare);
    out() << stepLine(QStringLiteral("splash"), splash);
    out() << stepLine(QStringLiteral("main"), atMain);
    out() << stepLine(QStringLiteral("main-direct"), mainDirect);
    out() << stepLine(QStringLiteral("main-empty"), mainEmpty);
    out() << stepLine(QStringLiteral("list"), listOnly);
    out() << stepLine(QStringLiteral("label"), labelOnly);
    out() << QStringLiteral("  main window in process: built and loaded %1 ms of %2 ms\n"
                            "  listing: QDir name-sorted %3 ms; mapFiles %4 ms = QDir "
                            "hidden+readable unsorted %5 ms + natural sort %6 ms\n")
                 .arg(Bench::median(mainBuilt), 0, 'f', 2)
                 .arg(Bench::median(mainLoads), 0, 'f', 2)
                 .arg(Bench::median(listing), 0, 'f', 2)
                 .arg(Bench::median(sortedListing), 0, 'f', 2)
                 .arg(Bench::median(filteredListing), 0, 'f', 2)
                 .arg(Bench::median(sorting), 0, 'f', 2);
    out() << QStringLiteral("  settings read: %1 ms wall, %2 ms CPU; of which finding the key "
                            "in memory %3 ms, the file read %4 ms\n")
                 .arg(read.readMs, 0, 'f', 3)
                 .arg(read.readCpuMs, 0, 'f', 3)
                 .arg(read.parseMs, 0, 'f', 3)
                 .arg(read.fileMs, 0, 'f', 3);
    out() << QStringLiteral("  settings write: %1 ms CPU, its floor %2 ms CPU\n")
                 .arg(write.writeCpuMs, 0, 'f', 3)
                 .arg(write.floorCpuMs, 0, 'f', 3);
    out() << '\n';
    BenchServerList::print(out());
    return 0;
}

} // namespace

QtMessageHandler previousHandler = nullptr;

// The offscreen plugin notes every raise() it cannot do; they would bury the table.
void quietPlatformNotes(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (text.startsWith(u"This plugin does not support"))
        return;
    if (previousHandler)
        previousHandler(type, context, text);
}

int main(int argc, char *argv[])
{
    QElapsedTimer sinceMain;
    sinceMain.start();
    if (argc >= 2 && std::strcmp(argv[1], "--child") == 0)
        return runChild(argc, argv, sinceMain);
    if (argc >= 2 && std::strcmp(argv[1], "--write-child") == 0)
        return BenchWrite::runChild(argc, argv);
    if (argc >= 3 && std::strcmp(argv[1], "--prepare") == 0)
        return Bench::prepareOnly(QString::fromLocal8Bit(argv[2]));
    QApplication app(argc, argv);
    previousHandler = qInstallMessageHandler(quietPlatformNotes);
    if (argc >= 2 && std::strcmp(argv[1], "--server-list") == 0)
        return BenchServerList::print(out()) ? 0 : 1;
    return runBenchmark();
}
