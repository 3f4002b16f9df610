#include "about/aboutwindow.h"
#include "about/creditswindow.h"
#include "about/registration.h"
#include "launcher/windownames.h"
#include "testprogram.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

namespace {

QByteArray iniWith(const QByteArray &misc)
{
    return QByteArray("[GAMEDIR]\r\nmaps=C:\\Jeux\\Half-Life\\valve\\maps\r\n[MISC]\r\ntfc=true\r\n")
        + misc;
}

// The main window, then the About window opened by its menu entry (F1).
struct OpenedFromMain {
    explicit OpenedFromMain(const QByteArray &misc)
        : program(iniWith(misc))
    {
        registerAboutWindows(program.context());
        main = program.show(WindowName::main);
        if (auto *entry = main->findChild<QAction *>(QStringLiteral("mnuHelpitmAbout")))
            entry->trigger();
        about = program.window(WindowName::about);
    }

    TestProgram program;
    QWidget *main = nullptr;
    QPointer<QWidget> about;
};

int creditsWindows()
{
    int count = 0;
    for (QWidget *widget : QApplication::topLevelWidgets())
        count += qobject_cast<CreditsWindow *>(widget) != nullptr;
    return count;
}

} // namespace

class TestAboutWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup();
    void showsItsTexts();
    void showsTheStoredNameAndCompany_data();
    void showsTheStoredNameAndCompany();
    void readsTheFileAgainWhenOpenedAgain();
    void clickingTheNameScoldsThePlayer();
    void everyWayOfClosingEnablesTheMainWindow_data();
    void everyWayOfClosingEnablesTheMainWindow();
    void pictureOpensOneCreditsWindow();
};

void TestAboutWindow::cleanup()
{
    closeModalWindows();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TestAboutWindow::showsItsTexts()
{
    OpenedFromMain opened("user=Raven\r\ncompany=Night Owls\r\n");
    QWidget *about = opened.about;
    QVERIFY(qobject_cast<AboutWindow *>(about));
    QVERIFY(about->isVisible());
    QCOMPARE(about->windowTitle(), u"A propos du Corvane ");
    QCOMPARE(child<QLabel>(about, "Label1")->text(), u"Corvane 2.0");
    QCOMPARE(child<QLabel>(about, "Label2")->text(),
             u"\"Lanceur de cartes\", paramétreur de serveur, et lanceur avancé.");
    QCOMPARE(child<QLabel>(about, "Label3")->text(), QString());
    QCOMPARE(child<QLabel>(about, "Label4")->text(), u"Cette copie est enregistrée à :");
    QCOMPARE(child<QLabel>(about, "Label5")->text(), u"Sites officiels :");
    for (const char *site : {"Label6", "Label7"})
        QVERIFY(child<QLabel>(about, site)->text().contains(u"example.org"));
    auto *panel = child<QWidget>(about, "Picture2");
    for (const char *inside : {"lblUser", "lblComp", "Label5", "Label6", "Label7"})
        QVERIFY2(panel->isAncestorOf(child<QWidget>(about, inside)), inside);
    QVERIFY(!child<QLabel>(about, "Picture1")->pixmap().isNull());
    auto *ok = child<QPushButton>(about, "cmdOK");
    QCOMPARE(ok->text(), u"OK");
    QVERIFY(ok->isDefault());
}

void TestAboutWindow::showsTheStoredNameAndCompany_data()
{
    QTest::addColumn<QByteArray>("ini"); // null: no settings file
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("company");

    QTest::newRow("both") << iniWith("user=Raven\r\ncompany=Night Owls\r\n")
                          << QStringLiteral("Raven") << QStringLiteral("Night Owls");
    QTest::newRow("no company") << iniWith("user=Raven\r\n") << QStringLiteral("Raven")
                                << QStringLiteral("error");
    QTest::newRow("empty values") << iniWith("user=\r\ncompany=\r\n") << QString() << QString();
    QTest::newRow("no settings file") << QByteArray() << QStringLiteral("error")
                                      << QStringLiteral("error");
    QTest::newRow("long and marked-up values are shown whole and as typed")
        << iniWith("user=" + QByteArray(150, 'x') + "\r\ncompany=<b>Clan</b> & co\r\n")
        << QString(150, u'x') << QStringLiteral("<b>Clan</b> & co");
}

void TestAboutWindow::showsTheStoredNameAndCompany()
{
    QFETCH(QByteArray, ini);
    QFETCH(QString, user);
    QFETCH(QString, company);

    TestProgram program(ini);
    registerAboutWindows(program.context());
    // Shown on its own, as the main window's menu would show it.
    QWidget *about = program.show(WindowName::about);
    QVERIFY(about);
    QCOMPARE(child<QLabel>(about, "lblUser")->text(), user);
    QCOMPARE(child<QLabel>(about, "lblComp")->text(), company);
}

void TestAboutWindow::readsTheFileAgainWhenOpenedAgain()
{
    TestProgram program(iniWith("user=Raven\r\n"));
    registerAboutWindows(program.context());
    QWidget *about = program.show(WindowName::about);
    QCOMPARE(child<QLabel>(about, "lblUser")->text(), u"Raven");
    QTest::mouseClick(child<QPushButton>(about, "cmdOK"), Qt::LeftButton);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!program.window(WindowName::about));

    program.writeIni(iniWith("user=Corbeau\r\ncompany=Hiboux\r\n"));
    about = program.show(WindowName::about);
    QCOMPARE(child<QLabel>(about, "lblUser")->text(), u"Corbeau");
    QCOMPARE(child<QLabel>(about, "lblComp")->text(), u"Hiboux");
}

void TestAboutWindow::clickingTheNameScoldsThePlayer()
{
    OpenedFromMain opened("user=Raven\r\ncompany=Night Owls\r\n");
    TestProgram &program = opened.program;
    QWidget *about = opened.about;
    QVERIFY(about);
    QTest::mouseClick(child<QLabel>(about, "lblUser"), Qt::LeftButton);

    QCOMPARE(program.messages.shown.size(), 1);
    const Message &message = program.messages.shown.first();
    QCOMPARE(message.text, u" C'est ton nom, nan ? Alors pourquoi tu clique, crétin ?! :)");
    QCOMPARE(message.title, u"Imbécile");
    QCOMPARE(message.icon, MessageIcon::Critical);
    QCOMPARE(message.buttons, MessageButtons::Ok);
    // Nothing else changes.
    QCOMPARE(program.window(WindowName::about), about);
    QVERIFY(about->isVisible());
    QVERIFY(!opened.main->isEnabled());
    QCOMPARE(child<QLabel>(about, "lblUser")->text(), u"Raven");

    // The company label is not clickable.
    QTest::mouseClick(child<QLabel>(about, "lblComp"), Qt::LeftButton);
    QCOMPARE(program.messages.shown.size(), 1);
}

void TestAboutWindow::everyWayOfClosingEnablesTheMainWindow_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("OK clicked") << QStringLiteral("ok");
    QTest::newRow("Enter") << QStringLiteral("enter");
    QTest::newRow("Escape") << QStringLiteral("escape");
    QTest::newRow("title bar") << QStringLiteral("close");
    QTest::newRow("accepted by the dialog") << QStringLiteral("accept");
}

void TestAboutWindow::everyWayOfClosingEnablesTheMainWindow()
{
    QFETCH(QString, how);

    OpenedFromMain opened("user=Raven\r\n");
    TestProgram &program = opened.program;
    QWidget *main = opened.main;
    QPointer<QWidget> about = opened.about;
    QVERIFY(about && main);
    QVERIFY(!main->isEnabled());

    if (how == u"ok")
        QTest::mouseClick(child<QPushButton>(about, "cmdOK"), Qt::LeftButton);
    else if (how == u"enter")
        QTest::keyClick(about, Qt::Key_Return);
    else if (how == u"escape")
        QTest::keyClick(about, Qt::Key_Escape);
    else if (how == u"close")
        about->close();
    else
        qobject_cast<QDialog *>(about.data())->accept();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    QVERIFY(main->isEnabled());
    QVERIFY(about.isNull());
    QVERIFY(!program.window(WindowName::about));
    QCOMPARE(program.window(WindowName::main), main);
    QVERIFY(program.messages.shown.isEmpty());
}

void TestAboutWindow::pictureOpensOneCreditsWindow()
{
    OpenedFromMain opened("user=Raven\r\n");
    TestProgram &program = opened.program;
    QWidget *about = opened.about;
    QVERIFY(about);
    QCOMPARE(creditsWindows(), 0);

    auto *picture = child<QLabel>(about, "Picture1");
    QTest::mouseClick(picture, Qt::LeftButton);
    auto *credits = program.window<CreditsWindow>(WindowName::credits);
    QVERIFY(credits);
    QVERIFY(credits->isVisible());
    QVERIFY(credits->isWindow());
    QTest::mouseClick(picture, Qt::LeftButton);
    QCOMPARE(program.window<CreditsWindow>(WindowName::credits), credits);
    QCOMPARE(creditsWindows(), 1);

    // The credits stay when the About window goes, and the main window accepts input again.
    QTest::mouseClick(child<QPushButton>(about, "cmdOK"), Qt::LeftButton);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!program.window(WindowName::about));
    QCOMPARE(program.window<CreditsWindow>(WindowName::credits), credits);
    QVERIFY(credits->isVisible());
    QVERIFY(opened.main->isEnabled());
}

QTEST_MAIN(TestAboutWindow)
#include "tst_aboutwindow.moc"
