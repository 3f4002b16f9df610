#include "platform/commandline.h"
#include "platform/systemprocessstarter.h"
#include "standin.h"
#include "testplatform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class TestProcessStart : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void split_data();
    void split();
    void windowsSplit_data();
    void windowsSplit();
    void longestExistingPrefixWins();
    void shellSyntaxReachesTheGameAsPlainArguments();
    void failuresNameTheProgramAndTheReason_data();
    void failuresNameTheProgramAndTheReason();
#ifndef Q_OS_WIN
    void windowsExecutableNeedsWine();
#endif
    void windowsGameReceivesTheLineAsComposed_data();
    void windowsGameReceivesTheLineAsComposed();
    void startOptions_data();
    void startOptions();
};

void TestProcessStart::split_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");

    QTest::newRow("plain") << "/g/hl +map crossfire -console" << QStringList{}
                           << "/g/hl" << QStringList{"+map", "crossfire", "-console"};
    QTest::newRow("blanks in the path") << "/g/Half Life/hl +map x"
                                        << QStringList{"/g/Half Life/hl"} << "/g/Half Life/hl"
                                        << QStringList{"+map", "x"};
    QTest::newRow("no file: first word") << "/g/Half Life/hl +map x" << QStringList{} << "/g/Half"
                                         << QStringList{"Life/hl", "+map", "x"};
    QTest::newRow("runs of blanks make no empty argument")
        << "/g/hl +name  +fps_modem  -connect " << QStringList{} << "/g/hl"
        << QStringList{"+name", "+fps_modem", "-connect"};
    QTest::newRow("missing path: line starts with a blank") << " +deathmatch 1 +map x"
                                                           << QStringList{} << ""
                                                           << QStringList{"+deathmatch", "1", "+map", "x"};
    QTest::newRow("program alone") << "/g/hl" << QStringList{"/g/hl"} << "/g/hl" << QStringList{};
    QTest::newRow("empty") << "" << QStringList{} << "" << QStringList{};
}

void TestProcessStart::split()
{
    QFETCH(QString, line);
    QFETCH(QStringList, files);
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    const CommandLineParts parts = splitCommandLine(
        line, [&files](const QString &path) { return files.contains(path); });
    QCOMPARE(parts.program, program);
    QCOMPARE(parts.arguments(), arguments);
}

void TestProcessStart::windowsSplit_data()
{
    // The examples of Microsoft's documentation of how a program's arguments are parsed.
    QTest::addColumn<QString>("switches");
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("quotes group blanks") << R"("a b c" d e)" << QStringList{"a b c", "d", "e"};
    QTest::newRow("escaped quote and backslash") << R"("ab\"c" "\\" d)" << QStringList{R"(ab"c)", R"(\)", "d"};
    QTest::newRow("backslashes before no quote") << R"(a\\\b d"e f"g h)" << QStringList{R"(a\\\b)", "de fg", "h"};
    QTest::newRow("odd backslashes and a quote") << R"(a\\\"b c d)" << QStringList{R"(a\"b)", "c", "d"};
    QTest::newRow("even backslashes and a quote") << R"(a\\\\"b c" d e)" << QStringList{R"(a\\b c)", "d", "e"};
    QTest::newRow("empty quotes are an argument") << R"(+name "" -console)" << QStringList{"+name", "", "-console"};
    QTest::newRow("blanks around") << "  +map  x  " << QStringList{"+map", "x"};
}

void TestProcessStart::windowsSplit()
{
    QFETCH(QString, switches);
    QFETCH(QStringList, arguments);
    QCOMPARE(splitWindowsArguments(switches), arguments);
}

void TestProcessStart::longestExistingPrefixWins()
{
    // A decoy at the shorter prefix must never be started in place of the real game.
    QTemporaryDir dir;
    const QString base = dir.filePath(QStringLiteral("Program Files"));
    QVERIFY(QDir().mkpath(base + QStringLiteral("/Half Life")));
    StandIn decoy(dir.filePath(QStringLiteral("Program")));
    StandIn game(base + QStringLiteral("/Half Life/hl"));
    SystemProcessStarter starter;
    const StartResult result = starter.runCommandLine(
        game.program() + QStringLiteral(" +deathmatch 1 +map crossfire"), WindowStyle::Maximized, {});
    QVERIFY2(result.started, qPrintable(result.reason));
    QCOMPARE(result.program, game.program());
    QCOMPARE(game.arguments(), (QStringList{"+deathmatch", "1", "+map", "crossfire"}));
    QCOMPARE(decoy.starts(), 0);
}

void TestProcessStart::shellSyntaxReachesTheGameAsPlainArguments()
{
    QTemporaryDir dir;
    StandIn game(dir.filePath(QStringLiteral("hl")));
    const QString marker = dir.filePath(QStringLiteral("x"));
    SystemProcessStarter starter;
    const QString line = game.program() + QStringLiteral(" +map ; touch ") + marker
        + QStringLiteral(" $(touch ") + marker + QStringLiteral(") && `touch ") + marker
        + QStringLiteral("` | >") + marker;
    QVERIFY(starter.runCommandLine(line, WindowStyle::Maximized, {}).started);
    const QStringList args = game.arguments();
    QCOMPARE(args.first(), QStringLiteral("+map"));
    QVERIFY(args.contains(QStringLiteral(";")));
    QVERIFY(args.contains(QStringLiteral("$(touch")));
    QVERIFY(args.contains(QStringLiteral("&&")));
    QCOMPARE(args.last(), QStringLiteral(">") + marker);
    QVERIFY(!QFile::exists(marker));
}

void TestProcessStart::failuresNameTheProgramAndTheReason_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing setting, empty default") << " +deathmatch 1 +map x" << ""
                                                    << "n'est pas configuré";
    QTest::newRow("missing setting, error!") << "error! -game tfc" << "error!"
                                             << "n'est pas configuré";
    QTest::newRow("missing setting, error") << "error -console" << "error"
                                            << "n'est pas configuré";
    QTest::newRow("missing file") << "/nonexistent/hl.exe +map x" << "/nonexistent/hl.exe"
                                  << "n'existe pas";
}

void TestProcessStart::failuresNameTheProgramAndTheReason()
{
    QFETCH(QString, line);
    QFETCH(QString, program);
    QFETCH(QString, reason);
    SystemProcessStarter starter;
    const StartResult result = starter.runCommandLine(line, WindowStyle::Maximized, {});
    QVERIFY(!result.started);
    QCOMPARE(result.program, program);
    QVERIFY2(result.reason.contains(reason), qPrintable(result.reason));
}

#ifndef Q_OS_WIN
void TestProcessStart::windowsExecutableNeedsWine()
{
    QTemporaryDir dir;
    const QString exe = dir.filePath(QStringLiteral("hl.exe"));
    {
        QFile file(exe);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("MZ\x90\x00", 4);
    }
    // A stand-in "wine" on PATH receives the Windows program and its switches.
    const QString bin = dir.filePath(QStringLiteral("bin"));
    StandIn wine(bin + QStringLiteral("/wine"));
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", pathWithFirst(bin, oldPath));
    SystemProcessStarter starter;
    const StartResult withWine = starter.runCommandLine(exe + QStringLiteral(" -game tfc"),
                                                        WindowStyle::Minimized, {});
    qputenv("PATH", dir.filePath(QStringLiteral("empty")).toLocal8Bit());
    const StartResult withoutWine = starter.runCommandLine(exe + QStringLiteral(" -game tfc"),
                                                           WindowStyle::Minimized, {});
    qputenv("PATH", oldPath);

    QVERIFY2(withWine.started, qPrintable(withWine.reason));
    QCOMPARE(wine.arguments(), (QStringList{exe, "-game", "tfc"}));
    // Started in the game's folder, not in Wine's nor in the launcher's.
    QCOMPARE(wine.workingFolder(), QFileInfo(dir.path()).canonicalFilePath());
    QVERIFY(!withoutWine.started);
    QVERIFY(withoutWine.reason.contains(QStringLiteral("Wine")));

    // A plain file that is not executable is refused with its reason.
    const QString text = dir.filePath(QStringLiteral("notes"));
    QFile(text).open(QIODevice::WriteOnly);
    const StartResult notExecutable = starter.runCommandLine(text, WindowStyle::Maximized, {});
    QVERIFY(!notExecutable.started);
    QVERIFY(notExecutable.reason.contains(QStringLiteral("exécutable")));
    // Executable, but in no format the system starts: said in French, not in Qt's English.
    QVERIFY(QFile::setPermissions(text, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const StartResult unknown = starter.runCommandLine(text, WindowStyle::Maximized, {});
    QVERIFY(!unknown.started);
    QVERIFY2(unknown.reason.startsWith(u"Le système a refusé de lancer ce programme"_qs),
             qPrintable(unknown.reason));
}
#endif

void TestProcessStart::windowsGameReceivesTheLineAsComposed_data()
{
    QTest::addColumn<QString>("switches");
    QTest::addColumn<int>("style");
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("switches, maximized") << "-game tfc +map crossfire" << 3 << QStringList{"-game", "tfc", "+map", "crossfire"};
    QTest::newRow("a quoted name with a blank, minimized") << R"(+hostname "Mon serveur" +maxplayers 8)" << 2 << QStringList{"+hostname", "Mon serveur", "+maxplayers", "8"};
    QTest::newRow("an escaped quote") << R"(+say a\"b)" << 3 << QStringList{"+say", R"(a"b)"};
    QTest::newRow("quotes inside a quoted name") << R"(+hostname "Le \"grand\" serveur")" << 3 << QStringList{"+hostname", R"(Le "grand" serveur)"};
    QTest::newRow("a folder ending in a backslash") << R"(-basedir "C:\Mes Jeux\\")" << 3 << QStringList{"-basedir", R"(C:\Mes Jeux\)"};
#ifdef Q_OS_WIN
    // Only CreateProcess keeps blanks as typed; Wine rebuilds the line with one blank apart.
    QTest::newRow("runs of blanks") << "  +map  crossfire " << 2 << QStringList{"+map", "crossfire"};
#endif
}

void TestProcessStart::windowsGameReceivesTheLineAsComposed()
{
    QFETCH(QString, switches);
    QFETCH(int, style);
    QFETCH(QStringList, arguments);
    if (!StandIn::available(StandIn::Kind::Windows))
        QSKIP("no Windows stand-in game: this build found no mingw-w64 C compiler "
              "(x86_64-w64-mingw32-gcc, package gcc-mingw-w64-x86-64)");
#ifndef Q_OS_WIN
    if (QStandardPaths::findExecutable(QStringLiteral("wine")).isEmpty())
        QSKIP("Wine is not installed (apt-get install wine wine64)");
    qputenv("WINEDEBUG", "-all");
#endif
    QTemporaryDir dir;
    const StandIn game(dir.filePath(QStringLiteral("Half Life/hl.exe")), StandIn::Kind::Windows);
    SystemProcessStarter starter;
    const StartResult result = starter.runCommandLine(game.program() + u' ' + switches,
                                                      static_cast<WindowStyle>(style), {});
    QVERIFY2(result.started, qPrintable(result.reason));
    // Wine's first start in a new prefix sets the prefix up first: allow it time.
    QCOMPARE(game.arguments(0, 100000), arguments);

    // The program comes first, quoted (by QProcess on Windows, by Wine on Linux); the switches
    // follow exactly as composed.
    const QString line = QString::fromLocal8Bit(game.commandLine());
    QVERIFY2(line.startsWith(u'"'), qPrintable(line));
    const qsizetype end = line.indexOf(u'"', 1);
    QCOMPARE(line.mid(1, end - 1).section(u'\\', -1), QStringLiteral("hl.exe"));
    QCOMPARE(line.mid(end + 2), switches);
#ifdef Q_OS_WIN
    QCOMPARE(game.windowStyle(), QByteArray::number(style));
#endif
}

void TestProcessStart::startOptions_data()
{
    QTest::addColumn<QStringList>("wrapperArguments");
    QTest::addColumn<QString>("appId"); // empty: no environment added
    QTest::addColumn<bool>("inGameFolder");

    QTest::newRow("wrapper alone") << QStringList{} << "" << false;
    QTest::newRow("wrapper with its own arguments, environment, folder")
        << QStringList{"--verbose", "--"} << "70" << true;
}

void TestProcessStart::startOptions()
{
#ifdef Q_OS_WIN
    QSKIP("a wrapper script is for Linux");
#endif
    QFETCH(QStringList, wrapperArguments);
    QFETCH(QString, appId);
    QFETCH(bool, inGameFolder);
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("Half Life"));
    StandIn game(folder + QStringLiteral("/hl.sh"));
    StandInRuntime runtime(dir.filePath(QStringLiteral("runtime/run.sh")));
    qunsetenv("SteamAppId");
    StartOptions options;
    options.wrapper = runtime.program();
    options.wrapperArguments = wrapperArguments;
    if (!appId.isEmpty())
        options.environment.insert(QStringLiteral("SteamAppId"), appId);
    if (inGameFolder)
        options.workingDirectory = folder;

    SystemProcessStarter starter;
    const StartResult result =
        starter.runCommandLine(game.program() + QStringLiteral(" +map  crossfire"),
                               WindowStyle::Maximized, options);
    QVERIFY2(result.started, qPrintable(result.reason));
    QCOMPARE(result.program, game.program());
    QStringList record = runtime.record();
    QCOMPARE(record.mid(0, wrapperArguments.size() + 3),
             (wrapperArguments + QStringList{game.program(), "+map", "crossfire"}));
    QCOMPARE(record.at(wrapperArguments.size() + 3),
             QStringLiteral("SteamAppId=") + (appId.isEmpty() ? QStringLiteral("<unset>") : appId));
    // Without a folder of its own the start keeps the usual working directory, whatever it is.
    if (inGameFolder)
        QCOMPARE(record.last(), QStringLiteral("cwd=") + QDir(folder).canonicalPath());
}

QTEST_GUILESS_MAIN(TestProcessStart)
#include "tst_processstart.moc"
