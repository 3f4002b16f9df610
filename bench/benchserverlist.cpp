#include "benchserverlist.h"

#include "benchsupport.h"
#include "connect/registration.h"
#include "connect/serverlistwindow.h"
#include "fakeserver.h"
#include "launcher/program.h"
#include "launcher/windowmanager.h"
#include "launcher/windownames.h"
#include "platform/qtplatform.h"
#include "silentplatform.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>
#include <memory>
#include <vector>

namespace BenchServerList {

Figures measure(int count, int runs)
{
    Figures figures;
    std::vector<std::unique_ptr<FakeServer>> servers;
    QStringList entries;
    for (int i = 0; i < count; ++i) {
        Packet::Info info;
        info.name = "Serveur " + QByteArray::number(i);
        servers.push_back(std::make_unique<FakeServer>(FakeServerScript{
            .info = Packet::info(info),
            .players = Packet::players({{"Corbeau", 3, 60}, {"Freux", 1, 30}}),
            .infoChallenge = "\x01\x02\x03\x04",
            .rules = {Packet::rules({{"mp_timelimit", "30"}, {"sv_gravity", "800"}})}}));
        entries.append(QStringLiteral("127.0.0.1:%1").arg(servers.back()->port()));
    }
    QTemporaryDir dir;
    SilentMessages messages;
    NoProcesses processes;
    QtFileDialogs files;
    QtVolumes volumes;
    Program program(dir.path(), PlatformServices{messages, processes, files, volumes});
    registerConnectWindows(program.context());
    auto *window = qobject_cast<ServerListWindow *>(program.windows().show(WindowName::serverList));
    if (!window)
        return figures;
    auto *table = window->findChild<QTreeWidget *>(QStringLiteral("tblServers"));
    auto *progress = window->findChild<QLabel *>(QStringLiteral("lblRefresh"));
    const QString done = QStringLiteral("%1 / %1 serveurs").arg(count);

    std::vector<double> filled, finished, gaps;
    double longestGap = 0;
    for (int run = 0; run < runs + 1; ++run) {
        QElapsedTimer clock;
        QElapsedTimer sinceTurn;
        double gap = 0;
        double filledAt = -1;
        QTimer turn; // runs at every turn of the event loop
        QObject::connect(&turn, &QTimer::timeout, [&] {
            gap = std::max(gap, double(sinceTurn.nsecsElapsed()) / 1e6);
            sinceTurn.start();
            if (filledAt < 0 && table->topLevelItemCount() == count) {
                bool all = true;
                for (int i = 0; i < count && all; ++i)
                    all = !table->topLevelItem(i)->text(2).isEmpty();
                if (all)
                    filledAt = double(clock.nsecsElapsed()) / 1e6;
            }
        });
        clock.start();
        sinceTurn.start();
        turn.start(0);
        window->showServers(entries);
        QEventLoop loop;
        QTimer limit;
        limit.setSingleShot(true);
        QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
        QObject::connect(&turn, &QTimer::timeout, &loop, [&] {
            if (progress->text() == done && filledAt >= 0)
                loop.quit();
        });
        limit.start(10000);
        loop.exec();
        turn.stop();
        if (progress->text() != done || filledAt < 0)
            return figures;
        if (run == 0)
            continue; // the first round only warms up
        filled.push_back(filledAt);
        finished.push_back(double(clock.nsecsElapsed()) / 1e6);
        longestGap = std::max(longestGap, gap);
        gaps.push_back(gap);
    }
    program.windows().unload(WindowName::serverList);
    figures.ok = true;
    figures.filledMs = Bench::median(filled);
    figures.finishedMs = Bench::median(finished);
    figures.longestGapMs = longestGap;
    figures.medianGapMs = Bench::median(gaps);
    return figures;
}

bool print(QTextStream &out, int runs)
{
    const Figures f = measure(200, runs);
    if (!f.ok) {
        out << QStringLiteral("server list: the 200 loopback servers did not all answer\n");
        return false;
    }
    const bool filledOk = f.filledMs <= 1000;
    const bool gapOk = f.longestGapMs <= 50;
    out << QStringLiteral("Server list, 200 servers on 127.0.0.1 (median of %1 refreshes):\n")
               .arg(runs);
    out << QStringLiteral("  every row filled      %1 ms   target 1000 ms  %2\n")
               .arg(f.filledMs, 0, 'f', 1)
               .arg(filledOk ? u"OK" : u"over");
    out << QStringLiteral("  every query ended     %1 ms   (players and rules included)\n")
               .arg(f.finishedMs, 0, 'f', 1);
    out << QStringLiteral("  longest event-loop gap %1 ms  target 50 ms    %2  (median of the "
                          "refreshes' longest: %3 ms)\n")
               .arg(f.longestGapMs, 0, 'f', 1)
               .arg(gapOk ? u"OK" : u"over")
               .arg(f.medianGapMs, 0, 'f', 1);
    out.flush();
    return filledOk && gapOk;
}

} // namespace BenchServerList
