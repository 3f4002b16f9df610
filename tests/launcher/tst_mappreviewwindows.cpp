// The map lists of the main window and the server maker: the extra folders' maps, and the
// preview under each list.
#include "bspwriter.h"
#include "launcher/windownames.h"
#include "maps/mappreviewframe.h"
#include "server/registration.h"
#include "testfiles.h"
#include "testprogram.h"

#include <QAbstractItemView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>

namespace {

// A game with maps in its own folders and in the _addon and _downloads folders beside them; a
// name in several folders has another title in each. Each map has 5 team spawns.
struct Fixture {
    Fixture()
    {
        const QString game = program.path(QStringLiteral("Half-Life/"));
        const std::tuple<const char *, const char *, int> maps[] = {
            {"valve/maps/crossfire.bsp", "Crossfire du jeu", 16},
            {"valve/maps/stalkyard.bsp", "Stalkyard", 2},
            {"valve_addon/maps/crossfire.bsp", "Crossfire ajoutée", 2},
            {"valve_addon/maps/dm10.bsp", "Dix ajoutée", 3},
            {"valve_downloads/maps/Crossfire.bsp", "Crossfire téléchargée", 2},
            {"valve_downloads/maps/dm10.bsp", "Dix téléchargée", 2},
            {"tfc/maps/2fort.bsp", "Deux forts", 2},
            {"tfc_downloads/maps/2fort.bsp", "Deux forts téléchargée", 2},
            {"tfc_downloads/maps/well.bsp", "Puits", 2}};
        for (const auto &[file, title, spawns] : maps)
            QVERIFY(BspWriter::write(game + QLatin1String(file),
                                     {QString::fromUtf8(title), spawns, 5, {{0, 0, -64, 512, 384, 0}}}));
        QVERIFY(writeAll(game + QStringLiteral("valve_downloads/maps/dm2.bsp"), "pas une carte"));
        QVERIFY(writeAll(game + QStringLiteral("valve_downloads/maps/notes.txt"), "notes"));
        // dm10's overview, beside the copy the list takes: a blue picture.
        QImage blue(64, 48, QImage::Format_RGB32);
        blue.fill(Qt::blue);
        QVERIFY(QDir().mkpath(game + QStringLiteral("valve_addon/overviews")));
        QVERIFY(blue.save(game + QStringLiteral("valve_addon/overviews/dm10.bmp"), "BMP"));
        program.writeIni("[GAMEDIR]\r\nmaps=" + game.toUtf8() + "valve/maps\r\ntfcmaps="
                         + game.toUtf8() + "tfc/maps\r\n[MISC]\r\ntfc=true\r\n");
        registerServerWindows(program.context());
    }

    TestProgram program;
};

QStringList listed(const QAbstractItemView *list)
{
    QStringList names;
    for (int i = 0; i < list->model()->rowCount(); ++i)
        names << list->model()->index(i, 0).data().toString();
    return names;
}

// Clicks a map of the list, waits until its preview is on screen, and gives what the frame
// shows: title, picture (its text, or the colour of its middle), details.
QStringList preview(QWidget *window, QAbstractItemView *list, const QString &file = {})
{
    if (!file.isEmpty()) {
        QSignalSpy shown(child<MapPreviewFrame>(window, "frmMapPreview"),
                         &MapPreviewFrame::previewShown);
        const QModelIndex index = list->model()->index(int(listed(list).indexOf(file)), 0);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
        if (shown.isEmpty() && !shown.wait())
            return {QStringLiteral("no preview")};
    }
    const QLabel *picture = child<QLabel>(window, "lblMapPicture");
    const QImage image = picture->pixmap().toImage();
    return {child<QLabel>(window, "lblMapTitle")->text(),
            image.isNull() ? picture->text() : QColor(image.pixel(image.rect().center())).name(),
            child<QLabel>(window, "lblMapDetails")->text()};
}

} // namespace

class TestMapPreviewWindows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { closeModalWindows(); }
    void deathmatchLists_data();
    void deathmatchLists();
    void teamFortressMaps();
};

void TestMapPreviewWindows::deathmatchLists_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("chosen"); // the field only the window's button fills
    QTest::newRow("sp") << WindowName::main.toString() << "dirFichiers" << "txtSelMap";
    QTest::newRow("DM") << WindowName::server.toString() << "maps" << "SelMap";
}

void TestMapPreviewWindows::deathmatchLists()
{
    QFETCH(QString, window);
    QFETCH(QString, list);
    QFETCH(QString, chosen);
    Fixture f;
    QWidget *shown = f.program.show(window);
    auto *view = child<QAbstractItemView>(shown, list.toLatin1().constData());
    QCOMPARE(listed(view), (QStringList{"crossfire.bsp", "dm2.bsp", "dm10.bsp", "stalkyard.bsp"}));
    QCOMPARE(preview(shown, view), (QStringList{{}, {}, {}}));

    // The game folder's copy; _addon's before _downloads', with its overview; no map at all.
    const QStringList crossfire = preview(shown, view, QStringLiteral("crossfire.bsp"));
    QCOMPARE(crossfire[0], QStringLiteral("Crossfire du jeu"));
    QVERIFY(crossfire[1].startsWith(QLatin1Char('#')) && crossfire[1] != u"#000000");
    QCOMPARE(crossfire[2], QStringLiteral("16 points d'apparition · 0,0 Mo"));
    QCOMPARE(preview(shown, view, QStringLiteral("dm10.bsp")),
             (QStringList{"Dix ajoutée", "#0000ff", "3 points d'apparition · 0,0 Mo"}));
    QCOMPARE(preview(shown, view, QStringLiteral("dm2.bsp")).mid(0, 2),
             (QStringList{"dm2", "Aperçu indisponible"}));
    QCOMPARE(child<QLineEdit>(shown, chosen.toLatin1().constData())->text(), QString());
}

// The main window's TFC list: its own extra folders, a new list with an empty frame, team spawns.
void TestMapPreviewWindows::teamFortressMaps()
{
    Fixture f;
    QWidget *sp = f.program.show(WindowName::main);
    auto *view = child<QAbstractItemView>(sp, "dirFichiers");
    preview(sp, view, QStringLiteral("crossfire.bsp"));
    QTest::mouseClick(child<QRadioButton>(sp, "optTFC"), Qt::LeftButton, {}, QPoint(8, 8));
    QCOMPARE(listed(view), (QStringList{"2fort.bsp", "well.bsp"}));
    QCOMPARE(preview(sp, view), (QStringList{{}, {}, {}}));
    const QStringList fort = preview(sp, view, QStringLiteral("2fort.bsp"));
    QCOMPARE(fort[0], QStringLiteral("Deux forts"));
    QCOMPARE(fort[2], QStringLiteral("5 points d'apparition · 0,0 Mo"));
}

QTEST_MAIN(TestMapPreviewWindows)
#include "tst_mappreviewwindows.moc"
