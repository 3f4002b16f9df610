#include "launcher/windowmanager.h"
#include "launcher/windownames.h"
#include "setup/directorypicker.h"
#include "steamfixture.h"
#include "setupprogram.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

using namespace SteamFixture;

namespace {

const QByteArray kFirstUse = "[MISC]\r\nfirstuse=yes\r\n";
const QByteArray kConfigured = "[MISC]\r\nfirstuse=no\r\ntfc=false\r\n[GAMEDIR]\r\n"
                               "program=/old/hl.sh\r\nmaps=/old/valve/maps\r\ntfcmaps=/old/tfc\r\n";
const QString kSteam = QStringLiteral(".local/share/Steam");
const QString kGame = QStringLiteral("/steamapps/common/Half-Life");

// A Steam with Half-Life in its own folder and, when asked, in a second library without TFC.
QStringList twoInstallations()
{
    return root(kSteam, libraryFolders({"{HOME}/" + kSteam, "{HOME}/lib"})) + halfLife(kSteam)
        + halfLife("lib", {"hl_linux"}, false);
}

} // namespace

class TestDetect : public LinuxHomeTest
{
    Q_OBJECT

private Q_SLOTS:
    void detectButton_data();
    void detectButton();
    void detectFillsWithoutSaving_data();
    void detectFillsWithoutSaving();
    void severalInstallations_data();
    void severalInstallations();
    void nothingFound();
    void wizardPageOnOpening_data();
    void wizardPageOnOpening();
    void dialogsOpenInTheGameFolder();
    void newPlayerPressesSuivantThroughTheWizard();
};

void TestDetect::detectButton_data()
{
    QTest::addColumn<QString>("window");
    QTest::newRow("config") << WindowName::config.toString();
    QTest::newRow("firstuseconfig") << WindowName::firstUseConfig.toString();
}

void TestDetect::detectButton()
{
    QFETCH(QString, window);
    SetupProgram program(kConfigured);
    QWidget *page = program.show(window);
    auto *button = child<QPushButton>(page, "cmdDetect");
    QVERIFY(button);
    QCOMPARE(button->text(), u"&Détecter"_qs);
    QVERIFY(button->isEnabled());
}

void TestDetect::detectFillsWithoutSaving_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("save");
    QTest::addColumn<QStringList>("layout");
    QTest::addColumn<bool>("tfc");

    const QStringList withTfc = root(kSteam) + halfLife(kSteam);
    const QStringList withoutTfc = root(kSteam) + halfLife(kSteam, {"hl.sh"}, false);
    QTest::newRow("config, TFC") << WindowName::config.toString() << "cmdOK" << withTfc << true;
    QTest::newRow("config, no TFC") << WindowName::config.toString() << "cmdOK" << withoutTfc << false;
    QTest::newRow("wizard, TFC") << WindowName::firstUseConfig.toString() << "cmdFinish" << withTfc
                                 << true;
}

void TestDetect::detectFillsWithoutSaving()
{
    QFETCH(QString, window);
    QFETCH(QString, save);
    QFETCH(QStringList, layout);
    QFETCH(bool, tfc);
    SetupProgram program(kConfigured);
    QVERIFY(layOut(program.home(), layout));
    const QByteArray before = program.iniBytes();
    QWidget *page = program.show(window);
    QCOMPARE(text(page, "program"), u"/old/hl.sh"_qs); // configured keys are not replaced

    click(page, "cmdDetect");
    QVERIFY(program.messages.shown.isEmpty());
    const QString game = program.at(kSteam + kGame);
    QCOMPARE(text(page, "program"), game + "/hl.sh");
    QCOMPARE(text(page, "txtMaps"), QDir::toNativeSeparators(game + "/valve/maps"));
    QCOMPARE(child<QCheckBox>(page, "chkTFC")->isChecked(), tfc);
    QCOMPARE(child<QLineEdit>(page, "TFCmaps")->isEnabled(), tfc);
    QCOMPARE(text(page, "TFCmaps"), tfc ? QDir::toNativeSeparators(game + "/tfc/maps") : u"/old/tfc"_qs);
    QCOMPARE(program.iniBytes(), before);

    click(page, save.toLatin1().constData());
    QCOMPARE(program.settings().read(Keys::program), game + "/hl.sh");
    QCOMPARE(program.settings().read(Keys::maps), QDir::toNativeSeparators(game + "/valve/maps"));
    QCOMPARE(program.settings().read(Keys::tfc), tfc ? u"true"_qs : u"false"_qs);
}

void TestDetect::severalInstallations_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("ok");
    QTest::newRow("first, OK") << 0 << true;
    QTest::newRow("second, OK") << 1 << true;
    QTest::newRow("second, Annuler") << 1 << false;
}

void TestDetect::severalInstallations()
{
    QFETCH(int, row);
    QFETCH(bool, ok);
    SetupProgram program(kConfigured);
    QVERIFY(layOut(program.home(), twoInstallations()));
    QWidget *page = program.show(WindowName::config);

    QStringList listed;
    bool answered = false;
    QTimer::singleShot(0, this, [&] {
        QWidget *dialog = QApplication::activeModalWidget();
        QVERIFY(dialog);
        QCOMPARE(dialog->objectName(), u"detectChoice"_qs);
        auto *list = child<QListWidget>(dialog, "lstInstalls");
        for (int i = 0; i < list->count(); ++i)
            listed.append(list->item(i)->text());
        list->setCurrentRow(row);
        auto *button = child<QPushButton>(dialog, ok ? "cmdOK" : "cmdCancel");
        QCOMPARE(button->text(), ok ? u"OK"_qs : u"Annuler"_qs);
        QTest::mouseClick(button, Qt::LeftButton);
        answered = true;
    });
    click(page, "cmdDetect");
    QVERIFY(answered);
    const QStringList games{program.at(kSteam + kGame), program.at("lib" + kGame)};
    QCOMPARE(listed, games);
    const QStringList programs{games.at(0) + "/hl.sh", games.at(1) + "/hl_linux"};
    QCOMPARE(text(page, "program"), ok ? programs.at(row) : u"/old/hl.sh"_qs);
    QCOMPARE(child<QCheckBox>(page, "chkTFC")->isChecked(), ok && row == 0);
    QVERIFY(program.messages.shown.isEmpty());
}

void TestDetect::nothingFound()
{
    SetupProgram program(kConfigured);
    QVERIFY(layOut(program.home(), {".steam/steam/config/"})); // no steamapps: not a Steam
    QWidget *page = program.show(WindowName::config);
    click(page, "cmdDetect");
    QCOMPARE(program.messages.shown.size(), 1);
    const Message &message = program.messages.shown.first();
    QCOMPARE(message.icon, MessageIcon::Information);
    QVERIFY(message.text.startsWith(u"Aucune installation de Half-Life n'a été trouvée."_qs));
    QVERIFY(message.text.contains(program.at(".steam/steam") + '\n'));
    QVERIFY(message.text.contains(program.at(".var/app/com.valvesoftware.Steam/.local/share/Steam")));
    QCOMPARE(text(page, "program"), u"/old/hl.sh"_qs);
    QCOMPARE(text(page, "txtMaps"), u"/old/valve/maps"_qs);
}

void TestDetect::wizardPageOnOpening_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QStringList>("layout");
    QTest::addColumn<bool>("filled");

    const QStringList one = root(kSteam) + halfLife(kSteam);
    QTest::newRow("keys missing, one installation") << kFirstUse << one << true;
    QTest::newRow("keys missing, two installations") << kFirstUse << twoInstallations() << false;
    QTest::newRow("keys missing, none") << kFirstUse << QStringList{} << false;
    QTest::newRow("keys present, one installation") << kConfigured << one << false;
}

void TestDetect::wizardPageOnOpening()
{
    QFETCH(QByteArray, ini);
    QFETCH(QStringList, layout);
    QFETCH(bool, filled);
    SetupProgram program(ini);
    QVERIFY(layOut(program.home(), layout));
    QWidget *page = program.show(WindowName::firstUseConfig);
    auto *label = child<QLabel>(page, "lblDetected");
    QVERIFY(label);
    QCOMPARE(label->isVisible(), filled);
    QVERIFY(program.messages.shown.isEmpty());
    QCOMPARE(program.iniBytes(), ini); // shown, not saved
    if (!filled) {
        // Exactly the page as without detection.
        const bool missing = ini == kFirstUse;
        QCOMPARE(text(page, "program"), missing ? u"error"_qs : u"/old/hl.sh"_qs);
        QCOMPARE(text(page, "TFCmaps"), missing ? u"error"_qs : u"/old/tfc"_qs);
        QVERIFY(!child<QCheckBox>(page, "chkTFC")->isChecked());
        QVERIFY(!child<QLineEdit>(page, "TFCmaps")->isEnabled());
        return;
    }
    const QString game = program.at(kSteam + kGame);
    QCOMPARE(label->text(), u"Half-Life trouvé : "_qs + game);
    QCOMPARE(text(page, "program"), game + "/hl.sh");
    QCOMPARE(text(page, "txtMaps"), QDir::toNativeSeparators(game + "/valve/maps"));
    QCOMPARE(text(page, "TFCmaps"), QDir::toNativeSeparators(game + "/tfc/maps"));
    QVERIFY(child<QCheckBox>(page, "chkTFC")->isChecked());
    QVERIFY(child<QLineEdit>(page, "TFCmaps")->isEnabled());
}

void TestDetect::dialogsOpenInTheGameFolder()
{
    SetupProgram program(kConfigured);
    QWidget *page = program.show(WindowName::config);
    program.files.answers = QStringList{QString(), QString()};
    click(page, "Command2");
    QCOMPARE(program.files.calls.last().startDirectory, QString()); // nothing detected

    QVERIFY(layOut(program.home(), root(kSteam) + halfLife(kSteam)));
    const QString game = program.at(kSteam + kGame);
    click(page, "Command2");
    QCOMPARE(program.files.calls.last().startDirectory, game);

    click(page, "cmdMaps");
    auto *picker = program.window<DirectoryPicker>(WindowName::dirMaps);
    QVERIFY(picker);
    QCOMPARE(picker->currentDirectory(), game);
}

void TestDetect::newPlayerPressesSuivantThroughTheWizard()
{
    SetupProgram program(kFirstUse);
    QVERIFY(layOut(program.home(), root(kSteam, libraryFolders({"{HOME}/games"})) + halfLife("games")));
    WindowManager &windows = program.windows();
    program.show(WindowName::firstUse1);
    click(program.window(WindowName::firstUse1), "cmdNext");
    flushDeletes();
    QWidget *identity = program.window(WindowName::firstUse2);
    QTest::keyClicks(child<QLineEdit>(identity, "txtNick"), "Ana");
    QTest::keyClicks(child<QLineEdit>(identity, "txtClan"), "Corbeaux");
    click(identity, "cmdNext");
    flushDeletes();
    click(program.window(WindowName::firstUseConfig), "cmdFinish");
    flushDeletes();
    click(program.window(WindowName::firstUseDone), "cmdFinish");
    flushDeletes();

    QWidget *main = windows.find(WindowName::main);
    QVERIFY(main && main->isVisible());
    QVERIFY(program.messages.shown.isEmpty());
    const QString game = program.at("games" + kGame);
    QCOMPARE(program.settings().read(Keys::program), game + "/hl.sh");
    QCOMPARE(program.settings().read(Keys::maps), QDir::toNativeSeparators(game + "/valve/maps"));
    QCOMPARE(program.settings().read(Keys::tfc), u"true"_qs);
    QCOMPARE(program.settings().read(Keys::tfcMaps), QDir::toNativeSeparators(game + "/tfc/maps"));
    QCOMPARE(program.settings().read(Keys::firstUse), u"no"_qs);
    const QAbstractItemModel *maps = child<QListView>(main, "dirFichiers")->model();
    QStringList listed;
    for (int i = 0; i < maps->rowCount(); ++i)
        listed.append(maps->index(i, 0).data().toString());
    QCOMPARE(listed, (QStringList{"bounce.bsp", "crossfire.bsp"}));
}

QTEST_MAIN(TestDetect)
#include "tst_detect.moc"
