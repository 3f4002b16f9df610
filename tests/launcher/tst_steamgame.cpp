#include "launcher/gamestart.h"
#include "launcher/windownames.h"
#include "platform/systemprocessstarter.h"
#include "standin.h"
#include "steamfixture.h"
#include "testprogram.h"

#include <QCompleter>
#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace SteamFixture;

namespace {

const QString kGame = QStringLiteral("Steam/steamapps/common/Half-Life");

QByteArray iniFor(const QString &program, const QString &maps)
{
    return "[MISC]\r\nfirstuse=no\r\ntfc=true\r\n[GAMEDIR]\r\nprogram=" + program.toLocal8Bit()
        + "\r\nmaps=" + maps.toLocal8Bit() + "\r\ntfcmaps=" + maps.toLocal8Bit() + "\r\n";
}

// A Steam root in the test's home, with the runtime script when asked, and Steam's pid file
// naming a live process when asked.
void layOutSteam(TestProgram &program, bool runtime, bool running)
{
    QStringList layout = root("Steam") + halfLife("Steam", {"hl.sh", "hl.exe"});
    layout.append("elsewhere/Half-Life/hl.sh=x");
    if (runtime)
        layout.append("Steam/ubuntu12_32/steam-runtime/run.sh=x");
    layout.append(".steam/steam.pid=4242\n");
    QVERIFY(layOut(program.home(), layout));
    program.detection.variables.insert("XDG_DATA_HOME", program.home());
    if (running)
        program.detection.livePids.insert(4242);
}

} // namespace

class TestSteamGame : public LinuxHomeTest
{
    Q_OBJECT

private Q_SLOTS:
    void launch_data();
    void launch();
    void everyWindowAsks();
    void runtimeStartsTheGameInItsFolder();
    void installedModsAreOffered();
};

void TestSteamGame::launch_data()
{
    QTest::addColumn<QString>("program"); // relative to home
    QTest::addColumn<bool>("runtime");
    QTest::addColumn<bool>("running");
    QTest::addColumn<QList<int>>("answers"); // 1: Oui, 0: Non
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("started");
    QTest::addColumn<bool>("wrapped");

    const QString hl = kGame + "/hl.sh";
    QTest::newRow("Steam not running, Oui") << hl << true << false << QList<int>{1} << true << true
                                            << true;
    QTest::newRow("Steam not running, Non") << hl << true << false << QList<int>{0} << true << false
                                            << false;
    QTest::newRow("Steam running: no question") << hl << true << true << QList<int>{} << false
                                                << true << true;
    QTest::newRow("no runtime: started as composed") << hl << false << true << QList<int>{} << false
                                                     << true << false;
    QTest::newRow("Windows copy: asked, no runtime") << kGame + "/hl.exe" << true << false
                                                    << QList<int>{1} << true << true << false;
    QTest::newRow("outside Steam: as before") << "elsewhere/Half-Life/hl.sh" << true << false
                                              << QList<int>{} << false << true << false;
}

void TestSteamGame::launch()
{
    QFETCH(QString, program);
    QFETCH(bool, runtime);
    QFETCH(bool, running);
    QFETCH(QList<int>, answers);
    QFETCH(bool, asked);
    QFETCH(bool, started);
    QFETCH(bool, wrapped);
    TestProgram test;
    layOutSteam(test, runtime, running);
    for (int answer : answers)
        test.messages.answers.append(answer ? MessageAnswer::Yes : MessageAnswer::No);
    const QString line = QDir::toNativeSeparators(test.home() + '/' + program) + " -game tfc +map 2fort";

    startGame(test.context(), nullptr, line, WindowStyle::Maximized);

    QCOMPARE(test.messages.shown.size(), asked ? 1 : 0);
    if (asked) {
        const Message &question = test.messages.shown.first();
        QCOMPARE(question.text, u"Steam n'est pas lancé. Le jeu a besoin de Steam pour démarrer. "
                                "Lancer quand même ?"_qs);
        QCOMPARE(question.shownTitle(), u"Corvane 2.0"_qs);
        QCOMPARE(question.icon, MessageIcon::Question);
        QCOMPARE(question.buttons, MessageButtons::YesNo);
    }
    QCOMPARE(test.processes.calls.size(), started ? 1 : 0);
    if (!started)
        return;
    const RecordingProcessStarter::Call &call = test.processes.calls.first();
    QCOMPARE(call.commandLine, line); // what the player sees stays the composed line
    if (!wrapped) {
        QVERIFY(call.options.isEmpty());
        return;
    }
    QCOMPARE(call.options.wrapper, test.home() + "/Steam/ubuntu12_32/steam-runtime/run.sh");
    QVERIFY(call.options.wrapperArguments.isEmpty());
    QCOMPARE(call.options.environment, (QMap<QString, QString>{{"SteamAppId", "70"}}));
    QCOMPARE(call.options.workingDirectory, QDir::toNativeSeparators(test.home() + '/' + kGame));
}

void TestSteamGame::everyWindowAsks()
{
    // The main window's own launch goes through the same question.
    TestProgram test;
    layOutSteam(test, true, false);
    const QString game = test.home() + '/' + kGame;
    test.writeIni(iniFor(game + "/hl.sh", game + "/valve/maps"));
    test.messages.answers = {MessageAnswer::No};
    QWidget *sp = test.show(WindowName::main);
    auto *custom = child<QRadioButton>(sp, "optCustom");
    QTest::mouseClick(custom, Qt::LeftButton, {}, QPoint(8, custom->height() / 2));
    QTest::keyClicks(child<QLineEdit>(sp, "txtCustom"), "cstrike");
    QTest::mouseClick(child<QPushButton>(sp, "launchCustom"), Qt::LeftButton);
    QCOMPARE(test.messages.shown.size(), 1);
    QCOMPARE(test.messages.shown.first().buttons, MessageButtons::YesNo);
    QVERIFY(test.processes.calls.isEmpty());
}

void TestSteamGame::runtimeStartsTheGameInItsFolder()
{
#ifdef Q_OS_WIN
    QSKIP("Steam's runtime is for Linux");
#endif
    SystemProcessStarter starter;
    TestProgram test(QByteArray(), &starter);
    layOutSteam(test, false, true);
    const QString folder = test.home() + '/' + kGame;
    StandIn game(folder + "/hl.sh");
    StandInRuntime runtime(test.home() + "/Steam/ubuntu12_32/steam-runtime/run.sh");
    qunsetenv("SteamGameId");
    qunsetenv("SteamAppId");

    startGame(test.context(), nullptr, game.program() + " -game tfc +map 2fort",
              WindowStyle::Maximized);

    QVERIFY(test.messages.shown.isEmpty());
    QCOMPARE(runtime.record(),
             (QStringList{game.program(), "-game", "tfc", "+map", "2fort", "SteamAppId=70",
                          "SteamGameId=<unset>", "cwd=" + QDir(folder).canonicalPath()}));
    QCOMPARE(game.arguments(), (QStringList{"-game", "tfc", "+map", "2fort"}));
    QVERIFY(qgetenv("SteamAppId").isEmpty()); // only the game's environment has it
}

void TestSteamGame::installedModsAreOffered()
{
    TestProgram test;
    const QString game = test.path("Half-Life");
    QVERIFY(layOut(game, {"hl.sh=x", "valve/maps/crossfire.bsp", "valve/liblist.gam=game \"Half-Life\"",
                          "cstrike/liblist.gam=game \"Counter-Strike\"", "cstrike_hd/liblist.gam=x",
                          "valve_french/liblist.gam=x", "dmc/liblist.gam=game \"Deathmatch Classic\""}));
    test.writeIni(iniFor(game + "/hl.sh", game + "/valve/maps"));
    QWidget *sp = test.show(WindowName::main);
    auto *box = child<QLineEdit>(sp, "txtCustom");
    QCompleter *completer = box->completer();
    QVERIFY(completer);
    QStringList folders;
    QStringList shown;
    for (int i = 0; i < completer->model()->rowCount(); ++i) {
        folders.append(completer->model()->index(i, 0).data(Qt::EditRole).toString());
        shown.append(completer->model()->index(i, 0).data(Qt::DisplayRole).toString());
    }
    QCOMPARE(folders, (QStringList{"cstrike", "dmc"}));
    QVERIFY(shown.at(0).contains("Counter-Strike"));
    QVERIFY(shown.at(1).contains("Deathmatch Classic"));

    // Still free text: a folder that is not offered is kept as typed.
    auto *custom = child<QRadioButton>(sp, "optCustom");
    QTest::mouseClick(custom, Qt::LeftButton, {}, QPoint(8, custom->height() / 2));
    QTest::keyClicks(box, "mymod");
    QCOMPARE(box->text(), u"mymod"_qs);
    QTest::mouseClick(child<QPushButton>(sp, "launchCustom"), Qt::LeftButton);
    QCOMPARE(test.processes.calls.size(), 1);
    QVERIFY(test.processes.calls.first().commandLine.endsWith("-game mymod"));
}

QTEST_MAIN(TestSteamGame)
#include "tst_steamgame.moc"
