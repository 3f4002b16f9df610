#include "launcher/systemcolors.h"
#include "launcher/windownames.h"
#include "testplatform.h"
#include "setupprogram.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QTemporaryDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>

namespace {

const QByteArray kConfigured = "[MISC]\r\nfirstuse=no\r\ntfc=true\r\n[GAMEDIR]\r\n"
                               "program=C:\\HL\\hl.exe\r\nmaps=C:\\HL\\valve\\maps\r\n"
                               "tfcmaps=C:\\HL\\tfc\\maps\r\nvalve=C:\\HL\\valve\\\r\n";

QAction *action(QWidget *window, const char *name)
{
    QAction *found = window ? window->findChild<QAction *>(QLatin1String(name)) : nullptr;
    if (!found)
        qWarning("action %s not found", name);
    return found;
}

} // namespace

class TestConfigWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void loadsFromFileWithoutKeys();
    void tfcValue_data();
    void tfcValue();
    void checkBoxLooks();
    void okWritesEveryKeyWithoutChecks_data();
    void okWritesEveryKeyWithoutChecks();
    void annulerLeavesFileAsItWas();
    void executableDialog();
    void okFollowsAMovedGame_data();
    void okFollowsAMovedGame();
    void backToHiddenMainWindow_data();
    void backToHiddenMainWindow();
    void backToFreshMainWindowFromMenu();
    void writeFailureIsReported_data();
    void writeFailureIsReported();
};

void TestConfigWindow::loadsFromFileWithoutKeys()
{
    SetupProgram program(QByteArray("[MISC]\r\nfirstuse=no\r\n"));
    QWidget *config = program.show(WindowName::config);
    QVERIFY(config);
    QCOMPARE(config->windowTitle(), u"Configuration"_qs);
    QCOMPARE(child<QLineEdit>(config, "program")->text(), u"error"_qs);
    QCOMPARE(child<QLineEdit>(config, "txtMaps")->text(), u"error"_qs);
    auto *tfcMaps = child<QLineEdit>(config, "TFCmaps");
    QCOMPARE(tfcMaps->text(), u"error"_qs);
    QVERIFY(!child<QCheckBox>(config, "chkTFC")->isChecked());
    QVERIFY(!tfcMaps->isEnabled());
    QCOMPARE(background(tfcMaps), SystemColor::scrollBar());
    QVERIFY(child<QPushButton>(config, "cmdTFCMaps")->isEnabled());
}

void TestConfigWindow::tfcValue_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<bool>("checked");
    QTest::newRow("true") << QByteArray("true") << true;
    QTest::newRow("True") << QByteArray("True") << false;
    QTest::newRow("false") << QByteArray("false") << false;
    QTest::newRow("yes") << QByteArray("yes") << false;
}

void TestConfigWindow::tfcValue()
{
    QFETCH(QByteArray, value);
    QFETCH(bool, checked);
    SetupProgram program("[MISC]\r\ntfc=" + value + "\r\n[GAMEDIR]\r\ntfcmaps=/t\r\n");
    QWidget *config = program.show(WindowName::config);
    QCOMPARE(child<QCheckBox>(config, "chkTFC")->isChecked(), checked);
    QCOMPARE(child<QLineEdit>(config, "TFCmaps")->isEnabled(), checked);
    QCOMPARE(background(child<QLineEdit>(config, "TFCmaps")),
             checked ? SystemColor::window() : SystemColor::scrollBar());
}

void TestConfigWindow::checkBoxLooks()
{
    SetupProgram program(kConfigured);
    QWidget *config = program.show(WindowName::config);
    auto *chk = child<QCheckBox>(config, "chkTFC");
    auto *tfcMaps = child<QLineEdit>(config, "TFCmaps");
    QTest::mouseClick(chk, Qt::LeftButton);
    QVERIFY(!tfcMaps->isEnabled());
    QCOMPARE(background(tfcMaps), SystemColor::scrollBar());
    QCOMPARE(tfcMaps->text(), u"C:\\HL\\tfc\\maps"_qs);

    QTest::mouseClick(chk, Qt::LeftButton);
    QVERIFY(tfcMaps->isEnabled());
    QCOMPARE(background(tfcMaps), SystemColor::window());
    QCOMPARE(tfcMaps->text(), u"C:\\HL\\tfc\\maps"_qs);
}

void TestConfigWindow::okWritesEveryKeyWithoutChecks_data()
{
    QTest::addColumn<bool>("enter");
    QTest::newRow("Ok clicked") << false;
    QTest::newRow("Enter in a box") << true;
}

void TestConfigWindow::okWritesEveryKeyWithoutChecks()
{
    QFETCH(bool, enter);
    SetupProgram program(kConfigured);
    QWidget *config = program.show(WindowName::config);
    child<QLineEdit>(config, "program")->clear();
    click(config, "chkTFC"); // unchecked now
    typeInto(config, "txtMaps", u"/jeux/valve/maps"_qs);
    if (enter)
        QTest::keyClick(child<QLineEdit>(config, "txtMaps"), Qt::Key_Return);
    else
        click(config, "cmdOK");

    QVERIFY(program.messages.shown.isEmpty());
    const Settings &settings = program.settings();
    QCOMPARE(settings.read(Keys::tfc), u"false"_qs);
    QCOMPARE(settings.read(Keys::program), QString()); // empty is stored, not refused
    QCOMPARE(settings.read(Keys::maps), u"/jeux/valve/maps"_qs);
    QCOMPARE(settings.read(Keys::tfcMaps), u"C:\\HL\\tfc\\maps"_qs); // written though unchecked
    QCOMPARE(settings.read(Keys::valve), QDir::toNativeSeparators(u"/jeux/valve/"_qs)); // derived again
    QCOMPARE(settings.read(Keys::dds), QString()); // from the empty program
    QVERIFY(!program.windows().find(WindowName::config));
    QVERIFY(program.window(WindowName::main));
}

void TestConfigWindow::annulerLeavesFileAsItWas()
{
    SetupProgram program(kConfigured);
    QWidget *config = program.show(WindowName::config);
    QTest::keyClicks(child<QLineEdit>(config, "program"), u"xyz"_qs);
    click(config, "chkTFC");
    click(config, "Command3");
    QCOMPARE(program.iniBytes(), kConfigured);
    QVERIFY(!program.windows().find(WindowName::config));
    QVERIFY(program.window(WindowName::main)->isVisible());
}

void TestConfigWindow::executableDialog()
{
    SetupProgram program(kConfigured);
    QWidget *config = program.show(WindowName::config);
    auto *path = child<QLineEdit>(config, "program");
    auto *browse = child<QPushButton>(config, "Command2");

    // Cancel before any choice keeps what the player had.
    QTest::mouseClick(browse, Qt::LeftButton);
    QCOMPARE(program.files.calls.size(), 1);
    QCOMPARE(program.files.calls[0].title, u"Choisissez votre exécutable Half-Life (hl.exe)"_qs);
    QVERIFY(program.files.calls[0].filter.startsWith(u"Exécutable Half-Life (hl.exe) (hl.exe"_qs));
#ifndef Q_OS_WIN
    QVERIFY(program.files.calls[0].filter.contains(u"hl.sh"_qs));
    QVERIFY(program.files.calls[0].filter.contains(u"hl_linux"_qs));
#endif
    QCOMPARE(path->text(), u"C:\\HL\\hl.exe"_qs);

    program.files.answers = {u"/jeux/hl/hl.sh"_qs, QString()};
    QTest::mouseClick(browse, Qt::LeftButton);
    QCOMPARE(path->text(), QDir::toNativeSeparators(u"/jeux/hl/hl.sh"_qs));
    QTest::mouseClick(browse, Qt::LeftButton);
    QCOMPARE(path->text(), QDir::toNativeSeparators(u"/jeux/hl/hl.sh"_qs));

    click(config, "cmdOK");
    QCOMPARE(program.settings().read(Keys::program), QDir::toNativeSeparators(u"/jeux/hl/hl.sh"_qs));
}

void TestConfigWindow::backToHiddenMainWindow_data()
{
    QTest::addColumn<QByteArray>("button");
    QTest::addColumn<bool>("saves");
    QTest::newRow("Ok") << QByteArray("cmdOK") << true;
    QTest::newRow("Annuler") << QByteArray("Command3") << false;
}

void TestConfigWindow::okFollowsAMovedGame_data()
{
    QTest::addColumn<QString>("mapsFolder"); // the name the player gave the maps folders
    QTest::addColumn<QString>("programName");
    QTest::newRow("maps") << u"maps"_qs << u"hl_linux"_qs;
    QTest::newRow("a maps folder named cartes") << u"cartes"_qs << u"hl.sh"_qs;
}

void TestConfigWindow::okFollowsAMovedGame()
{
    // The wizard derived the folders of the old install; the game then moved to another disk.
    QFETCH(QString, mapsFolder);
    QFETCH(QString, programName);
    QTemporaryDir disk;
    const QString old = disk.filePath(u"old/Half-Life"_qs);
    const QString moved = disk.filePath(u"new/Jeux/Half Life"_qs);
    for (const QString &game : {u"valve"_qs, u"tfc"_qs})
        QVERIFY(makeFiles(moved + u'/' + game + u'/' + mapsFolder, {u"crossfire.bsp"_qs}));
    QVERIFY(makeFiles(moved, {programName}));
    const QByteArray ini = "[MISC]\r\nfirstuse=no\r\ntfc=true\r\n[GAMEDIR]\r\nprogram="
        + (old + u"/hl_linux"_qs).toLocal8Bit() + "\r\nmaps=" + (old + u"/valve/maps"_qs).toLocal8Bit()
        + "\r\ntfcmaps=" + (old + u"/tfc/maps"_qs).toLocal8Bit() + "\r\nvalve="
        + (old + u"/valve/"_qs).toLocal8Bit() + "\r\n";
    SetupProgram program(ini);
    QWidget *config = program.show(WindowName::config);
    typeInto(config, "program", QDir::toNativeSeparators(moved + u'/' + programName));
    typeInto(config, "txtMaps", QDir::toNativeSeparators(moved + u"/valve/"_qs + mapsFolder));
    typeInto(config, "TFCmaps", QDir::toNativeSeparators(moved + u"/tfc/"_qs + mapsFolder));
    click(config, "cmdOK");

    QVERIFY(program.messages.shown.isEmpty());
    const Settings &settings = program.settings();
    QCOMPARE(settings.read(Keys::valve), QDir::toNativeSeparators(moved + u"/valve/"_qs));
    QCOMPARE(settings.read(Keys::tfcDir), QDir::toNativeSeparators(moved + u"/tfc/"_qs));
    QCOMPARE(settings.read(Keys::dds), QDir::toNativeSeparators(moved + u'/'));
    QVERIFY(QFileInfo(settings.read(Keys::valve)).isDir()); // where the server maker writes
}

void TestConfigWindow::backToHiddenMainWindow()
{
    QFETCH(QByteArray, button);
    QFETCH(bool, saves);
    // Settings incomplete: the main window's load stands config in for it and stays hidden.
    QTemporaryDir maps;
    QVERIFY(makeFiles(maps.path(), {u"crossfire.bsp"_qs}));
    SetupProgram program(QByteArray("[MISC]\r\nfirstuse=no\r\n"));
    program.show(WindowName::main);
    QPointer<QWidget> sp = program.window(WindowName::main);
    QVERIFY(sp);
    QVERIFY(!sp->isVisible());
    QWidget *config = program.window(WindowName::config);
    QVERIFY(config && config->isVisible());

    typeInto(config, "txtMaps", maps.path());
    click(config, button.constData());
    flushDeletes();
    QVERIFY(sp);
    QCOMPARE(program.window(WindowName::main), sp.data());
    QVERIFY(sp->isVisible());
    // Not loaded again, yet its map list and TFC option follow what was just saved.
    QCOMPARE(child<QListView>(sp, "dirFichiers")->model()->rowCount(), saves ? 1 : 0);
    QCOMPARE(child<QWidget>(sp, "optTFC")->isEnabled(), !saves); // Ok stored tfc=false
    QCOMPARE(program.settings().read(Keys::maps), saves ? maps.path() : u"error"_qs);
    QVERIFY(!program.windows().find(WindowName::config));
}

void TestConfigWindow::backToFreshMainWindowFromMenu()
{
    QTemporaryDir maps;
    QVERIFY(makeFiles(maps.path(), {u"crossfire.bsp"_qs, u"datacore.bsp"_qs}));
    SetupProgram program(kConfigured);
    QPointer<QWidget> sp = program.show(WindowName::main);
    QVERIFY(sp && sp->isVisible());
    action(sp, "mnuEdititmConfig")->trigger();
    flushDeletes();
    QVERIFY(!sp);
    QWidget *config = program.window(WindowName::config);
    QVERIFY(config && config->isVisible());

    // Annuler: a fresh main window.
    click(config, "Command3");
    flushDeletes();
    sp = program.window(WindowName::main);
    QVERIFY(sp && sp->isVisible());

    // Ok: a fresh main window that reads what was saved.
    action(sp, "mnuEdititmConfig")->trigger();
    flushDeletes();
    QVERIFY(!sp);
    config = program.window(WindowName::config);
    typeInto(config, "txtMaps", maps.path());
    click(config, "cmdOK");
    flushDeletes();
    sp = program.window(WindowName::main);
    QVERIFY(sp && sp->isVisible());
    QCOMPARE(child<QListView>(sp, "dirFichiers")->model()->rowCount(), 2);
}

void TestConfigWindow::writeFailureIsReported_data()
{
    QTest::addColumn<bool>("readOnly");
    QTest::newRow("a folder where crvn.ini goes") << false;
    QTest::newRow("read-only program directory") << true;
}

void TestConfigWindow::writeFailureIsReported()
{
    QFETCH(bool, readOnly);
    if (const QString why = readOnlyFilesUnavailable(); readOnly && !why.isEmpty())
        QSKIP(qPrintable(why));
    SetupProgram program(kConfigured);
    QWidget *config = program.show(WindowName::config);
    typeInto(config, "program", u"D:\\hl.exe"_qs);
    if (readOnly) {
        const ReadOnlyFolder locked(program.directory(), {u"crvn.ini"_qs});
        click(config, "cmdOK");
    } else {
        QVERIFY(QFile::remove(program.iniPath()));
        QVERIFY(QDir().mkpath(program.iniPath()));
        click(config, "cmdOK");
    }
    if (readOnly)
        QCOMPARE(program.iniBytes(), kConfigured);
    QCOMPARE(program.messages.shown.size(), 1);
    QVERIFY(program.messages.shown[0].text.contains(u"crvn.ini"_qs));
    QCOMPARE(program.messages.shown[0].icon, MessageIcon::Critical);
    QCOMPARE(program.windows().find(WindowName::config), config); // still open
    QCOMPARE(child<QLineEdit>(config, "program")->text(), u"D:\\hl.exe"_qs); // nothing typed is lost
    QVERIFY(!program.windows().find(WindowName::main));
}

QTEST_MAIN(TestConfigWindow)
#include "tst_configwindow.moc"
