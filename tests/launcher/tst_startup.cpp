#include "launcher/splashwindow.h"
#include "launcher/windowmanager.h"
#include "launcher/windownames.h"
#include "platform/systemprocessstarter.h"
#include "standin.h"
#include "testprogram.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <functional>

class TestStartup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { closeModalWindows(); }
    void splash();
    void routing_data();
    void routing();
    void routingToAMainWindowThatStaysHidden();
    void splashWaitsForTheMainWindowsMessage();
    void wholeProgramReachesTheMainWindowWithItsMaps();
    void typicalRunStartsTheRealGame();
    void gameStartsInItsOwnFolder_data();
    void gameStartsInItsOwnFolder();
    void failedStartNamesTheWholeConfiguredPath_data();
    void failedStartNamesTheWholeConfiguredPath();
};

void TestStartup::splash()
{
    TestProgram program("[MISC]\r\nfirstuse=no\r\ntfc=true\r\n");
    program.context().windows.load(WindowName::splash);
    auto *splash = program.window<SplashWindow>(WindowName::splash);
    QVERIFY(splash);
    QCOMPARE(child<QLabel>(splash, "Label1")->text(), QStringLiteral("Chargement ..."));
    const QPixmap art = child<QLabel>(splash, "Picture1")->pixmap();
    QCOMPARE(art.size(), QSize(611, 360));
    const QImage shipped(QStringLiteral(":/artwork/splash.png"));
    QCOMPARE(art.toImage(), shipped.convertToFormat(art.toImage().format()));
    auto *timer = child<QTimer>(splash, "Timer1");
    QCOMPARE(timer->interval(), 3000);
    QVERIFY(timer->isActive());
    QCOMPARE(splash->size(), QSize(611, 359));
}

void TestStartup::routing_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QString>("opened");
    QTest::newRow("yes: the wizard") << QByteArray("[MISC]\r\nfirstuse=yes\r\n") << "firstuse1";
    QTest::newRow("Yes is not yes") << QByteArray("[MISC]\r\nfirstuse=Yes\r\ntfc=true\r\n") << "sp";
    QTest::newRow("no") << QByteArray("[MISC]\r\nfirstuse=no\r\ntfc=true\r\n") << "sp";
    QTest::newRow("missing key") << QByteArray("[MISC]\r\ntfc=true\r\n") << "sp";
    QTest::newRow("no settings file") << QByteArray() << "sp";
}

namespace {

// Runs a check when a watched widget is about to show.
struct ShowWatch : QObject {
    std::function<void()> onShow;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Show)
            onShow();
        return false;
    }
};

} // namespace

void TestStartup::routing()
{
    QFETCH(QByteArray, ini);
    QFETCH(QString, opened);
    TestProgram program(ini);
    program.windows().registerWindow(WindowName::firstUse1, [] { return new QWidget; });
    program.show(WindowName::splash);
    const QPointer<SplashWindow> splash = program.window<SplashWindow>(WindowName::splash);
    auto *picture = child<QLabel>(splash, "Picture1");
    // The splash gives back its artwork and window image before the next window is shown.
    int shows = 0;
    bool splashReleasedFirst = false;
    ShowWatch watch;
    watch.onShow = [&] {
        ++shows;
        splashReleasedFirst = !splash
            || (!splash->isVisible() && !splash->windowHandle() && picture->pixmap().isNull());
    };
    connect(&program.windows(), &WindowManager::windowLoaded, &watch,
            [&](const QString &name) { program.window(name)->installEventFilter(&watch); });
    splash->route();
    QVERIFY(!program.window(WindowName::splash));
    QVERIFY(program.window(opened) && program.window(opened)->isVisible());
    QCOMPARE(shows, 1);
    QVERIFY(splashReleasedFirst);
    const QString other = opened == u"sp" ? QStringLiteral("firstuse1") : QStringLiteral("sp");
    QVERIFY(!program.window(other));
}

void TestStartup::routingToAMainWindowThatStaysHidden()
{
    // No settings file and a configuration window: the main window's load shows the message
    // and the configuration window in its place, and the splash must not show it after all.
    TestProgram program;
    program.windows().registerWindow(WindowName::config, [] { return new QWidget; });
    program.show(WindowName::splash);
    program.window<SplashWindow>(WindowName::splash)->route();
    QCOMPARE(program.messages.shown.size(), 1);
    QVERIFY(!program.window(WindowName::splash));
    QVERIFY(program.window(WindowName::main) && !program.window(WindowName::main)->isVisible());
    QVERIFY(program.window(WindowName::config)->isVisible());
}

void TestStartup::splashWaitsForTheMainWindowsMessage()
{
    TestProgram program; // no settings file: the main window's load complains
    program.show(WindowName::splash);
    bool splashOpenDuringMessage = false;
    program.messages.whileOpen = [&](const Message &) {
        splashOpenDuringMessage = program.window(WindowName::splash)
            && program.window(WindowName::splash)->isVisible();
    };
    program.window<SplashWindow>(WindowName::splash)->route();
    QCOMPARE(program.messages.shown.size(), 1);
    QVERIFY(splashOpenDuringMessage);
    QVERIFY(!program.window(WindowName::splash));
}

void TestStartup::wholeProgramReachesTheMainWindowWithItsMaps()
{
    TestProgram program;
    const QString maps = program.path(QStringLiteral("Half-Life/valve/maps"));
    QVERIFY(makeFiles(maps, {"crossfire.bsp", "boot_camp.bsp", "snark_pit.bsp", "dm10.bsp",
                             "dm2.bsp", "notes.txt"}));
    program.writeIni("[GAMEDIR]\r\nmaps=" + maps.toLocal8Bit() + "\r\n[MISC]\r\nfirstuse=no\r\n"
                     "tfc=false\r\n");
    program.windows().show(WindowName::splash); // as Program::start does
    QVERIFY(program.window(WindowName::splash)->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(program.window(WindowName::main), 5000); // after the 3 s timer
    QWidget *sp = program.window(WindowName::main);
    QVERIFY(sp->isVisible());
    QVERIFY(!program.window(WindowName::splash));
    const QAbstractItemModel *model = child<QListView>(sp, "dirFichiers")->model();
    QStringList names;
    for (int i = 0; i < model->rowCount(); ++i)
        names << model->index(i, 0).data().toString();
    QCOMPARE(names, (QStringList{"boot_camp.bsp", "crossfire.bsp", "dm2.bsp", "dm10.bsp",
                                 "snark_pit.bsp"}));
    QVERIFY(!child<QWidget>(sp, "optTFC")->isEnabled());
    QVERIFY(program.messages.shown.isEmpty());
}

void TestStartup::typicalRunStartsTheRealGame()
{
    SystemProcessStarter starter;
    TestProgram program(QByteArray(), &starter);
    // The game under a folder whose name has blanks, with a decoy at the shorter prefix.
    StandIn decoy(program.path(QStringLiteral("Jeux/Half")));
    StandIn game(program.path(QStringLiteral("Jeux/Half Life/hl")));
    const QString maps = program.path(QStringLiteral("Jeux/Half Life/valve/maps"));
    QVERIFY(makeFiles(maps, {"crossfire.bsp", "datacore.bsp"}));
    program.writeIni("[GAMEDIR]\r\nprogram=" + game.program().toLocal8Bit() + "\r\nmaps="
                     + maps.toLocal8Bit() + "\r\n[MISC]\r\ntfc=true\r\n");
    QWidget *sp = program.show(WindowName::main);

    auto *list = child<QListView>(sp, "dirFichiers");
    list->setCurrentIndex(list->model()->match(list->model()->index(0, 0), Qt::DisplayRole,
                                               QStringLiteral("crossfire.bsp")).first());
    QTest::mouseClick(child<QPushButton>(sp, "confirmMap"), Qt::LeftButton);
    QCOMPARE(child<QLineEdit>(sp, "txtSelMap")->text(), QStringLiteral("crossfire.bsp"));
    QTest::mouseClick(child<QPushButton>(sp, "launch"), Qt::LeftButton);
    QCOMPARE(game.arguments(0), (QStringList{"+deathmatch", "1", "+map", "crossfire"}));

    // Single player at "Dur": the game receives the skill command before the map.
    QTest::mouseClick(child<QWidget>(sp, "optSP"), Qt::LeftButton, {}, QPoint(8, 8));
    child<QComboBox>(sp, "cmbDifficult")->setCurrentText(QStringLiteral("Dur"));
    QTest::mouseClick(child<QPushButton>(sp, "launch"), Qt::LeftButton);
    QCOMPARE(game.arguments(1), (QStringList{"+skill", "3", "+map", "crossfire"}));
    QTest::mouseClick(child<QWidget>(sp, "optDM"), Qt::LeftButton, {}, QPoint(8, 8));
    child<QComboBox>(sp, "cmbDifficult")->setCurrentText(QString());

    // Shell syntax typed into a field reaches the game as plain arguments and runs nothing.
    const QString marker = program.path(QStringLiteral("pwned"));
    QTest::mouseClick(child<QWidget>(sp, "chkAdd"), Qt::LeftButton, {}, QPoint(8, 8));
    child<QLineEdit>(sp, "parameters")->setText(QStringLiteral(" ; touch %1 $(touch %1) && `touch %1`").arg(marker));
    child<QLineEdit>(sp, "txtSelMap")->setText(QStringLiteral("x;reboot.bsp"));
    QTest::mouseClick(child<QPushButton>(sp, "launch"), Qt::LeftButton);
    QCOMPARE(game.arguments(2),
             (QStringList{"+deathmatch", "1", "+map", "x;reboot", ";", "touch", marker,
                          "$(touch", marker + QLatin1Char(')'), "&&", "`touch", marker + QLatin1Char('`')}));
    QVERIFY(!QFile::exists(marker));
    QCOMPARE(decoy.starts(), 0);
    QVERIFY(program.messages.shown.isEmpty());
    QVERIFY(sp->isVisible());

    // A game path that is gone: a clear message naming it, and the window goes on.
    QVERIFY(QFile::remove(decoy.program()));
    QVERIFY(QFile::remove(game.program()));
    QTest::mouseClick(child<QPushButton>(sp, "launch"), Qt::LeftButton);
    QCOMPARE(program.messages.shown.size(), 1);
    QCOMPARE(program.messages.shown[0].title, QStringLiteral("Lancement impossible"));
    QVERIFY(program.messages.shown[0].text.contains(game.program()));
}

void TestStartup::gameStartsInItsOwnFolder_data()
{
    QTest::addColumn<QByteArray>("button");
    QTest::newRow("Lancer") << QByteArray("launch");
    QTest::newRow("Lancer Mod / TC") << QByteArray("launchCustom");
}

void TestStartup::gameStartsInItsOwnFolder()
{
    // The launcher runs from the test's folder; the game lives in a folder of its own.
    QFETCH(QByteArray, button);
    SystemProcessStarter starter;
    TestProgram program(QByteArray(), &starter);
    StandIn game(program.path(QStringLiteral("Jeux/Half Life/hl_linux")));
    const QString maps = program.path(QStringLiteral("Jeux/Half Life/valve/maps"));
    QVERIFY(makeFiles(maps, {"crossfire.bsp"}));
    program.writeIni("[GAMEDIR]\r\nprogram=" + game.program().toLocal8Bit() + "\r\nmaps="
                     + maps.toLocal8Bit() + "\r\n[MISC]\r\ntfc=true\r\n");
    QVERIFY(QDir::currentPath() != program.path(QStringLiteral("Jeux/Half Life")));
    QWidget *sp = program.show(WindowName::main);
    child<QLineEdit>(sp, "txtSelMap")->setText(QStringLiteral("crossfire.bsp"));
    if (button == "launchCustom") {
        QTest::mouseClick(child<QWidget>(sp, "optCustom"), Qt::LeftButton, {}, QPoint(8, 8));
        child<QLineEdit>(sp, "txtCustom")->setText(QStringLiteral("tfc"));
    }
    QTest::mouseClick(child<QPushButton>(sp, button.constData()), Qt::LeftButton);
    QVERIFY(program.messages.shown.isEmpty());
    QCOMPARE(game.workingFolder(),
             QFileInfo(program.path(QStringLiteral("Jeux/Half Life"))).canonicalFilePath());
}

void TestStartup::failedStartNamesTheWholeConfiguredPath_data()
{
    QTest::addColumn<QString>("configured"); // relative to the program directory
    QTest::addColumn<bool>("exists");
    QTest::newRow("blanks in the path, nothing there") << "games/Half Life/hl_linux" << false;
    QTest::newRow("blanks in folder and name") << "games/Half Life/hl linux" << false;
    QTest::newRow("no blank") << "games/hl_linux" << false;
    QTest::newRow("a file that cannot run") << "games/Half Life/hl_linux" << true;
}

void TestStartup::failedStartNamesTheWholeConfiguredPath()
{
    QFETCH(QString, configured);
    QFETCH(bool, exists);
    SystemProcessStarter starter;
    TestProgram program(QByteArray(), &starter);
    const QString path = program.path(configured);
    if (exists)
        QVERIFY(makeFiles(QFileInfo(path).absolutePath(), {QFileInfo(path).fileName()}));
    program.writeIni("[GAMEDIR]\r\nprogram=" + path.toLocal8Bit() + "\r\n[MISC]\r\ntfc=true\r\n");
    QWidget *sp = program.show(WindowName::main);
    child<QLineEdit>(sp, "txtSelMap")->setText(QStringLiteral("crossfire.bsp"));
    QTest::mouseClick(child<QPushButton>(sp, "launch"), Qt::LeftButton);
    QCOMPARE(program.messages.shown.size(), 1);
    QCOMPARE(program.messages.shown[0].title, QStringLiteral("Lancement impossible"));
    const QString text = program.messages.shown[0].text;
    QVERIFY2(text.contains(QLatin1Char('\n') + path + QLatin1Char('\n')), qPrintable(text));
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
