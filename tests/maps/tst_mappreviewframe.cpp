#include "bspwriter.h"
#include "maps/mappreviewframe.h"
#include "testfiles.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using MapPreview::SpawnKind;

namespace {

BspWriter::Map titled(const QString &title, int spawns)
{
    BspWriter::Map map;
    map.title = title;
    map.deathmatchSpawns = spawns;
    map.boxes = {{0, 0, -64, 256, 256, 0}, {512, 0, -64, 768, 256, 128}};
    return map;
}

} // namespace

class TestMapPreviewFrame : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_frame = std::make_unique<MapPreviewFrame>();
        m_title = m_frame->findChild<QLabel *>(QStringLiteral("lblMapTitle"));
        m_picture = m_frame->findChild<QLabel *>(QStringLiteral("lblMapPicture"));
        m_details = m_frame->findChild<QLabel *>(QStringLiteral("lblMapDetails"));
        QVERIFY(m_title && m_picture && m_details);
        QCOMPARE(m_frame->objectName(), QStringLiteral("frmMapPreview"));
    }
    void cleanup() { m_frame.reset(); }

    // The three parts of a map, then nothing once no map is chosen.
    void showsAMap()
    {
        const QString path = m_dir.filePath(QStringLiteral("valve/maps/de_a.bsp"));
        QVERIFY(BspWriter::write(path, titled(QStringLiteral("Alpha"), 16)));
        QVERIFY(writeAll(m_dir.filePath(QStringLiteral("valve/maps/de_a.txt")), "Par example.org"));
        QSignalSpy shown(m_frame.get(), &MapPreviewFrame::previewShown);
        m_frame->showMap(path, SpawnKind::Deathmatch);
        QVERIFY(shown.wait());
        QCOMPARE(m_title->text(), QStringLiteral("Alpha"));
        QCOMPARE(m_details->text(), QStringLiteral("16 points d'apparition · 0,0 Mo"));
        QCOMPARE(m_picture->pixmap().size(), QSize(256, 192));
        QCOMPARE(m_picture->toolTip(), QStringLiteral("Par example.org"));

        m_frame->showMap(QString(), SpawnKind::Deathmatch);
        QVERIFY(m_title->text().isEmpty() && m_details->text().isEmpty());
        QVERIFY(m_picture->pixmap().isNull() && m_picture->toolTip().isEmpty());
    }

    void unreadable()
    {
        const QString path = m_dir.filePath(QStringLiteral("valve/maps/broken.bsp"));
        QVERIFY(writeAll(path, "not a map"));
        QSignalSpy shown(m_frame.get(), &MapPreviewFrame::previewShown);
        m_frame->showMap(path, SpawnKind::Deathmatch);
        QVERIFY(shown.wait());
        QCOMPARE(m_title->text(), QStringLiteral("broken"));
        QCOMPARE(m_picture->text(), QStringLiteral("Aperçu indisponible"));
    }

    // A newer map wins over one still loading; a map seen before shows at once until it changes
    // on disk.
    void newerMapAndCache()
    {
        const QString first = m_dir.filePath(QStringLiteral("valve/maps/first.bsp"));
        const QString second = m_dir.filePath(QStringLiteral("valve/maps/second.bsp"));
        QVERIFY(BspWriter::write(first, titled(QStringLiteral("Premier"), 1)));
        QVERIFY(BspWriter::write(second, titled(QStringLiteral("Second"), 2)));
        QSignalSpy shown(m_frame.get(), &MapPreviewFrame::previewShown);
        m_frame->showMap(first, SpawnKind::Deathmatch);
        m_frame->showMap(second, SpawnKind::Deathmatch);
        QVERIFY(shown.wait());
        QTest::qWait(100);
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first().first().toString(), second);
        QCOMPARE(m_title->text(), QStringLiteral("Second"));

        shown.clear();
        m_frame->showMap(first, SpawnKind::Deathmatch); // loaded above or not, depending on timing
        QTRY_COMPARE(shown.size(), 1);
        QCOMPARE(m_title->text(), QStringLiteral("Premier"));
        m_frame->showMap(second, SpawnKind::Deathmatch);
        QCOMPARE(shown.size(), 2); // from the cache, without waiting
        QCOMPARE(m_title->text(), QStringLiteral("Second"));

        QVERIFY(BspWriter::write(second, titled(QStringLiteral("Second, refait"), 2)));
        m_frame->showMap(second, SpawnKind::Deathmatch);
        QCOMPARE(shown.size(), 2);
        QVERIFY(shown.wait());
        QCOMPARE(m_title->text(), QStringLiteral("Second, refait"));
    }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<MapPreviewFrame> m_frame;
    QLabel *m_title = nullptr;
    QLabel *m_picture = nullptr;
    QLabel *m_details = nullptr;
};

QTEST_MAIN(TestMapPreviewFrame)
#include "tst_mappreviewframe.moc"
