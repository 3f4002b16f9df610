#include "connect/udpserverquery.h"
#include "fakeserver.h"

#include <QHostAddress>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace std::chrono_literals;

Q_DECLARE_METATYPE(FakeServerScript)

namespace {

constexpr auto kTimeout = 150ms;

// Everything one query said, in order.
struct Outcome {
    QStringList events; // "info", "players", "failed", "finished"
    ServerInfo info;
    qint64 ping = -1;
    QList<PlayerInfo> players;
    QueryFailure failure = QueryFailure::NoReply;
};

// Resolves every name under example.org to the loopback address, and nothing else: no test
// asks a name server.
void loopbackLookup(const QString &host, QObject *context,
                    std::function<void(const QList<QHostAddress> &)> done)
{
    const QList<QHostAddress> addresses = host.endsWith(u".example.org")
        ? QList<QHostAddress>{QHostAddress(QHostAddress::LocalHost)}
        : QList<QHostAddress>();
    QTimer::singleShot(1, context, [done, addresses] { done(addresses); });
}

struct Asked {
    Asked()
    {
        query.setTimeout(kTimeout);
        query.setHostLookup(loopbackLookup);
        QObject::connect(&query, &ServerQuery::infoReceived, &query,
                         [this](const ServerInfo &info, qint64 ping) {
                             outcome.events.append(u"info"_qs);
                             outcome.info = info;
                             outcome.ping = ping;
                         });
        QObject::connect(&query, &ServerQuery::playersReceived, &query,
                         [this](const QList<PlayerInfo> &players) {
                             outcome.events.append(u"players"_qs);
                             outcome.players = players;
                         });
        QObject::connect(&query, &ServerQuery::failed, &query, [this](QueryFailure failure) {
            outcome.events.append(u"failed"_qs);
            outcome.failure = failure;
        });
        QObject::connect(&query, &ServerQuery::finished, &query,
                         [this] { outcome.events.append(u"finished"_qs); });
    }
    bool ask(const QString &host, quint16 port)
    {
        query.start(host, port);
        return QTest::qWaitFor([this] { return outcome.events.contains(u"finished"); }, 5000);
    }

    UdpServerQuery query;
    Outcome outcome;
};

const QByteArray kChallenge("\x0A\x00\x0C\x0D", 4);

QList<Packet::Player> twoPlayers()
{
    return {{"Corbeau", 21, 600.0f}, {"Freux", 3, 65.0f}};
}

} // namespace

class TestServerQuery : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void asksAServer_data();
    void asksAServer();
    void answersChallengesWithTheirBytes();
    void unknownNameIsNotFound();
    void aNewQueryDropsTheOldOne();
};

void TestServerQuery::asksAServer_data()
{
    QTest::addColumn<FakeServer::Script>("script");
    QTest::addColumn<QString>("events");
    QTest::addColumn<QString>("name"); // when the information came
    QTest::addColumn<int>("players");  // rows of the player list, when it came
    QTest::addColumn<int>("requests");
    QTest::addColumn<QueryFailure>("failure"); // when it failed
    // Rows that wait for a time-out use a short one; the others keep the real one, so that a
    // slow machine cannot turn their single request into two.
    QTest::addColumn<bool>("waitsForTimeOut");

    const QByteArray info = Packet::info({});
    const QByteArray players = Packet::players(twoPlayers());
    const QString full = u"info players finished"_qs;
    const QString infoOnly = u"info finished"_qs;
    const QString failed = u"failed finished"_qs;
    const QString name = u"Serveur de test"_qs;
    const auto none = QueryFailure::NoReply;
    FakeServer::Script s;

    s = {};
    s.info = info;
    s.players = players;
    QTest::newRow("plain I, then the list") << s << full << name << 2 << 2 << none << false;
    s.infoChallenge = kChallenge;
    QTest::newRow("challenge, then I") << s << full << name << 2 << 3 << none << false;
    s = {};
    Packet::Info old;
    old.name = "Vieux serveur";
    s.info = Packet::obsoleteInfo(old);
    s.players = players;
    QTest::newRow("obsolete m") << s << full << u"Vieux serveur"_qs << 2 << 2 << none << false;
    s = {};
    s.info = info;
    s.players = players;
    s.playersChallenge = kChallenge;
    QTest::newRow("player list with a challenge") << s << full << name << 2 << 3 << none << false;
    s = {};
    s.info = info;
    QTest::newRow("no player list: the information stands")
        << s << infoOnly << name << -1 << 3 << none << true;
    s.players = players.first(players.size() - 3);
    QTest::newRow("player list cut off") << s << infoOnly << name << -1 << 2 << none << false;
    s = {};
    s.info = info.first(30);
    QTest::newRow("truncated I") << s << failed << QString() << -1 << 1
                                 << QueryFailure::Unrecognised << false;
    s.info = QByteArray("\x00\x01garbage\xFF\xFE", 11);
    QTest::newRow("garbage") << s << failed << QString() << -1 << 1 << QueryFailure::Unrecognised << false;
    s.info = QByteArray("\xFE\xFF\xFF\xFF\x01\x00\x00\x00\x21", 9) + info;
    // A part that cannot belong to any reply (index 2 of 1) is dropped: then no reply.
    QTest::newRow("split part of nothing") << s << failed << QString() << -1 << 2
                                           << QueryFailure::NoReply << true;
    s.info.clear();
    s.players = players;
    s.infoParts = Packet::split(info, 2, 5, false);
    QTest::newRow("split reply put together") << s << full << name << 2 << 2 << none << false;
    s.infoParts.clear();
    s.players.clear();
    s.info = Packet::challenge(kChallenge);
    QTest::newRow("challenges without end") << s << failed << QString() << -1 << 4
                                            << QueryFailure::Unrecognised << false;
    s = {};
    QTest::newRow("silence: one retry, then no reply") << s << failed << QString() << -1 << 2
                                                       << QueryFailure::NoReply << true;
    s.info = info;
    s.answerFromOtherPort = true;
    QTest::newRow("answer from another port is not read")
        << s << failed << QString() << -1 << 2 << QueryFailure::NoReply << true;
    s = {};
    s.info = info;
    s.players = players;
    s.otherPort = QByteArray("garbage from elsewhere");
    QTest::newRow("garbage from another port does not spoil the answer")
        << s << full << name << 2 << 2 << none << false;
    s.otherPort = Packet::info({.name = "Imposteur"});
    QTest::newRow("information from another port is not taken")
        << s << full << name << 2 << 2 << none << false;
    s = {};
    s.info = info;
    s.players = players;
    s.unanswered = 1;
    QTest::newRow("the retry is answered") << s << full << name << 2 << 3 << none << true;
}

void TestServerQuery::asksAServer()
{
    QFETCH(FakeServer::Script, script);
    QFETCH(QString, events);
    QFETCH(QString, name);
    QFETCH(int, players);
    QFETCH(int, requests);
    QFETCH(QueryFailure, failure);
    QFETCH(bool, waitsForTimeOut);

    FakeServer server(script);
    Asked asked;
    if (!waitsForTimeOut)
        asked.query.setTimeout(UdpServerQuery::kDefaultTimeout);
    QVERIFY(asked.ask(u"127.0.0.1"_qs, server.port()));
    const Outcome &outcome = asked.outcome;
    QCOMPARE(outcome.events.join(u' '), events);
    QCOMPARE(server.requests.size(), requests);
    if (outcome.events.contains(u"info")) {
        QCOMPARE(outcome.info.name, name);
        QVERIFY(outcome.ping >= 0 && outcome.ping < 1000);
    }
    if (outcome.events.contains(u"players")) {
        QCOMPARE(outcome.players.size(), players);
        QCOMPARE(outcome.players.first().name, u"Corbeau");
        QCOMPARE(outcome.players.first().score, 21);
        QCOMPARE(outcome.players.first().seconds, 600);
    }
    if (outcome.events.contains(u"failed"))
        QCOMPARE(outcome.failure, failure);
    // Nothing more arrives for a query that has finished.
    QTest::qWait(int(kTimeout.count()) * 3);
    QCOMPARE(outcome.events.join(u' '), events);
}

void TestServerQuery::answersChallengesWithTheirBytes()
{
    FakeServer::Script script;
    script.info = Packet::info({});
    script.players = Packet::players(twoPlayers());
    script.infoChallenge = kChallenge;
    script.playersChallenge = QByteArray("\x41\x42\x43\x44");
    FakeServer server(script);
    Asked asked;
    asked.query.setTimeout(UdpServerQuery::kDefaultTimeout);
    QVERIFY(asked.ask(u"serveur.example.org"_qs, server.port()));
    QCOMPARE(asked.outcome.events.join(u' '), u"info players finished");
    QCOMPARE(server.requests,
             (QList<QByteArray>{
                 infoRequest(), infoRequest(kChallenge), QByteArray("\xFF\xFF\xFF\xFFU\xFF\xFF\xFF\xFF"),
                 QByteArray("\xFF\xFF\xFF\xFFUABCD")}));
}

void TestServerQuery::unknownNameIsNotFound()
{
    FakeServer server({.info = Packet::info({})});
    Asked asked;
    QVERIFY(asked.ask(u"nulle-part.invalid"_qs, server.port()));
    QCOMPARE(asked.outcome.events.join(u' '), u"failed finished");
    QCOMPARE(asked.outcome.failure, QueryFailure::HostNotFound);
    QVERIFY(server.requests.isEmpty());
}

void TestServerQuery::aNewQueryDropsTheOldOne()
{
    FakeServer silent;
    FakeServer::Script script;
    script.info = Packet::info({.name = "Le second"});
    script.players = Packet::players({});
    FakeServer answering(script);
    Asked asked;
    asked.query.setTimeout(UdpServerQuery::kDefaultTimeout);
    asked.query.start(u"127.0.0.1"_qs, silent.port());
    QVERIFY(QTest::qWaitFor([&] { return !silent.requests.isEmpty(); }, 2000));
    QVERIFY(asked.ask(u"127.0.0.1"_qs, answering.port()));
    QTest::qWait(int(kTimeout.count()) * 3);
    QCOMPARE(asked.outcome.events.join(u' '), u"info players finished");
    QCOMPARE(asked.outcome.info.name, u"Le second");
    QCOMPARE(silent.requests.size(), 1);
}

QTEST_GUILESS_MAIN(TestServerQuery)
#include "tst_serverquery.moc"
