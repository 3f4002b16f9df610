#pragma once

#include "advanced/advancedcommand.h"
#include "launcher/form.h"

#include <QMainWindow>

struct AppContext;
class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSlider;
class QTabWidget;

// "frmAdvanced": five tabs whose generators each turn their controls into a partial command
// line held in a label; the last tab joins the labels behind the game's path and starts it.
// Nothing here is saved: unloading the window discards every choice.
class AdvancedWindow final : public QMainWindow, public Form
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AdvancedWindow)

public:
    explicit AdvancedWindow(AppContext &context, QWidget *parent = nullptr);

    // Form_Load: fills the lists, selects "Software", zeroes the lag labels and starts the
    // full command from the game's path.
    bool formLoad() override;

protected:
    // Enter that no control used presses the window's default button, cmdGenerate.
    void keyPressEvent(QKeyEvent *event) override;

private:
    QWidget *buildVideoTab();
    QWidget *buildAudioTab();
    QWidget *buildClientTab();
    QWidget *buildMiscTab();
    QWidget *buildLaunchTab();
    void buildMenus();
    void showPart(const Advanced::Part &part, QLabel *label);

    // Handlers
    void chkAdditional_Click();
    void cmdGenerate_Click();
    void cmdClientGenerate_Click();
    void cmdSndGen_Click();
    void cmdMiscGenerate_Click();
    void cmdFullGen_Click();
    void Command1_Click();
    void mnuFileitmCRVN_Click();

    AppContext &m_context;

    QTabWidget *m_SSTab1 = nullptr;

    // Video
    QListWidget *m_lstResol = nullptr;
    QCheckBox *m_chkPlShadows = nullptr;
    QCheckBox *m_chkDecals = nullptr;
    QCheckBox *m_chkMaxBrightness = nullptr;
    QCheckBox *m_chkRSpeeds = nullptr;
    QCheckBox *m_chkRefTex = nullptr;
    QCheckBox *m_chkConsole = nullptr;
    QCheckBox *m_chkDev = nullptr;
    QCheckBox *m_chkNoIntro = nullptr;
    QRadioButton *m_optSoftware = nullptr;
    QRadioButton *m_optD3D = nullptr;
    QRadioButton *m_optOpenGL = nullptr;
    QRadioButton *m_optFullScrn = nullptr;
    QRadioButton *m_optWinMode = nullptr;
    QCheckBox *m_chkAdditional = nullptr;
    QLineEdit *m_txtAdditional = nullptr;
    QPushButton *m_cmdGenerate = nullptr;
    QLabel *m_lblCommandLine = nullptr;

    // Audio
    QCheckBox *m_chkToggleSound = nullptr;
    QCheckBox *m_chkA3D = nullptr;
    QCheckBox *m_chkEAX = nullptr;
    QCheckBox *m_chkHiQualitySound = nullptr;
    QCheckBox *m_chkCDAudio = nullptr;
    QSlider *m_GameAudio = nullptr;
    QLabel *m_lblGameSound = nullptr;
    QSlider *m_HEVSuit = nullptr;
    QLabel *m_lblHEVSuit = nullptr;
    QRadioButton *m_optNoTrack = nullptr;
    QRadioButton *m_optLoop = nullptr;
    QRadioButton *m_optPlayOnce = nullptr;
    QListWidget *m_lstCDTrack = nullptr;
    QPushButton *m_cmdSndGen = nullptr;
    QLabel *m_lblSndCommandLine = nullptr;

    // Client
    QCheckBox *m_chkPreLoad = nullptr;
    QCheckBox *m_chkTCPIPOn = nullptr;
    QCheckBox *m_chkIPXOn = nullptr;
    QCheckBox *m_chkSpecMode = nullptr;
    QCheckBox *m_chkDelta = nullptr;
    QCheckBox *m_chkHIMod = nullptr;
    QCheckBox *m_chkUpload = nullptr;
    QCheckBox *m_chkAllowDownload = nullptr;
    QLineEdit *m_txtIP = nullptr;
    QListWidget *m_lstModel = nullptr;
    QLineEdit *m_txtName = nullptr;
    QLineEdit *m_txtMaxFRate = nullptr;
    QPushButton *m_cmdClientGenerate = nullptr;
    QLabel *m_lblClientCommandLine = nullptr;

    // Divers
    QCheckBox *m_chkDMOn = nullptr;
    QCheckBox *m_chkCoop = nullptr;
    QCheckBox *m_chkHBlood = nullptr;
    QCheckBox *m_chkHGibs = nullptr;
    QCheckBox *m_chkABlood = nullptr;
    QCheckBox *m_chkAGibs = nullptr;
    QComboBox *m_Skill = nullptr;
    QSlider *m_FakeLagSlider = nullptr;
    QLabel *m_lblFakeLag = nullptr;
    QSlider *m_FakePacketSlider = nullptr;
    QLabel *m_lblFakePacketLoss = nullptr;
    QPushButton *m_cmdMiscGenerate = nullptr;
    QLabel *m_lblMiscCommandLine = nullptr;

    // Lancer jeu
    QPushButton *m_cmdFullGen = nullptr;
    QLabel *m_lblFullCommandLine = nullptr;
    QPushButton *m_Command1 = nullptr;
};
