#include "advanced/advancedwindow.h"

#include "launcher/appcontext.h"
#include "launcher/enterkey.h"
#include "launcher/gamestart.h"
#include "launcher/named.h"
#include "launcher/windowmanager.h"
#include "launcher/windownames.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSlider>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QGroupBox *frame(const QString &caption, const char *name, QWidget *parent)
{
    return named(new QGroupBox(caption, parent), name);
}

// A label that holds a part of a command line: shown as plain text whatever the player typed
// (a "<" must not turn it into markup), wrapped at blanks and selectable so it can be read
// and copied whole.
QLabel *commandLabel(const char *name, QWidget *parent)
{
    auto *label = named(new QLabel(parent), name);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setFrameShape(QFrame::StyledPanel);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setMinimumHeight(label->fontMetrics().lineSpacing() * 2);
    label->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    return label;
}

// Whole-number track bar from 0 to 10, small step 1, large step 5.
QSlider *trackBar(const char *name, QWidget *parent)
{
    auto *slider = named(new QSlider(Qt::Horizontal, parent), name);
    slider->setRange(0, 10);
    slider->setSingleStep(1);
    slider->setPageStep(5);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval(1);
    return slider;
}

// The label beside a slider: the chosen position, as plain digits.
QLabel *valueLabel(const char *name, QWidget *parent)
{
    auto *label = named(new QLabel(parent), name);
    label->setTextFormat(Qt::PlainText);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("10")) * 2);
    return label;
}

// The label beside a slider follows every change of position, whatever moved it.
void follow(QSlider *slider, QLabel *label)
{
    QObject::connect(slider, &QSlider::valueChanged, label,
                     [label](int position) { label->setText(QString::number(position)); });
}

QListWidget *listBox(const char *name, QWidget *parent)
{
    auto *list = named(new QListWidget(parent), name);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    return list;
}

// The text of a list box: its selected entry, or nothing when none is selected. The current
// entry alone does not count: focus makes the first entry current without selecting it.
QString listText(const QListWidget *list)
{
    const QList<QListWidgetItem *> selected = list->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}

QPushButton *generateButton(const char *name, QWidget *parent)
{
    auto *button = named(new QPushButton(QStringLiteral("&Générer"), parent), name);
    // A focused button takes Enter for itself, as the player expects of any button.
    button->setAutoDefault(true);
    return button;
}

QGroupBox *commandFrame(QPushButton *button, QLabel *label, const char *name, QWidget *parent)
{
    auto *box = frame(QStringLiteral("Ligne de commande"), name, parent);
    auto *layout = new QHBoxLayout(box);
    layout->addWidget(label, 1);
    layout->addWidget(button, 0, Qt::AlignTop);
    return box;
}

} // namespace

AdvancedWindow::AdvancedWindow(AppContext &context, QWidget *parent)
    : QMainWindow(parent)
    , m_context(context)
{
    setWindowTitle(QStringLiteral("Advanced HL Option Launcher"));
    m_SSTab1 = named(new QTabWidget(this), "SSTab1");
    m_SSTab1->addTab(buildVideoTab(), QStringLiteral("Video"));
    m_SSTab1->addTab(buildAudioTab(), QStringLiteral("Audio"));
    m_SSTab1->addTab(buildClientTab(), QStringLiteral("Client"));
    m_SSTab1->addTab(buildMiscTab(), QStringLiteral("Divers"));
    m_SSTab1->addTab(buildLaunchTab(), QStringLiteral("Lancer jeu"));
    m_SSTab1->setCurrentIndex(0);
    setCentralWidget(m_SSTab1);
    buildMenus();
}

QWidget *AdvancedWindow::buildVideoTab()
{
    auto *page = named(new QWidget(this), "tabVideo");

    auto *frmResolution = frame(QStringLiteral("Resolution"), "frmResolution", page);
    m_lstResol = listBox("lstResol", frmResolution);
    (new QVBoxLayout(frmResolution))->addWidget(m_lstResol);

    auto *frmOptions = frame(QStringLiteral("Options"), "frmVideoOptions", page);
    auto *label2 = named(new QLabel(QStringLiteral("Choisissez vos options :"), frmOptions),
                         "Label2");
    m_chkPlShadows = named(new QCheckBox(QStringLiteral("Player shadows"), frmOptions),
                           "chkPlShadows");
    m_chkDecals = named(new QCheckBox(QStringLiteral("Enable decals"), frmOptions), "chkDecals");
    m_chkMaxBrightness = named(new QCheckBox(QStringLiteral("Max. brightness"), frmOptions),
                               "chkMaxBrightness");
    m_chkRSpeeds = named(new QCheckBox(QStringLiteral("R_speeds on"), frmOptions), "chkRSpeeds");
    m_chkRefTex = named(new QCheckBox(QStringLiteral("Reflective textures"), frmOptions),
                        "chkRefTex");
    m_chkConsole = named(new QCheckBox(QStringLiteral("Enable console"), frmOptions), "chkConsole");
    m_chkDev = named(new QCheckBox(QStringLiteral("Developer mode"), frmOptions), "chkDev");
    m_chkNoIntro = named(new QCheckBox(QStringLiteral("No intro"), frmOptions), "chkNoIntro");
    {
        auto *layout = new QGridLayout(frmOptions);
        layout->addWidget(label2, 0, 0, 1, 2);
        const QList<QCheckBox *> boxes{m_chkPlShadows, m_chkDecals, m_chkMaxBrightness,
                                       m_chkRSpeeds,   m_chkRefTex, m_chkConsole,
                                       m_chkDev,       m_chkNoIntro};
        for (qsizetype i = 0; i < boxes.size(); ++i)
            layout->addWidget(boxes.at(i), 1 + int(i % 4), int(i / 4));
        layout->setRowStretch(5, 1);
    }

    // Each frame is its own group of option buttons.
    auto *frmMode = frame(QStringLiteral("Mode vidéo"), "frmVideoMode", page);
    auto *label1 = named(new QLabel(QStringLiteral("Choisissez un mode "), frmMode), "Label1");
    m_optSoftware = named(new QRadioButton(QStringLiteral("Software"), frmMode), "optSoftware");
    m_optD3D = named(new QRadioButton(QStringLiteral("Direct3D"), frmMode), "optD3D");
    m_optOpenGL = named(new QRadioButton(QStringLiteral("OpenGL"), frmMode), "optOpenGL");
    {
        auto *layout = new QVBoxLayout(frmMode);
        layout->addWidget(label1);
        layout->addWidget(m_optSoftware);
        layout->addWidget(m_optD3D);
        layout->addWidget(m_optOpenGL);
    }

    auto *frmWindow = frame(QStringLiteral("Paramètre de la fenêtre"), "frmWindowMode", page);
    m_optFullScrn = named(new QRadioButton(QStringLiteral("Plein écran"), frmWindow),
                          "optFullScrn");
    m_optWinMode = named(new QRadioButton(QStringLiteral("Fenêtré"), frmWindow), "optWinMode");
    {
        auto *layout = new QVBoxLayout(frmWindow);
        layout->addWidget(m_optFullScrn);
        layout->addWidget(m_optWinMode);
    }

    auto *frmAdditional = frame(QStringLiteral("Paramètres additonnels"), "frmAdditional", page);
    m_chkAdditional = named(new QCheckBox(QStringLiteral("Activer"), frmAdditional),
                            "chkAdditional");
    m_txtAdditional = named(new QLineEdit(frmAdditional), "txtAdditional");
    m_txtAdditional->setVisible(false);
    {
        auto *layout = new QVBoxLayout(frmAdditional);
        layout->addWidget(m_chkAdditional);
        layout->addWidget(m_txtAdditional);
    }

    m_cmdGenerate = generateButton("cmdGenerate", page);
    m_cmdGenerate->setDefault(true);
    m_lblCommandLine = commandLabel("lblCommandLine", page);
    auto *frmCommand = commandFrame(m_cmdGenerate, m_lblCommandLine, "frmVideoCommand", page);

    auto *grid = new QGridLayout(page);
    grid->addWidget(frmResolution, 0, 0);
    grid->addWidget(frmOptions, 0, 1);
    auto *right = new QVBoxLayout;
    right->addWidget(frmMode);
    right->addWidget(frmWindow);
    right->addWidget(frmAdditional);
    right->addStretch();
    grid->addLayout(right, 0, 2);
    grid->addWidget(frmCommand, 1, 0, 1, 3);
    grid->setRowStretch(0, 1);

    connect(m_chkAdditional, &QCheckBox::toggled, this, &AdvancedWindow::chkAdditional_Click);
    connect(m_cmdGenerate, &QPushButton::clicked, this, &AdvancedWindow::cmdGenerate_Click);
    return page;
}

QWidget *AdvancedWindow::buildAudioTab()
{
    auto *page = named(new QWidget(this), "tabAudio");

    auto *frmOptions = frame(QStringLiteral("Options"), "frmAudioOptions", page);
    auto *label3 = named(new QLabel(QStringLiteral("Select options:"), frmOptions), "Label3");
    m_chkToggleSound = named(new QCheckBox(QStringLiteral("Pas de sons"), frmOptions),
                             "chkToggleSound");
    m_chkA3D = named(new QCheckBox(QStringLiteral("Activer son A3D"), frmOptions), "chkA3D");
    m_chkEAX = named(new QCheckBox(QStringLiteral("Activer son EAX"), frmOptions), "chkEAX");
    m_chkHiQualitySound = named(new QCheckBox(QStringLiteral("Son haute-qualité"), frmOptions),
                                "chkHiQualitySound");
    m_chkCDAudio = named(new QCheckBox(QStringLiteral("CD Audio activé"), frmOptions),
                         "chkCDAudio");
    {
        auto *layout = new QVBoxLayout(frmOptions);
        layout->addWidget(label3);
        for (QCheckBox *box :
             {m_chkToggleSound, m_chkA3D, m_chkEAX, m_chkHiQualitySound, m_chkCDAudio})
            layout->addWidget(box);
        layout->addStretch();
    }

    auto *frmGame = frame(QStringLiteral("Volume du jeu"), "frmGameVolume", page);
    m_GameAudio = trackBar("GameAudio", frmGame);
    m_lblGameSound = valueLabel("lblGameSound", frmGame);
    {
        auto *layout = new QHBoxLayout(frmGame);
        layout->addWidget(m_GameAudio, 1);
        layout->addWidget(m_lblGameSound);
    }

    auto *frmSuit = frame(QStringLiteral("Volume de la combinaison HEV"), "frmSuitVolume", page);
    m_HEVSuit = trackBar("HEVSuit", frmSuit);
    m_lblHEVSuit = valueLabel("lblHEVSuit", frmSuit);
    {
        auto *layout = new QHBoxLayout(frmSuit);
        layout->addWidget(m_HEVSuit, 1);
        layout->addWidget(m_lblHEVSuit);
    }

    auto *frmTrack = frame(QStringLiteral("Jouer piste CD"), "frmCdTrack", page);
    m_optNoTrack = named(new QRadioButton(QStringLiteral("Pas jouer"), frmTrack), "optNoTrack");
    m_optLoop = named(new QRadioButton(QStringLiteral("Répéter"), frmTrack), "optLoop");
    m_optPlayOnce = named(new QRadioButton(QStringLiteral("Jouer 1x"), frmTrack), "optPlayOnce");
    m_lstCDTrack = listBox("lstCDTrack", frmTrack);
    {
        auto *layout = new QGridLayout(frmTrack);
        layout->addWidget(m_optNoTrack, 0, 0);
        layout->addWidget(m_optLoop, 1, 0);
        layout->addWidget(m_optPlayOnce, 2, 0);
        layout->setRowStretch(3, 1);
        layout->addWidget(m_lstCDTrack, 0, 1, 4, 1);
    }

    m_cmdSndGen = generateButton("cmdSndGen", page);
    m_lblSndCommandLine = commandLabel("lblSndCommandLine", page);
    auto *frmCommand = commandFrame(m_cmdSndGen, m_lblSndCommandLine, "frmAudioCommand", page);

    auto *grid = new QGridLayout(page);
    grid->addWidget(frmOptions, 0, 0, 3, 1);
    grid->addWidget(frmGame, 0, 1);
    grid->addWidget(frmSuit, 1, 1);
    grid->addWidget(frmTrack, 0, 2, 3, 1);
    grid->addWidget(frmCommand, 3, 0, 1, 3);
    grid->setRowStretch(2, 1);

    follow(m_GameAudio, m_lblGameSound);
    follow(m_HEVSuit, m_lblHEVSuit);
    connect(m_cmdSndGen, &QPushButton::clicked, this, &AdvancedWindow::cmdSndGen_Click);
    return page;
}

QWidget *AdvancedWindow::buildClientTab()
{
    auto *page = named(new QWidget(this), "tabClient");

    auto *frmOptions = frame(QStringLiteral("Options"), "frmClientOptions", page);
    m_chkPreLoad = named(new QCheckBox(QStringLiteral("Préchargement des fichiers"), frmOptions),
                         "chkPreLoad");
    m_chkTCPIPOn = named(new QCheckBox(QStringLiteral("Activer TCP/IP"), frmOptions), "chkTCPIPOn");
    m_chkIPXOn = named(new QCheckBox(QStringLiteral("Activer IPX"), frmOptions), "chkIPXOn");
    m_chkSpecMode = named(new QCheckBox(QStringLiteral("Mode spectateur"), frmOptions),
                          "chkSpecMode");
    m_chkDelta = named(new QCheckBox(QStringLiteral("Delta compression off"), frmOptions),
                       "chkDelta");
    m_chkHIMod = named(new QCheckBox(QStringLiteral("Models haute-qualité"), frmOptions),
                       "chkHIMod");
    m_chkUpload = named(new QCheckBox(QStringLiteral("Autoriser upload"), frmOptions), "chkUpload");
    m_chkAllowDownload = named(
        new QCheckBox(QStringLiteral("Autoriser télechargement"), frmOptions), "chkAllowDownload");
    {
        auto *layout = new QVBoxLayout(frmOptions);
        for (QCheckBox *box : {m_chkPreLoad, m_chkTCPIPOn, m_chkIPXOn, m_chkSpecMode, m_chkDelta,
                               m_chkHIMod, m_chkUpload, m_chkAllowDownload})
            layout->addWidget(box);
        layout->addStretch();
    }

    auto *frmIP = frame(QStringLiteral("Se connecter à l'IP :"), "frmConnectIP", page);
    m_txtIP = named(new QLineEdit(frmIP), "txtIP");
    (new QVBoxLayout(frmIP))->addWidget(m_txtIP);

    auto *frmModel = frame(QStringLiteral("Model du joueur"), "frmModel", page);
    m_lstModel = listBox("lstModel", frmModel);
    (new QVBoxLayout(frmModel))->addWidget(m_lstModel);

    auto *frmName = frame(QStringLiteral("Nom du joueur"), "frmName", page);
    auto *label8 = named(new QLabel(QStringLiteral("Tapez votre pseudo"), frmName), "Label8");
    label8->setToolTip(QStringLiteral("Pas trop fort !"));
    m_txtName = named(new QLineEdit(frmName), "txtName");
    label8->setBuddy(m_txtName);
    {
        auto *layout = new QVBoxLayout(frmName);
        layout->addWidget(label8);
        layout->addWidget(m_txtName);
    }

    auto *frmRate = frame(QStringLiteral("Framerate"), "frmFrameRate", page);
    auto *label9 = named(new QLabel(QStringLiteral("Maximum:"), frmRate), "Label9");
    m_txtMaxFRate = named(new QLineEdit(frmRate), "txtMaxFRate");
    label9->setBuddy(m_txtMaxFRate);
    {
        auto *layout = new QHBoxLayout(frmRate);
        layout->addWidget(label9);
        layout->addWidget(m_txtMaxFRate, 1);
    }

    m_cmdClientGenerate = generateButton("cmdClientGenerate", page);
    m_lblClientCommandLine = commandLabel("lblClientCommandLine", page);
    auto *frmCommand = commandFrame(m_cmdClientGenerate, m_lblClientCommandLine, "frmClientCommand",
                                    page);

    auto *grid = new QGridLayout(page);
    grid->addWidget(frmOptions, 0, 0, 3, 1);
    grid->addWidget(frmModel, 0, 1, 3, 1);
    grid->addWidget(frmIP, 0, 2);
    grid->addWidget(frmName, 1, 2);
    grid->addWidget(frmRate, 2, 2, Qt::AlignTop);
    grid->addWidget(frmCommand, 3, 0, 1, 3);
    grid->setRowStretch(2, 1);

    connect(m_cmdClientGenerate, &QPushButton::clicked, this,
            &AdvancedWindow::cmdClientGenerate_Click);
    return page;
}

QWidget *AdvancedWindow::buildMiscTab()
{
    auto *page = named(new QWidget(this), "tabDivers");

    auto *frmOptions = frame(QStringLiteral("Options"), "frmMiscOptions", page);
    m_chkDMOn = named(new QCheckBox(QStringLiteral("Activer Deathmatch"), frmOptions), "chkDMOn");
    m_chkCoop = named(new QCheckBox(QStringLiteral("Mode cooperatif"), frmOptions), "chkCoop");
    m_chkHBlood = named(new QCheckBox(QStringLiteral("Sang Humain"), frmOptions), "chkHBlood");
    m_chkHGibs = named(new QCheckBox(QStringLiteral("Morceaux Humains"), frmOptions), "chkHGibs");
    m_chkABlood = named(new QCheckBox(QStringLiteral("Sang Alien"), frmOptions), "chkABlood");
    m_chkAGibs = named(new QCheckBox(QStringLiteral("Morceaux Aliens"), frmOptions), "chkAGibs");
    {
        auto *layout = new QVBoxLayout(frmOptions);
        for (QCheckBox *box :
             {m_chkDMOn, m_chkCoop, m_chkHBlood, m_chkHGibs, m_chkABlood, m_chkAGibs})
            layout->addWidget(box);
        layout->addStretch();
    }

    auto *frmSkill = frame(QStringLiteral("Niveau de difficulté"), "frmSkill", page);
    auto *label5 = named(new QLabel(QStringLiteral("Choisissez le niveau"), frmSkill), "Label5");
    m_Skill = named(new QComboBox(frmSkill), "Skill");
    m_Skill->setEditable(true);
    // Enter in the box must not add what was typed to the list.
    m_Skill->setInsertPolicy(QComboBox::NoInsert);
    label5->setBuddy(m_Skill);
    {
        auto *layout = new QVBoxLayout(frmSkill);
        layout->addWidget(label5);
        layout->addWidget(m_Skill);
    }

    auto *frmLag = frame(QStringLiteral("Faux lag"), "frmFakeLag", page);
    auto *label4 = named(new QLabel(QStringLiteral("Choisissez la valeur du lag :"), frmLag),
                         "Label4");
    m_FakeLagSlider = trackBar("FakeLagSlider", frmLag);
    m_lblFakeLag = valueLabel("lblFakeLag", frmLag);
    {
        auto *layout = new QGridLayout(frmLag);
        layout->addWidget(label4, 0, 0, 1, 2);
        layout->addWidget(m_FakeLagSlider, 1, 0);
        layout->addWidget(m_lblFakeLag, 1, 1);
        layout->setColumnStretch(0, 1);
    }

    auto *frmLoss = frame(QStringLiteral("Faux paquets perdus"), "frmFakePacketLoss", page);
    auto *label6 = named(
        new QLabel(QStringLiteral("Choissiez la valeur de paquets perdus"), frmLoss), "Label6");
    m_FakePacketSlider = trackBar("FakePacketSlider", frmLoss);
    m_lblFakePacketLoss = valueLabel("lblFakePacketLoss", frmLoss);
    {
        auto *layout = new QGridLayout(frmLoss);
        layout->addWidget(label6, 0, 0, 1, 2);
        layout->addWidget(m_FakePacketSlider, 1, 0);
        layout->addWidget(m_lblFakePacketLoss, 1, 1);
        layout->setColumnStretch(0, 1);
    }

    m_cmdMiscGenerate = generateButton("cmdMiscGenerate", page);
    m_lblMiscCommandLine = commandLabel("lblMiscCommandLine", page);
    auto *frmCommand = commandFrame(m_cmdMiscGenerate, m_lblMiscCommandLine, "frmMiscCommand",
                                    page);

    auto *grid = new QGridLayout(page);
    grid->addWidget(frmOptions, 0, 0, 3, 1);
    grid->addWidget(frmSkill, 0, 1);
    grid->addWidget(frmLag, 1, 1);
    grid->addWidget(frmLoss, 2, 1, Qt::AlignTop);
    grid->addWidget(frmCommand, 3, 0, 1, 2);
    grid->setRowStretch(2, 1);

    follow(m_FakeLagSlider, m_lblFakeLag);
    follow(m_FakePacketSlider, m_lblFakePacketLoss);
    connect(m_cmdMiscGenerate, &QPushButton::clicked, this, &AdvancedWindow::cmdMiscGenerate_Click);
    return page;
}

QWidget *AdvancedWindow::buildLaunchTab()
{
    auto *page = named(new QWidget(this), "tabLancerJeu");

    auto *frmFull = frame(QStringLiteral("Ligne de commande complète"), "frmFullCommand", page);
    m_cmdFullGen = generateButton("cmdFullGen", frmFull);
    m_lblFullCommandLine = commandLabel("lblFullCommandLine", frmFull);
    m_lblFullCommandLine->setFrameShape(QFrame::NoFrame);
    // Each press makes the full command longer: it scrolls rather than stretching the window.
    auto *scroll = named(new QScrollArea(frmFull), "scrFullCommandLine");
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidget(m_lblFullCommandLine);
    {
        auto *layout = new QHBoxLayout(frmFull);
        layout->addWidget(scroll, 1);
        layout->addWidget(m_cmdFullGen, 0, Qt::AlignTop);
    }

    auto *frmLaunch = frame(QStringLiteral("Lancement"), "frmLaunch", page);
    m_Command1 = named(new QPushButton(QStringLiteral("&LANCER HALF-LIFE"), frmLaunch), "Command1");
    m_Command1->setAutoDefault(true);
    m_Command1->setMinimumHeight(m_Command1->sizeHint().height() * 2);
    (new QVBoxLayout(frmLaunch))->addWidget(m_Command1);

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(frmFull, 1);
    layout->addWidget(frmLaunch);

    connect(m_cmdFullGen, &QPushButton::clicked, this, &AdvancedWindow::cmdFullGen_Click);
    connect(m_Command1, &QPushButton::clicked, this, &AdvancedWindow::Command1_Click);
    return page;
}

void AdvancedWindow::buildMenus()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("&Fichier"));
    file->setObjectName(QStringLiteral("mnuFile"));
    QAction *crvn = file->addAction(QStringLiteral("&Corvane"));
    crvn->setObjectName(QStringLiteral("mnuFileitmCRVN"));
    connect(crvn, &QAction::triggered, this, &AdvancedWindow::mnuFileitmCRVN_Click);
}

bool AdvancedWindow::formLoad()
{
    m_lstResol->addItems(Advanced::resolutions());
    m_lstCDTrack->addItems(Advanced::cdTracks());
    m_Skill->addItems(Advanced::skillLevels());
    m_Skill->setCurrentIndex(-1);
    m_Skill->setEditText(QString());
    m_lstModel->addItems(Advanced::playerModels());
    m_optSoftware->setChecked(true);
    m_lblFakeLag->setText(QStringLiteral("0"));
    m_lblFakePacketLoss->setText(QStringLiteral("0"));
    m_lblFullCommandLine->setText(m_context.settings.read(Keys::program));
    return true;
}

void AdvancedWindow::keyPressEvent(QKeyEvent *event)
{
    if (!pressOnEnter(event, m_cmdGenerate))
        QMainWindow::keyPressEvent(event);
}

void AdvancedWindow::showPart(const Advanced::Part &part, QLabel *label)
{
    // Each complaint waits for the player, then the generator carries on.
    for (const QString &text : part.messages)
        m_context.platform.messages.show(
            this, Message{text, Advanced::errorTitle(), MessageIcon::Critical});
    label->setText(part.commandLine);
}

void AdvancedWindow::chkAdditional_Click()
{
    m_txtAdditional->setVisible(m_chkAdditional->isChecked());
}

void AdvancedWindow::cmdGenerate_Click()
{
    Advanced::VideoSettings video;
    video.playerShadows = m_chkPlShadows->isChecked();
    video.decals = m_chkDecals->isChecked();
    video.maxBrightness = m_chkMaxBrightness->isChecked();
    video.rSpeeds = m_chkRSpeeds->isChecked();
    video.reflectiveTextures = m_chkRefTex->isChecked();
    video.console = m_chkConsole->isChecked();
    video.software = m_optSoftware->isChecked();
    video.direct3D = m_optD3D->isChecked();
    video.openGL = m_optOpenGL->isChecked();
    video.windowed = m_optWinMode->isChecked();
    video.fullScreen = m_optFullScrn->isChecked();
    video.resolution = listText(m_lstResol);
    video.additional = m_chkAdditional->isChecked();
    video.additionalText = m_txtAdditional->text();
    video.noIntro = m_chkNoIntro->isChecked();
    video.developer = m_chkDev->isChecked();
    showPart(Advanced::videoPart(video), m_lblCommandLine);
}

void AdvancedWindow::cmdClientGenerate_Click()
{
    Advanced::ClientSettings client;
    client.model = listText(m_lstModel);
    client.allowDownload = m_chkAllowDownload->isChecked();
    client.allowUpload = m_chkUpload->isChecked();
    client.highQualityModels = m_chkHIMod->isChecked();
    client.deltaCompressionOff = m_chkDelta->isChecked();
    client.spectator = m_chkSpecMode->isChecked();
    client.ipx = m_chkIPXOn->isChecked();
    client.tcpIp = m_chkTCPIPOn->isChecked();
    client.preload = m_chkPreLoad->isChecked();
    client.name = m_txtName->text();
    client.maxFrameRate = m_txtMaxFRate->text();
    client.address = m_txtIP->text();
    showPart(Advanced::clientPart(client), m_lblClientCommandLine);
}

void AdvancedWindow::cmdSndGen_Click()
{
    Advanced::AudioSettings audio;
    audio.cdAudio = m_chkCDAudio->isChecked();
    audio.highQualitySound = m_chkHiQualitySound->isChecked();
    audio.eax = m_chkEAX->isChecked();
    audio.a3d = m_chkA3D->isChecked();
    audio.noSound = m_chkToggleSound->isChecked();
    // The volumes are what the labels show, not the slider positions: a slider never moved
    // counts as unchosen.
    audio.gameVolume = m_lblGameSound->text();
    audio.suitVolume = m_lblHEVSuit->text();
    if (m_optPlayOnce->isChecked())
        audio.cdMode = Advanced::CdTrackMode::PlayOnce;
    else if (m_optLoop->isChecked())
        audio.cdMode = Advanced::CdTrackMode::Loop;
    audio.track = listText(m_lstCDTrack);
    showPart(Advanced::audioPart(audio), m_lblSndCommandLine);
}

void AdvancedWindow::cmdMiscGenerate_Click()
{
    Advanced::MiscSettings misc;
    misc.deathmatch = m_chkDMOn->isChecked();
    misc.coop = m_chkCoop->isChecked();
    misc.humanBlood = m_chkHBlood->isChecked();
    misc.humanGibs = m_chkHGibs->isChecked();
    misc.alienBlood = m_chkABlood->isChecked();
    misc.alienGibs = m_chkAGibs->isChecked();
    misc.skill = m_Skill->currentText();
    misc.fakeLag = m_lblFakeLag->text();
    misc.fakeLoss = m_lblFakePacketLoss->text();
    showPart(Advanced::miscPart(misc), m_lblMiscCommandLine);
}

void AdvancedWindow::cmdFullGen_Click()
{
    m_lblFullCommandLine->setText(Advanced::extendFullCommand(
        m_lblFullCommandLine->text(), m_lblCommandLine->text(), m_lblSndCommandLine->text(),
        m_lblMiscCommandLine->text(), m_lblClientCommandLine->text()));
}

void AdvancedWindow::Command1_Click()
{
    startGame(m_context, this, m_lblFullCommandLine->text(), WindowStyle::Minimized);
}

void AdvancedWindow::mnuFileitmCRVN_Click()
{
    m_context.windows.replace(WindowName::advanced, WindowName::main);
}
