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
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>

namespace {

// A map with a floor, a title and `spawns` deathmatch spawn points (and 5 team spawns).
bool writeMap(const QString &path, const QString &title, int spawns)
{
    BspWriter::Map map;
    map.title = title;
    map.deathmatchSpawns = spawns;
    map.teamSpawns = 5;
    map.boxes = {{0, 0, -64, 512, 384, 0}};
    return BspWriter::write(path, map);
}

// A game with maps in its own folders and in the _addon and _downloads folders beside them;
// a name in several folders has a different title in each.
struct Fixture {
    Fixture()
    {
        const QString game = program.path(QStringLiteral("Half-Life"));
        const auto map = [&game](const char *file, const char *title, int spawns = 2) {
            QVERIFY(writeMap(game + QLatin1Char('/') + QLatin1String(file), QString::fromUtf8(title),
                             spawns));
        };
        map("valve/maps/crossfire.bsp", "Crossfire du jeu", 16);
        map("valve/maps/stalkyard.bsp", "Stalkyard");
        map("valve_addon/maps/crossfire.bsp", "Crossfire ajoutée");
        map("valve_addon/maps/dm10.bsp", "Dix ajoutée", 3);
        map("valve_downloads/maps/Crossfire.bsp", "Crossfire téléchargée");
        map("valve_downloads/maps/dm10.bsp", "Dix téléchargée");
        QVERIFY(writeAll(game + QStringLiteral("/valve_downloads/maps/dm2.bsp"), "pas une carte"));
        QVERIFY(writeAll(game + QStringLiteral("/valve_downloads/maps/notes.txt"), "notes"));
        map("tfc/maps/2fort.bsp", "Deux forts");
        map("tfc_downloads/maps/2fort.bsp", "Deux forts téléchargée");
        map("tfc_downloads/maps/well.bsp", "Puits");
        // dm10's overview, beside the copy the list takes: a blue picture.
        QImage blue(64, 48, QImage::Format_RGB32);
        blue.fill(Qt::blue);
        QVERIFY(QDir().mkpath(game + QStringLiteral("/valve_addon/overviews")));
        QVERIFY(blue.save(game + QStringLiteral("/valve_addon/overviews/dm10.bmp"), "BMP"));
        program.writeIni("[GAMEDIR]\r\nprogram=" + game.toUtf8() + "/hl.exe\r\nmaps=" + game.toUtf8()
                         + "/valve/maps\r\ntfcmaps=" + game.toUtf8()
                         + "/tfc/maps\r\n[MISC]\r\ntfc=true\r\nfirstuse=no\r\n");
        registerServerWindows(program.context());
    }

    TestProgram program;
};

// What the frame under a window's list shows: title, picture text (or the colour of its middle),
// details.
QStringList preview(QWidget *window)
{
    const QLabel *picture = child<QLabel>(window, "lblMapPicture");
    const QImage image = picture->pixmap().toImage();
    const QString shown = image.isNull() ? picture->text()
                                         : QColor(image.pixel(image.rect().center())).name();
    return {child<QLabel>(window, "lblMapTitle")->text(), shown,
            child<QLabel>(window, "lblMapDetails")->text()};
}

// Clicks a map of a window's list, then waits until its preview is on screen.
void clickMap(QWidget *window, const char *list, const QString &file)
{
    auto *view = child<QAbstractItemView>(window, list);
    const QModelIndexList found = view->model()->match(view->model()->index(0, 0),
                                                       Qt::DisplayRole, file, 1, Qt::MatchExactly);
    QCOMPARE(found.size(), 1);
    QSignalSpy shown(child<MapPreviewFrame>(window, "frmMapPreview"),
                     &MapPreviewFrame::previewShown);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(found[0]).center());
    QVERIFY(shown.size() == 1 || shown.wait());
    QVERIFY(shown.last().first().toString().endsWith(QLatin1Char('/') + file));
}

QStringList listed(QWidget *window, const char *list)
{
    QStringList names;
    const QAbstractItemModel *model = child<QAbstractItemView>(window, list)->model();
    for (int i = 0; i < model->rowCount(); ++i)
        names << model->index(i, 0).data().toString();
    return names;
}

} // namespace

class TestMapPreviewWindows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { closeModalWindows(); }
    void extraFoldersAreListedOnce();
    void mainWindowPreview();
    void serverMakerPreview();
};

void TestMapPreviewWindows::extraFoldersAreListedOnce()
{
    Fixture f;
    const QStringList deathmatch{"crossfire.bsp", "dm2.bsp", "dm10.bsp", "stalkyard.bsp"};
    QWidget *sp = f.program.show(WindowName::main);
    QCOMPARE(listed(sp, "dirFichiers"), deathmatch);
    QTest::mouseClick(child<QRadioButton>(sp, "optTFC"), Qt::LeftButton, {}, QPoint(8, 8));
    QCOMPARE(listed(sp, "dirFichiers"), (QStringList{"2fort.bsp", "well.bsp"}));
    f.program.windows().unload(WindowName::main);

    QWidget *dm = f.program.show(WindowName::server);
    QCOMPARE(listed(dm, "maps"), deathmatch);
}

void TestMapPreviewWindows::mainWindowPreview()
{
    Fixture f;
    QWidget *sp = f.program.show(WindowName::main);
    const QStringList empty{QString(), QString(), QString()};
    QCOMPARE(preview(sp), empty);

    // The game folder's copy, then an extra folder's with the overview beside it, then a file
    // that is no map.
    clickMap(sp, "dirFichiers", QStringLiteral("crossfire.bsp"));
    const QStringList crossfire = preview(sp);
    QCOMPARE(crossfire[0], QStringLiteral("Crossfire du jeu"));
    QVERIFY(crossfire[1].startsWith(QLatin1Char('#')) && crossfire[1] != u"#000000");
    QCOMPARE(crossfire[2], QStringLiteral("16 points d'apparition · 0,0 Mo"));
    clickMap(sp, "dirFichiers", QStringLiteral("dm10.bsp"));
    QCOMPARE(preview(sp), (QStringList{"Dix ajoutée", "#0000ff", "3 points d'apparition · 0,0 Mo"}));
    clickMap(sp, "dirFichiers", QStringLiteral("dm2.bsp"));
    QCOMPARE(preview(sp).mid(0, 2), (QStringList{"dm2", "Aperçu indisponible"}));
    // Looking chooses nothing.
    QCOMPARE(child<QLineEdit>(sp, "txtSelMap")->text(), QString());

    // Another game type: a new list, nothing current, an empty frame; TFC counts team spawns.
    QTest::mouseClick(child<QRadioButton>(sp, "optTFC"), Qt::LeftButton, {}, QPoint(8, 8));
    QCOMPARE(preview(sp), empty);
    clickMap(sp, "dirFichiers", QStringLiteral("2fort.bsp"));
    QCOMPARE(preview(sp)[0], QStringLiteral("Deux forts"));
    QCOMPARE(preview(sp)[2], QStringLiteral("5 points d'apparition · 0,0 Mo"));
}

void TestMapPreviewWindows::serverMakerPreview()
{
    Fixture f;
    QWidget *dm = f.program.show(WindowName::server);
    clickMap(dm, "maps", QStringLiteral("dm10.bsp"));
    QCOMPARE(preview(dm), (QStringList{"Dix ajoutée", "#0000ff", "3 points d'apparition · 0,0 Mo"}));
    clickMap(dm, "maps", QStringLiteral("crossfire.bsp"));
    QCOMPARE(preview(dm)[0], QStringLiteral("Crossfire du jeu"));
    QCOMPARE(child<QLineEdit>(dm, "SelMap")->text(), QString());
    QTest::mouseClick(child<QPushButton>(dm, "cmdMapSel"), Qt::LeftButton);
    QCOMPARE(child<QLineEdit>(dm, "SelMap")->text(), QStringLiteral("crossfire"));
}

QTEST_MAIN(TestMapPreviewWindows)
#include "tst_mappreviewwindows.moc"
