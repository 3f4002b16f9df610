#include "connect/serverlist.h"
#include "connect/splitreply.h"
#include "fakeserver.h"

#include <QTest>

#include <algorithm>

namespace {

const QByteArray kWhole = Packet::rules({{"mp_timelimit", "30"}, {"sv_gravity", "800"}});

} // namespace

class TestServerList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsRules_data();
    void readsRules();
    void putsSplitRepliesTogether_data();
    void putsSplitRepliesTogether();
    void forgetsOldAndOversizedSplitReplies();
    void readsHostAndPort_data();
    void readsHostAndPort();
    void keepsFavourites();
    void filtersAndSortsRows();
    void composesTheJoinCommand_data();
    void composesTheJoinCommand();
};

void TestServerList::readsRules_data()
{
    QTest::addColumn<QByteArray>("packet");
    QTest::addColumn<QStringList>("rules"); // "key=value"; empty with unrecognised: refused
    QTest::addColumn<bool>("recognised");
    QTest::newRow("two rules") << kWhole << QStringList{u"mp_timelimit=30"_qs, u"sv_gravity=800"_qs} << true;
    QTest::newRow("none") << Packet::rules({}) << QStringList() << true;
    QTest::newRow("fewer than announced") << Packet::rules({{"a", "1"}}).replace(5, 1, "\x05")
                                          << QStringList{u"a=1"_qs} << true;
    QTest::newRow("cut inside a value") << kWhole.chopped(2) << QStringList() << false;
    QTest::newRow("no count") << QByteArray("\xFF\xFF\xFF\xFF\x45\x01", 6) << QStringList() << false;
    QTest::newRow("control characters taken out")
        << Packet::rules({{"sv_\x1b[0mhostname", "a\nb"}}) << QStringList{u"sv_[0mhostname=ab"_qs} << true;
}

void TestServerList::readsRules()
{
    QFETCH(QByteArray, packet);
    QFETCH(QStringList, rules);
    QFETCH(bool, recognised);
    const ServerReply reply = parseServerReply(packet);
    QCOMPARE(reply.kind, recognised ? ReplyKind::Rules : ReplyKind::Unrecognised);
    QStringList read;
    for (const ServerRule &rule : reply.rules)
        read.append(rule.key + u'=' + rule.value);
    QCOMPARE(read, rules);
    QCOMPARE(rulesRequest(), QByteArray("\xFF\xFF\xFF\xFFV\xFF\xFF\xFF\xFF", 9));
    QCOMPARE(rulesRequest("\x01\x02\x03\x04"), QByteArray("\xFF\xFF\xFF\xFFV\x01\x02\x03\x04", 9));
}

void TestServerList::putsSplitRepliesTogether_data()
{
    QTest::addColumn<QList<QByteArray>>("packets");
    QTest::addColumn<bool>("whole"); // whether the last packet completes kWhole
    const auto older = Packet::split(kWhole, 3, 7, false);
    const auto newer = Packet::split(kWhole, 3, 7, true);
    QTest::newRow("older layout in order") << older << true;
    QTest::newRow("older layout, any order") << QList{older[2], older[0], older[1]} << true;
    QTest::newRow("newer layout in order") << newer << true;
    QTest::newRow("newer layout, any order") << QList{newer[1], newer[2], newer[0]} << true;
    QTest::newRow("one packet of one") << Packet::split(kWhole, 1, 9, false) << true;
    QTest::newRow("one of one, newer") << Packet::split(kWhole, 1, 9, true) << true;
    QTest::newRow("a packet missing") << QList{older[0], older[2]} << false;
    QTest::newRow("a packet twice") << QList{older[0], older[0], older[1]} << false;
    QTest::newRow("layouts mixed") << QList{older[0], newer[1], older[2]} << false;
    QTest::newRow("compressed") << Packet::split(kWhole, 1, 0x80000001u, true) << false;
    QByteArray noHeader = older[0];
    noHeader[9] = 'X'; // the first part must begin a whole reply
    QTest::newRow("first part without its header") << QList{noHeader, older[1], older[2]} << false;
}

void TestServerList::putsSplitRepliesTogether()
{
    QFETCH(QList<QByteArray>, packets);
    QFETCH(bool, whole);
    SplitReplies split;
    std::optional<QByteArray> done;
    for (int i = 0; i < packets.size(); ++i) {
        done = split.add(packets[i], 10);
        QVERIFY2(!done || i == packets.size() - 1, "completed early");
    }
    QCOMPARE(done.has_value(), whole);
    if (whole) {
        QCOMPARE(*done, kWhole);
        QCOMPARE(parseServerReply(*done, kMaxAssembledSize).rules.size(), 2);
    }
}

void TestServerList::forgetsOldAndOversizedSplitReplies()
{
    SplitReplies split;
    const auto parts = Packet::split(kWhole, 2, 3, false);
    QVERIFY(!split.add(parts[0], 0));
    QVERIFY2(!split.add(parts[1], SplitReplies::kMaxAgeMs + 1), "a part older than 2 s was kept");
    // Seventeen announced parts: more than a reply may have.
    QByteArray big = QByteArray(2000, 'x');
    QVERIFY(Packet::split(big, 17, 4, true).size() == 17);
    std::optional<QByteArray> done;
    for (const QByteArray &p : Packet::split(kWhole + big, 17, 4, true))
        done = split.add(p, 0);
    QVERIFY(!done);
    QVERIFY(!split.add(QByteArray("\xFE\xFF\xFF\xFF", 4) + QByteArray(1500, '\x01'), 0));
}

void TestServerList::readsHostAndPort_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("address"); // empty: not a host:port
    QTest::addColumn<QString>("port");
    QTest::newRow("v4") << u"192.0.2.1:27016"_qs << u"192.0.2.1"_qs << u"27016"_qs;
    QTest::newRow("name, blanks around") << u" srv.example.org:27020 "_qs << u"srv.example.org"_qs << u"27020"_qs;
    QTest::newRow("v6 in brackets") << u"[2001:db8::1]:27015"_qs << u"2001:db8::1"_qs << u"27015"_qs;
    QTest::newRow("bare v6") << u"2001:db8::1"_qs << QString() << QString();
    QTest::newRow("no port") << u"192.0.2.1"_qs << QString() << QString();
    QTest::newRow("port too big") << u"192.0.2.1:65536"_qs << QString() << QString();
    QTest::newRow("empty host") << u":27015"_qs << QString() << QString();
    QTest::newRow("empty brackets") << u"[]:27015"_qs << QString() << QString();
}

void TestServerList::readsHostAndPort()
{
    QFETCH(QString, text);
    QFETCH(QString, address);
    QFETCH(QString, port);
    const std::optional<ServerAddress> server = hostAndPort(text);
    QCOMPARE(server.has_value(), !address.isEmpty());
    if (server) {
        QCOMPARE(server->address, address);
        QCOMPARE(server->port, port);
    }
}

void TestServerList::keepsFavourites()
{
    const QStringList two{u"a.example.org:1"_qs, u"b.example.org:2"_qs};
    QCOMPARE(addFavourite(two, u"c.example.org:3"_qs, 50).last(), u"c.example.org:3");
    QCOMPARE(addFavourite(two, u"A.example.org:1"_qs, 50), two);
    QCOMPARE(addFavourite(two, u"c.example.org:3"_qs, 2), two);
    QCOMPARE(removeFavourite(two, u"B.EXAMPLE.ORG:2"_qs), QStringList{two.first()});
}

void TestServerList::filtersAndSortsRows()
{
    const auto row = [](int players, int max, int bots, bool password, qint64 ping) {
        ServerInfo info;
        info.players = players;
        info.maxPlayers = max;
        info.bots = bots;
        info.password = password;
        return ServerRow{{u"h"_qs, u"1"_qs}, info, ping};
    };
    const ServerRow full = row(16, 16, 0, false, 5), botsOnly = row(3, 16, 3, false, 40),
                    locked = row(2, 16, 0, true, 300), silent{{u"h"_qs, u"1"_qs}, {}, 0};
    QVERIFY(!keptByFilters(full, {.notFull = true}));
    QVERIFY(!keptByFilters(botsOnly, {.notEmpty = true}));
    QVERIFY(!keptByFilters(locked, {.noPassword = true}));
    QVERIFY(keptByFilters(locked, {.notFull = true, .notEmpty = true}));
    QVERIFY(keptByFilters(silent, {true, true, true}));
    // Numbers sort as numbers: 40 ms before 300 ms, 3 players before 16.
    QVERIFY(rowLessThan(botsOnly, locked, ServerColumn::Ping));
    QVERIFY(!rowLessThan(locked, botsOnly, ServerColumn::Ping));
    QVERIFY(rowLessThan(botsOnly, full, ServerColumn::Players));
    QVERIFY(rowLessThan(full, silent, ServerColumn::Ping));
    QVERIFY(!rowLessThan(silent, full, ServerColumn::Ping));
    QCOMPARE(refreshProgressText(12, 40), u"12 / 40 serveurs");
}

void TestServerList::composesTheJoinCommand_data()
{
    QTest::addColumn<QString>("password"); // null: none
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("command");
    QTest::newRow("plain") << QString() << u"valve"_qs << u"hl.exe -console +connect 192.0.2.1:27015"_qs;
    QTest::newRow("mod") << QString() << u"tfc"_qs << u"hl.exe -console +connect 192.0.2.1:27015 -game tfc"_qs;
    QTest::newRow("password") << u"s3cret"_qs << u"VALVE"_qs
                              << u"hl.exe -console +password s3cret +connect 192.0.2.1:27015"_qs;
    QTest::newRow("both") << u"pw"_qs << u"tfc"_qs
                          << u"hl.exe -console +password pw +connect 192.0.2.1:27015 -game tfc"_qs;
}

void TestServerList::composesTheJoinCommand()
{
    QFETCH(QString, password);
    QFETCH(QString, folder);
    QFETCH(QString, command);
    const std::optional<QString> given = password.isNull() ? std::nullopt : std::optional(password);
    QCOMPARE(joinCommand(u"hl.exe"_qs, {u"192.0.2.1"_qs, u"27015"_qs}, given, folder), command);
    QVERIFY(usablePassword(u"s3cret"_qs));
    for (const QString &bad : {u""_qs, u"a b"_qs, u"a;quit"_qs, u"a\"b"_qs})
        QVERIFY(!usablePassword(bad));
}

QTEST_APPLESS_MAIN(TestServerList)
#include "tst_serverlist.moc"
