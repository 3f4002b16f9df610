#include "benchchild.h"

#include "benchmemory.h"
#include "benchsupport.h"
#include "launcher/program.h"
#include "launcher/windownames.h"
#include "platform/qtplatform.h"
#include "platform/systemprocessstarter.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <utility>
#include <vector>

namespace {

class Steps
{
public:
    explicit Steps(const QElapsedTimer &sinceMain)
        : m_sinceMain(sinceMain)
    {
    }
    void mark(const char *name) { m_steps.emplace_back(name, m_sinceMain.nsecsElapsed() / 1e6); }
    void ready()
    {
        mark("ready");
        // The parent stops its clock on this line: write it before anything else.
        std::fputs("ready\n", stdout);
        std::fflush(stdout);
    }
    void finish()
    {
        for (const auto &[name, ms] : m_steps)
            std::printf("step %s %.3f\n", name, ms);
        std::printf("rss %lld\n", static_cast<long long>(Bench::residentMemoryKiB()));
        std::printf("hwm %lld\n", static_cast<long long>(Bench::peakMemoryKiB()));
        Bench::printResidentByKind();
        std::fflush(stdout);
    }

private:
    const QElapsedTimer &m_sinceMain;
    std::vector<std::pair<const char *, double>> m_steps;
};

int fail(const char *what)
{
    std::fprintf(stderr, "bench child: %s\n", what);
    return 2;
}

// Shows the window and reports ready once `painted` (the window or a part of it) has been painted.
int readyWhenPainted(QWidget &window, QWidget *painted, Steps &steps)
{
    Bench::PaintWatch watch;
    watch.watch(painted);
    window.show();
    if (!Bench::waitUntil([&] { return watch.painted; }))
        return fail("window never painted");
    steps.ready();
    steps.finish();
    return 0;
}

// The memory floor of the map list alone: the folder listed into a bare list widget.
int runList(const QString &directory, Steps &steps)
{
    QListWidget list;
    list.setUniformItemSizes(true);
    list.addItems(QDir(directory).entryList({QStringLiteral("*.bsp")}, QDir::Files));
    return readyWhenPainted(list, list.viewport(), steps);
}

int runBare(Steps &steps)
{
    QWidget window;
    window.show();
    steps.mark("shown");
    if (!Bench::waitUntil([&] { return Bench::isExposed(&window); }))
        return fail("bare window never exposed");
    steps.ready();
    steps.finish();
    return 0;
}

// What any window with text costs beyond the bare one: one label, painted.
int runLabel(Steps &steps)
{
    QLabel label(QStringLiteral("Corvane"));
    return readyWhenPainted(label, &label, steps);
}

// Waits until the main window exists and its map list has been painted.
bool waitForMainPainted(Program &program, Steps &steps)
{
    Bench::PaintWatch watch;
    Bench::watchMapList(program.windows(), watch, [&steps] { steps.mark("main loaded"); });
    return Bench::waitUntil([&] { return watch.painted; });
}

int runProgram(const QString &mode, const Bench::Fixture &fixture, Steps &steps)
{
    QtMessageBoxes messages;
    SystemProcessStarter processes;
    QtFileDialogs files;
    QtVolumes volumes;
    Program program(fixture.programDirectory,
                    PlatformServices{messages, processes, files, volumes});
    steps.mark("program");

    if (mode == u"main-direct" || mode == u"main-empty") {
        // The main window alone, without the splash before it (main-empty: and without maps).
        QTimer::singleShot(0, &program.windows(),
                           [&] { program.windows().show(WindowName::main); });
        if (!waitForMainPainted(program, steps))
            return fail("main window list never painted");
        steps.ready();
        steps.finish();
        return 0;
    }

    program.start();
    steps.mark("splash shown");
    if (!Bench::waitUntil(
            [&] { return Bench::isExposed(program.windows().find(WindowName::splash)); }))
        return fail("splash never exposed");
    if (mode == u"splash") {
        steps.ready();
        steps.finish();
        return 0;
    }

    // The player's path to the main window: the splash's timer routes there. Its 3 s wait is
    // idle time, so it is cut short rather than sat through.
    auto *timer =
        program.windows().find(WindowName::splash)->findChild<QTimer *>(QStringLiteral("Timer1"));
    if (!timer)
        return fail("splash has no Timer1");
    steps.mark("splash exposed");
    timer->start(0);
    if (!waitForMainPainted(program, steps))
        return fail("main window list never painted");
    steps.ready();
    steps.finish();
    return 0;
}

} // namespace

int runChild(int argc, char *argv[], const QElapsedTimer &sinceMain)
{
    Steps steps(sinceMain);
    QApplication app(argc, argv);
    steps.mark("application");
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 3)
        return fail("usage: --child <mode> [fixture root]");
    const QString mode = arguments.at(2);
    if (mode == u"bare")
        return runBare(steps);
    if (mode == u"label")
        return runLabel(steps);
    if (arguments.size() < 4)
        return fail("this mode needs the fixture root");
    Bench::Fixture fixture = Bench::fixtureAt(arguments.at(3));
    if (mode == u"list")
        return runList(fixture.mapsDirectory, steps);
    if (mode == u"main-empty")
        fixture.programDirectory = fixture.emptyProgramDirectory;
    if (mode == u"splash" || mode == u"main" || mode == u"main-direct" || mode == u"main-empty")
        return runProgram(mode, fixture, steps);
    return fail("unknown mode");
}
