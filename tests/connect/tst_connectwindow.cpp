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

void typeInto(QLineEdit *box, const QString &text)
{
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
}

// The connection window opened on a program whose game is kProgram.
struct Opened {
    explicit Opened(const QByteArray &ini = iniWithProgram(kProgram))
        : program(ini)
    {
        registerConnectWindows(program.context());
        window = program.show(WindowName::connect);
    }
    void launch(const QString &address)
    {
        QTest::keyClicks(child<QLineEdit>(window, "ipadress"), address);
        QTest::mouseClick(child<QPushButton>(window, "cmdLaunch"), Qt::LeftButton);
    }

    TestProgram program;
    QPointer<QWidget> window;
};

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
    void checkedCloseBoxClosesTheWindowAfterTheLaunch();
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
    Opened opened;
    auto *window = qobject_cast<ConnectWindow *>(opened.window.data());
    QVERIFY(window);
    QVERIFY(window->isVisible());
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
    QVERIFY(opened.program.processes.calls.isEmpty());
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
}

void TestConnectWindow::launchesWhatWasTyped()
{
    QFETCH(QString, address);
    QFETCH(QString, port);
    QFETCH(QString, command);

    Opened opened;
    TestProgram &program = opened.program;
    auto *portBox = child<QLineEdit>(opened.window, "port");
    QVERIFY(portBox);
    if (!port.isNull())
        typeInto(portBox, port);
    opened.launch(address);

    QCOMPARE(program.processes.calls.size(), 1);
    QCOMPARE(program.processes.calls.first().commandLine, command);
    QCOMPARE(program.processes.calls.first().style, WindowStyle::Maximized);
    QVERIFY(program.messages.shown.isEmpty());
    // The window stays with its fields as typed, and launches again.
    QCOMPARE(program.window(WindowName::connect), opened.window.data());
    QVERIFY(opened.window->isVisible());
    QCOMPARE(child<QLineEdit>(opened.window, "ipadress")->text(), address);
    QCOMPARE(portBox->text(), port.isNull() ? QStringLiteral("27015") : port);
    QTest::mouseClick(child<QPushButton>(opened.window, "cmdLaunch"), Qt::LeftButton);
    QCOMPARE(program.processes.calls.size(), 2);
    QCOMPARE(program.processes.calls.last().commandLine, command);
}

void TestConnectWindow::missingProgramStillStartsAndReportsTheFailure()
{
    Opened opened(QByteArray("[MISC]\r\ntfc=true\r\n"));
    TestProgram &program = opened.program;
    program.processes.fail = true;
    opened.launch(QStringLiteral("192.0.2.1"));

    QCOMPARE(program.processes.calls.size(), 1);
    QCOMPARE(program.processes.calls.first().commandLine,
             u"error -console +connect 192.0.2.1:27015");
    QCOMPARE(program.messages.shown.size(), 1);
    QCOMPARE(program.messages.shown.first().title, u"Lancement impossible");
    QCOMPARE(program.messages.shown.first().icon, MessageIcon::Critical);
    QCOMPARE(program.window(WindowName::connect), opened.window.data());
}

void TestConnectWindow::checkedCloseBoxClosesTheWindowAfterTheLaunch()
{
    Opened opened;
    QTest::mouseClick(child<QCheckBox>(opened.window, "close"), Qt::LeftButton);
    QVERIFY(child<QCheckBox>(opened.window, "close")->isChecked());
    opened.launch(QStringLiteral("192.0.2.1"));

    // The command is the same as with the box unchecked.
    QCOMPARE(opened.program.processes.calls.size(), 1);
    QCOMPARE(opened.program.processes.calls.first().commandLine,
             u"C:\\Jeux\\Half-Life\\hl.exe -console +connect 192.0.2.1:27015");
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!opened.program.window(WindowName::connect));
    QVERIFY(opened.window.isNull());
    QCOMPARE(opened.program.quitCount, 0);
}

void TestConnectWindow::closingTheLastWindowEndsTheProgram()
{
    Opened opened;
    TestProgram &program = opened.program;
    QWidget *window = opened.window;
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
    child<QAction>(firstMain, "mnuFileitmConnect")->trigger();
    QPointer<QWidget> connectWindow = program.window(WindowName::connect);
    QVERIFY(connectWindow && connectWindow->isVisible());
    QVERIFY(!program.window(WindowName::main));

    QTest::keyClicks(child<QLineEdit>(connectWindow, "ipadress"), QStringLiteral("192.0.2.1"));
    child<QAction>(connectWindow, "mnuFileitmCRVN")->trigger();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    QVERIFY(connectWindow.isNull());
    QVERIFY(firstMain.isNull());
    QWidget *main = program.window(WindowName::main);
    QVERIFY(main && main->isVisible());
    QVERIFY(program.messages.shown.isEmpty());

    // Opened again, the connection window starts from its initial values.
    child<QAction>(main, "mnuFileitmConnect")->trigger();
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
