#include "advanced/registration.h"
#include "launcher/windownames.h"
#include "platform/systemprocessstarter.h"
#include "standin.h"
#include "testprogram.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QWheelEvent>

namespace {

const QString kProgram = QStringLiteral("C:\\Jeux\\Half-Life\\hl.exe");
const QByteArray kIni = QByteArrayLiteral("[GAMEDIR]\r\nprogram=C:\\Jeux\\Half-Life\\hl.exe\r\n"
                                          "[MISC]\r\ntfc=true\r\n");
const QString kFiveVideoFlags = QStringLiteral(
    " +r_shadows 0 +r_decals 0 +r_fullbright 0 +r_speeds 0 +r_mirroralpha 0");

QWidget *openAdvanced(TestProgram &program)
{
    registerAdvancedWindows(program.context());
    return program.show(WindowName::advanced);
}

QString labelText(QWidget *window, const char *name)
{
    const auto *label = child<QLabel>(window, name);
    return label ? label->text() : QStringLiteral("<missing>");
}

// Clicks a check box or option button on its indicator, where a player aims.
void clickButton(QWidget *window, const char *name)
{
    auto *button = child<QAbstractButton>(window, name);
    QVERIFY(button);
    const bool wasChecked = button->isChecked();
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
    QVERIFY2(button->isChecked() != wasChecked || qobject_cast<QRadioButton *>(button),
             name);
}

void pushButton(QWidget *window, const char *name)
{
    auto *button = child<QPushButton>(window, name);
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton);
}

void selectEntry(QWidget *window, const char *list, const QString &text)
{
    auto *box = child<QListWidget>(window, list);
    QVERIFY(box);
    const QList<QListWidgetItem *> found = box->findItems(text, Qt::MatchExactly);
    QCOMPARE(found.size(), 1);
    box->scrollToItem(found.first());
    QTest::mouseClick(box->viewport(), Qt::LeftButton, {},
                      box->visualItemRect(found.first()).center());
    QVERIFY(found.first()->isSelected());
}

void openTab(QWidget *window, const QString &caption)
{
    auto *tabs = child<QTabWidget>(window, "SSTab1");
    QVERIFY(tabs);
    QTabBar *bar = tabs->tabBar();
    for (int i = 0; i < bar->count(); ++i) {
        if (bar->tabText(i) == caption) {
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(i).center());
            QCOMPARE(tabs->currentIndex(), i);
            return;
        }
    }
    QFAIL("no such tab");
}

QStringList shownTexts(const TestProgram &program)
{
    QStringList texts;
    for (const Message &message : program.messages.shown)
        texts.append(message.text);
    return texts;
}

} // namespace

class TestAdvancedWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void loadState()
    {
        TestProgram program(kIni);
        auto *w = qobject_cast<QMainWindow *>(openAdvanced(program));
        QVERIFY(w);
        QCOMPARE(w->objectName(), QStringLiteral("frmAdvanced"));
        QCOMPARE(w->windowTitle(), QStringLiteral("Advanced HL Option Launcher"));
        auto *tabs = child<QTabWidget>(w, "SSTab1");
        QVERIFY(tabs);
        QStringList captions;
        for (int i = 0; i < tabs->count(); ++i)
            captions.append(tabs->tabText(i));
        QCOMPARE(captions, (QStringList{QStringLiteral("Video"), QStringLiteral("Audio"),
                                        QStringLiteral("Client"), QStringLiteral("Divers"),
                                        QStringLiteral("Lancer jeu")}));
        QCOMPARE(tabs->currentIndex(), 0);

        const auto *resol = child<QListWidget>(w, "lstResol");
        QCOMPARE(resol->count(), 6);
        QCOMPARE(resol->item(5)->text(), QStringLiteral("1024x768"));
        const auto *tracks = child<QListWidget>(w, "lstCDTrack");
        QCOMPARE(tracks->count(), 18);
        QCOMPARE(tracks->item(17)->text(), QStringLiteral("18"));
        const auto *models = child<QListWidget>(w, "lstModel");
        QCOMPARE(models->count(), 8);
        QCOMPARE(models->item(4)->text(), QStringLiteral("Gordon"));
        for (const auto *list : {resol, tracks, models})
            QVERIFY(list->selectedItems().isEmpty());
        const auto *skill = child<QComboBox>(w, "Skill");
        QCOMPARE(skill->count(), 3);
        QCOMPARE(skill->currentText(), QString());

        QVERIFY(child<QRadioButton>(w, "optSoftware")->isChecked());
        for (const char *name : {"optD3D", "optOpenGL", "optFullScrn", "optWinMode",
                                 "optNoTrack", "optLoop", "optPlayOnce"})
            QVERIFY2(!child<QRadioButton>(w, name)->isChecked(), name);
        for (QCheckBox *box : w->findChildren<QCheckBox *>())
            QVERIFY2(!box->isChecked(), qPrintable(box->objectName()));
        QVERIFY(child<QLineEdit>(w, "txtAdditional")->isHidden());

        QCOMPARE(labelText(w, "lblFakeLag"), QStringLiteral("0"));
        QCOMPARE(labelText(w, "lblFakePacketLoss"), QStringLiteral("0"));
        for (const char *name : {"lblGameSound", "lblHEVSuit", "lblCommandLine",
                                 "lblSndCommandLine", "lblClientCommandLine",
                                 "lblMiscCommandLine"})
            QVERIFY2(labelText(w, name).isEmpty(), name);
        QCOMPARE(labelText(w, "lblFullCommandLine"), kProgram);

        const auto *slider = child<QSlider>(w, "GameAudio");
        QCOMPARE(slider->orientation(), Qt::Horizontal);
        QCOMPARE(slider->maximum(), 10);
        QCOMPARE(slider->pageStep(), 5);
        QVERIFY(program.messages.shown.isEmpty());
    }

    void missingProgramReadsError()
    {
        TestProgram program;
        QWidget *w = openAdvanced(program);
        QCOMPARE(labelText(w, "lblFullCommandLine"), QStringLiteral("error"));
    }

    void videoGenerator_data()
    {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<QString>("resolution");
        QTest::addColumn<QString>("expected");
        QTest::newRow("as loaded") << QStringList() << QString()
                                   << kFiveVideoFlags + QStringLiteral(" -soft");
        QTest::newRow("windowed OpenGL")
            << QStringList{QStringLiteral("optWinMode"), QStringLiteral("optOpenGL"),
                           QStringLiteral("chkConsole"), QStringLiteral("chkNoIntro"),
                           QStringLiteral("chkDev")}
            << QStringLiteral("1024x768")
            << kFiveVideoFlags
                   + QStringLiteral(" -console -gl -win -vid_config_y 1024 -vid_config_x 768 -nointro -dev");
        QTest::newRow("additional left empty")
            << QStringList{QStringLiteral("chkAdditional"), QStringLiteral("chkNoIntro"),
                           QStringLiteral("chkPlShadows"), QStringLiteral("optFullScrn")}
            << QString()
            << QStringLiteral(" +r_shadows 1 +r_decals 0 +r_fullbright 0 +r_speeds 0"
                              " +r_mirroralpha 0 -soft -full  -nointro");
    }
    void videoGenerator()
    {
        QFETCH(QStringList, clicks);
        QFETCH(QString, resolution);
        QFETCH(QString, expected);
        TestProgram program(kIni);
        QWidget *w = openAdvanced(program);
        for (const QString &name : clicks)
            clickButton(w, qPrintable(name));
        if (!resolution.isEmpty())
            selectEntry(w, "lstResol", resolution);
        // The label is still empty while the complaint is open: the generator shows it first.
        QStringList seenWhileOpen;
        program.messages.whileOpen = [&](const Message &) {
            seenWhileOpen.append(labelText(w, "lblCommandLine"));
        };
        pushButton(w, "cmdGenerate");
        QCOMPARE(labelText(w, "lblCommandLine"), expected);
        if (resolution.isEmpty()) {
            QCOMPARE(program.messages.shown.size(), 1);
            const Message &message = program.messages.shown.first();
            QCOMPARE(message.text, QStringLiteral("Choose a resolution!"));
            QCOMPARE(message.title, QStringLiteral("Error!"));
            QCOMPARE(message.icon, MessageIcon::Critical);
            QCOMPARE(seenWhileOpen, QStringList{QString()});
        } else {
            QVERIFY(program.messages.shown.isEmpty());
        }
    }

    void additionalTextShowsAndHides()
    {
        TestProgram program(kIni);
        QWidget *w = openAdvanced(program);
        auto *text = child<QLineEdit>(w, "txtAdditional");
        clickButton(w, "chkAdditional");
        QVERIFY(text->isVisible());
        QTest::keyClicks(text, QStringLiteral("-zone 2048"));
        clickButton(w, "chkAdditional");
        QVERIFY(text->isHidden());
        QCOMPARE(text->text(), QStringLiteral("-zone 2048")); // kept while hidden
        pushButton(w, "cmdGenerate");
        QCOMPARE(labelText(w, "lblCommandLine"), kFiveVideoFlags + QStringLiteral(" -soft"));
        clickButton(w, "chkAdditional");
        pushButton(w, "cmdGenerate");
        QCOMPARE(labelText(w, "lblCommandLine"), kFiveVideoFlags + QStringLiteral(" -soft -zone 2048"));
    }

    // Enter that no control uses for itself presses cmdGenerate, on every tab.
    void enterPressesDefaultButton_data()
    {
        QTest::addColumn<QString>("tab");
        QTest::addColumn<QString>("control");
        QTest::newRow("player name") << QStringLiteral("Client") << QStringLiteral("txtName");
        QTest::newRow("server address") << QStringLiteral("Client") << QStringLiteral("txtIP");
        QTest::newRow("model list") << QStringLiteral("Client") << QStringLiteral("lstModel");
        QTest::newRow("check box") << QStringLiteral("Divers") << QStringLiteral("chkCoop");
        QTest::newRow("skill box") << QStringLiteral("Divers") << QStringLiteral("Skill");
        QTest::newRow("slider") << QStringLiteral("Audio") << QStringLiteral("HEVSuit");
        QTest::newRow("resolution list") << QStringLiteral("Video") << QStringLiteral("lstResol");
    }
    void enterPressesDefaultButton()
    {
        QFETCH(QString, tab);
        QFETCH(QString, control);
        TestProgram program(kIni);
        QWidget *w = openAdvanced(program);
        QVERIFY(child<QPushButton>(w, "cmdGenerate")->isDefault());
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        openTab(w, tab);
        auto *target = child<QWidget>(w, qPrintable(control));
        QVERIFY(target);
        target->setFocus();
        QVERIFY(QApplication::focusWidget());
        if (qobject_cast<QComboBox *>(target))
            QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("9"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(shownTexts(program), QStringList{QStringLiteral("Choose a resolution!")});
        QCOMPARE(labelText(w, "lblCommandLine"), kFiveVideoFlags + QStringLiteral(" -soft"));
        QCOMPARE(child<QComboBox>(w, "Skill")->count(), 3); // Enter added nothing to the list
        for (const char *name : {"lblSndCommandLine", "lblClientCommandLine",
                                 "lblMiscCommandLine"})
            QVERIFY2(labelText(w, name).isEmpty(), name);
    }

    void sliderLabelsFollowTheSliders()
    {
        TestProgram program(kIni);
        QWidget *w = openAdvanced(program);
        openTab(w, QStringLiteral("Audio"));
        auto *game = child<QSlider>(w, "GameAudio");
        auto *suit = child<QSlider>(w, "HEVSuit");
        QTest::keyClick(game, Qt::Key_Right);
        QCOMPARE(labelText(w, "lblGameSound"), QStringLiteral("1"));
        QTest::keyClick(game, Qt::Key_PageUp);
        QCOMPARE(labelText(w, "lblGameSound"), QStringLiteral("6"));
        QTest::keyClick(game, Qt::Key_Right);
        QCOMPARE(labelText(w, "lblGameSound"), QStringLiteral("7"));
        QVERIFY(labelText(w, "lblHEVSuit").isEmpty()); // untouched slider: still unchosen
        QTest::keyClick(suit, Qt::Key_End);
        QTest::keyClick(suit, Qt::Key_Home);
        QCOMPARE(labelText(w, "lblHEVSuit"), QStringLiteral("0")); // back at the left end
        // One notch of the wheel moves it by three steps.
        const QPointF at(suit->width() / 2.0, suit->height() / 2.0);
        QWheelEvent wheel(at, suit->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(suit, &wheel);
        QCOMPARE(labelText(w, "lblHEVSuit"), QStringLiteral("3"));

        clickButton(w, "chkCDAudio");
        clickButton(w, "optLoop");
        selectEntry(w, "lstCDTrack", QStringLiteral("5"));
        pushButton(w, "cmdSndGen");
        QVERIFY(program.messages.shown.isEmpty());
        QCOMPARE(labelText(w, "lblSndCommandLine"),
                 QStringLiteral(" +hisound 0 +s_eax 0 +s_a3d 0 +nosound 0 +volume 0.7"
                                " +suitvolume 0.3 +cd loop 5"));

        openTab(w, QStringLiteral("Divers"));
        QTest::keyClicks(child<QComboBox>(w, "Skill"), QStringLiteral("2"));
        QTest::keyClick(child<QSlider>(w, "FakeLagSlider"), Qt::Key_PageUp);
        QTest::keyClick(child<QSlider>(w, "FakePacketSlider"), Qt::Key_Right);
        pushButton(w, "cmdMiscGenerate");
        QVERIFY(labelText(w, "lblMiscCommandLine")
                    .endsWith(u" -skill 2 +fakelag 5 +fakeloss 1"));
    }

    void audioComplaintsComeInOrder()
    {
        TestProgram program(kIni);
        QWidget *w = openAdvanced(program);
        pushButton(w, "cmdSndGen");
        QCOMPARE(shownTexts(program),
                 (QStringList{QStringLiteral("Choisissez le volume du son !"),
                              QStringLiteral("Choose HEV suit volume!")}));
        QCOMPARE(labelText(w, "lblSndCommandLine"),
                 QStringLiteral(" +bgmvolume 0 +hisound 0 +s_eax 0 +s_a3d 0 +nosound 0 +volume "
                                " +suitvolume "));
        pushButton(w, "cmdClientGenerate");
        QCOMPARE(program.messages.shown.last().text, QStringLiteral("Please choose a model!"));
        QCOMPARE(program.messages.shown.last().title, QStringLiteral("Error!"));
        QVERIFY(labelText(w, "lblClientCommandLine").startsWith(u" +cl_allowdownload 0"));
    }

    void fullCommandAccumulates()
    {
        TestProgram program(kIni);
        QWidget *w = openAdvanced(program);
        openTab(w, QStringLiteral("Lancer jeu"));
        pushButton(w, "cmdFullGen");
        QCOMPARE(labelText(w, "lblFullCommandLine"), kProgram); // no part generated yet

        selectEntry(w, "lstResol", QStringLiteral("640x480"));
        pushButton(w, "cmdGenerate");
        pushButton(w, "cmdSndGen");
        pushButton(w, "cmdMiscGenerate");
        selectEntry(w, "lstModel", QStringLiteral("Gordon"));
        QTest::keyClicks(child<QLineEdit>(w, "txtName"), QStringLiteral("Freeman"));
        pushButton(w, "cmdClientGenerate");
        const QString parts = labelText(w, "lblCommandLine") + labelText(w, "lblSndCommandLine")
                              + labelText(w, "lblMiscCommandLine")
                              + labelText(w, "lblClientCommandLine");
        QVERIFY(parts.contains(u"+name Freeman +fps_modem"));

        pushButton(w, "cmdFullGen");
        QCOMPARE(labelText(w, "lblFullCommandLine"), kProgram + parts);
        // A setting changed after its part was generated does not reach the full command.
        clickButton(w, "chkDMOn");
        pushButton(w, "cmdFullGen");
        QCOMPARE(labelText(w, "lblFullCommandLine"), kProgram + parts + parts);
        QVERIFY(!parts.contains(u"-deathmatch 1"));
    }

    void launchIsMinimizedAndKeepsTheWindow()
    {
        TestProgram program(kIni);
        QWidget *w = openAdvanced(program);
        selectEntry(w, "lstResol", QStringLiteral("800x600"));
        pushButton(w, "cmdGenerate");
        pushButton(w, "cmdFullGen");
        pushButton(w, "Command1");
        QCOMPARE(program.processes.calls.size(), 1);
        QCOMPARE(program.processes.calls.first().commandLine,
                 kProgram + kFiveVideoFlags + QStringLiteral(" -soft -vid_config_y 800 -vid_config_x 600"));
        QCOMPARE(program.processes.calls.first().style, WindowStyle::Minimized);
        QCOMPARE(program.window(WindowName::advanced), w);

        program.processes.fail = true;
        pushButton(w, "Command1");
        QCOMPARE(program.processes.calls.size(), 2);
        QCOMPARE(program.messages.shown.size(), 1);
        QCOMPARE(program.messages.shown.first().icon, MessageIcon::Critical);
        QCOMPARE(program.window(WindowName::advanced), w);
    }

    void corvaneMenuThenAFreshWindow()
    {
        TestProgram program(kIni);
        QWidget *w = openAdvanced(program);
        clickButton(w, "chkDMOn");
        clickButton(w, "optOpenGL");
        pushButton(w, "cmdMiscGenerate");
        pushButton(w, "cmdFullGen");
        QVERIFY(labelText(w, "lblFullCommandLine") != kProgram);

        auto *back = w->findChild<QAction *>(QStringLiteral("mnuFileitmCRVN"));
        QVERIFY(back);
        QCOMPARE(back->text(), QStringLiteral("&Corvane"));
        back->trigger();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QWidget *main = program.window(WindowName::main);
        QVERIFY(main && main->isVisible());
        QVERIFY(!program.window(WindowName::advanced));
        QCOMPARE(program.quitCount, 0); // releasing the window does not end the program

        auto *open = main->findChild<QAction *>(QStringLiteral("mnuFileitmAHLOL"));
        QVERIFY(open);
        open->trigger();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QWidget *fresh = program.window(WindowName::advanced);
        QVERIFY(fresh && fresh->isVisible());
        QVERIFY(!program.window(WindowName::main));
        QVERIFY(!child<QCheckBox>(fresh, "chkDMOn")->isChecked());
        QVERIFY(child<QRadioButton>(fresh, "optSoftware")->isChecked());
        QVERIFY(!child<QRadioButton>(fresh, "optOpenGL")->isChecked());
        QVERIFY(labelText(fresh, "lblMiscCommandLine").isEmpty());
        QCOMPARE(labelText(fresh, "lblFullCommandLine"), kProgram);
    }

    // The whole way to a started game, with the real process start and a stand-in game whose
    // path holds a blank.
    void startsTheStandIn()
    {
        QTemporaryDir dir;
        StandIn game(dir.filePath(QStringLiteral("Half Life/hl")));
        QFile ini(dir.filePath(QStringLiteral("crvn.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[GAMEDIR]\r\nprogram=" + game.program().toLocal8Bit() + "\r\n");
        ini.close();
        RecordingMessageBoxes messages;
        SystemProcessStarter starter;
        ScriptedFileDialogs files;
        FakeVolumes volumes;
        Program program(dir.path(), PlatformServices{messages, starter, files, volumes});
        registerAdvancedWindows(program.context());
        QWidget *w = program.windows().show(WindowName::advanced);
        QVERIFY(w);
        selectEntry(w, "lstResol", QStringLiteral("512x384"));
        pushButton(w, "cmdGenerate");
        child<QSlider>(w, "GameAudio")->setValue(7);
        child<QSlider>(w, "HEVSuit")->setValue(10);
        pushButton(w, "cmdSndGen");
        pushButton(w, "cmdMiscGenerate");
        openTab(w, QStringLiteral("Client"));
        selectEntry(w, "lstModel", QStringLiteral("Gordon"));
        clickButton(w, "chkTCPIPOn");
        QTest::keyClicks(child<QLineEdit>(w, "txtName"), QStringLiteral("Freeman"));
        pushButton(w, "cmdClientGenerate");
        pushButton(w, "cmdFullGen");
        pushButton(w, "Command1");
        QVERIFY2(messages.shown.isEmpty(),
                 qPrintable(messages.shown.isEmpty() ? QString() : messages.shown.first().text));
        QCOMPARE(game.arguments(),
                 QStringLiteral("+r_shadows 0 +r_decals 0 +r_fullbright 0 +r_speeds 0"
                                " +r_mirroralpha 0 -soft -vid_config_y 512 -vid_config_x 384"
                                " +bgmvolume 0 +hisound 0 +s_eax 0 +s_a3d 0 +nosound 0"
                                " +volume 0.7 +suitvolume 1.0"
                                " -deathmatch 0 -coop 0 +violence_hblood 0 +violence_hgibs 0"
                                " +violence_ablood 0 +violence_agibs 0 -skill +fakelag 0"
                                " +fakeloss 0 +model gordon +cl_allowdownload 0"
                                " +cl_allowupload 0 +cl_himodels 0 +c_deltas 1 +spectator 0"
                                " -noipx 1 -precache 0 +name Freeman +fps_modem -connect")
                     .split(QLatin1Char(' ')));
    }
};

QTEST_MAIN(TestAdvancedWindow)
#include "tst_advancedwindow.moc"
