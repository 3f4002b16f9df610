#include "connect/registration.h"
#include "connect/recentservers.h"
#include "connect/serverrefresh.h"
#include "connect/udpserverquery.h"
#include "fakeserver.h"
#include "launcher/windowmanager.h"
#include "launcher/windownames.h"
#include "platform/systemprocessstarter.h"
#include "standin.h"
#include "testfiles.h"
#include "testprogram.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTreeWidget>

#include <memory>

using namespace std::chrono_literals;

namespace {

// The real query with a short time-out; the servers are all on 127.0.0.1.
std::unique_ptr<ServerQuery> loopbackQuery()
{
    auto query = std::make_unique<UdpServerQuery>();
    query->setTimeout(150ms);
    return query;
}

Packet::Info server(const char *name, int players, const char *folder = "valve",
                    bool password = false)
{
    Packet::Info info;
    info.name = name;
    info.players = players;
    info.folder = folder;
    info.password = password;
    return info;
}

// The servers of the list: "Alpha" (valve, 12/16), "Bravo" silent, "Charlie" protected (2/16),
// "Delta" running tfc (16/16, full), "Echo" sending its rules in three packets (0/16).
struct ServerGroup {
    ServerGroup()
    {
        add({.info = Packet::info(server("Alpha", 12)),
             .players = Packet::players({{"Corbeau", 21, 754}}),
             .rules = {Packet::rules({{"mp_timelimit", "30"}})}});
        add({});
        add({.info = Packet::info(server("Charlie", 2, "valve", true)),
             .infoChallenge = "\x01\x02\x03\x04"});
        add({.info = Packet::info(server("Delta", 16, "tfc"))});
        QList<QPair<QByteArray, QByteArray>> many;
        for (int i = 0; i < 120; ++i)
            many.append({"rule" + QByteArray::number(i), QByteArray(20, 'v')});
        add({.info = Packet::info(server("Echo", 0)),
             .rules = Packet::split(Packet::rules(many), 3, 42, true),
             .rulesChallenge = "\x09\x08\x07\x06"});
    }
    void add(FakeServerScript script)
    {
        servers.append(std::make_shared<FakeServer>(std::move(script)));
    }
    QString entry(int i) const { return QStringLiteral("127.0.0.1:%1").arg(servers[i]->port()); }
    QByteArray favourites() const
    {
        QByteArray ini;
        for (int i = 0; i < servers.size(); ++i)
            ini += QStringLiteral("fav%1=%2\r\n").arg(i + 1).arg(entry(i)).toUtf8();
        return ini;
    }
    QList<std::shared_ptr<FakeServer>> servers;
};

// The program with a game whose folder holds hl.exe and the tfc mod, the group as favourites,
// and the list opened from the connection window.
struct Opened {
    explicit Opened(const QByteArray &moreIni = {})
    {
        const QString game = program.path(QStringLiteral("game"));
        makeFiles(game, {QStringLiteral("hl.exe")});
        makeFiles(game + QStringLiteral("/tfc"), {QStringLiteral("liblist.gam")});
        program.writeIni("[GAMEDIR]\r\nprogram=" + (game + QStringLiteral("/hl.exe")).toUtf8()
                         + "\r\n[SERVERS]\r\n" + group.favourites() + moreIni);
        registerConnectWindows(program.context(), loopbackQuery);
        QWidget *connect = program.show(WindowName::connect);
        QTest::mouseClick(child<QPushButton>(connect, "cmdServers"), Qt::LeftButton);
        window = program.window(WindowName::serverList);
        table = child<QTreeWidget>(window, "tblServers");
    }
    bool refreshed()
    {
        auto *label = child<QLabel>(window, "lblRefresh");
        const QString all = QStringLiteral("%1 / %1 serveurs").arg(table->topLevelItemCount());
        return QTest::qWaitFor([&] { return label->text() == all; }, 5000);
    }
    // Each visible row as "name|map|players|folder|lock", in the table's order.
    QStringList rows() const
    {
        QStringList rows;
        for (int i = 0; i < table->topLevelItemCount(); ++i) {
            const QTreeWidgetItem *row = table->topLevelItem(i);
            if (!row->isHidden())
                rows.append(QStringList{row->text(0), row->text(1), row->text(2), row->text(4),
                                        row->icon(5).isNull() ? u"-"_qs : u"L"_qs}
                                .join(u'|'));
        }
        return rows;
    }
    void select(const QString &name)
    {
        const auto found = table->findItems(name, Qt::MatchExactly, 0);
        QVERIFY(!found.isEmpty());
        table->setCurrentItem(found.first());
    }

    ServerGroup group;
    TestProgram program;
    QWidget *window = nullptr;
    QTreeWidget *table = nullptr;
};

} // namespace

class TestServerListWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { closeModalWindows(); }
    void listsEveryFavouriteAtOnce();
    void sortsAndFilters();
    void showsThePlayersAndRulesOfTheSelectedServer();
    void joins_data();
    void joins();
    void keepsFavourites();
    void asksAtMost32AtOnceAndNotTwiceIn2Seconds();
    void connectionWindowSplitsHostAndPortAndAddsTheMod_data();
    void connectionWindowSplitsHostAndPortAndAddsTheMod();
    void joinsWithTheStandInGame();
};

void TestServerListWindow::listsEveryFavouriteAtOnce()
{
    Opened opened;
    QVERIFY(opened.window && opened.window->isVisible());
    QCOMPARE(opened.window->windowTitle(), u"Serveurs");
    QVERIFY(opened.refreshed());
    // Sorted by ping: all answered within the same few ms, so compare as a set, the silent last.
    QStringList rows = opened.rows();
    QCOMPARE(rows.size(), 5);
    QVERIFY(opened.table->topLevelItem(0)->text(3).endsWith(u" ms"));
    QCOMPARE(rows.takeLast(), opened.group.entry(1) + u"|Pas de réponse|||-"_qs);
    QCOMPARE(opened.table->topLevelItem(4)->foreground(0).color(),
             opened.table->palette().color(QPalette::Disabled, QPalette::Text));
    rows.sort();
    QCOMPARE(rows.first(), u"Alpha|crossfire|12/16|valve|-");
    QCOMPARE(rows[1], u"Charlie|crossfire|2/16|valve|L");
    QCOMPARE(rows[2], u"Delta|crossfire|16/16|tfc|-");
    QTest::keyClick(opened.table, Qt::Key_Escape);
    QTRY_VERIFY(!opened.program.window(WindowName::serverList));
}

void TestServerListWindow::sortsAndFilters()
{
    Opened opened;
    QVERIFY(opened.refreshed());
    QHeaderView *header = opened.table->header();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(2) + 5, 5));
    const QString silent = opened.group.entry(1) + u"|Pas de réponse|||-"_qs;
    const auto names = [&] {
        QStringList shown;
        for (const QString &row : opened.rows())
            shown.append(row.section(u'|', 0, 0));
        return shown.join(u' ');
    };
    const QString silentName = opened.group.entry(1);
    const QString ascending = u"Echo Charlie Alpha Delta "_qs + silentName;
    const QString descending = u"Delta Alpha Charlie Echo "_qs + silentName;
    QCOMPARE(names(), header->sortIndicatorOrder() == Qt::AscendingOrder ? ascending : descending);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(2) + 5, 5));
    QCOMPARE(names(), header->sortIndicatorOrder() == Qt::AscendingOrder ? ascending : descending);

    const int requests = int(opened.group.servers[0]->requests.size());
    child<QCheckBox>(opened.window, "chkNotFull")->click();
    child<QCheckBox>(opened.window, "chkNotEmpty")->click();
    QVERIFY(!names().contains(u"Delta") && !names().contains(u"Echo"));
    child<QCheckBox>(opened.window, "chkNoPassword")->click();
    QCOMPARE(opened.rows(), (QStringList{u"Alpha|crossfire|12/16|valve|-"_qs, silent}));
    QCOMPARE(opened.group.servers[0]->requests.size(), requests); // nothing asked again
}

void TestServerListWindow::showsThePlayersAndRulesOfTheSelectedServer()
{
    Opened opened;
    QVERIFY(opened.refreshed());
    auto *players = child<QTreeWidget>(opened.window, "lstServerPlayers");
    auto *rules = child<QTreeWidget>(opened.window, "tblRules");
    opened.select(u"Alpha"_qs);
    QCOMPARE(players->topLevelItemCount(), 1);
    QCOMPARE(players->topLevelItem(0)->text(0) + players->topLevelItem(0)->text(2), u"Corbeau12:34");
    QCOMPARE(rules->topLevelItem(0)->text(0) + u'=' + rules->topLevelItem(0)->text(1),
             u"mp_timelimit=30");
    opened.select(u"Echo"_qs); // its rules came behind a challenge, in three packets
    QCOMPARE(players->topLevelItemCount(), 0);
    QCOMPARE(rules->topLevelItemCount(), 120);
    QCOMPARE(rules->topLevelItem(119)->text(0), u"rule119");
}

void TestServerListWindow::joins_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("password"); // null: no dialog expected; empty: Annuler
    QTest::addColumn<bool>("tfcInstalled");
    QTest::addColumn<QString>("switches"); // empty: nothing starts
    QTest::addColumn<bool>("doubleClick"); // else Enter on the row
    QTest::newRow("valve") << u"Alpha"_qs << QString() << true << u" -console +connect %1"_qs
                           << false;
    QTest::newRow("valve, double-click")
        << u"Alpha"_qs << QString() << true << u" -console +connect %1"_qs << true;
    QTest::newRow("tfc installed") << u"Delta"_qs << QString() << true
                                   << u" -console +connect %1 -game tfc"_qs << false;
    QTest::newRow("tfc missing") << u"Delta"_qs << QString() << false << QString() << false;
    QTest::newRow("protected") << u"Charlie"_qs << u"s3cret"_qs << true
                               << u" -console +password s3cret +connect %1"_qs << false;
    QTest::newRow("protected, Annuler") << u"Charlie"_qs << u""_qs << true << QString() << false;
}

void TestServerListWindow::joins()
{
    QFETCH(QString, name);
    QFETCH(QString, password);
    QFETCH(bool, tfcInstalled);
    QFETCH(QString, switches);
    QFETCH(bool, doubleClick);
    Opened opened;
    if (!tfcInstalled)
        QVERIFY(QFile::remove(opened.program.path(QStringLiteral("game/tfc/liblist.gam"))));
    QVERIFY(opened.refreshed());
    opened.select(name);
    const QString address = opened.group.entry(name == u"Alpha" ? 0 : name == u"Charlie" ? 2 : 3);
    if (doubleClick) {
        // An item view takes a double-click on the row it saw pressed first.
        QWidget *viewport = opened.table->viewport();
        const QPoint at = opened.table->visualItemRect(opened.table->currentItem()).center();
        QTest::mouseClick(viewport, Qt::LeftButton, {}, at);
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, at);
    } else {
        QTest::keyClick(opened.table, Qt::Key_Return);
    }
    if (!password.isNull()) {
        auto *dialog = opened.window->findChild<QDialog *>(QStringLiteral("dlgPassword"));
        QVERIFY(dialog && dialog->isVisible());
        QTest::keyClicks(child<QLineEdit>(dialog, "txtPassword"), password);
        auto *box = dialog->findChild<QDialogButtonBox *>();
        box->button(password.isEmpty() ? QDialogButtonBox::Cancel : QDialogButtonBox::Ok)->click();
    }
    const auto &calls = opened.program.processes.calls;
    if (switches.isEmpty()) {
        QVERIFY(calls.isEmpty());
        QCOMPARE(opened.program.messages.shown.size(), tfcInstalled ? 0 : 1);
        if (!tfcInstalled)
            QVERIFY(opened.program.messages.shown.first().text.contains(u"« tfc »"));
        return;
    }
    QCOMPARE(calls.size(), 1);
    QCOMPARE(calls.first().commandLine,
             opened.program.path(QStringLiteral("game/hl.exe")) + switches.arg(address));
    QCOMPARE(opened.program.settings().read(Keys::recentServer(1)), address);
    QVERIFY(!opened.program.iniBytes().contains("s3cret")); // the password is never kept
}

void TestServerListWindow::keepsFavourites()
{
    Opened opened("recent1=192.0.2.7:27015\r\n");
    QVERIFY(opened.refreshed());
    const auto favourite = [&](int n) { return opened.program.settings().read(Keys::favouriteServer(n), u""); };
    // Typed, then refused when it is not address:port.
    QTest::keyClicks(child<QLineEdit>(opened.window, "txtAddServer"), u"[2001:db8::5]:27016"_qs);
    child<QPushButton>(opened.window, "cmdAddFavourite")->click();
    QCOMPARE(favourite(6), u"2001:db8::5:27016");
    QTest::keyClicks(child<QLineEdit>(opened.window, "txtAddServer"), u"192.0.2.9"_qs);
    child<QPushButton>(opened.window, "cmdAddFavourite")->click();
    QCOMPARE(opened.program.messages.shown.size(), 1);
    QVERIFY(favourite(7).isEmpty());
    // From the recent servers.
    child<QLineEdit>(opened.window, "txtAddServer")->clear();
    child<QTabBar>(opened.window, "tabSources")->setCurrentIndex(1);
    QCOMPARE(opened.table->topLevelItemCount(), 1);
    opened.select(u"192.0.2.7:27015"_qs);
    child<QPushButton>(opened.window, "cmdAddFavourite")->click();
    QCOMPARE(favourite(7), u"192.0.2.7:27015");
    // Removed: the others move up, in one save.
    child<QTabBar>(opened.window, "tabSources")->setCurrentIndex(0);
    QVERIFY(opened.refreshed());
    opened.select(u"Alpha"_qs);
    child<QPushButton>(opened.window, "cmdRemoveFavourite")->click();
    QCOMPARE(favourite(1), opened.group.entry(1));
    QCOMPARE(favourite(6), u"192.0.2.7:27015");
    QVERIFY(favourite(7).isEmpty());
    QCOMPARE(opened.table->topLevelItemCount(), 6);
}

void TestServerListWindow::asksAtMost32AtOnceAndNotTwiceIn2Seconds()
{
    // 40 silent servers asked with the real 2 s time-out: 32 asked, the others wait their turn.
    std::vector<std::unique_ptr<FakeServer>> quiet;
    QList<ServerAddress> addresses;
    for (int i = 0; i < 40; ++i) {
        quiet.push_back(std::make_unique<FakeServer>());
        addresses.append({u"127.0.0.1"_qs, QString::number(quiet.back()->port())});
    }
    const auto asked = [&] {
        return std::count_if(quiet.begin(), quiet.end(),
                             [](const auto &s) { return !s->requests.isEmpty(); });
    };
    ServerRefresh refresh([] { return std::make_unique<UdpServerQuery>(); });
    refresh.start(addresses);
    QTRY_COMPARE(asked(), 32);
    QTest::qWait(100);
    QCOMPARE(asked(), 32);
    QCOMPARE(refresh.inFlight(), 32);
    refresh.cancel();

    Opened opened;
    QVERIFY(opened.refreshed());
    const qsizetype before = opened.group.servers[0]->requests.size();
    child<QPushButton>(opened.window, "cmdRefresh")->click();
    QTest::qWait(50);
    QCOMPARE(opened.group.servers[0]->requests.size(), before); // within 2 s: nothing asked
}

void TestServerListWindow::connectionWindowSplitsHostAndPortAndAddsTheMod_data()
{
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("server"); // the group's server asked first by Interroger; -1: none
    QTest::addColumn<QString>("switches");
    QTest::newRow("v6 pasted") << u"[::1]:27016"_qs << u"::1"_qs << -1 << u" -console +connect ::1:27016"_qs;
    QTest::newRow("valve answered") << QString() << u"127.0.0.1"_qs << 0 << u" -console +connect 127.0.0.1:%1"_qs;
    QTest::newRow("tfc answered") << QString() << u"127.0.0.1"_qs << 3
                                  << u" -console +connect 127.0.0.1:%1 -game tfc"_qs;
}

void TestServerListWindow::connectionWindowSplitsHostAndPortAndAddsTheMod()
{
    QFETCH(QString, pasted);
    QFETCH(QString, address);
    QFETCH(int, server);
    QFETCH(QString, switches);
    Opened opened;
    QWidget *connect = opened.program.window(WindowName::connect);
    auto *field = child<QLineEdit>(connect, "ipadress");
    const QString port = server < 0 ? QString() : QString::number(opened.group.servers[server]->port());
    field->setFocus();
    field->insert(pasted.isEmpty() ? u"127.0.0.1:"_qs + port : pasted); // as a paste does
    Q_EMIT field->textEdited(field->text());
    QCOMPARE(field->text(), address);
    if (server >= 0) {
        QTest::mouseClick(child<QPushButton>(connect, "cmdQuery"), Qt::LeftButton);
        QTRY_COMPARE(child<QLabel>(connect, "lblServerStatus")->text(), u"Serveur en ligne");
    }
    QTest::mouseClick(child<QPushButton>(connect, "cmdLaunch"), Qt::LeftButton);
    QCOMPARE(opened.program.processes.calls.last().commandLine,
             opened.program.path(QStringLiteral("game/hl.exe"))
                 + (server < 0 ? switches : switches.arg(port)));
}

void TestServerListWindow::joinsWithTheStandInGame()
{
#ifndef Q_OS_UNIX
    QSKIP("the stand-in script runs on Linux");
#endif
    ServerGroup group;
    QTemporaryDir directory;
    StandIn game(directory.filePath(QStringLiteral("game/hl")));
    makeFiles(directory.filePath(QStringLiteral("game/tfc")), {QStringLiteral("liblist.gam")});
    SystemProcessStarter processes;
    TestProgram program({}, &processes);
    program.writeIni("[GAMEDIR]\r\nprogram=" + game.program().toUtf8() + "\r\n[SERVERS]\r\nfav1="
                     + group.entry(3).toUtf8() + "\r\n");
    registerConnectWindows(program.context(), loopbackQuery);
    QWidget *window = program.show(WindowName::serverList);
    auto *table = child<QTreeWidget>(window, "tblServers");
    QTRY_COMPARE(table->topLevelItem(0)->text(0), u"Delta");
    table->setCurrentItem(table->topLevelItem(0));
    QTest::mouseClick(child<QPushButton>(window, "cmdJoin"), Qt::LeftButton);
    QCOMPARE(game.arguments(0), (QStringList{u"-console"_qs, u"+connect"_qs, group.entry(3),
                                             u"-game"_qs, u"tfc"_qs}));
}

QTEST_MAIN(TestServerListWindow)
#include "tst_serverlistwindow.moc"
