#include "detect/detection.h"
#include "detect/liblist.h"
#include "detect/vdf.h"
#include "doubles.h"
#include "files/outsidefile.h"
#include "hostilefiles.h"
#include "launcher/mapfiles.h"
#include "steamfixture.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>

using namespace SteamFixture;
using OutsideFile::Status;

class TestOutsideFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void reader_data();
    void reader();
    void callers_data();
    void callers();
    void reasonsAreFrench();
};

void TestOutsideFile::init()
{
#ifndef Q_OS_UNIX
    QSKIP("FIFOs, devices and links are Unix things");
#endif
}

void TestOutsideFile::reader_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<Status>("status");
    QTest::addColumn<QString>("reason");
    QTest::newRow("fifo") << "fifo" << Status::Refused << "c'est un tube nommé (FIFO).";
    QTest::newRow("device") << "device" << Status::Refused << "c'est un périphérique.";
    QTest::newRow("directory") << "directory" << Status::Refused << "c'est un dossier.";
    QTest::newRow("loop") << "loop" << Status::Refused << "trop de niveaux de liens symboliques";
    QTest::newRow("dangling") << "dangling" << Status::Missing << "";
    QTest::newRow("toobig") << "toobig" << Status::Refused
                            << "f.txt est trop volumineux (11 octets ; 10 octets au plus).";
    QTest::newRow("exactly the limit") << "ok" << Status::Ok << "";
}

void TestOutsideFile::reader()
{
    QFETCH(QString, kind);
    QFETCH(Status, status);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("f.txt"));
    QVERIFY(Hostile::make(kind, path, 10, "0123456789"));
    const Hostile::Watchdog watchdog({path});
    QByteArray bytes("left over");
    QString why;
    QCOMPARE(OutsideFile::read(path, 10, &bytes, &why), status);
    QVERIFY2(reason.isEmpty() ? why.isEmpty() : why.startsWith(u"f.txt ") && why.contains(reason),
             qPrintable(why));
    QCOMPARE(bytes, status == Status::Ok ? QByteArray("0123456789") : QByteArray());
    // The first bytes of a regular file are read whatever its size; other kinds stay refused.
    const bool regular = kind == u"ok" || kind == u"toobig";
    QCOMPARE(OutsideFile::readStart(path, 2, &bytes) == Status::Ok, regular);
    QCOMPARE(bytes, regular ? QByteArray("01") : QByteArray());
    QCOMPARE(OutsideFile::isRegularFile(path), regular);
    QVERIFY(!watchdog.fired());
}

void TestOutsideFile::callers_data()
{
    QTest::addColumn<QString>("kind");
    for (const QString &kind : Hostile::kinds())
        QTest::newRow(qPrintable(kind)) << kind;
}

// Each reader of an outside file meets the kind once, in a real tree, beside good files: the
// thing counts as absent and the others are still read.
void TestOutsideFile::callers()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    const QString home = dir.path();
    // Root A lists library "lib"; its libraryfolders.vdf is the hostile thing in root B, whose
    // own manifest is one too: A's and lib's games are found, B's is not.
    QVERIFY(layOut(home, root(".steam/root", libraryFolders({"{HOME}/lib"})) + halfLife(".steam/root")
                             + halfLife("lib") + root(".steam/steam") + halfLife(".steam/steam")));
    const QString game = home + QStringLiteral("/.steam/root/steamapps/common/Half-Life");
    const QString vdf = home + QStringLiteral("/.steam/steam/steamapps/libraryfolders.vdf");
    const QString manifest = home + QStringLiteral("/.steam/steam/steamapps/appmanifest_70.acf");
    const QString liblist = game + QStringLiteral("/bad/liblist.gam");
    const QString pid = home + QStringLiteral("/.steam/steam.pid");
    const QString map = game + QStringLiteral("/valve/maps/x.bsp");
    QVERIFY(Hostile::make(kind, vdf, Vdf::maxBytes, libraryFolders({"{HOME}/lib"}).toUtf8()));
    QVERIFY(Hostile::make(kind, manifest, Vdf::maxBytes,
                          "\"AppState\" { \"installdir\" \"Half-Life\" \"StateFlags\" \"4\" }"));
    QVERIFY(Hostile::make(kind, liblist, Liblist::maxBytes, "game \"Bad\""));
    QVERIFY(Hostile::make(kind, pid, Detect::maxPidFileSize, "4242"));
    QVERIFY(Hostile::make(kind, map, 1, "map"));
    QVERIFY(layOut(game, {"cstrike/liblist.gam=game \"Counter-Strike\""}));
    FixtureDetectEnvironment environment;
    environment.home = home;
    environment.livePids = {4242};
    const Hostile::Watchdog watchdog({vdf, manifest, liblist, pid, map});

    QStringList found;
    for (const Installation &installation : Detect::detect(environment).installations)
        found.append(QDir(home).relativeFilePath(installation.gameFolder));
    QCOMPARE(found, (QStringList{".steam/root/steamapps/common/Half-Life",
                                 "lib/steamapps/common/Half-Life"}));
    QStringList mods;
    for (const InstalledMod &mod : installedMods(game))
        mods.append(mod.folder + '=' + mod.name);
    QCOMPARE(mods, (QStringList{"cstrike=Counter-Strike", "tfc=Team Fortress Classic"}));
    QVERIFY(!Detect::steamRunningFromPidFile(environment));
    QStringList maps{"bounce.bsp", "crossfire.bsp"};
    if (kind == u"toobig") // a regular file: listed, never opened
        maps.append("x.bsp");
    QCOMPARE(mapFiles(game + QStringLiteral("/valve/maps")), maps);
    QVERIFY(!watchdog.fired());
}

void TestOutsideFile::reasonsAreFrench()
{
    QCOMPARE(OutsideFile::systemReason(ELOOP), u"trop de niveaux de liens symboliques"_qs);
    QCOMPARE(OutsideFile::systemReason(123456), u"erreur système 123456"_qs);
    QCOMPARE(OutsideFile::windowsReason(5), OutsideFile::systemReason(EACCES));
    QCOMPARE(OutsideFile::windowsReason(1921), OutsideFile::systemReason(ELOOP));
    QCOMPARE(OutsideFile::windowsReason(4000), u"erreur Windows 4000"_qs);
}

QTEST_GUILESS_MAIN(TestOutsideFile)
#include "tst_outsidefile.moc"
