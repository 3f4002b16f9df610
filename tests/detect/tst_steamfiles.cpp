#include "detect/detection.h"
#include "detect/liblist.h"
#include "detect/vdf.h"
#include "steamfixture.h"

#include <QTemporaryDir>
#include <QTest>

// Steam's text format and liblist.gam, read from untrusted bytes.
class TestSteamFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void libraries_data();
    void libraries();
    void bounds_data();
    void bounds();
    void oversizedFileIsRefusedBeforeReading();
    void manifestKeysIgnoreCase();
    void liblist_data();
    void liblist();
};

void TestSteamFiles::libraries_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QStringList>("paths");

    QTest::newRow("current shape, escaped backslashes")
        << QByteArray("\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"C:\\\\Program Files (x86)\\\\Steam\"\n"
                      "\t\t\"label\"\t\t\"\"\n\t\t\"apps\"\n\t\t{\n\t\t\t\"70\"\t\t\"589449723\"\n\t\t}\n\t}\n"
                      "\t\"1\"\n\t{\n\t\t\"path\"\t\t\"D:\\\\SteamLibrary\"\n\t}\n}\n")
        << QStringList{"C:\\Program Files (x86)\\Steam", "D:\\SteamLibrary"};
    QTest::newRow("older flat shape: only all-digit keys")
        << QByteArray("\"LibraryFolders\"\n{\n\t\"TimeNextStatsReport\"\t\t\"1600000000\"\n"
                      "\t\"ContentStatsID\"\t\t\"-1\"\n\t\"1\"\t\t\"D:\\\\SteamLibrary\"\n}\n")
        << QStringList{"D:\\SteamLibrary"};
    QTest::newRow("root key in another case, path key too")
        << QByteArray("\"LIBRARYFOLDERS\" { \"0\" { \"Path\" \"/mnt/games\" } }")
        << QStringList{"/mnt/games"};
    QTest::newRow("quote, tab and newline escapes")
        << QByteArray("\"libraryfolders\" { \"1\" \"/a \\\"b\\\"\\tc\\nd\" }")
        << QStringList{"/a \"b\"\tc\nd"};
    QTest::newRow("comments and a platform conditional")
        << QByteArray("// written by Steam\n\"libraryfolders\" // the list\n{\n"
                      "\t\"1\" \"/lib1\" [$LINUX]\n\t// \"2\" \"/commented\"\n}\n")
        << QStringList{"/lib1"};
    QTest::newRow("bare keys and values") << QByteArray("libraryfolders { 1 /lib1 }")
                                          << QStringList{"/lib1"};
    QTest::newRow("block without path, empty path")
        << QByteArray("\"libraryfolders\" { \"0\" { \"label\" \"x\" } \"1\" \"\" \"2\" \"/ok\" }")
        << QStringList{"/ok"};
    QTest::newRow("other root key") << QByteArray("\"AppState\" { \"1\" \"/lib\" }")
                                    << QStringList{};
    QTest::newRow("root is a text") << QByteArray("\"libraryfolders\" \"/lib\"") << QStringList{};
    QTest::newRow("UTF-8 path") << QByteArray("\"libraryfolders\" { \"1\" \"/jeux/\xc3\xa9t\xc3\xa9\" }")
                                << QStringList{u"/jeux/été"_qs};
}

void TestSteamFiles::libraries()
{
    QFETCH(QByteArray, text);
    QFETCH(QStringList, paths);
    QCOMPARE(Detect::libraryPathsFromVdf(text), paths);
}

void TestSteamFiles::bounds_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("accepted");

    const auto nested = [](int depth) {
        QByteArray text;
        for (int i = 0; i < depth; ++i)
            text += "\"k\" { ";
        for (int i = 0; i < depth; ++i)
            text += "} ";
        return text;
    };
    QByteArray justUnder("\"libraryfolders\" { \"1\" \"/lib\" }\n");
    QByteArray over = justUnder;
    justUnder += "//" + QByteArray(Vdf::maxBytes - justUnder.size() - 2, 'x');
    over += "//" + QByteArray(Vdf::maxBytes - over.size() - 1, 'x');

    QTest::newRow("32 levels") << nested(32) << true;
    QTest::newRow("33 levels") << nested(33) << false;
    QTest::newRow("100000 levels") << nested(100000) << false;
    QTest::newRow("exactly 1 MiB") << justUnder << true;
    QTest::newRow("1 MiB and a byte") << over << false;
    QTest::newRow("unterminated string") << QByteArray("\"libraryfolders\" { \"1\" \"/lib") << false;
    QTest::newRow("unclosed block") << QByteArray("\"libraryfolders\" { \"1\" \"/lib\"") << false;
    QTest::newRow("extra closing brace") << QByteArray("\"a\" \"b\" }") << false;
    QTest::newRow("key without value") << QByteArray("\"libraryfolders\"") << false;
    QTest::newRow("block without key") << QByteArray("{ \"1\" \"/lib\" }") << false;
    QTest::newRow("unclosed conditional") << QByteArray("\"a\" \"b\" [$WIN32") << false;
    QTest::newRow("backslash at the very end") << QByteArray("\"a\" \"b\\") << false;
    QTest::newRow("empty") << QByteArray() << true;
    QTest::newRow("NUL bytes") << QByteArray("\"a\"\0\"b\"", 7) << false;
}

void TestSteamFiles::bounds()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, accepted);
    QCOMPARE(Vdf::parse(text).has_value(), accepted);
    // A refused file gives no libraries, whatever it held.
    if (!accepted)
        QVERIFY(Detect::libraryPathsFromVdf(text).isEmpty());
}

void TestSteamFiles::oversizedFileIsRefusedBeforeReading()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("libraryfolders.vdf"));
    QByteArray text("\"libraryfolders\" { \"1\" \"/lib\" }\n");
    text += "//" + QByteArray(Vdf::maxBytes, 'x');
    QVERIFY(SteamFixture::layOut(dir.path(), {u"libraryfolders.vdf="_qs + QString::fromLatin1(text)}));
    QVERIFY(!Vdf::parseFile(path));
    QVERIFY(!Vdf::parseFile(dir.filePath(QStringLiteral("missing.vdf"))));
}

void TestSteamFiles::manifestKeysIgnoreCase()
{
    const std::optional<VdfNode> state =
        Vdf::root(Vdf::parse("\"appstate\" { \"INSTALLDIR\" \"Half-Life\" \"stateflags\" \"4\" }"),
                  u"AppState");
    QVERIFY(state);
    QCOMPARE(state->text(u"installdir"), u"Half-Life"_qs);
    QCOMPARE(state->text(u"StateFlags"), u"4"_qs);
}

void TestSteamFiles::liblist_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");

    QTest::newRow("quoted value") << QByteArray("game \"Counter-Strike\"\r\ngamedll \"dlls\\mp.dll\"\r\n")
                                  << "game" << "Counter-Strike";
    QTest::newRow("key in capitals") << QByteArray("GAME \"Deathmatch Classic\"\n") << "game"
                                     << "Deathmatch Classic";
    QTest::newRow("tab between key and value") << QByteArray("gamedll_linux\t\"dlls/tfc.so\"\n")
                                               << "gamedll_linux" << "dlls/tfc.so";
    QTest::newRow("comment line and trailing comment")
        << QByteArray("// game \"Wrong\"\ngame \"Right\" // not this\n") << "game" << "Right";
    QTest::newRow("unquoted value") << QByteArray("type multiplayer_only\n") << "type"
                                    << "multiplayer_only";
    QTest::newRow("first of two wins") << QByteArray("game \"One\"\ngame \"Two\"\n") << "game"
                                       << "One";
    QTest::newRow("key alone is skipped") << QByteArray("game\n") << "game" << "";
    QTest::newRow("beyond 64 KiB is not read")
        << QByteArray(Liblist::maxBytes, '\n') + "game \"Late\"\n" << "game" << "";
}

void TestSteamFiles::liblist()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QCOMPARE(Liblist::parse(text).value(key), value);
}

QTEST_GUILESS_MAIN(TestSteamFiles)
#include "tst_steamfiles.moc"
