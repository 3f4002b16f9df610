#include "launcher/splashwindow.h"
#include "launcher/windownames.h"
#include "platform/systemprocessstarter.h"
#include "standin.h"
#include "setupprogram.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QTextDocumentFragment>
#include <QListWidget>
#include <QPushButton>

namespace {

const QByteArray kFirstUse = "[MISC]\r\nfirstuse=yes\r\n";

// The pages that are open, by name.
QStringList openPages(WindowManager &windows)
{
    QStringList open;
    for (QStringView name : {WindowName::firstUse1, WindowName::firstUse2,
                             WindowName::firstUseConfig, WindowName::firstUseDone,
                             WindowName::main, WindowName::splash}) {
        if (QWidget *window = windows.find(name); window && window->isVisible())
            open.append(name.toString());
    }
    return open;
}

} // namespace

class TestWizard : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pages_data();
    void pages();
    void wholeWizard();
    void identityRefusals_data();
    void identityRefusals();
    void backToWelcomeShowsEmptyIdentity();
    void derivedKeys_data();
    void derivedKeys();
    void writeFailureKeepsThePage_data();
    void writeFailureKeepsThePage();
    void firstStartToLaunch();
};

void TestWizard::pages_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("defaultButton");
    QTest::addColumn<QString>("caption");
    QTest::newRow("firstuse1") << u"firstuse1"_qs << u"Bienvenue dans le Corvane !"_qs
                               << u"cmdNext"_qs << u"&Suivant >"_qs;
    QTest::newRow("firstuse2") << u"firstuse2"_qs << u"Informations personnelles"_qs
                               << u"cmdNext"_qs << u"&Suivant"_qs;
    QTest::newRow("firstusedone") << u"firstusedone"_qs << u"Configuration "_qs
                                  << u"cmdFinish"_qs << u"&Terminer"_qs;
}

void TestWizard::pages()
{
    QFETCH(QString, page);
    QFETCH(QString, title);
    QFETCH(QString, defaultButton);
    QFETCH(QString, caption);
    SetupProgram program(kFirstUse);
    QWidget *window = program.show(page);
    QCOMPARE(window->windowTitle(), title);
    auto *button = child<QPushButton>(window, defaultButton.toLatin1().constData());
    QCOMPARE(button->text(), caption);
    QVERIFY(button->isDefault());
    QVERIFY(!child<QLabel>(window, "Picture1")->pixmap().isNull());
}

void TestWizard::wholeWizard()
{
    SetupProgram program(kFirstUse);
    WindowManager &windows = program.windows();
    program.show(WindowName::splash);
    program.window<SplashWindow>(WindowName::splash)->route();
    flushDeletes();
    QCOMPARE(openPages(windows), QStringList{u"firstuse1"_qs});

    QWidget *welcome = program.window(WindowName::firstUse1);
    QCOMPARE(child<QLabel>(welcome, "Label1")->text(),
             u"Vous lancez le Corvane pour la première fois. Un assistant va vous aider à le "
             "configurer."_qs);
    QCOMPARE(QTextDocumentFragment::fromHtml(child<QLabel>(welcome, "Label2")->text()).toPlainText(),
             u"Cliquez sur \"Suivant\""_qs);
    QTest::keyClick(welcome, Qt::Key_Return);
    flushDeletes();
    QCOMPARE(openPages(windows), QStringList{u"firstuse2"_qs});
    QCOMPARE(program.iniBytes(), kFirstUse);

    QWidget *identity = program.window(WindowName::firstUse2);
    typeInto(identity, "txtNick", u"Ana"_qs);
    typeInto(identity, "txtClan", u"[FR] Les Corbeaux"_qs);
    QTest::keyClick(child<QLineEdit>(identity, "txtClan"), Qt::Key_Return);
    flushDeletes();
    QCOMPARE(openPages(windows), QStringList{u"firstuseconfig"_qs});
    QCOMPARE(program.settings().read(Keys::user), u"Ana"_qs);
    QCOMPARE(program.settings().read(Keys::company), u"[FR] Les Corbeaux"_qs);
    QCOMPARE(program.settings().read(Keys::program), u"error"_qs); // not yet written

    QWidget *config = program.window(WindowName::firstUseConfig);
    QCOMPARE(child<QLineEdit>(config, "program")->text(), u"error"_qs);
    typeInto(config, "program", QDir::toNativeSeparators(u"/jeux/Half-Life/hl_linux"_qs));
    typeInto(config, "txtMaps", QDir::toNativeSeparators(u"/jeux/Half-Life/valve/maps"_qs));
    QTest::mouseClick(child<QCheckBox>(config, "chkTFC"), Qt::LeftButton);
    typeInto(config, "TFCmaps", QDir::toNativeSeparators(u"/jeux/Half-Life/tfc/maps"_qs));
    click(config, "cmdFinish");
    flushDeletes();
    QCOMPARE(openPages(windows), QStringList{u"firstusedone"_qs});
    QCOMPARE(program.settings().read(Keys::tfc), u"true"_qs);
    QCOMPARE(program.settings().read(Keys::valve, u"absent"), u"absent"_qs); // not yet derived
    QCOMPARE(program.settings().read(Keys::firstUse), u"yes"_qs);

    click(program.window(WindowName::firstUseDone), "cmdFinish");
    flushDeletes();
    QCOMPARE(openPages(windows), QStringList{u"sp"_qs});
    QCOMPARE(program.settings().read(Keys::valve), QDir::toNativeSeparators(u"/jeux/Half-Life/valve/"_qs));
    QCOMPARE(program.settings().read(Keys::tfcDir), QDir::toNativeSeparators(u"/jeux/Half-Life/tfc/"_qs));
    QCOMPARE(program.settings().read(Keys::dds), QDir::toNativeSeparators(u"/jeux/Half-Life/"_qs));
    QCOMPARE(program.settings().read(Keys::firstUse), u"no"_qs);
    QVERIFY(program.messages.shown.isEmpty()); // the main window found its settings complete
    QCOMPARE(program.quitCount, 0);

    // The next start goes straight to the main window.
    SetupProgram next(program.iniBytes());
    next.show(WindowName::splash);
    next.window<SplashWindow>(WindowName::splash)->route();
    flushDeletes();
    QCOMPARE(openPages(next.windows()), QStringList{u"sp"_qs});
    QVERIFY(next.messages.shown.isEmpty());
}

void TestWizard::identityRefusals_data()
{
    QTest::addColumn<QString>("nick");
    QTest::addColumn<QString>("clan");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("title");
    QTest::newRow("both empty") << QString() << QString() << u"Veuillez entrer un nom/nickname"_qs
                                << u"Nickname"_qs;
    QTest::newRow("clan empty") << u"Ana"_qs << QString()
                                << u"Veuillez entrer un clan/organisation"_qs
                                << u"Organisation"_qs;
    QTest::newRow("name empty, clan given")
        << QString() << u"FR"_qs << u"Veuillez entrer un nom/nickname"_qs << u"Nickname"_qs;
    QTest::newRow("spaces pass") << u"  "_qs << u" "_qs << QString() << QString();
}

void TestWizard::identityRefusals()
{
    QFETCH(QString, nick);
    QFETCH(QString, clan);
    QFETCH(QString, text);
    QFETCH(QString, title);
    SetupProgram program(kFirstUse);
    QWidget *identity = program.show(WindowName::firstUse2);
    typeInto(identity, "txtNick", nick);
    typeInto(identity, "txtClan", clan);
    click(identity, "cmdNext");
    if (text.isEmpty()) {
        QVERIFY(program.messages.shown.isEmpty());
        QVERIFY(program.iniBytes().contains("user="));
        QVERIFY(program.iniBytes().contains("company="));
        QVERIFY(program.window(WindowName::firstUseConfig));
        QVERIFY(!program.windows().find(WindowName::firstUse2));
        return;
    }
    QCOMPARE(program.messages.shown.size(), 1);
    QCOMPARE(program.messages.shown[0].text, text);
    QCOMPARE(program.messages.shown[0].title, title);
    QCOMPARE(program.messages.shown[0].icon, MessageIcon::None);
    QCOMPARE(program.messages.shown[0].buttons, MessageButtons::Ok);
    QCOMPARE(program.iniBytes(), kFirstUse); // nothing written
    QCOMPARE(program.windows().find(WindowName::firstUse2), identity);
    QCOMPARE(child<QLineEdit>(identity, "txtNick")->text(), nick);
}

void TestWizard::backToWelcomeShowsEmptyIdentity()
{
    SetupProgram program(kFirstUse);
    QWidget *identity = program.show(WindowName::firstUse2);
    typeInto(identity, "txtNick", u"Ana"_qs);
    click(identity, "cmdPrev");
    flushDeletes();
    QCOMPARE(openPages(program.windows()), QStringList{u"firstuse1"_qs});
    QCOMPARE(program.iniBytes(), kFirstUse);
    click(program.window(WindowName::firstUse1), "cmdNext");
    identity = program.window(WindowName::firstUse2);
    QCOMPARE(child<QLineEdit>(identity, "txtNick")->text(), QString());
    QCOMPARE(child<QLineEdit>(identity, "txtClan")->text(), QString());
}

void TestWizard::derivedKeys_data()
{
    QTest::addColumn<QByteArray>("gamedir");
    QTest::addColumn<QString>("valve");
    QTest::addColumn<QString>("tfcdir");
    QTest::addColumn<QString>("dds");
    // The folders above the maps folders and the program's folder, whatever their names; a
    // missing key reads "error", which is no path and derives nothing.
    QTest::newRow("an ordinary install, tfcmaps never written")
        << QByteArray("maps=/jeux/Half-Life/valve/maps\r\nprogram=/jeux/Half-Life/hl_linux\r\n")
        << u"/jeux/Half-Life/valve/"_qs << QString() << u"/jeux/Half-Life/"_qs;
    QTest::newRow("lower-case section, folders named cartes, no program")
        << QByteArray("maps=/jeux/valve/cartes\r\ntfcmaps=/jeux/tfc/cartes\r\n")
        << u"/jeux/valve/"_qs << u"/jeux/tfc/"_qs << QString();
    QTest::newRow("a relative maps text") << QByteArray("maps=valve/maps\r\nprogram=/hl\r\n")
                                          << QString() << QString() << u"/"_qs;
}

void TestWizard::derivedKeys()
{
    QFETCH(QByteArray, gamedir);
    QFETCH(QString, valve);
    QFETCH(QString, tfcdir);
    QFETCH(QString, dds);
    SetupProgram program("[MISC]\r\nfirstuse=yes\r\ntfc=false\r\n[gamedir]\r\n" + gamedir);
    QWidget *done = program.show(WindowName::firstUseDone);
    QTest::keyClick(done, Qt::Key_Return);
    QCOMPARE(program.settings().read(Keys::valve), QDir::toNativeSeparators(valve));
    QCOMPARE(program.settings().read(Keys::tfcDir), QDir::toNativeSeparators(tfcdir));
    QCOMPARE(program.settings().read(Keys::dds), QDir::toNativeSeparators(dds));
    QCOMPARE(program.settings().read(Keys::firstUse), u"no"_qs);
    QVERIFY(!program.windows().find(WindowName::firstUseDone));
    QVERIFY(program.window(WindowName::main)->isVisible());
}

void TestWizard::writeFailureKeepsThePage_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("next");
    QTest::newRow("identity") << u"firstuse2"_qs << u"firstuseconfig"_qs;
    QTest::newRow("closing page") << u"firstusedone"_qs << u"sp"_qs;
}

void TestWizard::writeFailureKeepsThePage()
{
    QFETCH(QString, page);
    QFETCH(QString, next);
    SetupProgram program(kFirstUse);
    QWidget *window = program.show(page);
    const bool identity = page == WindowName::firstUse2;
    if (identity) {
        typeInto(window, "txtNick", u"Ana"_qs);
        typeInto(window, "txtClan", u"FR"_qs);
    }
    QVERIFY(QFile::remove(program.iniPath()));
    QVERIFY(QDir().mkpath(program.iniPath())); // crvn.ini cannot be written there
    click(window, identity ? "cmdNext" : "cmdFinish");
    QCOMPARE(program.messages.shown.size(), 1);
    QVERIFY(program.messages.shown[0].text.contains(u"crvn.ini"_qs));
    QCOMPARE(program.windows().find(page), window);
    QVERIFY(!program.windows().find(next));
    if (identity)
        QCOMPARE(child<QLineEdit>(window, "txtNick")->text(), u"Ana"_qs);
}

void TestWizard::firstStartToLaunch()
{
    // The real program start on a fresh directory, through to a game started by the real
    // process starter with the paths the wizard stored.
    QTemporaryDir dir;
    QVERIFY(makeFiles(dir.filePath(u"Half-Life/valve/maps"_qs), {u"crossfire.bsp"_qs}));
    StandIn game(dir.filePath(u"Half-Life/hl_linux"_qs));
    QVERIFY(makeFiles(dir.filePath(u"prog"_qs), {}));
    {
        QFile ini(dir.filePath(u"prog/crvn.ini"_qs));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write(kFirstUse);
    }
    RecordingMessageBoxes messages;
    SystemProcessStarter starter;
    ScriptedFileDialogs files;
    FakeVolumes volumes;
    Program program(dir.filePath(u"prog"_qs), PlatformServices{messages, starter, files, volumes});
    program.windows().setQuitHandler([] {});
    registerSetupWindows(program.context());
    WindowManager &windows = program.windows();

    program.start();
    windows.find<SplashWindow>(WindowName::splash)->route();
    click(windows.find(WindowName::firstUse1), "cmdNext");
    QWidget *identity = windows.find(WindowName::firstUse2);
    typeInto(identity, "txtNick", u"Ana"_qs);
    typeInto(identity, "txtClan", u"FR"_qs);
    click(identity, "cmdNext");
    QWidget *config = windows.find(WindowName::firstUseConfig);
    files.answers = {game.program()};
    click(config, "Command2");
    typeInto(config, "txtMaps", QDir::toNativeSeparators(dir.filePath(u"Half-Life/valve/maps"_qs)));
    click(config, "cmdFinish");
    click(windows.find(WindowName::firstUseDone), "cmdFinish");
    flushDeletes();

    QWidget *sp = windows.find(WindowName::main);
    QVERIFY(sp && sp->isVisible());
    auto *list = child<QListView>(sp, "dirFichiers");
    QCOMPARE(list->model()->rowCount(), 1);
    list->setCurrentIndex(list->model()->index(0, 0));
    click(sp, "confirmMap");
    click(sp, "launch");
    QVERIFY2(messages.shown.isEmpty(),
             qPrintable(messages.shown.isEmpty() ? QString() : messages.shown[0].text));
    const QStringList arguments = game.arguments();
    QVERIFY2(arguments.contains(u"+map"_qs), qPrintable(arguments.join(u' ')));
    QVERIFY(arguments.contains(u"crossfire"_qs));
    windows.quit();
    flushDeletes();
}

QTEST_MAIN(TestWizard)
#include "tst_wizard.moc"
