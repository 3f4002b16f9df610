#include "launcher/systemcolors.h"
#include "launcher/windowmanager.h"
#include "launcher/windownames.h"
#include "setupprogram.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// Records the caption a window carries at the moment it is shown.
class CaptionAtShow : public QObject
{
public:
    QStringList captions;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show)
            captions.append(static_cast<QWidget *>(watched)->windowTitle());
        return false;
    }
};

const QByteArray kFirstUse = "[MISC]\r\nfirstuse=yes\r\n";

} // namespace

class TestFirstUseConfig : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void controls();
    void suivantAtOnceWithoutKeys();
    void writesThenChecks_data();
    void writesThenChecks();
    void previousKeepsOnlyWhatWasWritten();
    void executableDialog();
    void pickerCaptionOrder_data();
    void pickerCaptionOrder();
    void writeFailureKeepsThePage();
};

void TestFirstUseConfig::controls()
{
    SetupProgram program(kFirstUse);
    QWidget *page = program.show(WindowName::firstUseConfig);
    QCOMPARE(page->windowTitle(), u"Configuration"_qs);
    QCOMPARE(child<QLabel>(page, "Label1")->text(), u"Programme : "_qs);
    QCOMPARE(child<QLabel>(page, "tfcCaption")->text(), u"Répertoire cartes : "_qs);
    QCOMPARE(child<QPushButton>(page, "cmdPrev")->toolTip(), u"Saves parameters in \"crvn.ini\""_qs);
    QCOMPARE(child<QPushButton>(page, "cmdFinish")->text(), u"&Suivant >"_qs);
    QVERIFY(child<QPushButton>(page, "cmdFinish")->isDefault());
    QVERIFY(!child<QLabel>(page, "Picture1")->pixmap().isNull());
}

void TestFirstUseConfig::suivantAtOnceWithoutKeys()
{
    SetupProgram program(kFirstUse);
    QWidget *page = program.show(WindowName::firstUseConfig);
    QVERIFY(!child<QLineEdit>(page, "TFCmaps")->isEnabled());
    QCOMPARE(background(child<QLineEdit>(page, "TFCmaps")), SystemColor::scrollBar());
    QTest::keyClick(page, Qt::Key_Return);
    QVERIFY(program.messages.shown.isEmpty());
    QCOMPARE(program.settings().read(Keys::tfc), u"false"_qs);
    QCOMPARE(program.settings().read(Keys::program), u"error"_qs);
    QCOMPARE(program.settings().read(Keys::maps), u"error"_qs);
    QCOMPARE(program.settings().read(Keys::tfcMaps, u"absent"), u"absent"_qs);
    QVERIFY(!program.windows().find(WindowName::firstUseConfig));
    QVERIFY(program.window(WindowName::firstUseDone)->isVisible());
}

void TestFirstUseConfig::writesThenChecks_data()
{
    QTest::addColumn<bool>("tfc");
    QTest::addColumn<QString>("exe");
    QTest::addColumn<QString>("maps");
    QTest::addColumn<QString>("tfcMaps");
    QTest::addColumn<QString>("message"); // empty: moves on
    QTest::addColumn<QString>("storedTfcMaps");

    QTest::newRow("both paths empty: the first message only")
        << false << QString() << QString() << u"t"_qs << u"Vous devez spécifier où est hl.exe"_qs
        << u"absent"_qs;
    QTest::newRow("maps empty") << false << u"hl.exe"_qs << QString() << QString()
                                << u"Vous devez spécifier où sont installées vos cartes"_qs
                                << u"absent"_qs;
    QTest::newRow("tfc checked, its maps empty")
        << true << u"hl.exe"_qs << u"maps"_qs << QString()
        << u"Vous devez spécifier où est installé Team Fortress Classic, ou bien décocher la case"_qs
        << QString();
    QTest::newRow("tfc unchecked: its maps not written") << false << u"hl.exe"_qs << u"maps"_qs
                                                         << u"/tfc/maps"_qs << QString()
                                                         << u"absent"_qs;
    QTest::newRow("all given") << true << u"D:\\HL\\hl.exe"_qs << u"D:\\HL\\valve\\maps"_qs
                               << u"D:\\HL\\tfc\\maps"_qs << QString() << u"D:\\HL\\tfc\\maps"_qs;
    QTest::newRow("blanks pass") << true << u" "_qs << u" "_qs << u" "_qs << QString()
                                 << QString(); // stored blanks read back without them
}

void TestFirstUseConfig::writesThenChecks()
{
    QFETCH(bool, tfc);
    QFETCH(QString, exe);
    QFETCH(QString, maps);
    QFETCH(QString, tfcMaps);
    QFETCH(QString, message);
    QFETCH(QString, storedTfcMaps);

    SetupProgram program(kFirstUse);
    QWidget *page = program.show(WindowName::firstUseConfig);
    if (tfc)
        click(page, "chkTFC");
    typeInto(page, "program", exe);
    typeInto(page, "txtMaps", maps);
    child<QLineEdit>(page, "TFCmaps")->setText(tfcMaps); // as a picker would, even when disabled
    click(page, "cmdFinish");

    // Written whether refused or not.
    QCOMPARE(program.settings().read(Keys::tfc), tfc ? u"true"_qs : u"false"_qs);
    QCOMPARE(program.settings().read(Keys::program), exe.trimmed());
    QCOMPARE(program.settings().read(Keys::maps), maps.trimmed());
    QCOMPARE(program.settings().read(Keys::tfcMaps, u"absent"), storedTfcMaps);
    if (message.isEmpty()) {
        QVERIFY(program.messages.shown.isEmpty());
        QVERIFY(!program.windows().find(WindowName::firstUseConfig));
        QVERIFY(program.window(WindowName::firstUseDone));
    } else {
        QCOMPARE(program.messages.shown.size(), 1);
        QCOMPARE(program.messages.shown[0].text, message);
        QCOMPARE(program.messages.shown[0].shownTitle(), u"Corvane 2.0"_qs);
        QCOMPARE(program.messages.shown[0].icon, MessageIcon::None);
        QCOMPARE(program.windows().find(WindowName::firstUseConfig), page);
        QVERIFY(!program.windows().find(WindowName::firstUseDone));
    }
}

// Previous drops what was typed; what the checks refused was written and comes back.
void TestFirstUseConfig::previousKeepsOnlyWhatWasWritten()
{
    const QByteArray ini("[MISC]\r\nfirstuse=yes\r\nuser=Ana\r\n");
    SetupProgram program(ini);
    QWidget *page = program.show(WindowName::firstUseConfig);
    typeInto(page, "program", u"C:\\typed\\hl.exe"_qs);
    click(page, "chkTFC");
    click(page, "cmdPrev");
    QCOMPARE(program.iniBytes(), ini);
    QVERIFY(!program.windows().find(WindowName::firstUseConfig));
    QWidget *identity = program.window(WindowName::firstUse2);
    QVERIFY(identity && identity->isVisible());
    QCOMPARE(child<QLineEdit>(identity, "txtNick")->text(), QString());

    typeInto(identity, "txtNick", u"Ana"_qs);
    typeInto(identity, "txtClan", u"[FR]"_qs);
    click(identity, "cmdNext");
    page = program.window(WindowName::firstUseConfig);
    QCOMPARE(child<QLineEdit>(page, "program")->text(), u"error"_qs); // nothing typed came back
    click(page, "chkTFC");
    typeInto(page, "program", u"C:\\HL\\hl.exe"_qs);
    child<QLineEdit>(page, "TFCmaps")->clear();
    click(page, "cmdFinish");
    QCOMPARE(program.messages.shown.size(), 1);

    click(page, "cmdPrev");
    identity = program.window(WindowName::firstUse2);
    typeInto(identity, "txtNick", u"Ana"_qs);
    typeInto(identity, "txtClan", u"[FR]"_qs);
    click(identity, "cmdNext");
    page = program.window(WindowName::firstUseConfig);
    QCOMPARE(child<QLineEdit>(page, "program")->text(), u"C:\\HL\\hl.exe"_qs);
    QVERIFY(child<QCheckBox>(page, "chkTFC")->isChecked());
    QCOMPARE(child<QLineEdit>(page, "TFCmaps")->text(), QString());
    QVERIFY(child<QLineEdit>(page, "TFCmaps")->isEnabled());
}

// The page shares its controls with config, whose test covers the dialog's cancel; here what
// the wizard gives it.
void TestFirstUseConfig::executableDialog()
{
    SetupProgram program(QByteArray("[GAMEDIR]\r\nprogram=C:\\HL\\hl.exe\r\n"));
    QWidget *page = program.show(WindowName::firstUseConfig);
    program.files.answers = {u"/opt/hl/hl_linux"_qs};
    click(page, "Command2");
    QCOMPARE(child<QLineEdit>(page, "program")->text(), QDir::toNativeSeparators(u"/opt/hl/hl_linux"_qs));
    QCOMPARE(program.files.calls.size(), 1);
    QCOMPARE(program.files.calls[0].title, u"Half-Life"_qs);
}

void TestFirstUseConfig::pickerCaptionOrder_data()
{
    QTest::addColumn<QString>("opener");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("picker");
    QTest::addColumn<QString>("atShow");
    QTest::addColumn<QString>("after");
    QTest::newRow("wizard: caption, then show")
        << u"firstuseconfig"_qs << u"cmdMaps"_qs << u"DirMaps"_qs
        << u"Première configuration - Répertoire des cartes"_qs
        << u"Première configuration - Répertoire des cartes"_qs;
    QTest::newRow("config: show, then caption") << u"config"_qs << u"cmdMaps"_qs << u"DirMaps"_qs
                                                << u"Half-Life"_qs
                                                << u"Where are your Half-Life maps ?"_qs;
    QTest::newRow("wizard TFC: its own caption")
        << u"firstuseconfig"_qs << u"cmdTFCMaps"_qs << u"configtfc"_qs
        << u"Première configuration - Répertoire cartes TFC"_qs
        << u"Première configuration - Répertoire cartes TFC"_qs;
    QTest::newRow("config TFC: show, then caption")
        << u"config"_qs << u"cmdTFCMaps"_qs << u"DirMapsTFC"_qs << u"Half-Life"_qs
        << u"Où sont installée vos cartes TFC ?"_qs;
}

void TestFirstUseConfig::pickerCaptionOrder()
{
    QFETCH(QString, opener);
    QFETCH(QString, button);
    QFETCH(QString, picker);
    QFETCH(QString, atShow);
    QFETCH(QString, after);
    SetupProgram program(kFirstUse);
    CaptionAtShow recorder;
    QObject::connect(&program.windows(), &WindowManager::windowLoaded, &recorder,
                     [&program, &recorder](const QString &name) {
                         program.windows().find(name)->installEventFilter(&recorder);
                     });
    QWidget *window = program.show(opener);
    recorder.captions.clear();
    click(window, button.toLatin1().constData());
    QCOMPARE(recorder.captions, QStringList{atShow});
    QCOMPARE(program.window(picker)->windowTitle(), after);
    QVERIFY(window->isVisible()); // the opener stays open and usable
    QVERIFY(window->isEnabled());
}

void TestFirstUseConfig::writeFailureKeepsThePage()
{
    SetupProgram program(kFirstUse);
    QWidget *page = program.show(WindowName::firstUseConfig);
    typeInto(page, "program", u"C:\\HL\\hl.exe"_qs);
    QVERIFY(QFile::remove(program.iniPath()));
    QVERIFY(QDir().mkpath(program.iniPath()));
    click(page, "cmdFinish");
    QCOMPARE(program.messages.shown.size(), 1);
    QVERIFY(program.messages.shown[0].text.contains(u"crvn.ini"_qs));
    QCOMPARE(program.windows().find(WindowName::firstUseConfig), page);
    QCOMPARE(child<QLineEdit>(page, "program")->text(), u"C:\\HL\\hl.exe"_qs);
    QVERIFY(!program.windows().find(WindowName::firstUseDone));
}

QTEST_MAIN(TestFirstUseConfig)
#include "tst_firstuseconfig.moc"
