// Our reply reader against a query tool written by others (Debian's qstat, program quakestat):
// a few hundred generated servers on 127.0.0.1, each asked by quakestat -raw and read by us.

#include "connect/serverreply.h"
#include "connect/splitreply.h"
#include "fakeserver.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTest>

#include <memory>

namespace {

constexpr int kServers = 300;
const QByteArray kChallenge("\x01\x02\x03\x04", 4);

// A name with accents, odd bytes (controls, DEL, a lone UTF-8 lead byte) and blanks. No tab (the
// delimiter of the output) nor line end (quakestat writes one server a line).
QByteArray randomText(QRandomGenerator &random, int maxLength)
{
    static const QList<QByteArray> pieces = {"a", "Z", "7", " ", "-", "[", "]", "\xC3\xA9",
                                             "\xC3\xA0", "\xC5\x93", "\xE2\x82\xAC", "\x01",
                                             "\x1B", "\x7F", "\xC3", "\xFF", "|", ",", "\\"};
    QByteArray text;
    const int length = int(random.bounded(maxLength)) + 1;
    while (text.size() < length)
        text += pieces[random.bounded(int(pieces.size()))];
    return text;
}

struct Generated {
    QByteArray whole;         // the information answer as one packet
    QList<QByteArray> parts;  // what is sent: whole, or split packets
    std::shared_ptr<FakeServer> server;
};

} // namespace

class TestQstatAgreement : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void agreesWithQuakestat();
};

void TestQstatAgreement::agreesWithQuakestat()
{
    const QString quakestat = QStandardPaths::findExecutable(QStringLiteral("quakestat"));
    if (quakestat.isEmpty())
        QSKIP("quakestat is not installed (Debian package qstat; scripts/install-deps.sh installs it)");

    QRandomGenerator random(20);
    std::vector<Generated> servers;
    QStringList arguments{u"-raw"_qs, u"\t"_qs, u"-utf8"_qs, u"-R"_qs, u"-nh"_qs,
                          u"-timeout"_qs, u"20"_qs, u"-maxsim"_qs, u"50"_qs};
    for (int i = 0; i < kServers; ++i) {
        Packet::Info info;
        info.name = randomText(random, 40);
        info.map = randomText(random, 12);
        info.folder = QList<QByteArray>{"valve", "tfc", "cstrike", "dmc", "gearbox"}[random.bounded(5)];
        info.maxPlayers = int(random.bounded(1, 33));
        info.players = int(random.bounded(info.maxPlayers + 1));
        info.bots = int(random.bounded(info.players + 1));
        info.password = random.bounded(2) == 1;
        Generated g;
        g.whole = random.bounded(3) == 0 ? Packet::obsoleteInfo(info) : Packet::info(info);
        g.parts = {g.whole};
        // Every fifth answer in split packets, out of order: the older layout, then the newer.
        if (i % 5 == 4) {
            g.parts = Packet::split(g.whole, 2, quint32(i), i % 10 == 9);
            std::swap(g.parts[0], g.parts[1]);
        }
        g.server = std::make_shared<FakeServer>(FakeServerScript{
            .playersChallenge = kChallenge, .rules = {Packet::rules({})},
            .rulesChallenge = kChallenge, .infoParts = g.parts});
        arguments << u"-hla2s"_qs << QStringLiteral("127.0.0.1:%1").arg(g.server->port());
        servers.push_back(std::move(g));
    }

    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(quakestat, arguments);
    QVERIFY(process.waitForStarted());
    QVERIFY(QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, 60000));
    const QByteArray output = process.readAllStandardOutput();
    const QList<QByteArray> lines = output.split('\n');

    // quakestat's line "HLA2S address name map max players ping retries", then its rules line.
    QHash<QByteArray, QPair<QList<QByteArray>, QByteArray>> answers;
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        const QList<QByteArray> fields = lines[i].split('\t');
        if (fields.size() >= 6 && fields[0] == "HLA2S")
            answers.insert(fields[1], {fields, lines[i + 1]});
    }
    int compared = 0;
    int notComparable = 0;
    QStringList disagreements;
    for (const Generated &g : std::as_const(servers)) {
        const QByteArray address = "127.0.0.1:" + QByteArray::number(g.server->port());
        const ServerReply ours = parseServerReply(g.whole);
        QCOMPARE(ours.kind, ReplyKind::Info);
        if (g.parts.size() > 1) {
            // The same reply through our reassembly, parts in the order sent.
            SplitReplies split;
            std::optional<QByteArray> whole;
            for (const QByteArray &part : g.parts)
                whole = split.add(part, 0);
            QCOMPARE(whole.value_or(QByteArray()), g.whole);
        }
        // By design: quakestat 2.17 does not put together an information answer split in the
        // newer layout (its debug output files every part under index 0, and it times out,
        // asked either as -hla2s or -a2s). Those are checked on our side only, above.
        if (g.parts.size() > 1 && quint8(g.parts[0][8]) == g.parts.size()) {
            QVERIFY(!answers.contains(address));
            ++notComparable;
            continue;
        }
        const auto found = answers.constFind(address);
        if (found == answers.cend()) {
            disagreements << QStringLiteral("%1: no answer from quakestat").arg(QLatin1String(address));
            continue;
        }
        const QList<QByteArray> &fields = found->first;
        QHash<QByteArray, QByteArray> rules;
        for (const QByteArray &rule : found->second.split('\t')) {
            const qsizetype equals = rule.indexOf('=');
            if (equals > 0)
                rules.insert(rule.first(equals), rule.sliced(equals + 1));
        }
        const ServerInfo &info = ours.info;
        // quakestat passes the texts' bytes through (-utf8); we decode them, take out control
        // characters and trim blanks. The same cleaning applied to its bytes must give ours.
        const auto check = [&](const char *what, const QString &mine, const QString &theirs) {
            if (mine != theirs)
                disagreements << QStringLiteral("%1 %2: ours «%3», quakestat «%4»")
                                     .arg(QLatin1String(address), QLatin1String(what), mine, theirs);
        };
        check("name", info.name, cleanServerText(fields[2]));
        check("map", info.map, cleanServerText(fields[3]));
        check("max", QString::number(info.maxPlayers), QString::fromLatin1(fields[4]));
        check("players", QString::number(info.players), QString::fromLatin1(fields[5]));
        check("folder", info.folder, cleanServerText(rules.value("gamedir")));
        check("bots", QString::number(info.bots), QString::fromLatin1(rules.value("bots")));
        ++compared;
    }
    qInfo("%d servers compared with quakestat, %lld disagreements; %d split in the newer layout "
          "read by us only", compared, qlonglong(disagreements.size()), notComparable);
    for (const QString &line : std::as_const(disagreements).first(qMin<qsizetype>(20, disagreements.size())))
        qWarning("%s", qPrintable(line));
    QVERIFY(disagreements.isEmpty());
    QCOMPARE(compared + notComparable, kServers);
    QCOMPARE(notComparable, kServers / 10);
}

QTEST_MAIN(TestQstatAgreement)
#include "tst_qstatagreement.moc"
