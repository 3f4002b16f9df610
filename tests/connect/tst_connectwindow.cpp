#include "connect/connectwindow.h"
#include "connect/registration.h"
#include "launcher/windownames.h"
#include "platform/systemprocessstarter.h"
#include "standin.h"
#include "testprogram.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>

namespace {

QByteArray iniWithProgram(const QString &program)
{
    return QStringLiteral("[GAMEDIR]\r\nprogram=%1\r\nmaps=%2\r\n[MISC]\r\ntfc=true\r\n")
        .arg(program, QStringLiteral("C:\\Jeux\\Half-Life\\valve\\maps"))
        .toLocal8Bit();
}

const QString kProgram = QStringLiteral("C:\\Jeux\\Half-Life\\hl.exe");

QAction *action(QWidget *window, const char *name)
{
    QAction *found = window ? window->findChild<QAction *>(QLatin1String(name)) : nullptr;
    if (!found)
        qWarning("action %s not found", name);
    return found;
}

void typeInto(QLineEdit *box, const QString &text)
{
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
}

} // namespace

class TestConnectWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup();
    void opensWithItsInitialControls();
    void launchesWhatWasTyped_data();
    void launchesWhatWasTyped();
    void missingProgramStillStartsAndReportsTheFailure();
    void launchingTwiceStartsTwice();
    void closeBoxDecidesWhetherTheWindowStays_data();
    void closeBoxDecidesWhetherTheWindowStays();
    void closingTheLastWindowEndsTheProgram();
    void menuGoesBackToAFreshMainWindow();
    void joinsAServerWithTheStandInGame();
};

void TestConnectWindow::cleanup()
{
    closeModalWindows();
}

void TestConnectWindow::opensWithItsInitialControls()
{
    TestProgram program(iniWithProgram(kProgram));
    registerConnectWindows(program.context());
    auto *window = qobject_cast<ConnectWindow *>(program.show(WindowName::connect));
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QCOMPARE(window->objectName(), u"connect");
    QCOMPARE(window->windowTitle(), u"Half-Life Connection Tool");

    auto *frame = child<QGroupBox>(window, "Frame1");
    QVERIFY(frame);
    QCOMPARE(frame->title(), u"Informations sur le serveur :");
    QCOMPARE(child<QLabel>(window, "Label1")->text(), u"Adresse IP :");
    QCOMPARE(child<QLabel>(window, "sv_port")->text(), u"Port : ");
    auto *address = child<QLineEdit>(window, "ipadress");
    QVERIFY(address && frame->isAncestorOf(address));
    QVERIFY(address->text().isEmpty());
    auto *port = child<QLineEdit>(window, "port");
    QVERIFY(port && !frame->isAncestorOf(port));
    QCOMPARE(port->text(), u"27015");
    auto *close = child<QCheckBox>(window, "close");
    QCOMPARE(close->text(), u"Fermer");
    QVERIFY(!close->isChecked());
    QCOMPARE(child<QPushButton>(window, "cmdLaunch")->text(), u"Lancer");

    auto *file = window->findChild<QMenu *>(QStringLiteral("mnuFile"));
    QVERIFY(file);
    QCOMPARE(file->title(), u"&Fichier");
    QCOMPARE(window->menuBar()->actions().size(), 1);
    QCOMPARE(file->actions().size(), 1);
    QCOMPARE(file->actions().first()->objectName(), u"mnuFileitmCRVN");
    QCOMPARE(file->actions().first()->text(), u"&Corvane ...");
    QVERIFY(program.processes.calls.isEmpty());
}

void TestConnectWindow::launchesWhatWasTyped_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("port"); // null: keep the initial port
    QTest::addColumn<QString>("command");

    QTest::newRow("address with the initial port")
        << QStringLiteral("192.0.2.1") << QString()
        << QStringLiteral("C:\\Jeux\\Half-Life\\hl.exe -console +connect 192.0.2.1:27015");
    QTest::newRow("empty address")
        << QString() << QString()
        << QStringLiteral("C:\\Jeux\\Half-Life\\hl.exe -console +connect :27015");
    QTest::newRow("blanks around the address")
        << QStringLiteral(" 192.0.2.1  ") << QString()
        << QStringLiteral("C:\\Jeux\\Half-Life\\hl.exe -console +connect  192.0.2.1  :27015");
    QTest::newRow("other port")
        << QStringLiteral("srv.example.org") << QStringLiteral("27020")
        << QStringLiteral("C:\\Jeux\\Half-Life\\hl.exe -console +connect srv.example.org:27020");
    QTest::newRow("empty port")
        << QStringLiteral("192.0.2.1") << QStringLiteral("")
        << QStringLiteral("C:\\Jeux\\Half-Life\\hl.exe -console +connect 192.0.2.1:");
    QTest::newRow("port that is not a number")
        << QStringLiteral("192.0.2.1") << QStringLiteral("port")
        << QStringLiteral("C:\\Jeux\\Half-Life\\hl.exe -console +connect 192.0.2.1:port");
}

void TestConnectWindow::launchesWhatWasTyped()
{
    QFETCH(QString, address);
    QFETCH(QString, port);
    QFETCH(QString, command);

    TestProgram program(iniWithProgram(kProgram));
    registerConnectWindows(program.context());
    QWidget *window = program.show(WindowName::connect);
    auto *addressBox = child<QLineEdit>(window, "ipadress");
    auto *portBox = child<QLineEdit>(window, "port");
    QVERIFY(addressBox && portBox);
    QTest::keyClicks(addressBox, address);
    if (!port.isNull())
        typeInto(portBox, port);
    QTest::mouseClick(child<QPushButton>(window, "cmdLaunch"), Qt::LeftButton);

    QCOMPARE(program.processes.calls.size(), 1);
    QCOMPARE(program.processes.calls.first().commandLine, command);
    QCOMPARE(program.processes.calls.first().style, WindowStyle::Maximized);
    QVERIFY(program.messages.shown.isEmpty());
    // The window stays with its fields as typed.
    QCOMPARE(program.window(WindowName::connect), window);
    QVERIFY(window->isVisible());
    QCOMPARE(addressBox->text(), address);
    QCOMPARE(portBox->text(), port.isNull() ? QStringLiteral("27015") : port);
}

void TestConnectWindow::missingProgramStillStartsAndReportsTheFailure()
{
    TestProgram program(QByteArray("[MISC]\r\ntfc=true\r\n"));
    registerConnectWindows(program.context());
    program.processes.fail = true;
    QWidget *window = program.show(WindowName::connect);
    QTest::keyClicks(child<QLineEdit>(window, "ipadress"), QStringLiteral("192.0.2.1"));
    QTest::mouseClick(child<QPushButton>(window, "cmdLaunch"), Qt::LeftButton);

    QCOMPARE(program.processes.calls.size(), 1);
    QCOMPARE(program.processes.calls.first().commandLine,
             u"error -console +connect 192.0.2.1:27015");
    QCOMPARE(program.messages.shown.size(), 1);
    QCOMPARE(program.messages.shown.first().title, u"Lancement impossible");
    QCOMPARE(program.messages.shown.first().icon, MessageIcon::Critical);
    QCOMPARE(program.window(WindowName::connect), window);
}

void TestConnectWindow::launchingTwiceStartsTwice()
{
    TestProgram program(iniWithProgram(kProgram));
    registerConnectWindows(program.context());
    QWidget *window = program.show(WindowName::connect);
    QTest::keyClicks(child<QLineEdit>(window, "ipadress"), QStringLiteral("192.0.2.9"));
    auto *launch = child<QPushButton>(window, "cmdLaunch");
    QTest::mouseClick(launch, Qt::LeftButton);
    QTest::mouseClick(launch, Qt::LeftButton);
    QCOMPARE(program.processes.calls.size(), 2);
    QCOMPARE(program.processes.calls.at(0).commandLine, program.processes.calls.at(1).commandLine);
}

void TestConnectWindow::closeBoxDecidesWhetherTheWindowStays_data()
{
    QTest::addColumn<bool>("check");
    QTest::newRow("unchecked: the window stays") << false;
    QTest::newRow("checked: the window closes after the launch") << true;
}

void TestConnectWindow::closeBoxDecidesWhetherTheWindowStays()
{
    QFETCH(bool, check);

    TestProgram program(iniWithProgram(kProgram));
    registerConnectWindows(program.context());
    QPointer<QWidget> window = program.show(WindowName::connect);
    auto *close = child<QCheckBox>(window, "close");
    if (check)
        QTest::mouseClick(close, Qt::LeftButton);
    QCOMPARE(close->isChecked(), check);
    QTest::keyClicks(child<QLineEdit>(window, "ipadress"), QStringLiteral("192.0.2.1"));
    QTest::mouseClick(child<QPushButton>(window, "cmdLaunch"), Qt::LeftButton);

    // The command is the same either way.
    QCOMPARE(program.processes.calls.size(), 1);
    QCOMPARE(program.processes.calls.first().commandLine,
             u"C:\\Jeux\\Half-Life\\hl.exe -console +connect 192.0.2.1:27015");
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (check) {
        QVERIFY(!program.window(WindowName::connect));
        QVERIFY(window.isNull());
    } else {
        QCOMPARE(program.window(WindowName::connect), window.data());
        QVERIFY(window->isVisible());
    }
    QCOMPARE(program.quitCount, 0);
}

void TestConnectWindow::closingTheLastWindowEndsTheProgram()
{
    TestProgram program(iniWithProgram(kProgram));
    registerConnectWindows(program.context());
    QWidget *window = program.show(WindowName::connect);
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QTest::mouseClick(child<QCheckBox>(window, "close"), Qt::LeftButton);

    // Pressed from inside the program's event loop, which must end by itself.
    QTimer::singleShot(0, window, [window] {
        QTest::mouseClick(child<QPushButton>(window, "cmdLaunch"), Qt::LeftButton);
    });
    QTimer stuck;
    stuck.setSingleShot(true);
    stuck.callOnTimeout(qApp, [] { QCoreApplication::exit(99); });
    stuck.start(5000);
    const int code = QApplication::exec();
    stuck.stop();

    QCOMPARE(code, 0);
    QCOMPARE(program.processes.calls.size(), 1);
    QVERIFY(!program.window(WindowName::connect));
    QCOMPARE(program.quitCount, 0);
}

void TestConnectWindow::menuGoesBackToAFreshMainWindow()
{
    TestProgram program(iniWithProgram(kProgram));
    registerConnectWindows(program.context());
    QPointer<QWidget> firstMain = program.show(WindowName::main);
    QVERIFY(firstMain);
    action(firstMain, "mnuFileitmConnect")->trigger();
    QPointer<QWidget> connectWindow = program.window(WindowName::connect);
    QVERIFY(connectWindow && connectWindow->isVisible());
    QVERIFY(!program.window(WindowName::main));

    QTest::keyClicks(child<QLineEdit>(connectWindow, "ipadress"), QStringLiteral("192.0.2.1"));
    action(connectWindow, "mnuFileitmCRVN")->trigger();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    QVERIFY(connectWindow.isNull());
    QVERIFY(firstMain.isNull());
    QWidget *main = program.window(WindowName::main);
    QVERIFY(main && main->isVisible());
    QVERIFY(program.messages.shown.isEmpty());

    // Opened again, the connection window starts from its initial values.
    action(main, "mnuFileitmConnect")->trigger();
    QWidget *again = program.window(WindowName::connect);
    QVERIFY(again);
    QVERIFY(child<QLineEdit>(again, "ipadress")->text().isEmpty());
    QCOMPARE(child<QLineEdit>(again, "port")->text(), u"27015");
}

void TestConnectWindow::joinsAServerWithTheStandInGame()
{
    QTemporaryDir directory;
    QVERIFY(directory.isValid());
    StandIn game(directory.filePath(QStringLiteral("game/hl")));
    QFile ini(directory.filePath(QStringLiteral("crvn.ini")));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write(iniWithProgram(game.program()));
    ini.close();

    RecordingMessageBoxes messages;
    SystemProcessStarter processes;
    ScriptedFileDialogs files;
    FakeVolumes volumes;
    {
        Program program(directory.path(), PlatformServices{messages, processes, files, volumes});
        registerConnectWindows(program.context());
        QWidget *window = program.windows().show(WindowName::connect);
        QVERIFY(window);
        QTest::keyClicks(child<QLineEdit>(window, "ipadress"), QStringLiteral("192.0.2.1"));
        typeInto(child<QLineEdit>(window, "port"), QStringLiteral("27016"));
        QTest::mouseClick(child<QPushButton>(window, "cmdLaunch"), Qt::LeftButton);

        QCOMPARE(game.arguments(0), (QStringList{QStringLiteral("-console"),
                                                 QStringLiteral("+connect"),
                                                 QStringLiteral("192.0.2.1:27016")}));
        QCOMPARE(game.starts(), 1);
        QVERIFY(messages.shown.isEmpty());
        program.windows().unload(WindowName::connect);
    }
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QTEST_MAIN(TestConnectWindow)
#include "tst_connectwindow.moc"
