#include "server/serverconfig.h"
#include "testfiles.h"
#include "testplatform.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>


using Fields = ServerFields;

class TestServerConfig : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lines_data();
    void lines();
    void consoleValues_data();
    void consoleValues();
    void bytesAreCrLfLinesInTheGamesEncoding();
    void fileNameIsInsideValve();
    void checks_data();
    void checks();
    void launchCommand();
    void writeReplacesTheWholeFile();
    void writeFailures_data();
    void writeFailures();
};

namespace {

Fields everything()
{
    Fields f;
    f.allowDownload = f.allowUpload = f.noFallDamage = f.noAutoCrosshair = f.flashlight =
        f.cheats = f.forceRespawn = f.footsteps = f.weaponStay = f.friendlyFire = f.chaseView =
            f.noDownloadInGame = f.password = true;
    f.passwordValue = QStringLiteral("secret");
    return f;
}

const QStringList kInitial = {
    QStringLiteral("mp_fraglimit 0"), QStringLiteral("mp_timelimit 0"),
    QStringLiteral("maxplayers 32"), QStringLiteral("sv_gravity 800"), QStringLiteral("sv_maxspectators 0"),
    QStringLiteral("hostname \"My party - CRVN\"")};

} // namespace

void TestServerConfig::lines_data()
{
    QTest::addColumn<Fields>("fields");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("initial values") << Fields() << kInitial;

    QTest::newRow("every box and a password")
        << everything()
        << QStringList{QStringLiteral("cl_allowdownload 1"), QStringLiteral("cl_allowupload 1"),
                       QStringLiteral("mp_falldamage 0"),    QStringLiteral("mp_autocrosshair 0"),
                       QStringLiteral("mp_flashlight 1"),    QStringLiteral("sv_cheats 1"),
                       QStringLiteral("mp_forcerespawn 1"),  QStringLiteral("mp_footsteps 1"),
                       QStringLiteral("falldamage 1"),       QStringLiteral("mp_weaponstay 1"),
                       QStringLiteral("mp_friendlyfire 1"),  QStringLiteral("chase_active 1"),
                       QStringLiteral("cl_download_ingame 0"), QStringLiteral("mp_fraglimit 0"),
                       QStringLiteral("mp_timelimit 0"), QStringLiteral("maxplayers 32"),      QStringLiteral("sv_gravity 800"),
                       QStringLiteral("sv_maxspectators 0"),
                       QStringLiteral("hostname \"My party - CRVN\""),
                       QStringLiteral("sv_password secret")};

    Fields fall;
    fall.noFallDamage = true;
    QTest::newRow("fall damage box drives two lines")
        << fall
        << QStringList{QStringLiteral("mp_falldamage 0"), QStringLiteral("falldamage 1")}
               + kInitial;

    Fields emptyFrag;
    emptyFrag.fragLimit.clear();
    QStringList emptyFragLines = kInitial;
    emptyFragLines[0] = QStringLiteral("mp_fraglimit ");
    QTest::newRow("empty frag limit keeps its blank") << emptyFrag << emptyFragLines;

    Fields timed;
    timed.timeLimit = QStringLiteral("20");
    QStringList timedLines = kInitial;
    timedLines[1] = QStringLiteral("mp_timelimit 20");
    QTest::newRow("time limit after the frag limit") << timed << timedLines;

    Fields unchecked;
    unchecked.passwordValue = QStringLiteral("typed");
    QTest::newRow("password typed but unchecked") << unchecked << kInitial;

    Fields plain;
    plain.partyName = QStringLiteral("Lan");
    plain.maxPlayers = QStringLiteral("8 ");
    plain.gravity = QStringLiteral("abc");
    QTest::newRow("values as typed, quoted only when needed")
        << plain
        << QStringList{QStringLiteral("mp_fraglimit 0"), QStringLiteral("mp_timelimit 0"),
                       QStringLiteral("maxplayers \"8 \""),
                       QStringLiteral("sv_gravity abc"), QStringLiteral("sv_maxspectators 0"),
                       QStringLiteral("hostname Lan")};

    Fields injection;
    injection.password = true;
    injection.passwordValue = QStringLiteral("a;quit");
    QTest::newRow("semicolon in the password is quoted")
        << injection << kInitial + QStringList{QStringLiteral("sv_password \"a;quit\"")};
}

void TestServerConfig::lines()
{
    QFETCH(Fields, fields);
    QFETCH(QStringList, expected);
    QCOMPARE(serverConfigLines(fields), expected);
}

void TestServerConfig::consoleValues_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");
    QTest::newRow("plain number") << QStringLiteral("32") << QStringLiteral("32");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("word with dash") << QStringLiteral("a-b") << QStringLiteral("a-b");
    QTest::newRow("blank") << QStringLiteral("My party") << QStringLiteral("\"My party\"");
    QTest::newRow("one blank") << QStringLiteral(" ") << QStringLiteral("\" \"");
    QTest::newRow("tab") << QStringLiteral("a\tb") << QStringLiteral("\"a\tb\"");
    for (const char *c : {";", "'", ",", "(", ")", "{", "}", ":"}) {
        const QString typed = QStringLiteral("x") + QLatin1String(c) + QStringLiteral("y");
        QTest::addRow("character %s", c) << typed << QLatin1Char('"') + typed + QLatin1Char('"');
    }
    QTest::newRow("accented") << QStringLiteral("Soirée") << QStringLiteral("Soirée");
    // Unquoted, the console reads the rest of the line after "//" as a comment.
    QTest::newRow("double slash") << QStringLiteral("a//b") << QStringLiteral("\"a//b\"");
    QTest::newRow("double slash alone") << QStringLiteral("//") << QStringLiteral("\"//\"");
    QTest::newRow("one slash") << QStringLiteral("a/b") << QStringLiteral("a/b");
    QTest::newRow("slashes apart") << QStringLiteral("a/b/c") << QStringLiteral("a/b/c");
}

void TestServerConfig::consoleValues()
{
    QFETCH(QString, typed);
    QFETCH(QString, written);
    QCOMPARE(consoleValue(typed), written);
}

void TestServerConfig::bytesAreCrLfLinesInTheGamesEncoding()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("crvn.cfg"));
    QString reason;
    QVERIFY(writeServerConfig(path, Fields(), &reason));
    QCOMPARE(readAll(path),
             QByteArray("mp_fraglimit 0\r\nmp_timelimit 0\r\nmaxplayers 32\r\nsv_gravity 800\r\n"
                        "sv_maxspectators 0\r\nhostname \"My party - CRVN\"\r\n"));
    Fields f;
    f.partyName = QStringLiteral("Soirée");
    QVERIFY(writeServerConfig(path, f, &reason));
    // The game reads its files in the Windows code page there, in UTF-8 here.
#ifdef Q_OS_WIN
    QVERIFY(readAll(path).endsWith("hostname Soir\xe9" "e\r\n"));
#else
    QVERIFY(readAll(path).endsWith("hostname Soir\xc3\xa9" "e\r\n"));
#endif
}

void TestServerConfig::fileNameIsInsideValve()
{
    QCOMPARE(serverConfigPath(QStringLiteral("C:\\Jeux\\Half-Life\\valve\\")),
             QStringLiteral("C:\\Jeux\\Half-Life\\valve\\crvn.cfg"));
    QCOMPARE(serverConfigPath(QStringLiteral("/jeux/valve/")), QStringLiteral("/jeux/valve/crvn.cfg"));
    // A folder typed without its separator still holds the file.
    QCOMPARE(serverConfigPath(QStringLiteral("/jeux/valve")),
             QStringLiteral("/jeux/valve") + QDir::separator() + QStringLiteral("crvn.cfg"));
}

void TestServerConfig::checks_data()
{
    QTest::addColumn<Fields>("fields");
    QTest::addColumn<QString>("text");  // empty: passes
    QTest::addColumn<QString>("title");

    QTest::newRow("initial values pass") << Fields() << QString() << QString();

    Fields f;
    f.partyName.clear();
    f.password = true; // an empty password too: the party name is checked first
    f.maxPing = QStringLiteral(" ");
    QTest::newRow("1 empty party name first")
        << f << QStringLiteral("You must specify your party name") << QString();

    f = Fields();
    f.password = true;
    f.partyName = QStringLiteral(" ");
    QTest::newRow("2 checked empty password before a blank party name")
        << f << QStringLiteral("Please type your password or uncheck the password case")
        << QStringLiteral("Error !");

    f = Fields();
    f.partyName = QStringLiteral(" ");
    f.maxPing = QStringLiteral(" ");
    QTest::newRow("3 one blank party name")
        << f << QStringLiteral("You MUST type a party name") << QStringLiteral("Party name");

    f = Fields();
    f.maxPing = QStringLiteral(" ");
    f.maxPlayers = QStringLiteral(" ");
    QTest::newRow("4 one blank ping")
        << f << QStringLiteral("Please specify the maximum ping allowed")
        << QStringLiteral("Max ping");

    f = Fields();
    f.maxPlayers = QStringLiteral(" ");
    f.partyName = QStringLiteral("a\"b");
    QTest::newRow("5 one blank max players before a double quote")
        << f << QStringLiteral("Please define the maximum player allowed")
        << QStringLiteral("Max players");

    f = Fields();
    f.partyName = QStringLiteral("  ");
    f.maxPing.clear();
    f.passwordValue.clear();
    QTest::newRow("two blanks and an empty ping pass") << f << QString() << QString();

    // The player count goes on the command line: a whole number from 1 to 32.
    for (const char *players : {"", "  ", "0", "33", "8.5", "+8", "99999999999", " 8 ", "32"}) {
        f = Fields();
        f.maxPlayers = QString::fromLatin1(players);
        const bool count = f.maxPlayers == u" 8 " || f.maxPlayers == u"32";
        QTest::addRow("players \"%s\"", players)
            << f << (count ? QString() : QStringLiteral("Max. players doit être un nombre entier de 1 à 32."))
            << (count ? QString() : QStringLiteral("Max players"));
    }

    f = Fields();
    f.passwordValue = QStringLiteral("a\"b");
    QTest::newRow("double quote in an unchecked password passes") << f << QString() << QString();

    const QString quoteTitle = QStringLiteral("Caractère interdit");
    const auto quoted = [](const char *label) {
        return QStringLiteral("Le champ « %1 » contient un guillemet (\"), que le jeu ne peut "
                              "pas lire dans une valeur. Retirez-le puis enregistrez à nouveau.")
            .arg(QString::fromUtf8(label));
    };
    f = Fields();
    f.partyName = QStringLiteral("The \"best\"");
    QTest::newRow("double quote in party name") << f << quoted("Party name") << quoteTitle;
    f = Fields();
    f.password = true;
    f.passwordValue = QStringLiteral("pa\"ss");
    QTest::newRow("double quote in password") << f << quoted("Mot de passe") << quoteTitle;
    f = Fields();
    f.fragLimit = QStringLiteral("\"");
    f.gravity = QStringLiteral("\"");
    QTest::newRow("double quote: first field in file order")
        << f << quoted("Limite de frag") << quoteTitle;
    f = Fields();
    f.timeLimit = QStringLiteral("2\"");
    QTest::newRow("double quote in time limit") << f << quoted("Limite de temps") << quoteTitle;
    f = Fields();
    f.maxSpectators = QStringLiteral("1\"");
    QTest::newRow("double quote in spectators") << f << quoted("Spéctateurs max") << quoteTitle;
    f = Fields();
    f.gravity = QStringLiteral("800\nquit");
    QTest::newRow("line break in gravity")
        << f
        << QStringLiteral("Le champ « Gravité » contient un retour à la ligne, que le jeu lirait "
                          "comme une nouvelle commande. Retirez-le puis enregistrez à nouveau.")
        << quoteTitle;
}

void TestServerConfig::checks()
{
    QFETCH(Fields, fields);
    QFETCH(QString, text);
    QFETCH(QString, title);
    const std::optional<ServerCheckFailure> failure = checkServerFields(fields);
    if (text.isEmpty()) {
        QVERIFY2(!failure, qPrintable(failure ? failure->text : QString()));
        return;
    }
    QVERIFY(failure);
    QCOMPARE(failure->text, text);
    QCOMPARE(failure->title, title);
}

void TestServerConfig::launchCommand()
{
    QCOMPARE(serverLaunchCommand(QStringLiteral("C:\\Jeux\\Half-Life\\hl.exe"),
                                 QStringLiteral("32"), QStringLiteral("arena1")),
             QStringLiteral("C:\\Jeux\\Half-Life\\hl.exe +deathmatch 1 -console +maxplayers 32"
                            " +map arena1"));
    // The player count loses the blanks around it; the map stays as it is.
    QCOMPARE(serverLaunchCommand(QStringLiteral("error!"), QStringLiteral(" 8\t"),
                                 QStringLiteral("my map")),
             QStringLiteral("error! +deathmatch 1 -console +maxplayers 8 +map my map"));
}

void TestServerConfig::writeReplacesTheWholeFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("crvn.cfg"));
    QString reason;
    Fields longer;
    longer.partyName = QStringLiteral("a much longer party name than the next one");
    QVERIFY(writeServerConfig(path, longer, &reason));
    QVERIFY(writeServerConfig(path, Fields(), &reason));
    QCOMPARE(readAll(path), serverConfigText(Fields()).toUtf8());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("crvn.cfg")});
}

void TestServerConfig::writeFailures_data()
{
    QTest::addColumn<QString>("where");
    QTest::newRow("missing folder") << QStringLiteral("missing/crvn.cfg");
    QTest::newRow("a file stands in place of the folder") << QStringLiteral("plain/crvn.cfg");
    QTest::newRow("read-only folder") << QStringLiteral("locked/crvn.cfg");
}

void TestServerConfig::writeFailures()
{
    QFETCH(QString, where);
    QTemporaryDir dir;
    {
        QFile plain(dir.filePath(QStringLiteral("plain")));
        QVERIFY(plain.open(QIODevice::WriteOnly));
    }
    const QString locked = dir.filePath(QStringLiteral("locked"));
    QVERIFY(QDir().mkpath(locked));
    {
        QFile old(locked + QStringLiteral("/crvn.cfg"));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old\r\n");
    }
    if (const QString why = readOnlyFilesUnavailable(); where.startsWith(u"locked") && !why.isEmpty())
        QSKIP(qPrintable(why));
    const ReadOnlyFolder readOnly(locked, {QStringLiteral("crvn.cfg")});

    QString reason;
    QVERIFY(!writeServerConfig(dir.filePath(where), Fields(), &reason));
    QVERIFY(!reason.isEmpty());

    QFile old(locked + QStringLiteral("/crvn.cfg"));
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("old\r\n"));
}

QTEST_GUILESS_MAIN(TestServerConfig)
#include "tst_serverconfig.moc"
