// The map lists of the main window and the server maker: the extra folders' maps, and the
// preview under each list.
#include "launcher/mapfiles.h"
#include "launcher/windownames.h"
#include "server/registration.h"
#include "testprogram.h"

#include <QAbstractItemView>
#include <QRadioButton>

namespace {

// A game with maps in its own folders and in the _addon and _downloads folders beside them.
struct Fixture {
    Fixture()
    {
        const QString game = program.path(QStringLiteral("Half-Life"));
        makeFiles(game + QStringLiteral("/valve/maps"), {"crossfire.bsp", "stalkyard.bsp"});
        makeFiles(game + QStringLiteral("/valve_addon/maps"), {"crossfire.bsp", "dm10.bsp"});
        makeFiles(game + QStringLiteral("/valve_downloads/maps"),
                  {"Crossfire.bsp", "dm2.bsp", "dm10.bsp", "notes.txt"});
        makeFiles(game + QStringLiteral("/tfc/maps"), {"2fort.bsp"});
        makeFiles(game + QStringLiteral("/tfc_downloads/maps"), {"2fort.bsp", "well.bsp"});
        program.writeIni("[GAMEDIR]\r\nprogram=" + game.toUtf8() + "/hl.exe\r\nmaps=" + game.toUtf8()
                         + "/valve/maps\r\ntfcmaps=" + game.toUtf8()
                         + "/tfc/maps\r\n[MISC]\r\ntfc=true\r\nfirstuse=no\r\n");
        registerServerWindows(program.context());
    }

    TestProgram program;
};

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

QTEST_MAIN(TestMapPreviewWindows)
#include "tst_mappreviewwindows.moc"
