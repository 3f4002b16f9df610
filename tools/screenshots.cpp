// Saves a picture of every window of the program, opened on a prepared program directory.
// Usage: corvane_screenshots <output folder>   (scripts/screenshots.sh runs it under Xvfb)

#include "app/corvane.h"
#include "bspwriter.h"
#include "fakeserver.h"
#include "launcher/program.h"
#include "launcher/windownames.h"
#include "maps/mappreviewframe.h"
#include "platform/qtplatform.h"
#include "silentplatform.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <memory>
#include <utility>
#include <vector>

namespace {

void touch(const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile(path).open(QIODevice::WriteOnly);
}

bool save(QWidget *window, const QString &folder, const QString &name)
{
    if (!window)
        return false;
    QTest::qWait(150);
    const bool ok = window->grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
    std::printf("%s %s\n", ok ? "saved" : "FAILED", qPrintable(name));
    return ok;
}

// A small arena for the preview under the map lists: a sunken pit, a ring of walkways, two
// raised platforms and a tower, each floor lighter the higher it stands.
BspWriter::Map arena()
{
    BspWriter::Map map;
    map.title = QStringLiteral("Crossfire, l'arène");
    map.deathmatchSpawns = 16;
    map.extraBytes = 1200 * 1024;
    map.boxes = {
        {-1024, -768, -128, 1024, 768, -64}, // the pit
        {-1024, -768, -64, -640, 768, 0},    // west walkway
        {640, -768, -64, 1024, 768, 0},      // east walkway
        {-640, 448, -64, 640, 768, 32},      // north terrace
        {-640, -768, -64, 640, -448, 32},    // south terrace
        {-1024, 256, 0, -768, 768, 128},     // north-west platform
        {768, -768, 0, 1024, -256, 128},     // south-east platform
        {-128, -128, -64, 128, 128, 256},    // the tower
        {-320, -32, -64, -128, 32, 96},      // bridges to the tower
        {128, -32, -64, 320, 32, 96},
    };
    return map;
}

// Shows a map's preview under a window's list, as a player clicking it would see it; false when
// it never shows.
bool previewMap(QWidget *window, const char *listName, const QString &file)
{
    auto *list = window ? window->findChild<QAbstractItemView *>(QLatin1String(listName)) : nullptr;
    auto *frame = window ? window->findChild<MapPreviewFrame *>() : nullptr;
    if (!list || !frame)
        return false;
    const QModelIndexList found = list->model()->match(list->model()->index(0, 0), Qt::DisplayRole,
                                                       file, 1, Qt::MatchExactly);
    if (found.isEmpty())
        return false;
    QSignalSpy shown(frame, &MapPreviewFrame::previewShown);
    list->setCurrentIndex(found.first());
    list->scrollTo(found.first());
    return !shown.isEmpty() || shown.wait(5000);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    installFrenchTranslation(app);
    if (argc < 2) {
        std::fprintf(stderr, "usage: corvane_screenshots <output folder>\n");
        return 2;
    }
    const QString out = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    QDir().mkpath(out);

    QTemporaryDir dir;
    const QString game = dir.filePath(QStringLiteral("Jeux/Half-Life"));
    for (const char *map : {"crossfire", "datacore", "stalkyard", "bounce", "boot_camp",
                            "snark_pit", "gasworks", "lambda_bunker", "subtransit", "undertow"})
        touch(game + QStringLiteral("/valve/maps/") + QLatin1String(map) + QStringLiteral(".bsp"));
    for (const char *map : {"2fort", "well", "rock2", "cz2"})
        touch(game + QStringLiteral("/tfc/maps/") + QLatin1String(map) + QStringLiteral(".bsp"));
    // Maps downloaded from servers are listed with the game's own.
    for (const char *map : {"dm_fjord", "rats3"})
        touch(game + QStringLiteral("/valve_downloads/maps/") + QLatin1String(map)
              + QStringLiteral(".bsp"));
    BspWriter::write(game + QStringLiteral("/valve/maps/crossfire.bsp"), arena());
    touch(game + QStringLiteral("/hl.exe"));
    QFile ini(dir.filePath(QStringLiteral("crvn.ini")));
    ini.open(QIODevice::WriteOnly);
    ini.write(QStringLiteral("[GAMEDIR]\r\nprogram=%1/hl.exe\r\nmaps=%1/valve/maps\r\n"
                             "tfcmaps=%1/tfc/maps\r\nvalve=%1/valve/\r\n[MISC]\r\ntfc=true\r\n"
                             "firstuse=no\r\nuser=Corbeau\r\ncompany=Les Freux du Nord\r\n")
                  .arg(game)
                  .toLocal8Bit());
    ini.close();
    QDir::setCurrent(game);

    SilentMessages messages;
    NoProcesses processes;
    QtFileDialogs files;
    QtVolumes volumes;
    Program program(dir.path(), PlatformServices{messages, processes, files, volumes});
    registerAllWindows(program.context());
    WindowManager &windows = program.windows();

    int failures = 0;
    const auto shoot = [&](QStringView name, const QString &file = {}) {
        QWidget *window = windows.show(name);
        if (!save(window, out, file.isEmpty() ? name.toString() : file))
            ++failures;
        windows.unload(name);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };

    shoot(WindowName::splash);
    // The map lists with the preview of the arena.
    for (const auto &[name, list] :
         {std::pair{WindowName::main, "dirFichiers"}, std::pair{WindowName::server, "maps"}}) {
        QWidget *window = windows.show(name);
        const bool previewed = previewMap(window, list, QStringLiteral("crossfire.bsp"));
        if (!previewed)
            std::printf("FAILED preview in %s\n", qPrintable(name.toString()));
        if (!save(window, out, name.toString()) || !previewed)
            ++failures;
        windows.unload(name);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    {
        QWidget *advanced = windows.show(WindowName::advanced);
        auto *tabs = advanced ? advanced->findChild<QTabWidget *>(QStringLiteral("SSTab1"))
                              : nullptr;
        for (int i = 0; tabs && i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            if (!save(advanced, out, QStringLiteral("frmAdvanced-%1").arg(i + 1)))
                ++failures;
        }
        windows.unload(WindowName::advanced);
    }
    shoot(WindowName::connect);
    {
        // The connection window with the answer of a server on this machine.
        Packet::Info info;
        info.name = "Le Nid des Freux - crossfire 24/7";
        info.players = 5;
        info.maxPlayers = 16;
        info.bots = 1;
        FakeServer server({.info = Packet::info(info),
                           .players = Packet::players({{"Corbeau", 27, 1834.0f},
                                                       {"Freux", 19, 1210.0f},
                                                       {"Choucas", 11, 742.0f},
                                                       {"Pie bavarde", 4, 301.0f},
                                                       {"[BOT] Geai", 2, 95.0f}})});
        QWidget *connect = windows.show(WindowName::connect);
        auto *address = connect->findChild<QLineEdit *>(QStringLiteral("ipadress"));
        auto *port = connect->findChild<QLineEdit *>(QStringLiteral("port"));
        auto *players = connect->findChild<QTreeWidget *>(QStringLiteral("lstPlayers"));
        address->setText(QStringLiteral("127.0.0.1"));
        port->setText(QString::number(server.port()));
        QTest::mouseClick(connect->findChild<QPushButton *>(QStringLiteral("cmdQuery")),
                          Qt::LeftButton);
        // A plain event loop, as the program runs: QTest::qWaitFor sleeps between its rounds,
        // which would show in the ping.
        QEventLoop loop;
        QObject::connect(players->model(), &QAbstractItemModel::rowsInserted, &loop,
                         &QEventLoop::quit);
        QTimer::singleShot(5000, &loop, &QEventLoop::quit);
        loop.exec();
        if (players->topLevelItemCount() == 0
            || !save(connect, out, QStringLiteral("connect-query")))
            ++failures;
        windows.unload(WindowName::connect);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    {
        // The server list with favourites on this machine: answering, protected, a mod, silent.
        struct Shown {
            const char *name;
            const char *map;
            const char *folder;
            int players, maxPlayers, bots;
            bool password;
        };
        const Shown shown[] = {
            {"Le Nid des Freux - crossfire 24/7", "crossfire", "valve", 5, 16, 1, false},
            {"Corbeaux & Cie [FR]", "2fort", "tfc", 18, 24, 0, false},
            {"La Volière (entraînement)", "boot_camp", "valve", 2, 8, 0, true},
            {"Pies Bavardes DM", "stalkyard", "valve", 12, 12, 4, false},
            {"Serveur du Geai", "well", "tfc", 0, 16, 0, false},
        };
        std::vector<std::unique_ptr<FakeServer>> servers;
        SettingWrites favourites;
        for (const Shown &s : shown) {
            Packet::Info info;
            info.name = s.name;
            info.map = s.map;
            info.folder = s.folder;
            info.players = s.players;
            info.maxPlayers = s.maxPlayers;
            info.bots = s.bots;
            info.password = s.password;
            servers.push_back(std::make_unique<FakeServer>(FakeServerScript{
                .info = Packet::info(info),
                .players = Packet::players(
                    {{"Corbeau", 27, 1834.0f}, {"Freux", 19, 1210.0f}, {"Choucas", 11, 742.0f}}),
                .rules = {Packet::rules({{"mp_timelimit", "30"},
                                         {"mp_fraglimit", "50"},
                                         {"sv_gravity", "800"},
                                         {"mp_friendlyfire", "0"}})}}));
        }
        servers.push_back(std::make_unique<FakeServer>()); // one that does not answer
        for (size_t i = 0; i < servers.size(); ++i)
            favourites.append({Keys::favouriteServer(int(i) + 1),
                               QStringLiteral("127.0.0.1:%1").arg(servers[i]->port())});
        program.context().settings.write(favourites);
        QWidget *list = windows.show(WindowName::serverList);
        auto *label = list->findChild<QLabel *>(QStringLiteral("lblRefresh"));
        const QString done = QStringLiteral("%1 / %1 serveurs").arg(servers.size());
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (label->text() == done)
                loop.quit();
        });
        poll.start(20);
        QTimer::singleShot(8000, &loop, &QEventLoop::quit);
        loop.exec();
        auto *table = list->findChild<QTreeWidget *>(QStringLiteral("tblServers"));
        table->setCurrentItem(table->topLevelItem(0));
        if (label->text() != done || !save(list, out, QStringLiteral("serverList")))
            ++failures;
        windows.unload(WindowName::serverList);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    shoot(WindowName::config);
    shoot(WindowName::firstUse1);
    shoot(WindowName::firstUse2);
    shoot(WindowName::firstUseConfig);
    shoot(WindowName::firstUseDone);
    shoot(WindowName::dirMaps);
    shoot(WindowName::dirMapsTfc);
    shoot(WindowName::configTfc);
    {
        windows.show(WindowName::main);
        shoot(WindowName::about);
    }
    {
        QWidget *credits = windows.show(WindowName::credits);
        QTest::qWait(1500); // let the credits scroll into view
        if (!save(credits, out, QStringLiteral("secret")))
            ++failures;
        windows.unload(WindowName::credits);
    }
    windows.quit();
    return failures == 0 ? 0 : 1;
}
