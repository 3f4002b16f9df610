#include "connect/recentservers.h"
#include "connect/serverreply.h"
#include "fakeserver.h"

#include <QTest>

#include <limits>

Q_DECLARE_METATYPE(ReplyKind)

namespace {

const QByteArray kHeader("\xFF\xFF\xFF\xFF", 4);

// An 'I' answer of the shortest kind: no version string, no extra data.
QByteArray bareInfo()
{
    QByteArray p = kHeader + 'I';
    p += char(48);
    p += QByteArray("Nom\0carte\0valve\0Half-Life\0", 26);
    p += QByteArray("\x46\x00", 2);
    p += QByteArray("\x03\x10\x00\x64\x77\x00\x00", 7); // 3/16, no bots, 'd', 'w', open, no VAC
    return p;
}

} // namespace

class TestServerReply : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void requestsAreTheProtocolsBytes();
    void readsReplies_data();
    void readsReplies();
    void cutAnywhereInsideTheFixedFieldsIsUnrecognised_data();
    void cutAnywhereInsideTheFixedFieldsIsUnrecognised();
    void readsPlayers();
    void oddPlayerTimesReadAsNoTime_data();
    void oddPlayerTimesReadAsNoTime();
    void cleansServerText_data();
    void cleansServerText();
    void formatsFigures();
    void checksPorts_data();
    void checksPorts();
    void keepsRecentServers_data();
    void keepsRecentServers();
    void splitsEntries_data();
    void splitsEntries();
};

void TestServerReply::requestsAreTheProtocolsBytes()
{
    QCOMPARE(infoRequest(), QByteArray("\xFF\xFF\xFF\xFFTSource Engine Query\0", 25));
    QCOMPARE(infoRequest("\x0A\x0B\x0C\x0D"),
             QByteArray("\xFF\xFF\xFF\xFFTSource Engine Query\0\x0A\x0B\x0C\x0D", 29));
    QCOMPARE(playersRequest(), QByteArray("\xFF\xFF\xFF\xFFU\xFF\xFF\xFF\xFF", 9));
    QCOMPARE(playersRequest(QByteArray("\x01\x00\x03\x04", 4)), QByteArray("\xFF\xFF\xFF\xFFU\x01\x00\x03\x04", 9));
}

void TestServerReply::readsReplies_data()
{
    QTest::addColumn<QByteArray>("packet");
    QTest::addColumn<ReplyKind>("kind");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("map");
    QTest::addColumn<QString>("players");
    QTest::addColumn<bool>("password");

    const Packet::Info full{.bots = 3, .password = true};
    QTest::newRow("I with version and extra data")
        << Packet::info(full) << ReplyKind::Info << u"Serveur de test"_qs << u"crossfire"_qs
        << u"12/16 (3 bots)"_qs << true;
    QTest::newRow("I without the optional part")
        << bareInfo() << ReplyKind::Info << u"Nom"_qs << u"carte"_qs << u"3/16"_qs << false;
    QTest::newRow("I whose version string is cut off")
        << bareInfo() + "1.1.2" << ReplyKind::Info << u"Nom"_qs << u"carte"_qs << u"3/16"_qs
        << false;
    const Packet::Info old{.name = "Ancien", .map = "2fort", .players = 5, .maxPlayers = 20, .bots = 2};
    QTest::newRow("obsolete m layout with mod fields")
        << Packet::obsoleteInfo(old) << ReplyKind::Info << u"Ancien"_qs << u"2fort"_qs
        << u"5/20 (2 bots)"_qs << false;
    QByteArray oldNoMod = kHeader + 'm' + QByteArray("a:1\0N\0M\0F\0G\0", 12);
    oldNoMod += QByteArray("\x01\x08\x2F\x64\x6C\x01\x00\x01\x00", 9);
    QTest::newRow("obsolete m layout without mod")
        << oldNoMod << ReplyKind::Info << u"N"_qs << u"M"_qs << u"1/8"_qs << true;

    const QString none;
    QTest::newRow("challenge") << QByteArray(kHeader + "A\x11\x22\x33\x44")
                               << ReplyKind::Challenge << none << none << none << false;
    QTest::newRow("challenge cut off") << QByteArray(kHeader + "A\x11\x22\x33")
                                       << ReplyKind::Unrecognised << none << none << none << false;
    QTest::newRow("header only") << QByteArray(kHeader + 'I') << ReplyKind::Unrecognised << none
                                 << none << none << false;
    QTest::newRow("shorter than a header") << QByteArray("\xFF\xFF\xFF") << ReplyKind::Unrecognised
                                           << none << none << none << false;
    QTest::newRow("unknown kind") << QByteArray(kHeader + "Zxxxxxx") << ReplyKind::Unrecognised
                                  << none << none << none << false;
    QTest::newRow("split reply") << QByteArray("\xFE\xFF\xFF\xFF\x01\x02", 6) + Packet::info({})
                                 << ReplyKind::Unrecognised << none << none << none << false;
    QTest::newRow("garbage") << QByteArray("HTTP/1.1 400 Bad Request\r\n\r\n")
                             << ReplyKind::Unrecognised << none << none << none << false;
    Packet::Info huge;
    huge.name = QByteArray(1400, 'x');
    QTest::newRow("longer than any reply") << Packet::info(huge) << ReplyKind::Unrecognised << none
                                           << none << none << false;
    Packet::Info edge;
    edge.name = QByteArray(1400 - Packet::info({}).size() + 15, 'x');
    QTest::newRow("exactly the longest reply")
        << Packet::info(edge) << ReplyKind::Info << QString(edge.name.size(), u'x')
        << u"crossfire"_qs << u"12/16"_qs << false;
}

void TestServerReply::readsReplies()
{
    QFETCH(QByteArray, packet);
    QFETCH(ReplyKind, kind);
    QFETCH(QString, name);
    QFETCH(QString, map);
    QFETCH(QString, players);
    QFETCH(bool, password);

    const ServerReply reply = parseServerReply(packet);
    QCOMPARE(reply.kind, kind);
    if (kind == ReplyKind::Challenge)
        QCOMPARE(reply.challenge, QByteArray("\x11\x22\x33\x44"));
    if (kind != ReplyKind::Info)
        return;
    QCOMPARE(reply.info.name, name);
    QCOMPARE(reply.info.map, map);
    QCOMPARE(playersText(reply.info), players);
    QCOMPARE(reply.info.password, password);
}

void TestServerReply::cutAnywhereInsideTheFixedFieldsIsUnrecognised_data()
{
    QTest::addColumn<QByteArray>("packet");
    QTest::addColumn<int>("required"); // bytes up to the last field that must be there

    QTest::newRow("I") << bareInfo() << int(bareInfo().size());
    const QByteArray old = Packet::obsoleteInfo({});
    QTest::newRow("m") << old << int(old.size());
    const QByteArray list = Packet::players({{"a", 1, 2.0f}, {"b", 3, 4.0f}});
    QTest::newRow("player list") << list << int(list.size());
}

void TestServerReply::cutAnywhereInsideTheFixedFieldsIsUnrecognised()
{
    QFETCH(QByteArray, packet);
    QFETCH(int, required);

    QVERIFY(parseServerReply(packet).kind != ReplyKind::Unrecognised);
    // A list cut between two players keeps the players before the cut.
    const QList<int> betweenPlayers =
        packet[4] == 'D' ? QList<int>{6, 6 + 1 + 2 + 8} : QList<int>();
    for (int size = 0; size < required; ++size) {
        if (betweenPlayers.contains(size))
            continue;
        if (parseServerReply(packet.first(size)).kind != ReplyKind::Unrecognised)
            QFAIL(qPrintable(QStringLiteral("read as a reply when cut at %1 bytes").arg(size)));
    }
}

void TestServerReply::readsPlayers()
{
    const ServerReply reply = parseServerReply(
        Packet::players({{"Corbeau", 17, 754.6f}, {"\x1B[31mRouge\x07", -3, 3725.0f}}));
    QCOMPARE(reply.kind, ReplyKind::Players);
    QCOMPARE(reply.players.size(), 2);
    QCOMPARE(reply.players[0].name, u"Corbeau");
    QCOMPARE(reply.players[0].score, 17);
    QCOMPARE(reply.players[0].seconds, 754);
    QCOMPARE(reply.players[1].name, u"[31mRouge");
    QCOMPARE(reply.players[1].score, -3);
    QCOMPARE(durationText(reply.players[1].seconds), u"1:02:05");

    // A count larger than the list (some servers do so) keeps the players that are there.
    QByteArray more = Packet::players({{"Seul", 1, 1.0f}});
    more[5] = char(9);
    QCOMPARE(parseServerReply(more).players.size(), 1);
    QCOMPARE(parseServerReply(Packet::players({})).kind, ReplyKind::Players);
}

void TestServerReply::oddPlayerTimesReadAsNoTime_data()
{
    QTest::addColumn<float>("seconds");
    QTest::addColumn<int>("expected");

    QTest::newRow("NaN") << std::numeric_limits<float>::quiet_NaN() << 0;
    QTest::newRow("infinite") << std::numeric_limits<float>::infinity() << 0;
    QTest::newRow("negative") << -5.0f << 0;
    QTest::newRow("huge") << 1e30f << 10 * 365 * 24 * 3600;
    QTest::newRow("fraction") << 59.9f << 59;
}

void TestServerReply::oddPlayerTimesReadAsNoTime()
{
    QFETCH(float, seconds);
    QFETCH(int, expected);
    const ServerReply reply = parseServerReply(Packet::players({{"x", 0, seconds}}));
    QCOMPARE(reply.kind, ReplyKind::Players);
    QCOMPARE(reply.players.value(0).seconds, expected);
}

void TestServerReply::cleansServerText_data()
{
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<QString>("shown");

    QTest::newRow("plain") << QByteArray("Le Nid") << u"Le Nid"_qs;
    QTest::newRow("UTF-8 accents") << QByteArray("Fr\xC3\xA9nésie") << u"Frénésie"_qs;
    QTest::newRow("line ends and tabs")
        << QByteArray("Ligne\r\nDeux\tTrois") << u"LigneDeuxTrois"_qs;
    QTest::newRow("escape and bell") << QByteArray("\x1B[2JNom\x07") << u"[2JNom"_qs;
    QTest::newRow("C1 control") << QByteArray("A\xC2\x85" "B") << u"AB"_qs;
    QTest::newRow("line separator") << QByteArray("A\xE2\x80\xA8" "B") << u"AB"_qs;
    QTest::newRow("right-to-left override")
        << QByteArray("abc\xE2\x80\xAEgpj.exe") << u"abcgpj.exe"_qs;
    QTest::newRow("arabic letter mark") << QByteArray("ab\xD8\x9C" "c") << u"abc"_qs;
    QTest::newRow("left-to-right and right-to-left marks")
        << QByteArray("a\xE2\x80\x8E" "b\xE2\x80\x8F" "c") << u"abc"_qs;
    QTest::newRow("embeddings and pop")
        << QByteArray("\xE2\x80\xAA" "a\xE2\x80\xAB" "b\xE2\x80\xAC" "c\xE2\x80\xAD" "d")
        << u"abcd"_qs;
    QTest::newRow("isolates")
        << QByteArray("\xE2\x81\xA6" "a\xE2\x81\xA7" "b\xE2\x81\xA8" "c\xE2\x81\xA9")
        << u"abc"_qs;
    QTest::newRow("other format characters")
        << QByteArray("\xEF\xBB\xBF" "a\xC2\xAD" "b\xE2\x81\xA0" "c\xF3\xA0\x81\x81" "d")
        << u"abcd"_qs;
    QTest::newRow("joiners inside a word stay")
        << QByteArray("\xD9\x84\xE2\x80\x8D\xD8\xA7 \xDB\x8C\xE2\x80\x8C\xD9\x87")
        << u"\u0644\u200D\u0627 \u06CC\u200C\u0647"_qs;
    QTest::newRow("joiner after a mark stays")
        << QByteArray("\xE0\xA4\x95\xE0\xA5\x8D\xE2\x80\x8D\xE0\xA4\xB7")
        << u"\u0915\u094D\u200D\u0937"_qs;
    QTest::newRow("joiners at the edges of a word go")
        << QByteArray("\xE2\x80\x8D" "ab\xE2\x80\x8C \xE2\x80\x8D" "c1\xE2\x80\x8D" "2")
        << u"ab c12"_qs;
    QTest::newRow("joiner beside a hidden mark goes")
        << QByteArray("a\xE2\x80\x8D\xE2\x80\xAE" "b") << u"ab"_qs;
    QTest::newRow("bad UTF-8 is replaced, not dropped")
        << QByteArray("x\xFFy") << u"x\uFFFDy"_qs;
    QTest::newRow("blanks at the ends") << QByteArray("  Nom  ") << u"Nom"_qs;
    QTest::newRow("rich text stays text") << QByteArray("<b>Gras</b>") << u"<b>Gras</b>"_qs;
}

void TestServerReply::cleansServerText()
{
    QFETCH(QByteArray, raw);
    QFETCH(QString, shown);
    QCOMPARE(cleanServerText(raw), shown);
}

void TestServerReply::formatsFigures()
{
    QCOMPARE(pingText(48), u"48 ms");
    ServerInfo info;
    info.players = 12;
    info.maxPlayers = 16;
    QCOMPARE(playersText(info), u"12/16");
    info.bots = 1;
    QCOMPARE(playersText(info), u"12/16 (1 bot)");
    info.bots = 3;
    QCOMPARE(playersText(info), u"12/16 (3 bots)");
    QCOMPARE(durationText(0), u"0:00");
    QCOMPARE(durationText(42), u"0:42");
    QCOMPARE(durationText(725), u"12:05");
    QCOMPARE(durationText(3723), u"1:02:03");
}

void TestServerReply::checksPorts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("port"); // 0: refused

    QTest::newRow("usual") << u"27015"_qs << 27015;
    QTest::newRow("lowest") << u"1"_qs << 1;
    QTest::newRow("highest") << u"65535"_qs << 65535;
    QTest::newRow("zero") << u"0"_qs << 0;
    QTest::newRow("too high") << u"65536"_qs << 0;
    QTest::newRow("far too high") << u"4294967297"_qs << 0;
    QTest::newRow("empty") << QString() << 0;
    QTest::newRow("blank around") << u" 27015"_qs << 0;
    QTest::newRow("sign") << u"+27015"_qs << 0;
    QTest::newRow("letters") << u"27o15"_qs << 0;
    QTest::newRow("other digits") << u"٢٧٠١٥"_qs << 0;
}

void TestServerReply::checksPorts()
{
    QFETCH(QString, text);
    QFETCH(int, port);
    QCOMPARE(int(portNumber(text).value_or(0)), port);
}

void TestServerReply::keepsRecentServers_data()
{
    QTest::addColumn<QStringList>("recent");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("first") << QStringList() << u"a:1"_qs << QStringList{u"a:1"_qs};
    QTest::newRow("newest first") << QStringList{u"a:1"_qs} << u"b:2"_qs
                                  << QStringList{u"b:2"_qs, u"a:1"_qs};
    QTest::newRow("again moves to the top")
        << QStringList{u"a:1"_qs, u"b:2"_qs, u"c:3"_qs} << u"c:3"_qs
        << QStringList{u"c:3"_qs, u"a:1"_qs, u"b:2"_qs};
    QTest::newRow("host names without regard to case")
        << QStringList{u"Srv.Example.org:27015"_qs} << u"srv.example.org:27015"_qs
        << QStringList{u"srv.example.org:27015"_qs};
    QTest::newRow("other port is another server")
        << QStringList{u"a:1"_qs} << u"a:2"_qs << QStringList{u"a:2"_qs, u"a:1"_qs};
    QStringList ten;
    for (int i = 0; i < 10; ++i)
        ten.append(QStringLiteral("h%1:1").arg(i));
    QTest::newRow("the oldest falls off") << ten << u"new:1"_qs
                                          << (QStringList{u"new:1"_qs} + ten.first(9));
    QTest::newRow("blanks and doubles from a hand-edited file")
        << QStringList{u""_qs, u"a:1"_qs, u" "_qs, u"a:1"_qs} << u"b:2"_qs
        << QStringList{u"b:2"_qs, u"a:1"_qs};
    QTest::newRow("reading only: no entry")
        << QStringList{u"a:1"_qs, u"A:1"_qs} << QString() << QStringList{u"a:1"_qs};
}

void TestServerReply::keepsRecentServers()
{
    QFETCH(QStringList, recent);
    QFETCH(QString, entry);
    QFETCH(QStringList, expected);
    QCOMPARE(rememberServer(recent, entry, 10), expected);
}

void TestServerReply::splitsEntries_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("address"); // null: not an entry
    QTest::addColumn<QString>("port");

    QTest::newRow("name") << u"srv.example.org:27016"_qs << u"srv.example.org"_qs << u"27016"_qs;
    QTest::newRow("numbers") << u"192.0.2.1:27015"_qs << u"192.0.2.1"_qs << u"27015"_qs;
    QTest::newRow("no port") << u"192.0.2.1"_qs << QString() << QString();
    QTest::newRow("empty port") << u"192.0.2.1:"_qs << QString() << QString();
    QTest::newRow("no address") << u":27015"_qs << QString() << QString();
}

void TestServerReply::splitsEntries()
{
    QFETCH(QString, entry);
    QFETCH(QString, address);
    QFETCH(QString, port);
    const std::optional<ServerAddress> split = splitServerEntry(entry);
    QCOMPARE(split.has_value(), !address.isNull());
    if (split) {
        QCOMPARE(split->address, address);
        QCOMPARE(split->port, port);
        QCOMPARE(serverEntry(*split), entry);
    }
}

QTEST_APPLESS_MAIN(TestServerReply)
#include "tst_serverreply.moc"
