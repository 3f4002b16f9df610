#include "detect/detection.h"
#include "detect/liblist.h"
#include "detect/vdf.h"
#include "doubles.h"
#include "files/outsidefile.h"
#include "launcher/mapfiles.h"
#include "steamfixture.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <functional>
#include <future>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace SteamFixture;
using OutsideFile::Status;

#ifdef Q_OS_UNIX
namespace {

// Puts a thing of that kind at path: a FIFO, a link to a device, a folder, a link loop, a
// dangling link, or (toobig, ok) text padded with line ends past maxSize, or as it is.
bool make(const QString &kind, const QString &path, qint64 maxSize, const QByteArray &text)
{
    if (!QFile::remove(path))
        QDir().rmdir(path);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (kind == "ok" || kind == "toobig") {
        const QByteArray bytes = kind == "ok" ? text : text.leftJustified(maxSize + 1, '\n');
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    }
    if (kind == "fifo")
        return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
    if (kind == "loop")
        return QFile::link(path + ".2", path) && QFile::link(path, path + ".2");
    return kind == "directory" ? QDir().mkdir(path)
                               : QFile::link(kind == "device" ? QStringLiteral("/dev/zero") : path + ".none", path);
}

// Runs work on another thread and fails instead of hanging: a reader still blocked on one of
// the FIFOs after ten seconds is freed by opening them for writing.
template <typename T>
bool inTime(const QStringList &fifos, std::function<T()> work, T *result)
{
    auto future = std::async(std::launch::async, std::move(work));
    const bool ready = future.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
    while (future.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready) {
        for (const QString &fifo : fifos) {
            if (const int fd = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK); fd >= 0)
                ::close(fd);
        }
    }
    *result = future.get();
    return ready;
}

} // namespace
#endif

class TestOutsideFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void reader_data();
    void reader();
    void callers_data() { reader_data(); }
    void callers();
    void reasonsAreFrench();
};

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
}

void TestOutsideFile::reader()
{
#ifndef Q_OS_UNIX
    QSKIP("FIFOs, devices and links are Unix things");
#else
    QFETCH(QString, kind);
    QFETCH(Status, status);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = dir.filePath("f.txt");
    for (const QString &each : {kind, QStringLiteral("ok")}) { // each kind, then a file at the limit
        QVERIFY(make(each, path, 10, "0123456789"));
        QString why;
        QByteArray bytes("left over");
        Status got = Status::Ok;
        QVERIFY(inTime<Status>({path}, [&] { return OutsideFile::read(path, 10, &bytes, &why); }, &got));
        QCOMPARE(got, each == "ok" ? Status::Ok : status);
        QVERIFY2(each == "ok" || reason.isEmpty() ? why.isEmpty() : why.startsWith("f.txt ") && why.contains(reason),
                 qPrintable(why));
        QCOMPARE(bytes, each == "ok" ? QByteArray("0123456789") : QByteArray());
        // The first bytes of any regular file are read whatever its size; the rest stays refused.
        const bool regular = each == "ok" || each == "toobig";
        QCOMPARE(OutsideFile::readStart(path, 2, &bytes) == Status::Ok, regular);
        QCOMPARE(bytes, regular ? QByteArray("01") : QByteArray());
        QCOMPARE(OutsideFile::isRegularFile(path), regular);
    }
#endif
}

// Each reader of an outside file meets the kind once, in a real tree beside good files: the
// thing counts as absent and the others are read as before.
void TestOutsideFile::callers()
{
#ifndef Q_OS_UNIX
    QSKIP("FIFOs, devices and links are Unix things");
#else
    QFETCH(QString, kind);
    QTemporaryDir dir;
    const QString home = dir.path();
    // Root .steam/root lists the library lib; root .steam/steam has the hostile library list
    // and manifest, so that its own game is not found.
    QVERIFY(layOut(home, root(".steam/root", libraryFolders({"{HOME}/lib"})) + halfLife(".steam/root")
                             + halfLife("lib") + root(".steam/steam") + halfLife(".steam/steam")));
    const QString game = home + "/.steam/root/steamapps/common/Half-Life";
    const QStringList paths{home + "/.steam/steam/steamapps/libraryfolders.vdf",
                            home + "/.steam/steam/steamapps/appmanifest_70.acf",
                            game + "/bad/liblist.gam", home + "/.steam/steam.pid", game + "/valve/maps/x.bsp"};
    const QList<qint64> limits{Vdf::maxBytes, Vdf::maxBytes, Liblist::maxBytes, Detect::maxPidFileSize, 1};
    const QList<QByteArray> texts{libraryFolders({"{HOME}/lib"}).toUtf8(),
                                  "\"AppState\" { \"installdir\" \"Half-Life\" \"StateFlags\" \"4\" }",
                                  "game \"Bad\"", "4242", "map"};
    for (int i = 0; i < paths.size(); ++i)
        QVERIFY(make(kind, paths[i], limits[i], texts[i]));
    FixtureDetectEnvironment environment;
    environment.home = home;
    environment.livePids = {4242};

    QStringList seen;
    QVERIFY(inTime<QStringList>(paths, [&] {
        QStringList out;
        for (const Installation &installation : Detect::detect(environment).installations)
            out.append(QDir(home).relativeFilePath(installation.program));
        for (const InstalledMod &mod : installedMods(game))
            out.append(mod.folder);
        out.append(Detect::steamRunningFromPidFile(environment) ? u"Steam runs"_qs : u"no Steam"_qs);
        return out + mapFiles(game + "/valve/maps");
    }, &seen));
    QStringList expected{".steam/root/steamapps/common/Half-Life/hl.sh", "lib/steamapps/common/Half-Life/hl.sh",
                         "tfc", "no Steam", "bounce.bsp", "crossfire.bsp"};
    if (kind == "toobig") // a regular file: listed, never opened
        expected.append("x.bsp");
    QCOMPARE(seen, expected);
#endif
}

void TestOutsideFile::reasonsAreFrench()
{
    QCOMPARE(OutsideFile::systemReason(123456), "erreur système 123456");
    QCOMPARE(OutsideFile::windowsReason(1921), OutsideFile::systemReason(ELOOP));
    QCOMPARE(OutsideFile::windowsReason(4000), "erreur Windows 4000");
}

QTEST_GUILESS_MAIN(TestOutsideFile)
#include "tst_outsidefile.moc"
