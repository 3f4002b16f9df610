#include "launcher/launchcommand.h"
#include "launcher/mapfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

class TestLaunchCommand : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void launch_data();
    void launch();
    void preview_data();
    void preview();
    void customLaunch();
    void mapListing();
    void mapFolders();
};

void TestLaunchCommand::launch_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("map");
    QTest::addColumn<QString>("parameters");
    QTest::addColumn<QString>("difficulty");
    QTest::addColumn<bool>("cheats");
    QTest::addColumn<bool>("console");
    QTest::addColumn<bool>("dev");
    QTest::addColumn<QString>("expected");

    const QString hl = QStringLiteral("C:\\Jeux\\Half-Life\\hl.exe");
    QTest::newRow("deathmatch with console")
        << int(GameType::Deathmatch) << "crossfire.bsp" << "" << "" << false << true << false
        << hl + " +deathmatch 1 +map crossfire -console";
    QTest::newRow("single player, Moyen")
        << int(GameType::SinglePlayer) << "crossfire.bsp" << "" << "Moyen" << false << false
        << false << hl + " +skill 2 +map crossfire";
    QTest::newRow("TFC keeps the difficulty of the disabled box")
        << int(GameType::TeamFortress) << "crossfire.bsp" << "" << "Moyen" << false << false
        << false << hl + " -game tfc +skill 2 +map crossfire";
    QTest::newRow("TFC") << int(GameType::TeamFortress) << "crossfire.bsp" << "" << "" << false
                         << false << false << hl + " -game tfc +map crossfire";
    QTest::newRow("parameters after a blank, then the switches in order")
        << int(GameType::SinglePlayer) << "c1a0.bsp" << "-nointro" << "Dur" << true << true << true
        << hl + " +skill 3 +map c1a0 -nointro +sv_cheats 1 -console -dev";
    QTest::newRow("Facile") << int(GameType::SinglePlayer) << "c1a0.bsp" << "" << "Facile" << false
                            << false << false << hl + " +skill 1 +map c1a0";
    QTest::newRow("difficulty in another case adds nothing")
        << int(GameType::SinglePlayer) << "c1a0.bsp" << "" << "facile" << false << false << false
        << hl + " +map c1a0";
    QTest::newRow("extension removed by count") << int(GameType::Deathmatch) << "stalkyard.BSP"
                                                << "" << "" << false << false << false
                                                << hl + " +deathmatch 1 +map stalkyard";
    QTest::newRow("short map text is used whole") << int(GameType::Deathmatch) << "dm" << "" << ""
                                                  << false << false << false
                                                  << hl + " +deathmatch 1 +map dm";
    QTest::newRow("four characters leave an empty name")
        << int(GameType::Deathmatch) << ".bsp" << "" << "" << false << false << false
        << hl + " +deathmatch 1 +map ";
    QTest::newRow("a path of any length is kept whole")
        << int(GameType::Deathmatch) << "a.bsp" << "" << "" << false << false << false
        << hl + " +deathmatch 1 +map a";
}

void TestLaunchCommand::launch()
{
    QFETCH(int, type);
    QFETCH(QString, map);
    QFETCH(QString, parameters);
    QFETCH(QString, difficulty);
    QFETCH(bool, cheats);
    QFETCH(bool, console);
    QFETCH(bool, dev);
    QFETCH(QString, expected);
    LaunchChoices choices;
    choices.gameType = GameType(type);
    choices.selectedMap = map;
    choices.parameters = parameters;
    choices.addParameters = true;
    choices.difficulty = difficulty;
    choices.cheats = cheats;
    choices.console = console;
    choices.dev = dev;
    QCOMPARE(composeLaunch(QStringLiteral("C:\\Jeux\\Half-Life\\hl.exe"), choices), expected);
}

void TestLaunchCommand::preview_data()
{
    QTest::addColumn<bool>("cheats");
    QTest::addColumn<bool>("console");
    QTest::addColumn<bool>("dev");
    QTest::addColumn<bool>("numeric");
    QTest::addColumn<QString>("expected");
    QTest::newRow("nothing") << false << false << false << false << " ";
    QTest::newRow("dev and cheats: two blanks first") << true << false << true << false
                                                      << "  +sv_cheats 1 -dev";
    QTest::newRow("all, fixed order") << true << true << true << true
                                      << "  +sv_cheats 1 -console -dev -numericping";
}

void TestLaunchCommand::preview()
{
    QFETCH(bool, cheats);
    QFETCH(bool, console);
    QFETCH(bool, dev);
    QFETCH(bool, numeric);
    QFETCH(QString, expected);
    QCOMPARE(optionPreview(cheats, console, dev, numeric), expected);
}

void TestLaunchCommand::customLaunch()
{
    QCOMPARE(composeCustomLaunch(QStringLiteral("error!"), QStringLiteral("cstrike")),
             QStringLiteral("error! -game cstrike"));
    QCOMPARE(composeCustomLaunch(QStringLiteral("/g/hl"), QStringLiteral("my mod")),
             QStringLiteral("/g/hl -game my mod"));
}

void TestLaunchCommand::mapListing()
{
    QTemporaryDir dir;
    for (const char *name : {"dm10.bsp", "dm2.bsp", "Crossfire.bsp", "bounce.BSP", "notes.txt",
                             "stalkyard.bsp.bak", "datacore.bsp", ".hidden.bsp", "bsp"}) {
        QFile file(dir.filePath(QLatin1String(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.bsp")));
    QCOMPARE(mapFiles(dir.path()), (QStringList{"bounce.BSP", "Crossfire.bsp", "datacore.bsp",
                                                "dm2.bsp", "dm10.bsp"}));
    QCOMPARE(mapFiles(dir.filePath(QStringLiteral("missing"))), QStringList{});
    QCOMPARE(mapFiles(QStringLiteral("error")), QStringList{});
    QCOMPARE(mapFiles(QString()), QStringList{});

    // Natural order is a strict weak order, so sorting never misbehaves.
    QStringList names{"a01", "a1", "A1", "a001", "b", "a10", "a2", ""};
    std::sort(names.begin(), names.end(), naturalLess);
    for (qsizetype i = 1; i < names.size(); ++i)
        QVERIFY(!naturalLess(names.at(i), names.at(i - 1)));
    QVERIFY(!naturalLess(QStringLiteral("a1"), QStringLiteral("a1")));
}

// The extra folders stand beside a game folder; the window tests lay out a whole game.
void TestLaunchCommand::mapFolders()
{
    QCOMPARE(::mapFolders(QStringLiteral("/g/tfc/MAPS/")),
             (QStringList{"/g/tfc/MAPS/", "/g/tfc_addon/maps", "/g/tfc_downloads/maps"}));
    QCOMPARE(::mapFolders(QStringLiteral("/g/mine")), QStringList{"/g/mine"});
    QCOMPARE(::mapFolders(QStringLiteral("/maps")), QStringList{"/maps"});
}

QTEST_GUILESS_MAIN(TestLaunchCommand)
#include "tst_launchcommand.moc"
