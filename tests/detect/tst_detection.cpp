#include "detect/detection.h"
#include "detect/liblist.h"
#include "doubles.h"
#include "steamfixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace SteamFixture;

namespace {

// HOME and XDG_DATA_HOME pointed at a folder for the life of a test, then put back.
class PointedHome
{
public:
    PointedHome(const QString &home, const QString &dataHome)
        : m_home(qgetenv("HOME"))
        , m_data(qgetenv("XDG_DATA_HOME"))
        , m_hadData(qEnvironmentVariableIsSet("XDG_DATA_HOME"))
    {
        qputenv("HOME", home.toLocal8Bit());
        if (dataHome.isEmpty())
            qunsetenv("XDG_DATA_HOME");
        else
            qputenv("XDG_DATA_HOME", dataHome.toLocal8Bit());
    }
    ~PointedHome()
    {
        qputenv("HOME", m_home);
        if (m_hadData)
            qputenv("XDG_DATA_HOME", m_data);
        else
            qunsetenv("XDG_DATA_HOME");
    }

private:
    QByteArray m_home;
    QByteArray m_data;
    bool m_hadData;
};

QStringList plus(QStringList a, const QStringList &b)
{
    return a + b;
}

} // namespace

class TestDetection : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void linuxHomes_data();
    void linuxHomes();
    void nothingFoundListsThePlacesSearched();
    void windowsRegistryOrder_data();
    void windowsRegistryOrder();
    void steamRunning_data();
    void steamRunning();
    void steamStart_data();
    void steamStart();
    void installedMods();
};

void TestDetection::linuxHomes_data()
{
    QTest::addColumn<QStringList>("layout");
    QTest::addColumn<QString>("dataHome"); // relative to home; empty: unset
    // Each installation found: its executable relative to home, then "+tfc" when TFC is there.
    QTest::addColumn<QStringList>("found");

    const QString xdg = QStringLiteral(".local/share/Steam");
    const QString flatpak = QStringLiteral(".var/app/com.valvesoftware.Steam/.local/share/Steam");
    const QString game = QStringLiteral("/steamapps/common/Half-Life/");

    QTest::newRow("default data home, root library")
        << plus(root(xdg), halfLife(xdg)) << "" << QStringList{xdg + game + "hl.sh+tfc"};
    QTest::newRow("XDG_DATA_HOME elsewhere")
        << plus(root("data/Steam"), halfLife("data/Steam")) << "data"
        << QStringList{"data/Steam" + game + "hl.sh+tfc"};
    QTest::newRow("XDG_DATA_HOME set: the default folder is not looked at")
        << plus(root(xdg), halfLife(xdg)) << "data" << QStringList{};
    QTest::newRow("flatpak") << plus(root(flatpak), halfLife(flatpak)) << ""
                             << QStringList{flatpak + game + "hl.sh+tfc"};
    QTest::newRow("snap") << plus(root("snap/steam/common/.local/share/Steam"),
                                  halfLife("snap/steam/common/.local/share/Steam"))
                          << "" << QStringList{"snap/steam/common/.local/share/Steam" + game + "hl.sh+tfc"};
    QTest::newRow("debian installation")
        << plus(root(".steam/debian-installation"), halfLife(".steam/debian-installation")) << ""
        << QStringList{".steam/debian-installation" + game + "hl.sh+tfc"};
    QTest::newRow("links to one root count once")
        << plus(plus(root(xdg), halfLife(xdg)),
                {".steam/", ".steam/steam->" + xdg, ".steam/root->" + xdg})
        << "" << QStringList{xdg + game + "hl.sh+tfc"};
    QTest::newRow("a folder without steamapps is no root")
        << QStringList{xdg + "/Half-Life/hl.sh=x", ".steam/steam/config/"} << "" << QStringList{};
    QTest::newRow("second library, current shape, escaped path")
        << plus(root(xdg, libraryFolders({"{HOME}/" + xdg, "{HOME}/Jeux \"Steam\" \\ B"})),
                halfLife("Jeux \"Steam\" \\ B", {"hl_linux"}, false))
        << "" << QStringList{"Jeux \"Steam\" \\ B" + game + "hl_linux"};
    QTest::newRow("second library, older flat shape")
        << plus(root(xdg, flatLibraryFolders({"{HOME}/games/SteamLibrary"})),
                halfLife("games/SteamLibrary"))
        << "" << QStringList{"games/SteamLibrary" + game + "hl.sh+tfc"};
    QTest::newRow("stale and unmounted libraries are skipped")
        << plus(root(xdg, libraryFolders({"/nonexistent/SteamLibrary", "{HOME}/empty", "{HOME}/lib"})),
                plus({"empty/"}, halfLife("lib")))
        << "" << QStringList{"lib" + game + "hl.sh+tfc"};
    QTest::newRow("malformed libraryfolders.vdf: the root still counts")
        << plus(root(xdg, "\"libraryfolders\" { \"1\" \"{HOME}/lib\""), plus(halfLife(xdg), halfLife("lib")))
        << "" << QStringList{xdg + game + "hl.sh+tfc"};
    QTest::newRow("not fully installed (update pending)")
        << plus(root(xdg), halfLife(xdg, {"hl.sh"}, true, 2 | 1024)) << "" << QStringList{};
    QTest::newRow("fully installed among other flags")
        << plus(root(xdg), halfLife(xdg, {"hl.sh"}, true, 4 | 1024)) << ""
        << QStringList{xdg + game + "hl.sh+tfc"};
    QTest::newRow("no manifest") << root(xdg) << "" << QStringList{};
    QTest::newRow("manifest without the game folder")
        << plus(root(xdg), {xdg + "/steamapps/appmanifest_70.acf=\"AppState\" { \"installdir\" "
                                  "\"Half-Life\" \"StateFlags\" \"4\" }"})
        << "" << QStringList{};
    QTest::newRow("installdir climbing out of common is refused")
        << plus(root(xdg), halfLife(xdg, {"hl.sh"}, true, 4, "../../../elsewhere")) << ""
        << QStringList{};
    QTest::newRow("other install folder name")
        << plus(root(xdg), halfLife(xdg, {"hl.sh"}, false, 4, "Half-Life 25")) << ""
        << QStringList{xdg + "/steamapps/common/Half-Life 25/hl.sh"};
    QTest::newRow("hl.sh before hl_linux before hl.exe")
        << plus(root(xdg), halfLife(xdg, {"hl.exe", "hl_linux", "hl.sh"}, false)) << ""
        << QStringList{xdg + game + "hl.sh"};
    QTest::newRow("hl_linux before hl.exe")
        << plus(root(xdg), halfLife(xdg, {"hl.exe", "hl_linux"}, false)) << ""
        << QStringList{xdg + game + "hl_linux"};
    QTest::newRow("hl.exe alone") << plus(root(xdg), halfLife(xdg, {"hl.exe"}, false)) << ""
                                  << QStringList{xdg + game + "hl.exe"};
    QTest::newRow("several installations, in the order found")
        << plus(plus(root(flatpak), halfLife(flatpak)),
                plus(root(xdg, libraryFolders({"{HOME}/" + xdg, "{HOME}/lib"})),
                     plus(halfLife(xdg), halfLife("lib", {"hl.sh"}, false))))
        << ""
        << QStringList{flatpak + game + "hl.sh+tfc", xdg + game + "hl.sh+tfc", "lib" + game + "hl.sh"};
    QTest::newRow("a library listed by two roots counts once")
        << plus(plus(root(flatpak, libraryFolders({"{HOME}/lib"})), root(xdg, libraryFolders({"{HOME}/lib"}))),
                halfLife("lib"))
        << "" << QStringList{"lib" + game + "hl.sh+tfc"};
    QTest::newRow("no Steam at all") << QStringList{".config/"} << "" << QStringList{};
}

void TestDetection::linuxHomes()
{
#ifdef Q_OS_WIN
    QSKIP("Linux folders");
#endif
    QFETCH(QStringList, layout);
    QFETCH(QString, dataHome);
    QFETCH(QStringList, found);
    QTemporaryDir dir;
    const QString home = dir.path();
    QVERIFY(layOut(home, layout));
    const PointedHome pointed(home, dataHome.isEmpty() ? QString() : home + '/' + dataHome);

    const Detection detection = Detect::detect(SystemDetectEnvironment());
    QStringList seen;
    for (const Installation &installation : detection.installations) {
        QVERIFY(installation.program.startsWith(installation.gameFolder + '/'));
        QCOMPARE(installation.maps, installation.gameFolder + "/valve/maps");
        QCOMPARE(installation.tfcMaps, installation.gameFolder + "/tfc/maps");
        seen.append(QDir(home).relativeFilePath(installation.program)
                    + QString::fromLatin1(installation.tfc ? "+tfc" : ""));
    }
    QCOMPARE(seen, found);
}

void TestDetection::nothingFoundListsThePlacesSearched()
{
#ifdef Q_OS_WIN
    QSKIP("Linux folders");
#endif
    FixtureDetectEnvironment environment;
    QTemporaryDir dir;
    environment.home = dir.path();
    QVERIFY(layOut(dir.path(), plus(root(".steam/steam", libraryFolders({"{HOME}/lib"})), {"lib/steamapps/"})));
    const Detection detection = Detect::detect(environment);
    QVERIFY(detection.installations.isEmpty());
    const QString text = Detect::nothingFoundText(detection);
    QVERIFY2(text.startsWith(u"Aucune installation de Half-Life n'a été trouvée."_qs), qPrintable(text));
    for (const char *place :
         {"/.var/app/com.valvesoftware.Steam/.local/share/Steam", "/.var/app/com.valvesoftware.Steam/.steam/steam",
          "/.var/app/com.valvesoftware.Steam/.steam/root", "/.local/share/Steam", "/.steam/steam",
          "/.steam/root", "/.steam/debian-installation", "/snap/steam/common/.local/share/Steam",
          "/snap/steam/common/.steam/steam", "/snap/steam/common/.steam/root", "/lib"}) {
        const QString path = QDir::toNativeSeparators(dir.path() + QString::fromLatin1(place));
        QVERIFY2(text.contains(path + '\n') || text.endsWith(path), place);
    }
}

void TestDetection::windowsRegistryOrder_data()
{
    QTest::addColumn<QStringList>("values"); // "key|name=value"
    QTest::addColumn<QStringList>("candidates");

    const QString user = QStringLiteral("HKEY_CURRENT_USER\\Software\\Valve\\Steam|SteamPath=");
    const QString wow = QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Valve\\Steam|InstallPath=");
    const QString machine = QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Valve\\Steam|InstallPath=");
    QTest::newRow("nothing: the usual folder")
        << QStringList{} << QStringList{"C:/Program Files (x86)/Steam"};
    QTest::newRow("user path in lower case with slashes")
        << QStringList{user + "d:/steam"} << QStringList{"d:/steam", "C:/Program Files (x86)/Steam"};
    QTest::newRow("all three, in order")
        << QStringList{machine + "E:\\Steam", user + "d:/steam", wow + "F:\\Steam"}
        << QStringList{"d:/steam", "F:/Steam", "E:/Steam", "C:/Program Files (x86)/Steam"};
    QTest::newRow("empty install paths are skipped")
        << QStringList{wow, machine} << QStringList{"C:/Program Files (x86)/Steam"};
}

void TestDetection::windowsRegistryOrder()
{
    QFETCH(QStringList, values);
    QFETCH(QStringList, candidates);
    FixtureDetectEnvironment environment;
    for (const QString &value : values)
        environment.registry.insert(value.section('=', 0, 0), value.section('=', 1));
    QStringList got = Detect::windowsSteamRootCandidates(environment);
    // QDir keeps backslashes on this system; compare with one separator.
    for (QString &path : got)
        path.replace('\\', '/');
    QCOMPARE(got, candidates);
}

void TestDetection::steamRunning_data()
{
    QTest::addColumn<QString>("pidFile"); // empty: none
    QTest::addColumn<QString>("registryPid");
    QTest::addColumn<QList<qint64>>("alive");
    QTest::addColumn<bool>("linux");
    QTest::addColumn<bool>("windows");

    QTest::newRow("nothing") << "" << "" << QList<qint64>{} << false << false;
    QTest::newRow("live pid") << "4242\n" << "4242" << QList<qint64>{4242} << true << true;
    QTest::newRow("stale pid") << "4242\n" << "4242" << QList<qint64>{17} << false << false;
    QTest::newRow("zero, garbage") << "steam" << "0" << QList<qint64>{0} << false << false;
}

void TestDetection::steamRunning()
{
    QFETCH(QString, pidFile);
    QFETCH(QString, registryPid);
    QFETCH(QList<qint64>, alive);
    QFETCH(bool, linux);
    QFETCH(bool, windows);
    QTemporaryDir dir;
    FixtureDetectEnvironment environment;
    environment.home = dir.path();
    if (!pidFile.isEmpty())
        QVERIFY(layOut(dir.path(), {".steam/steam.pid=" + pidFile}));
    if (!registryPid.isEmpty())
        environment.registry.insert("HKEY_CURRENT_USER\\Software\\Valve\\Steam\\ActiveProcess|pid",
                                    registryPid);
    environment.livePids = QSet<qint64>(alive.cbegin(), alive.cend());
    QCOMPARE(Detect::steamRunningFromPidFile(environment), linux);
    QCOMPARE(Detect::steamRunningFromRegistry(environment), windows);
}

void TestDetection::steamStart_data()
{
    QTest::addColumn<QString>("program"); // relative to home
    QTest::addColumn<bool>("runtime");    // run.sh exists in the root
    QTest::addColumn<bool>("inLibrary");
    QTest::addColumn<QString>("gameFolder");
    QTest::addColumn<bool>("wrapped");

    const QString game = QStringLiteral("Steam/steamapps/common/Half-Life");
    QTest::newRow("native game with runtime") << game + "/hl.sh" << true << true << game << true;
    QTest::newRow("native game without runtime") << game + "/hl.sh" << false << true << game << false;
    QTest::newRow("Windows game: Wine, no runtime") << game + "/hl.exe" << true << true << game << false;
    QTest::newRow("second library") << "lib/steamapps/common/Half-Life/hl_linux" << true << true
                                    << "lib/steamapps/common/Half-Life" << true;
    QTest::newRow("outside every library") << "games/Half-Life/hl.sh" << true << false << "" << false;
    QTest::newRow("next to a library, not in it") << "lib2/steamapps/common/Half-Life/hl.sh" << true
                                                  << false << "" << false;
}

void TestDetection::steamStart()
{
#ifdef Q_OS_WIN
    QSKIP("Steam's runtime is for Linux");
#endif
    QFETCH(QString, program);
    QFETCH(bool, runtime);
    QFETCH(bool, inLibrary);
    QFETCH(QString, gameFolder);
    QFETCH(bool, wrapped);
    QTemporaryDir dir;
    const QString home = dir.path();
    QStringList layout = plus(root("Steam"), {"lib/steamapps/", "lib2/steamapps/", program + "=x"});
    if (runtime)
        layout.append("Steam/ubuntu12_32/steam-runtime/run.sh=x");
    QVERIFY(layOut(home, layout));
    const QList<SteamLibrary> libraries{{home + "/Steam", home + "/Steam"}, {home + "/Steam", home + "/lib"}};
    const Detect::SteamStart start = Detect::steamStartFor(home + '/' + program, libraries);
    QCOMPARE(start.inLibrary, inLibrary);
    QCOMPARE(start.gameFolder, gameFolder.isEmpty() ? QString() : QDir::toNativeSeparators(home + '/' + gameFolder));
    QCOMPARE(start.runtime, wrapped ? home + "/Steam/ubuntu12_32/steam-runtime/run.sh" : QString());
}

void TestDetection::installedMods()
{
    QTemporaryDir dir;
    QVERIFY(layOut(dir.path(),
                   {"valve/liblist.gam=game \"Half-Life\"", "valve_addon/liblist.gam=game \"x\"",
                    "tfc/liblist.gam=game \"Team Fortress Classic\"",
                    "cstrike/liblist.gam=// Counter\ngame \"Counter-Strike\"\ngamedll \"dlls\\mp.dll\"",
                    "cstrike_french/liblist.gam=game \"Counter-Strike\"", "cstrike_hd/liblist.gam=x",
                    "cstrike_downloads/liblist.gam=x", "my_mod/liblist.gam=", "nolist/maps/",
                    "dmc/liblist.gam=GAME \"Deathmatch Classic\""}));
    QStringList folders;
    QStringList names;
    for (const InstalledMod &mod : ::installedMods(dir.path())) {
        folders.append(mod.folder);
        names.append(mod.name);
    }
    QCOMPARE(folders, (QStringList{"cstrike", "dmc", "my_mod", "tfc"}));
    QCOMPARE(names, (QStringList{"Counter-Strike", "Deathmatch Classic", "", "Team Fortress Classic"}));
    QVERIFY(::installedMods(dir.filePath("missing")).isEmpty());
}

QTEST_GUILESS_MAIN(TestDetection)
#include "tst_detection.moc"
