#include "connect/connectwindow.h"
#include "connect/registration.h"
#include "connect/udpserverquery.h"
#include "fakeserver.h"
#include "launcher/windownames.h"
#include "platform/systemprocessstarter.h"
#include "settings/profilefile.h"
#include "standin.h"
#include "testprogram.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCompleter>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QHostAddress>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>

using namespace std::chrono_literals;

namespace {

constexpr auto kTimeout = 150ms;

// The real query with a short time-out; names under example.org are the loopback address and
// no other name resolves, so that nothing leaves this machine.
std::unique_ptr<ServerQuery> loopbackQuery()
{
    auto query = std::make_unique<UdpServerQuery>();
    query->setTimeout(kTimeout);
    query->setHostLookup([](const QString &host, QObject *context,
                            std::function<void(const QList<QHostAddress> &)> done) {
        const QList<QHostAddress> found = host.endsWith(u".example.org")
            ? QList<QHostAddress>{QHostAddress(QHostAddress::LocalHost)}
            : QList<QHostAddress>();
        QTimer::singleShot(1, context, [done, found] { done(found); });
    });
    return query;
}

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
        registerConnectWindows(program.context(), loopbackQuery);
        window = program.show(WindowName::connect);
    }
    void launch(const QString &address)
    {
        QTest::keyClicks(child<QLineEdit>(window, "ipadress"), address);
        QTest::mouseClick(child<QPushButton>(window, "cmdLaunch"), Qt::LeftButton);
    }
    // Types the server's address and port and presses Interroger; true once the status says
    // something else than the waiting text.
    bool query(const QString &address, quint16 port)
    {
        typeInto(child<QLineEdit>(window, "ipadress"), address);
        typeInto(child<QLineEdit>(window, "port"), QString::number(port));
        QTest::mouseClick(child<QPushButton>(window, "cmdQuery"), Qt::LeftButton);
        return QTest::qWaitFor([this] { return !waiting(); }, 5000);
    }
    bool waiting() { return label("lblServerStatus") == u"Interrogation ..."; }
    QString label(const char *name) { return child<QLabel>(window, name)->text(); }
    QStringList playerRows()
    {
        QStringList rows;
        auto *list = child<QTreeWidget>(window, "lstPlayers");
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            const QTreeWidgetItem *item = list->topLevelItem(i);
            rows.append(QStringList{item->text(0), item->text(1), item->text(2)}.join(u'|'));
        }
        return rows;
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
    void refusesAnUnusableAddressOrPort_data();
    void refusesAnUnusableAddressOrPort();
    void enterInAFieldLaunches_data();
    void enterInAFieldLaunches();
    void showsWhatTheServerSays_data();
    void showsWhatTheServerSays();
    void aFailedQueryEmptiesTheEarlierAnswer();
    void showsTheAnswerAtOnce();
    void recentServersSurviveARestart();
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
    auto *query = child<QPushButton>(window, "cmdQuery");
    QVERIFY(query && frame->isAncestorOf(query));
    QCOMPARE(query->text(), u"&Interroger");
    auto *info = child<QFrame>(window, "frmServerInfo");
    QVERIFY(info);
    for (const char *name :
         {"lblServerName", "lblServerMap", "lblServerPlayers", "lblServerPing", "lblServerStatus"}) {
        auto *label = child<QLabel>(window, name);
        QVERIFY(label && info->isAncestorOf(label));
        QVERIFY(label->text().isEmpty());
        QCOMPARE(label->textFormat(), Qt::PlainText); // a server's name is never markup
    }
    QCOMPARE(opened.playerRows(), QStringList());
    QVERIFY(info->isAncestorOf(child<QTreeWidget>(window, "lstPlayers")));

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

void TestConnectWindow::refusesAnUnusableAddressOrPort_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("field"); // objectName of the field named and focused

    QTest::newRow("empty address") << QString() << u"27015"_qs << u"ipadress"_qs;
    QTest::newRow("blank address") << u"   "_qs << u"27015"_qs << u"ipadress"_qs;
    QTest::newRow("empty port") << u"192.0.2.1"_qs << QString() << u"port"_qs;
    QTest::newRow("port zero") << u"192.0.2.1"_qs << u"0"_qs << u"port"_qs;
    QTest::newRow("port too high") << u"192.0.2.1"_qs << u"65536"_qs << u"port"_qs;
    QTest::newRow("port not a number") << u"192.0.2.1"_qs << u"27o15"_qs << u"port"_qs;
    QTest::newRow("both wrong: the address first") << QString() << u"x"_qs << u"ipadress"_qs;
}

void TestConnectWindow::refusesAnUnusableAddressOrPort()
{
    QFETCH(QString, address);
    QFETCH(QString, port);
    QFETCH(QString, field);

    const QString text = field == u"ipadress"
        ? u"Le champ « Adresse IP » est vide : indiquez l'adresse du serveur."_qs
        : u"Le champ « Port » doit contenir un nombre de 1 à 65535."_qs;
    for (const char *button : {"cmdQuery", "cmdLaunch"}) {
        FakeServer server({.info = Packet::info({})});
        Opened opened;
        QVERIFY(QTest::qWaitForWindowActive(opened.window));
        typeInto(child<QLineEdit>(opened.window, "ipadress"), address);
        typeInto(child<QLineEdit>(opened.window, "port"), port);
        QTest::mouseClick(child<QPushButton>(opened.window, button), Qt::LeftButton);

        QCOMPARE(opened.program.messages.shown.size(), 1);
        QCOMPARE(opened.program.messages.shown.first().text, text);
        QCOMPARE(opened.program.messages.shown.first().icon, MessageIcon::Warning);
        QCOMPARE(QApplication::focusWidget()->objectName(), field);
        QVERIFY(opened.program.processes.calls.isEmpty());
        QVERIFY(opened.label("lblServerStatus").isEmpty());
        QVERIFY(!opened.program.iniBytes().contains("SERVERS"));
    }
}

void TestConnectWindow::enterInAFieldLaunches_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("launches");
    QTest::addColumn<bool>("queried");

    QTest::newRow("Return in the address") << u"ipadress"_qs << int(Qt::Key_Return) << 1 << false;
    QTest::newRow("keypad Enter in the address")
        << u"ipadress"_qs << int(Qt::Key_Enter) << 1 << false;
    QTest::newRow("Return in the port") << u"port"_qs << int(Qt::Key_Return) << 1 << false;
    QTest::newRow("Return on the close box") << u"close"_qs << int(Qt::Key_Return) << 1 << false;
    QTest::newRow("Return on Interroger queries") << u"cmdQuery"_qs << int(Qt::Key_Return) << 0
                                                  << true;
}

void TestConnectWindow::enterInAFieldLaunches()
{
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(int, launches);
    QFETCH(bool, queried);

    FakeServer server({.info = Packet::info({})});
    Opened opened;
    QVERIFY(QTest::qWaitForWindowActive(opened.window));
    QTest::keyClicks(child<QLineEdit>(opened.window, "ipadress"), u"127.0.0.1"_qs);
    typeInto(child<QLineEdit>(opened.window, "port"), QString::number(server.port()));
    auto *target = opened.window->findChild<QWidget *>(focus);
    QVERIFY(target);
    target->setFocus();
    QTest::keyClick(target, Qt::Key(key), key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);

    QCOMPARE(opened.program.processes.calls.size(), launches);
    if (launches)
        QCOMPARE(opened.program.processes.calls.first().commandLine,
                 u"C:\\Jeux\\Half-Life\\hl.exe -console +connect 127.0.0.1:%1"_qs.arg(server.port()));
    QCOMPARE(opened.label("lblServerStatus").isEmpty(), !queried);
    if (queried)
        QTRY_COMPARE(opened.label("lblServerName"), u"Serveur de test");
    // Shift+Return is not Enter alone.
    child<QLineEdit>(opened.window, "ipadress")->setFocus();
    QTest::keyClick(child<QLineEdit>(opened.window, "ipadress"), Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(opened.program.processes.calls.size(), launches);
}

void TestConnectWindow::showsWhatTheServerSays_data()
{
    QTest::addColumn<FakeServerScript>("script");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QStringList>("labels"); // name, map, players; empty: all empty
    QTest::addColumn<QStringList>("players");

    // One row per status; each kind of packet is tried against the query itself
    // (tst_serverquery) and the reader (tst_serverreply).
    Packet::Info open;
    const QList<Packet::Player> two = {{"Corbeau", 21, 754.9f}, {"Freux\x1B[0m", -2, 3725.0f}};
    const QStringList twoRows = {u"Corbeau|21|12:34"_qs, u"Freux[0m|-2|1:02:05"_qs};
    FakeServerScript s;
    s.info = Packet::info(open);
    s.players = Packet::players(two);
    s.playersChallenge = QByteArray("\x10\x20\x30\x40");
    QTest::newRow("online, with its players")
        << s << u"127.0.0.1"_qs << u"Serveur en ligne"_qs
        << QStringList{u"Serveur de test"_qs, u"crossfire"_qs, u"12/16"_qs} << twoRows;
    QTest::newRow("by name") << s << u"serveur.example.org"_qs << u"Serveur en ligne"_qs
                             << QStringList{u"Serveur de test"_qs, u"crossfire"_qs, u"12/16"_qs}
                             << twoRows;
    const Packet::Info locked{.name = "<b>Priv\xC3\xA9</b>\r\n", .map = "2fort", .players = 3,
                              .maxPlayers = 32, .bots = 3, .password = true};
    s = {};
    s.info = Packet::info(locked);
    s.infoChallenge = QByteArray("\x01\x02\x03\x04");
    QTest::newRow("password, bots, challenge, no list")
        << s << u"127.0.0.1"_qs << u"Serveur en ligne, protégé par un mot de passe"_qs
        << QStringList{u"<b>Privé</b>"_qs, u"2fort"_qs, u"3/32 (3 bots)"_qs} << QStringList();
    s = {};
    s.info = Packet::obsoleteInfo(open);
    s.players = Packet::players(two);
    QTest::newRow("obsolete layout") << s << u"127.0.0.1"_qs << u"Serveur en ligne"_qs
                                     << QStringList{u"Serveur de test"_qs, u"crossfire"_qs, u"12/16"_qs}
                                     << twoRows;
    s = {};
    QTest::newRow("silence") << s << u"127.0.0.1"_qs << u"Pas de réponse du serveur"_qs
                             << QStringList() << QStringList();
    s.info = QByteArray("garbage");
    QTest::newRow("garbage") << s << u"127.0.0.1"_qs << u"Réponse du serveur non reconnue"_qs
                             << QStringList() << QStringList();
    s = {};
    s.info = Packet::info(open);
    QTest::newRow("unknown name") << s << u"nulle-part.invalid"_qs << u"Adresse introuvable"_qs
                                  << QStringList() << QStringList();
}

void TestConnectWindow::showsWhatTheServerSays()
{
    QFETCH(FakeServerScript, script);
    QFETCH(QString, address);
    QFETCH(QString, status);
    QFETCH(QStringList, labels);
    QFETCH(QStringList, players);

    FakeServer server(script);
    Opened opened;
    QVERIFY(opened.query(address, server.port()));
    QCOMPARE(opened.label("lblServerStatus"), status);
    const QStringList shown = {opened.label("lblServerName"), opened.label("lblServerMap"),
                               opened.label("lblServerPlayers")};
    const QStringList expected = labels.isEmpty() ? QStringList(3, QString()) : labels;
    QCOMPARE(shown, expected);
    const QString ping = opened.label("lblServerPing");
    if (labels.isEmpty()) {
        QVERIFY(ping.isEmpty());
    } else {
        QVERIFY2(ping.endsWith(u" ms") && ping.chopped(3).toInt() < 1000, qPrintable(ping));
    }
    // The list comes after the information; a server without one leaves it empty.
    if (!players.isEmpty())
        QTRY_COMPARE(opened.playerRows(), players);
    QTest::qWait(int(kTimeout.count()) * 3);
    QCOMPARE(opened.playerRows(), players);
    QCOMPARE(opened.label("lblServerStatus"), status);
    QVERIFY(opened.program.messages.shown.isEmpty());
    QVERIFY(opened.program.processes.calls.isEmpty());
}

void TestConnectWindow::aFailedQueryEmptiesTheEarlierAnswer()
{
    FakeServerScript script;
    script.info = Packet::info({});
    script.players = Packet::players({{"Corbeau", 1, 1.0f}});
    FakeServer server(script);
    FakeServer silent;
    Opened opened;
    QVERIFY(opened.query(u"127.0.0.1"_qs, server.port()));
    QTRY_COMPARE(opened.playerRows().size(), 1);
    QCOMPARE(opened.label("lblServerName"), u"Serveur de test");

    typeInto(child<QLineEdit>(opened.window, "port"), QString::number(silent.port()));
    QTest::mouseClick(child<QPushButton>(opened.window, "cmdQuery"), Qt::LeftButton);
    // Emptied at once, while waiting for the new answer.
    QVERIFY(opened.waiting());
    QVERIFY(opened.label("lblServerName").isEmpty());
    QVERIFY(opened.playerRows().isEmpty());
    QVERIFY(QTest::qWaitFor([&] { return !opened.waiting(); }, 5000));
    QCOMPARE(opened.label("lblServerStatus"), u"Pas de réponse du serveur");
    for (const char *name : {"lblServerName", "lblServerMap", "lblServerPlayers", "lblServerPing"})
        QVERIFY(opened.label(name).isEmpty());
    QCOMPARE(silent.requests.size(), 2); // the request and its one retry
}

void TestConnectWindow::showsTheAnswerAtOnce()
{
    // A figure, not a limit: how long after the answer leaves the server the name is on screen.
    FakeServer server({.info = Packet::info({}), .players = Packet::players({})});
    Opened opened;
    QList<double> delays;
    for (int run = 0; run < 20; ++run) {
        typeInto(child<QLineEdit>(opened.window, "ipadress"), u"127.0.0.1"_qs);
        typeInto(child<QLineEdit>(opened.window, "port"), QString::number(server.port()));
        const qsizetype before = server.requests.size();
        QTest::mouseClick(child<QPushButton>(opened.window, "cmdQuery"), Qt::LeftButton);
        auto *name = child<QLabel>(opened.window, "lblServerName");
        QElapsedTimer limit;
        limit.start();
        while (name->text().isEmpty() && limit.elapsed() < 5000)
            QCoreApplication::processEvents();
        const qint64 shownNs = server.clock.nsecsElapsed();
        QVERIFY(!name->text().isEmpty());
        delays.append(double(shownNs - server.infoAnsweredNs) / 1e6);
        QVERIFY(QTest::qWaitFor([&] { return server.requests.size() >= before + 2; }, 2000));
        QTest::qWait(20);
    }
    std::sort(delays.begin(), delays.end());
    qInfo("answer to name on screen: median %.2f ms, worst %.2f ms over %d queries (aim: 50 ms)",
          delays[delays.size() / 2], delays.last(), int(delays.size()));
}

void TestConnectWindow::recentServersSurviveARestart()
{
    QTemporaryDir directory;
    QVERIFY(directory.isValid());
    QFile ini(directory.filePath(u"crvn.ini"_qs));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write(iniWithProgram(kProgram));
    ini.close();
    RecordingMessageBoxes messages;
    RecordingProcessStarter processes;
    ScriptedFileDialogs files;
    FakeVolumes volumes;
    const PlatformServices platform{messages, processes, files, volumes};

    {
        Program program(directory.path(), platform);
        registerConnectWindows(program.context(), loopbackQuery);
        QWidget *window = program.windows().show(WindowName::connect);
        for (int i = 1; i <= 11; ++i) {
            typeInto(child<QLineEdit>(window, "ipadress"), u"h%1.example.org"_qs.arg(i));
            typeInto(child<QLineEdit>(window, "port"), QString::number(27000 + i));
            QTest::mouseClick(child<QPushButton>(window, "cmdLaunch"), Qt::LeftButton);
        }
        // Joined again: back to the top, not twice in the list.
        typeInto(child<QLineEdit>(window, "ipadress"), u" H5.example.org "_qs);
        typeInto(child<QLineEdit>(window, "port"), u"27005"_qs);
        QTest::mouseClick(child<QPushButton>(window, "cmdLaunch"), Qt::LeftButton);
        QCOMPARE(processes.calls.size(), 12);
        program.windows().unload(WindowName::connect);
    }
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    const QString path = directory.filePath(u"crvn.ini"_qs);
    const auto recent = [&path](int n) {
        return ProfileFile::read(path, u"SERVERS", u"recent%1"_qs.arg(n), u"(none)"_qs);
    };
    QCOMPARE(recent(1), u"H5.example.org:27005");
    QCOMPARE(recent(2), u"h11.example.org:27011");
    QCOMPARE(recent(3), u"h10.example.org:27010");
    QCOMPARE(recent(7), u"h6.example.org:27006");
    QCOMPARE(recent(8), u"h4.example.org:27004");
    QCOMPARE(recent(10), u"h2.example.org:27002");
    QCOMPARE(recent(11), u"(none)");
    QCOMPARE(ProfileFile::read(path, u"GAMEDIR", u"program", {}), kProgram);

    // A new program on the same file offers them; picking one fills address and port.
    Program program(directory.path(), platform);
    registerConnectWindows(program.context(), loopbackQuery);
    QWidget *window = program.windows().show(WindowName::connect);
    QVERIFY(QTest::qWaitForWindowActive(window));
    auto *address = child<QLineEdit>(window, "ipadress");
    QCompleter *completer = address->completer();
    QVERIFY(completer);
    address->setFocus();
    QTest::keyClicks(address, u"h1"_qs);
    QTRY_VERIFY(completer->popup()->isVisible());
    QCOMPARE(completer->completionCount(), 2); // h11 and h10: h1 fell off the list
    QTest::keyClick(completer->popup(), Qt::Key_Down);
    QTest::keyClick(completer->popup(), Qt::Key_Return);
    QCOMPARE(address->text(), u"h11.example.org");
    QCOMPARE(child<QLineEdit>(window, "port")->text(), u"27011");
    // Picking with Enter is not launching.
    QCOMPARE(processes.calls.size(), 12);

    // Down in an empty address shows them all, newest first.
    typeInto(address, QString());
    QTest::keyClick(address, Qt::Key_Down);
    QTRY_VERIFY(completer->popup()->isVisible());
    QCOMPARE(completer->completionCount(), 10);
    QCOMPARE(completer->popup()->model()->index(0, 0).data().toString(),
             u"H5.example.org:27005");
    QTest::keyClick(completer->popup(), Qt::Key_Escape);
    QVERIFY(!completer->popup()->isVisible());
    program.windows().unload(WindowName::connect);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
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
    // A server never joined is not one of the recent servers.
    QCOMPARE(program.settings().read(Keys::recentServer(1), u"(none)"), u"(none)");

    // "Fermer" checked: the window stays all the same, for another try.
    QTest::mouseClick(child<QCheckBox>(opened.window, "close"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(opened.window, "cmdLaunch"), Qt::LeftButton);
    QCOMPARE(program.processes.calls.size(), 2);
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
    QTest::keyClicks(child<QLineEdit>(window, "ipadress"), u"192.0.2.1"_qs);
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
