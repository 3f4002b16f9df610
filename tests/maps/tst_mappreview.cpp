#include "bspwriter.h"
#include "maps/bspfile.h"
#include "maps/mappreview.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using MapPreview::SpawnKind;

namespace {

// Two floors side by side: a low one (top at 0) on the left, a high one (top at 128) on the
// right, 256 units apart. Fitted to 256x192 (scale 248/768), their middles fall at pixels
// (45, 96) and (210, 96), the gap between them at (128, 96).
BspWriter::Map twoFloors()
{
    BspWriter::Map map;
    map.title = QStringLiteral("Deux étages");
    map.deathmatchSpawns = 16;
    map.teamSpawns = 3;
    map.boxes = {{0, 0, -64, 256, 256, 0}, {512, 0, -64, 768, 256, 128}};
    return map;
}

const QPoint kLowFloor(45, 96);
const QPoint kHighFloor(210, 96);
const QPoint kGap(128, 96);

} // namespace

class TestMapPreview : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QVERIFY(m_dir.isValid()); }

    void titleAndSpawns_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("spawns");
        QTest::newRow("message") << "Deux étages" << 0 << "Deux étages" << 16;
        QTest::newRow("no message: the file name") << "" << 0 << "de_two" << 16;
        QTest::newRow("team spawns") << "Deux étages" << 1 << "Deux étages" << 3;
    }
    void titleAndSpawns()
    {
        QFETCH(QString, message);
        QFETCH(int, kind);
        BspWriter::Map map = twoFloors();
        map.title = message;
        const QString path = m_dir.filePath(QStringLiteral("valve/maps/de_two.bsp"));
        QVERIFY(BspWriter::write(path, map));
        const MapPreview::Preview preview
            = MapPreview::load(path, kind ? SpawnKind::TeamSpawn : SpawnKind::Deathmatch);
        QVERIFY(preview.readable);
        QTEST(preview.title, "title");
        QTEST(preview.spawnPoints, "spawns");
        QCOMPARE(preview.fileSize, QFileInfo(path).size());
    }

    void details_data()
    {
        QTest::addColumn<int>("spawns");
        QTest::addColumn<qint64>("size");
        QTest::addColumn<QString>("text");
        QTest::newRow("16, 1.2 MiB") << 16 << qint64(1258291) << QStringLiteral("16 points d'apparition · 1,2 Mo");
        QTest::newRow("small file") << 2 << qint64(900) << QStringLiteral("2 points d'apparition · 0,0 Mo");
        QTest::newRow("one spawn") << 1 << qint64(5242880) << QStringLiteral("1 point d'apparition · 5,0 Mo");
    }
    void details()
    {
        QFETCH(int, spawns);
        QFETCH(qint64, size);
        MapPreview::Preview preview;
        preview.spawnPoints = spawns;
        preview.fileSize = size;
        QTEST(MapPreview::detailsText(preview), "text");
    }

    // Floors lit, the ground between them black, the higher floor lighter; the same picture
    // whether the faces lie on their plane's front or back, or the entity lump comes second.
    void drawing()
    {
        const QString path = m_dir.filePath(QStringLiteral("valve/maps/de_two.bsp"));
        QVERIFY(BspWriter::write(path, twoFloors()));
        const QImage picture = MapPreview::load(path, SpawnKind::Deathmatch).picture;
        QCOMPARE(picture.size(), QSize(256, 192));
        QCOMPARE(qGray(picture.pixel(kGap)), 0);
        QCOMPARE(qGray(picture.pixel(2, 2)), 0);
        QVERIFY(qGray(picture.pixel(kLowFloor)) > 40);
        QVERIFY(qGray(picture.pixel(kHighFloor)) > qGray(picture.pixel(kLowFloor)) + 100);

        for (const bool swapped : {false, true}) {
            BspWriter::Map map = twoFloors();
            map.backSides = !swapped;
            map.swapLumps = swapped;
            const QString other = m_dir.filePath(QStringLiteral("valve/maps/other.bsp"));
            QVERIFY(BspWriter::write(other, map));
            const MapPreview::Preview preview = MapPreview::load(other, SpawnKind::Deathmatch);
            QCOMPARE(preview.title, QStringLiteral("Deux étages"));
            QCOMPARE(preview.spawnPoints, 16);
            QCOMPARE(preview.picture, picture);
        }
        BspWriter::Map swapped = twoFloors();
        swapped.swapLumps = true;
        QVERIFY(Bsp::read(BspWriter::build(swapped))->swappedLumps);
    }

    // The game's overview wins over the drawing when it is a readable image.
    void overview()
    {
        const QString path = m_dir.filePath(QStringLiteral("valve/maps/de_two.bsp"));
        QVERIFY(BspWriter::write(path, twoFloors()));
        const QString bmp = m_dir.filePath(QStringLiteral("valve/overviews/de_two.bmp"));
        QVERIFY(QDir().mkpath(QFileInfo(bmp).absolutePath()));
        QVERIFY(writeAll(bmp, "BM not a bitmap"));
        QCOMPARE(qGray(MapPreview::load(path, SpawnKind::Deathmatch).picture.pixel(kGap)), 0);

        QImage red(1024, 512, QImage::Format_RGB32);
        red.fill(Qt::red);
        QVERIFY(red.save(bmp, "BMP"));
        const QImage picture = MapPreview::load(path, SpawnKind::Deathmatch).picture;
        QCOMPARE(picture.size(), QSize(256, 128));
        QCOMPARE(picture.pixel(kGap), qRgb(255, 0, 0));
    }

    // maps/<map>.txt: decoded as the settings file is, controls out, 500 characters at most.
    void notes()
    {
        const QString path = m_dir.filePath(QStringLiteral("valve/maps/de_two.bsp"));
        QVERIFY(BspWriter::write(path, twoFloors()));
        QVERIFY(writeAll(m_dir.filePath(QStringLiteral("valve/maps/de_two.txt")),
                         "Carte \xe9t\xe9\x1b[31m\r\nCr\xe9" "dits\x07 " + QByteArray(600, 'x')));
        const QString notes = MapPreview::load(path, SpawnKind::Deathmatch).notes;
        QCOMPARE(notes.size(), 500);
        QVERIFY(notes.startsWith(QStringLiteral("Carte été[31m\nCrédits xxx")));
    }

    // A file that is not a readable map: no picture, no crash, no wait.
    void hostile_data()
    {
        QTest::addColumn<int>("damage");
        using D = BspWriter::Damage;
        QTest::newRow("wrong version") << int(D::WrongVersion);
        QTest::newRow("lump past the end") << int(D::LumpPastEnd);
        QTest::newRow("negative length") << int(D::NegativeLength);
        QTest::newRow("plane out of range") << int(D::PlaneOutOfRange);
        QTest::newRow("edge out of range") << int(D::EdgeOutOfRange);
        QTest::newRow("vertex out of range") << int(D::VertexOutOfRange);
        QTest::newRow("huge face count") << int(D::HugeFaceCount);
        QTest::newRow("huge edge count") << int(D::HugeEdgeCount);
        QTest::newRow("surface edge -2^31") << int(D::NegativeSurfaceEdge);
        QTest::newRow("cut header") << int(D::Truncated);
        QTest::newRow("empty file") << -1;
        QTest::newRow("folder") << -2;
#ifdef Q_OS_UNIX
        QTest::newRow("FIFO") << -3;
#endif
    }
    void hostile()
    {
        QFETCH(int, damage);
        const QString path = m_dir.filePath(QStringLiteral("valve/maps/bad.bsp"));
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        if (damage >= 0) {
            BspWriter::Map map = twoFloors();
            map.damage = static_cast<BspWriter::Damage>(damage);
            QVERIFY(BspWriter::write(path, map));
        } else if (damage == -1) {
            QVERIFY(writeAll(path, QByteArray()));
        } else if (damage == -2) {
            QVERIFY(QDir().mkpath(path));
        }
#ifdef Q_OS_UNIX
        if (damage == -3)
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
#endif
        const MapPreview::Preview preview = MapPreview::load(path, SpawnKind::Deathmatch);
        QVERIFY(!preview.readable);
        QVERIFY(preview.picture.isNull());
        QCOMPARE(preview.title, QStringLiteral("bad"));
    }

    void cleanup() { QVERIFY(QDir(m_dir.path()).removeRecursively()); }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestMapPreview)
#include "tst_mappreview.moc"
