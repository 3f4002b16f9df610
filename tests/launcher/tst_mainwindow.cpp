#include "launcher/mainwindow.h"
#include "launcher/systemcolors.h"
#include "launcher/windownames.h"
#include "testprogram.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>

namespace {

const QString kProgram = QStringLiteral("C:\\Jeux\\Half-Life\\hl.exe");

// A program directory with maps for deathmatch and TFC and a complete crvn.ini.
struct Fixture {
    explicit Fixture(const QByteArray &extra = {}, bool withTfcKey = true)
        : program(QByteArray())
    {
        const QString maps = program.path(QStringLiteral("valve/maps"));
        const QString tfcMaps = program.path(QStringLiteral("tfc/maps"));
        makeFiles(maps, {"crossfire.bsp", "stalkyard.bsp", "bounce.bsp", "readme.txt"});
        makeFiles(tfcMaps, {"2fort.bsp", "well.bsp"});
        QByteArray ini = "[GAMEDIR]\r\nprogram=" + kProgram.toLocal8Bit() + "\r\nmaps="
            + maps.toLocal8Bit() + "\r\ntfcmaps=" + tfcMaps.toLocal8Bit() + "\r\n[MISC]\r\n";
        if (withTfcKey)
            ini += "tfc=true\r\n";
        program.writeIni(ini + extra);
    }

    MainWindow *show()
    {
        return qobject_cast<MainWindow *>(program.show(WindowName::main));
    }

    TestProgram program;
};

QStringList listed(QWidget *window)
{
    QStringList names;
    const QAbstractItemModel *model = child<QListView>(window, "dirFichiers")->model();
    for (int i = 0; i < model->rowCount(); ++i)
        names << model->index(i, 0).data().toString();
    return names;
}

void click(QWidget *window, const char *name)
{
    auto *widget = child<QWidget>(window, name);
    QVERIFY(widget);
    // Option and check boxes react on their indicator and caption, at the left.
    const bool box = qobject_cast<QRadioButton *>(widget) || qobject_cast<QCheckBox *>(widget);
    const QPoint at = box ? QPoint(8, widget->height() / 2) : widget->rect().center();
    QTest::mouseClick(widget, Qt::LeftButton, {}, at);
}

void selectMap(QWidget *window, const QString &file)
{
    auto *list = child<QListView>(window, "dirFichiers");
    const QModelIndexList found = list->model()->match(list->model()->index(0, 0), Qt::DisplayRole,
                                                       file, 1, Qt::MatchExactly);
    QVERIFY(!found.isEmpty());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(found.first()).center());
    click(window, "confirmMap");
}

QAction *action(QWidget *window, const char *name)
{
    return child<QAction>(window, name);
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { closeModalWindows(); }
    void creationState();
    void gameTypes();
    void tfcSetting_data();
    void tfcSetting();
    void missingSettings();
    void mapSelection();
    void preview();
    void launch();
    void parametersJoinWithABlankOnlyWhileShown_data();
    void parametersJoinWithABlankOnlyWhileShown();
    void cheatsBoxSetsTheConsoleVariable_data();
    void cheatsBoxSetsTheConsoleVariable();
    void missingMapsFolderIsNamedInTheList();
    void unsafeMapNamesAreRefused_data();
    void unsafeMapNamesAreRefused();
    void launchFailures();
    void customLaunch();
    void closeAfterLaunch();
    void menus();
    void resetCancelled();
    void reset();
    void openingAnotherWindowReplacesTheMainWindow();
};

void TestMainWindow::creationState()
{
    Fixture f;
    MainWindow *sp = f.show();
    QVERIFY(sp && sp->isVisible());
    QCOMPARE(sp->windowTitle(), QStringLiteral("Corvane - Deathmatch Game"));
    QVERIFY(child<QRadioButton>(sp, "optDM")->isChecked());
    QCOMPARE(listed(sp), (QStringList{"bounce.bsp", "crossfire.bsp", "stalkyard.bsp"}));
    QCOMPARE(child<QLineEdit>(sp, "txtSelMap")->toolTip(), QStringLiteral("Aucune carte sélectionnée"));
    QVERIFY(!child<QPushButton>(sp, "launchCustom")->isEnabled());
    QVERIFY(child<QPushButton>(sp, "launch")->isEnabled());
    QCOMPARE(child<QPushButton>(sp, "launch")->toolTip(), QStringLiteral("Let's punch it!"));
    QVERIFY(child<QLineEdit>(sp, "parameters")->isHidden());
    QCOMPARE(child<QLineEdit>(sp, "parameters")->toolTip(),
             QStringLiteral("Type here your(s) additional(s) parameter(s)"));
    auto *difficulty = child<QComboBox>(sp, "cmbDifficult");
    QVERIFY(!difficulty->isEnabled());
    QCOMPARE(difficulty->currentText(), QString());
    QCOMPARE(difficulty->count(), 3);
    QVERIFY(!child<QLineEdit>(sp, "txtCustom")->isEnabled());
    QCOMPARE(background(child<QLineEdit>(sp, "txtCustom")), SystemColor::menu());
    QVERIFY(f.program.messages.shown.isEmpty());
}

void TestMainWindow::gameTypes()
{
    Fixture f;
    MainWindow *sp = f.show();
    selectMap(sp, QStringLiteral("crossfire.bsp"));
    auto *selMap = child<QLineEdit>(sp, "txtSelMap");

    click(sp, "optSP");
    QCOMPARE(sp->windowTitle(), QStringLiteral("Corvane - Joueur seul"));
    QVERIFY(child<QComboBox>(sp, "cmbDifficult")->isEnabled());
    QCOMPARE(selMap->toolTip(),
             QStringLiteral("No map currently selected (you are currently in SP mode)"));
    child<QComboBox>(sp, "cmbDifficult")->setCurrentText(QStringLiteral("Moyen"));

    click(sp, "optTFC");
    QCOMPARE(sp->windowTitle(), QStringLiteral("Corvane - Team Fortress Classic "));
    QCOMPARE(listed(sp), (QStringList{"2fort.bsp", "well.bsp"}));
    QCOMPARE(selMap->text(), QStringLiteral("crossfire.bsp")); // the map survives
    QCOMPARE(selMap->toolTip(),
             QStringLiteral("No map currently selected (you are currently in TFC mode)"));
    QVERIFY(!child<QComboBox>(sp, "cmbDifficult")->isEnabled());
    QCOMPARE(child<QComboBox>(sp, "cmbDifficult")->currentText(), QStringLiteral("Moyen"));

    click(sp, "optCustom");
    QCOMPARE(sp->windowTitle(), QStringLiteral("Corvane - Mode personnalisé"));
    QCOMPARE(listed(sp), (QStringList{"2fort.bsp", "well.bsp"})); // left as it was
    for (const char *name : {"dirFichiers", "confirmMap", "Selmap", "txtCommand", "cheats",
                             "console", "dev", "numeric", "chkAdd", "launch"})
        QVERIFY2(!child<QWidget>(sp, name)->isEnabled(), name);
    QVERIFY(child<QPushButton>(sp, "launchCustom")->isEnabled());
    QVERIFY(child<QLineEdit>(sp, "txtCustom")->isEnabled());
    QCOMPARE(background(child<QLineEdit>(sp, "txtCustom")), SystemColor::window());
    for (const char *name : {"parameters", "txtSelMap", "txtCommand"})
        QCOMPARE(background(child<QWidget>(sp, name)), SystemColor::buttonFace());

    click(sp, "optDM");
    QCOMPARE(sp->windowTitle(), QStringLiteral("Corvane - Deathmatch "));
    QCOMPARE(listed(sp), (QStringList{"bounce.bsp", "crossfire.bsp", "stalkyard.bsp"}));
    QVERIFY(child<QPushButton>(sp, "launch")->isEnabled());
    QVERIFY(!child<QPushButton>(sp, "launchCustom")->isEnabled());
    QVERIFY(child<QLineEdit>(sp, "txtCustom")->isEnabled()); // leaving custom keeps it usable
    for (const char *name : {"parameters", "txtSelMap", "txtCommand"})
        QCOMPARE(background(child<QWidget>(sp, name)), SystemColor::window());
}

void TestMainWindow::tfcSetting_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("false") << QByteArray("false") << false;
    QTest::newRow("False is not false") << QByteArray("False") << true;
    QTest::newRow("true") << QByteArray("true") << true;
    QTest::newRow("anything else") << QByteArray("maybe") << true;
}

void TestMainWindow::tfcSetting()
{
    QFETCH(QByteArray, value);
    QFETCH(bool, enabled);
    Fixture f("tfc=" + value + "\r\n", false);
    MainWindow *sp = f.show();
    QCOMPARE(child<QRadioButton>(sp, "optTFC")->isEnabled(), enabled);
    QVERIFY(f.program.messages.shown.isEmpty());
}

void TestMainWindow::missingSettings()
{
    // Without the configuration window the main window shows itself after the message.
    {
        TestProgram program;
        MainWindow *sp = qobject_cast<MainWindow *>(program.show(WindowName::main));
        QCOMPARE(program.messages.shown.size(), 1);
        QCOMPARE(program.messages.shown[0].text,
                 QStringLiteral("Vous n'avez pas complètement ou correctement configuré le Corvane"));
        QCOMPARE(program.messages.shown[0].title, QStringLiteral("Erreur de configuration"));
        QCOMPARE(program.messages.shown[0].icon, MessageIcon::None);
        QVERIFY(sp->isVisible());
        QVERIFY(listed(sp).isEmpty()); // "error" is no directory
    }
    // With it, the configuration window stands in and the main window waits hidden; showing it
    // later shows that same window without loading it again.
    TestProgram program("[MISC]\r\nfirstuse=no\r\n");
    program.windows().registerWindow(WindowName::config, [] { return new QWidget; });
    QWidget *sp = program.show(WindowName::main);
    QVERIFY(sp && !sp->isVisible());
    QVERIFY(program.window(WindowName::config)->isVisible());
    program.messages.shown.clear();
    QCOMPARE(program.show(WindowName::main), sp);
    QVERIFY(sp->isVisible());
    QVERIFY(program.messages.shown.isEmpty());
}

void TestMainWindow::mapSelection()
{
    Fixture f;
    MainWindow *sp = f.show();
    auto *selMap = child<QLineEdit>(sp, "txtSelMap");
    selectMap(sp, QStringLiteral("stalkyard.bsp"));
    QCOMPARE(selMap->text(), QStringLiteral("stalkyard.bsp"));
    QCOMPARE(selMap->toolTip(), QStringLiteral("Vous avez sélectionné la carte stalkyard.bsp"));

    child<QListView>(sp, "dirFichiers")->clearSelection();
    click(sp, "confirmMap");
    QCOMPARE(selMap->text(), QString());
    QCOMPARE(selMap->toolTip(), QStringLiteral("Vous avez sélectionné la carte "));

    // Enter on a selected map presses "&Sélectionner"; with none selected it does nothing.
    auto *list = child<QListView>(sp, "dirFichiers");
    list->setCurrentIndex(list->model()->index(0, 0));
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(selMap->text(), QStringLiteral("bounce.bsp"));
    list->clearSelection();
    QTest::keyClick(list, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(selMap->text(), QStringLiteral("bounce.bsp"));
}

void TestMainWindow::preview()
{
    Fixture f;
    MainWindow *sp = f.show();
    auto *command = child<QLineEdit>(sp, "txtCommand");
    click(sp, "dev");
    QCOMPARE(command->text(), QStringLiteral("  -dev"));
    click(sp, "cheats");
    QCOMPARE(command->text(), QStringLiteral("  +sv_cheats 1 -dev"));
    click(sp, "numeric");
    QCOMPARE(command->text(), QStringLiteral("  +sv_cheats 1 -dev -numericping"));
    click(sp, "dev");
    QCOMPARE(command->text(), QStringLiteral("  +sv_cheats 1 -numericping"));

    // The preview is never launched: numeric adds nothing to the command line.
    selectMap(sp, QStringLiteral("crossfire.bsp"));
    click(sp, "launch");
    QCOMPARE(f.program.processes.calls.size(), 1);
    QCOMPARE(f.program.processes.calls[0].commandLine,
             kProgram + QStringLiteral(" +deathmatch 1 +map crossfire +sv_cheats 1"));
}

void TestMainWindow::launch()
{
    Fixture f;
    MainWindow *sp = f.show();
    click(sp, "launch");
    QVERIFY(f.program.processes.calls.isEmpty());
    QCOMPARE(f.program.messages.shown.size(), 1);
    QCOMPARE(f.program.messages.shown[0].text, QStringLiteral("Veuillez choisir une carte"));
    QCOMPARE(f.program.messages.shown[0].title, QStringLiteral("Pas de carte sélectionnée !"));
    QCOMPARE(f.program.messages.shown[0].icon, MessageIcon::Warning);

    selectMap(sp, QStringLiteral("crossfire.bsp"));
    click(sp, "console");
    click(sp, "launch");
    QCOMPARE(f.program.processes.calls.size(), 1);
    QCOMPARE(f.program.processes.calls[0].commandLine,
             kProgram + QStringLiteral(" +deathmatch 1 +map crossfire -console"));
    QCOMPARE(f.program.processes.calls[0].style, WindowStyle::Maximized);

    click(sp, "optSP");
    child<QComboBox>(sp, "cmbDifficult")->setCurrentText(QStringLiteral("Dur"));
    click(sp, "launch");
    QCOMPARE(f.program.processes.calls.last().commandLine,
             kProgram + QStringLiteral(" +skill 3 +map crossfire -console"));

    // A typed map name shorter than the extension is taken whole.
    child<QLineEdit>(sp, "txtSelMap")->setText(QStringLiteral("c1"));
    click(sp, "launch");
    QCOMPARE(f.program.processes.calls.last().commandLine,
             kProgram + QStringLiteral(" +skill 3 +map c1 -console"));
    QVERIFY(sp->isVisible());
}

void TestMainWindow::parametersJoinWithABlankOnlyWhileShown_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("keepBoxChecked");
    QTest::addColumn<QString>("tail"); // after the map, before the option switches
    QTest::newRow("typed without a blank gets one") << "-nointro" << true << " -nointro";
    QTest::newRow("a leading blank is not doubled") << " -nointro" << true << " -nointro";
    QTest::newRow("two switches") << "-nointro +fps_max 60" << true << " -nointro +fps_max 60";
    QTest::newRow("box cleared: hidden text is not launched") << "-nointro" << false << "";
}

void TestMainWindow::parametersJoinWithABlankOnlyWhileShown()
{
    QFETCH(QString, typed);
    QFETCH(bool, keepBoxChecked);
    QFETCH(QString, tail);
    Fixture f;
    MainWindow *sp = f.show();
    click(sp, "optSP");
    child<QComboBox>(sp, "cmbDifficult")->setCurrentText(QStringLiteral("Dur"));
    selectMap(sp, QStringLiteral("crossfire.bsp"));
    click(sp, "console");
    click(sp, "chkAdd");
    QTest::keyClicks(child<QLineEdit>(sp, "parameters"), typed);
    if (!keepBoxChecked)
        click(sp, "chkAdd");
    QCOMPARE(child<QLineEdit>(sp, "parameters")->isVisible(), keepBoxChecked);
    // The preview shows what the launch adds, in the same place.
    QCOMPARE(child<QLineEdit>(sp, "txtCommand")->text(), QStringLiteral(" ") + tail + QStringLiteral(" -console"));
    click(sp, "launch");
    QCOMPARE(f.program.processes.calls.size(), 1);
    QCOMPARE(f.program.processes.calls[0].commandLine,
             kProgram + QStringLiteral(" +skill 3 +map crossfire") + tail + QStringLiteral(" -console"));
}

void TestMainWindow::cheatsBoxSetsTheConsoleVariable_data()
{
    QTest::addColumn<int>("type"); // 0 deathmatch, 1 single player, 2 TFC
    QTest::addColumn<QString>("expected");
    QTest::newRow("deathmatch") << 0 << " +deathmatch 1 +map crossfire +sv_cheats 1";
    QTest::newRow("single player") << 1 << " +map crossfire +sv_cheats 1";
    QTest::newRow("TFC") << 2 << " -game tfc +map crossfire +sv_cheats 1";
}

void TestMainWindow::cheatsBoxSetsTheConsoleVariable()
{
    // The game takes console variables from "+" commands; "-sv_cheats" would be ignored.
    QFETCH(int, type);
    QFETCH(QString, expected);
    Fixture f;
    MainWindow *sp = f.show();
    selectMap(sp, QStringLiteral("crossfire.bsp"));
    click(sp, type == 1 ? "optSP" : type == 2 ? "optTFC" : "optDM");
    click(sp, "cheats");
    QCOMPARE(child<QLineEdit>(sp, "txtCommand")->text(), QStringLiteral("  +sv_cheats 1"));
    click(sp, "launch");
    QCOMPARE(f.program.processes.calls.size(), 1);
    QCOMPARE(f.program.processes.calls[0].commandLine, kProgram + expected);
}

void TestMainWindow::missingMapsFolderIsNamedInTheList()
{
    Fixture f;
    QVERIFY(QDir(f.program.path(QStringLiteral("tfc/maps"))).removeRecursively());
    MainWindow *sp = f.show();
    auto *list = child<QListView>(sp, "dirFichiers");
    QCOMPARE(list->property("placeholderText").toString(), QString()); // maps folder is there
    click(sp, "optTFC");
    QCOMPARE(list->model()->rowCount(), 0); // a line painted in the list, not an entry
    QCOMPARE(list->property("placeholderText").toString(),
             QStringLiteral("Dossier des cartes introuvable : ")
                 + QDir::toNativeSeparators(f.program.path(QStringLiteral("tfc/maps"))));
    QVERIFY(list->toolTip().contains(QStringLiteral("Edition > Configuration")));
    const QImage withNote = list->viewport()->grab().toImage();
    list->setProperty("placeholderText", QString());
    QVERIFY(withNote != list->viewport()->grab().toImage()); // it is drawn
}

void TestMainWindow::unsafeMapNamesAreRefused_data()
{
    QTest::addColumn<QString>("file");  // a real file in the maps folder, chosen in the list
    QTest::addColumn<QString>("typed"); // or a text typed into the box instead
    QTest::addColumn<QString>("refused"); // the map name the message names; empty: launched
    QTest::newRow("a blank, then a command") << "x +exec evil.bsp" << "" << "x +exec evil";
    QTest::newRow("starts with -") << "-dev.bsp" << "" << "-dev";
    QTest::newRow("starts with +") << "+quit.bsp" << "" << "+quit";
#ifdef Q_OS_WIN
    // No Windows file name holds a double quote: there the player can only type one.
    QTest::newRow("a double quote, typed") << "" << "a\"b.bsp" << "a\"b";
#else
    QTest::newRow("a double quote") << "a\"b.bsp" << "" << "a\"b";
#endif
    QTest::newRow("a tab, typed") << "" << "dm\tx.bsp" << "dm\tx";
    QTest::newRow("a line break, typed") << "" << "dm\n+quit.bsp" << "dm\n+quit";
    QTest::newRow("- and + inside are fine") << "dm-2+b.bsp" << "" << "";
}

void TestMainWindow::unsafeMapNamesAreRefused()
{
    QFETCH(QString, file);
    QFETCH(QString, typed);
    QFETCH(QString, refused);
    Fixture f;
    if (!file.isEmpty())
        QVERIFY(makeFiles(f.program.path(QStringLiteral("valve/maps")), {file}));
    MainWindow *sp = f.show();
    if (!file.isEmpty())
        selectMap(sp, file);
    else
        child<QLineEdit>(sp, "txtSelMap")->setText(typed);
    click(sp, "launch");
    if (refused.isEmpty()) {
        QVERIFY(f.program.messages.shown.isEmpty());
        QCOMPARE(f.program.processes.calls.size(), 1);
        QCOMPARE(f.program.processes.calls[0].commandLine, kProgram + QStringLiteral(" +deathmatch 1 +map dm-2+b"));
        return;
    }
    QVERIFY(f.program.processes.calls.isEmpty());
    QCOMPARE(f.program.messages.shown.size(), 1);
    QCOMPARE(f.program.messages.shown[0].title, QStringLiteral("Nom de carte refusé"));
    QCOMPARE(f.program.messages.shown[0].icon, MessageIcon::Warning);
    QVERIFY2(f.program.messages.shown[0].text.contains(QStringLiteral("« ") + refused + QStringLiteral(" »")),
             qPrintable(f.program.messages.shown[0].text));
    QVERIFY(sp->isVisible());
}

void TestMainWindow::launchFailures()
{
    // A long path is read whole; when the start fails the player is told which and why.
    Fixture f;
    const QString longPath = QStringLiteral(
        "C:\\Program Files (x86)\\Steam\\steamapps\\common\\Half-Life\\hl.exe");
    QVERIFY(f.program.settings().write(Keys::program, longPath));
    MainWindow *sp = f.show();
    f.program.processes.fail = true;
    f.program.processes.failReason = QStringLiteral("Ce fichier n'existe pas.");
    selectMap(sp, QStringLiteral("bounce.bsp"));
    click(sp, "launch");
    QCOMPARE(f.program.processes.calls.last().commandLine,
             longPath + QStringLiteral(" +deathmatch 1 +map bounce"));
    QCOMPARE(f.program.messages.shown.size(), 1);
    QCOMPARE(f.program.messages.shown[0].icon, MessageIcon::Critical);
    QVERIFY(f.program.messages.shown[0].text.contains(QStringLiteral("C:\\Program")));
    QVERIFY(f.program.messages.shown[0].text.contains(QStringLiteral("Ce fichier n'existe pas.")));

    // A missing program key: the line starts with a blank (the empty default).
    TestProgram bare("[MISC]\r\ntfc=true\r\n");
    QWidget *other = bare.show(WindowName::main);
    child<QLineEdit>(other, "txtSelMap")->setText(QStringLiteral("crossfire.bsp"));
    click(other, "launch");
    QCOMPARE(bare.processes.calls.last().commandLine, QStringLiteral(" +deathmatch 1 +map crossfire"));
}

void TestMainWindow::customLaunch()
{
    Fixture f;
    MainWindow *sp = f.show();
    click(sp, "optCustom");
    click(sp, "launchCustom");
    QVERIFY(f.program.processes.calls.isEmpty());
    QCOMPARE(f.program.messages.shown.size(), 1);
    QCOMPARE(f.program.messages.shown[0].text,
             QStringLiteral("Vous devez spécifier dans quel répertoire se trouve le mod ou la TC."));
    QCOMPARE(f.program.messages.shown[0].title, QStringLiteral("OOoops"));
    QCOMPARE(f.program.messages.shown[0].icon, MessageIcon::Information);

    QTest::keyClicks(child<QLineEdit>(sp, "txtCustom"), QStringLiteral("cstrike"));
    click(sp, "console");
    click(sp, "launchCustom");
    QCOMPARE(f.program.processes.calls.size(), 1);
    QCOMPARE(f.program.processes.calls[0].commandLine, kProgram + QStringLiteral(" -game cstrike"));
    QCOMPARE(f.program.processes.calls[0].style, WindowStyle::Maximized);

    QVERIFY(f.program.settings().write(Keys::program, QString()));
    f.program.writeIni("[MISC]\r\ntfc=true\r\n");
    click(sp, "launchCustom");
    QCOMPARE(f.program.processes.calls.last().commandLine, QStringLiteral("error! -game cstrike"));
}

void TestMainWindow::closeAfterLaunch()
{
    Fixture f;
    MainWindow *sp = f.show();
    QAction *closeMark = action(sp, "mnuEdititm");
    QVERIFY(!closeMark->isChecked());
    selectMap(sp, QStringLiteral("crossfire.bsp"));
    click(sp, "launch");
    QVERIFY(f.program.window(WindowName::main)); // unchecked: stays

    closeMark->trigger();
    QVERIFY(closeMark->isChecked());
    // Nothing started: the window stays (it may be the last one) and says why.
    f.program.processes.fail = true;
    click(sp, "launch");
    QCOMPARE(f.program.processes.calls.size(), 2);
    QVERIFY(f.program.window(WindowName::main));
    QCOMPARE(f.program.messages.shown.last().title, QStringLiteral("Lancement impossible"));
    f.program.processes.fail = false;
    click(sp, "launch");
    QCOMPARE(f.program.processes.calls.size(), 3);
    QVERIFY(!f.program.window(WindowName::main));

    // Custom launch honours it too, and a fresh window starts unchecked.
    MainWindow *fresh = f.show();
    QVERIFY(fresh);
    QVERIFY(!action(fresh, "mnuEdititm")->isChecked());
    action(fresh, "mnuEdititm")->trigger();
    click(fresh, "optCustom");
    QTest::keyClicks(child<QLineEdit>(fresh, "txtCustom"), QStringLiteral("mod"));
    click(fresh, "launchCustom");
    QCOMPARE(f.program.processes.calls.size(), 4);
    QVERIFY(!f.program.window(WindowName::main));
}

void TestMainWindow::menus()
{
    Fixture f;
    MainWindow *sp = f.show();
    const struct {
        const char *name;
        const char *caption;
        const char *shortcut;
    } entries[] = {
        {"mnuConfigitmDMM", "&Deathmatch Maker ...", "Ctrl+D"},
        {"mnuFileitmAHLOL", "&Advanced HL Option Launcher", "Ctrl+A"},
        {"mnuFileMapcleItm", "&Map Cycle Editor ...", ""},
        {"mnuFileitmConnect", "&Se connecter à un serveur ...", ""},
        {"mnuFichieritmQuitter", "&Quitter", "Ctrl+Q"},
        {"mnuEdititmConfig", "&Configuration", "Ctrl+C"},
        {"mnuEdititmReset", "&Tout annuler", "Ctrl+R"},
        {"mnuEdititm", "Fermer le CRVN après lancement", ""},
        {"mnuHelpitmAbout", "&A propos ...", "F1"},
    };
    for (const auto &entry : entries) {
        QAction *a = action(sp, entry.name);
        QVERIFY2(a, entry.name);
        QCOMPARE(a->text(), QString::fromUtf8(entry.caption));
        QCOMPARE(a->shortcut(), QKeySequence(QString::fromUtf8(entry.shortcut)));
        QVERIFY(a->isEnabled());
    }

    action(sp, "mnuFileMapcleItm")->trigger();
    QCOMPARE(f.program.messages.shown.size(), 1);
    QCOMPARE(f.program.messages.shown[0].text,
             QStringLiteral("Le Map Cycle Editor n'est pas encore implémenté."));
    QCOMPARE(f.program.messages.shown[0].title, QStringLiteral("Ooops"));
    QCOMPARE(f.program.messages.shown[0].icon, MessageIcon::Information);
    QVERIFY(sp->isVisible());

    // The About entry shows the About window and disables the main window.
    f.program.windows().registerWindow(WindowName::about, [] { return new QWidget; });
    action(sp, "mnuHelpitmAbout")->trigger();
    QVERIFY(f.program.window(WindowName::about)->isVisible());
    QVERIFY(!sp->isEnabled());
    sp->setEnabled(true);

    action(sp, "mnuFichieritmQuitter")->trigger();
    QCOMPARE(f.program.quitCount, 1);
    QVERIFY(!f.program.window(WindowName::main));
    QVERIFY(!f.program.window(WindowName::about));
}

void TestMainWindow::resetCancelled()
{
    Fixture f;
    MainWindow *sp = f.show();
    click(sp, "optSP");
    click(sp, "cheats");
    selectMap(sp, QStringLiteral("crossfire.bsp"));
    f.program.messages.answers = {MessageAnswer::Cancel};
    action(sp, "mnuEdititmReset")->trigger();
    QCOMPARE(f.program.messages.shown.last().text, QStringLiteral("Etes-vous sûr ?"));
    QCOMPARE(f.program.messages.shown.last().title, QStringLiteral("Annuler tous les paramètres"));
    QCOMPARE(f.program.messages.shown.last().buttons, MessageButtons::OkCancel);
    QVERIFY(child<QRadioButton>(sp, "optSP")->isChecked());
    QVERIFY(child<QCheckBox>(sp, "cheats")->isChecked());
    QCOMPARE(child<QLineEdit>(sp, "txtSelMap")->text(), QStringLiteral("crossfire.bsp"));
}

void TestMainWindow::reset()
{
    Fixture f;
    MainWindow *sp = f.show();
    // Right after creation deathmatch is already selected: its handler does not run.
    action(sp, "mnuEdititmReset")->trigger();
    QCOMPARE(sp->windowTitle(), QStringLiteral("Corvane - Deathmatch Game"));
    QVERIFY(!child<QRadioButton>(sp, "optSP")->isEnabled());

    Fixture g;
    sp = g.show();
    click(sp, "optSP");
    child<QComboBox>(sp, "cmbDifficult")->setCurrentText(QStringLiteral("Moyen"));
    for (const char *name : {"console", "cheats", "dev", "numeric", "chkAdd"})
        click(sp, name);
    QTest::keyClicks(child<QLineEdit>(sp, "parameters"), QStringLiteral("-nointro"));
    child<QLineEdit>(sp, "txtCustom")->setText(QStringLiteral("mymod"));
    selectMap(sp, QStringLiteral("crossfire.bsp"));
    action(sp, "mnuEdititm")->trigger();

    QVERIFY(QTest::qWaitForWindowActive(sp));
    QTest::keyClick(sp, Qt::Key_R, Qt::ControlModifier); // the shortcut, as a player would
    QCOMPARE(g.program.messages.shown.size(), 1);
    QVERIFY(child<QRadioButton>(sp, "optDM")->isChecked());
    QCOMPARE(sp->windowTitle(), QStringLiteral("Corvane - Deathmatch "));
    QVERIFY(!child<QRadioButton>(sp, "optSP")->isEnabled());
    QVERIFY(!child<QComboBox>(sp, "cmbDifficult")->isEnabled());
    for (const char *name : {"console", "cheats", "dev", "numeric", "chkAdd"})
        QVERIFY2(!child<QCheckBox>(sp, name)->isChecked(), name);
    QVERIFY(child<QLineEdit>(sp, "parameters")->text().isEmpty());
    QVERIFY(child<QLineEdit>(sp, "parameters")->isHidden());
    QVERIFY(child<QLineEdit>(sp, "txtSelMap")->text().isEmpty());
    QVERIFY(child<QLineEdit>(sp, "txtCommand")->text().isEmpty());
    QCOMPARE(child<QLineEdit>(sp, "txtSelMap")->toolTip(), QStringLiteral("Aucune carte sélectionnée"));
    // Left alone: the custom directory, the difficulty text and the close mark.
    QCOMPARE(child<QLineEdit>(sp, "txtCustom")->text(), QStringLiteral("mymod"));
    QCOMPARE(child<QComboBox>(sp, "cmbDifficult")->currentText(), QStringLiteral("Moyen"));
    QVERIFY(action(sp, "mnuEdititm")->isChecked());
}

void TestMainWindow::openingAnotherWindowReplacesTheMainWindow()
{
    Fixture f;
    const char *opening[][2] = {{"mnuConfigitmDMM", "DM"},
                                {"mnuFileitmAHLOL", "frmAdvanced"},
                                {"mnuFileitmConnect", "connect"},
                                {"mnuEdititmConfig", "config"}};
    for (const auto &entry : opening) {
        const QString name = QLatin1String(entry[1]);
        f.program.windows().registerWindow(name, [] { return new QWidget; });
        MainWindow *sp = f.show();
        click(sp, "optSP");
        action(sp, "mnuEdititm")->trigger();
        action(sp, entry[0])->trigger();
        QVERIFY2(f.program.window(name) && f.program.window(name)->isVisible(), entry[1]);
        QVERIFY(!f.program.window(WindowName::main));
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        // Back to a fresh main window: nothing chosen before survives.
        f.program.windows().replace(name, WindowName::main);
        QWidget *fresh = f.program.window(WindowName::main);
        QVERIFY(fresh && fresh->isVisible());
        QCOMPARE(fresh->windowTitle(), QStringLiteral("Corvane - Deathmatch Game"));
        QVERIFY(child<QRadioButton>(fresh, "optDM")->isChecked());
        QVERIFY(!action(fresh, "mnuEdititm")->isChecked());
        f.program.windows().unload(WindowName::main);
    }
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
