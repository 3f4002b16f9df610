#include "launcher/mainwindow.h"

#include "launcher/appcontext.h"
#include "launcher/detected.h"
#include "launcher/enterkey.h"
#include "launcher/gamestart.h"
#include "launcher/mapfiles.h"
#include "launcher/maplistview.h"
#include "launcher/modcompleter.h"
#include "launcher/named.h"
#include "launcher/systemcolors.h"
#include "launcher/windowmanager.h"
#include "launcher/windownames.h"
#include "maps/mappreviewframe.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QStringListModel>
#include <QVBoxLayout>

MainWindow::MainWindow(AppContext &context, QWidget *parent)
    : QMainWindow(parent)
    , m_context(context)
{
    setWindowTitle(QStringLiteral("Corvane - Deathmatch Game"));
    buildControls();
    buildMenus();
}

void MainWindow::buildControls()
{
    auto *central = new QWidget(this);
    auto *grid = new QGridLayout(central);

    // Game type
    auto *frm2 = named(new QGroupBox(QStringLiteral("Type de jeu"), central), "frm2");
    m_optDM = named(new QRadioButton(QStringLiteral("Deathmatch"), frm2), "optDM");
    m_optSP = named(new QRadioButton(QStringLiteral("Joueur seul"), frm2), "optSP");
    m_optTFC = named(new QRadioButton(QStringLiteral("Team Fortress Classic"), frm2), "optTFC");
    m_optCustom = named(new QRadioButton(QStringLiteral("Mod / TC :"), frm2), "optCustom");
    m_txtCustom = named(new QLineEdit(frm2), "txtCustom");
    m_txtCustom->setEnabled(false);
    setBackground(m_txtCustom, SystemColor::menu());
    m_cmbDifficult = named(new QComboBox(frm2), "cmbDifficult");
    m_cmbDifficult->setEditable(true);
    m_cmbDifficult->addItems(
        {QStringLiteral("Facile"), QStringLiteral("Moyen"), QStringLiteral("Dur")});
    m_cmbDifficult->setCurrentIndex(-1);
    m_cmbDifficult->setEditText(QString());
    m_cmbDifficult->setEnabled(false);
    m_optDM->setChecked(true);
    {
        auto *layout = new QGridLayout(frm2);
        layout->addWidget(m_optDM, 0, 0);
        layout->addWidget(m_optSP, 1, 0);
        layout->addWidget(m_cmbDifficult, 1, 1);
        layout->addWidget(m_optTFC, 2, 0, 1, 2);
        layout->addWidget(m_optCustom, 3, 0);
        layout->addWidget(m_txtCustom, 3, 1);
        layout->setColumnStretch(1, 1);
    }

    // General options
    auto *frm1 = named(new QGroupBox(QStringLiteral("General"), central), "frm1");
    m_numeric = named(new QCheckBox(QStringLiteral("Ping numérique"), frm1), "numeric");
    m_chkAdd = named(new QCheckBox(QStringLiteral("Paramètres additionnels"), frm1), "chkAdd");
    m_parameters = named(new QLineEdit(frm1), "parameters");
    m_parameters->setToolTip(QStringLiteral("Type here your(s) additional(s) parameter(s)"));
    m_parameters->setVisible(false);
    m_cheats = named(new QCheckBox(QStringLiteral("Activer codes triche"), frm1), "cheats");
    m_console = named(new QCheckBox(QStringLiteral("Activer console"), frm1), "console");
    m_dev = named(new QCheckBox(QStringLiteral("Mode développeurs"), frm1), "dev");
    m_selmap = named(new QLabel(QStringLiteral("Carte sélectionnée : "), frm1), "Selmap");
    m_txtSelMap = named(new QLineEdit(frm1), "txtSelMap");
    m_selmap->setBuddy(m_txtSelMap);
    {
        auto *layout = new QGridLayout(frm1);
        layout->addWidget(m_cheats, 0, 0);
        layout->addWidget(m_numeric, 0, 1);
        layout->addWidget(m_console, 1, 0);
        layout->addWidget(m_dev, 1, 1);
        layout->addWidget(m_chkAdd, 2, 0);
        layout->addWidget(m_parameters, 2, 1);
        layout->addWidget(m_selmap, 3, 0);
        layout->addWidget(m_txtSelMap, 3, 1);
        layout->setColumnStretch(1, 1);
    }

    // Preview of the option switches
    auto *frmCommand = named(new QGroupBox(QStringLiteral("Ligne de commande"), central),
                             "frmCommand");
    m_txtCommand = named(new QLineEdit(frmCommand), "txtCommand");
    (new QVBoxLayout(frmCommand))->addWidget(m_txtCommand);

    // Maps
    auto *frm3 = named(new QGroupBox(QStringLiteral("Cartes disponibles"), central), "frm3");
    m_dirFichiers = named(new MapListView(frm3), "dirFichiers");
    m_maps = new QStringListModel(m_dirFichiers);
    m_dirFichiers->setModel(m_maps);
    m_dirFichiers->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_dirFichiers->setUniformItemSizes(true);
    m_dirFichiers->setMinimumWidth(180);
    m_mapPreview = new MapPreviewFrame(frm3);
    m_confirmMap = named(new QPushButton(QStringLiteral("&Sélectionner"), frm3), "confirmMap");
    {
        auto *layout = new QVBoxLayout(frm3);
        layout->addWidget(m_dirFichiers, 1);
        layout->addWidget(m_mapPreview);
        layout->addWidget(m_confirmMap);
    }

    m_launch = named(new QPushButton(QStringLiteral("&Lancer"), central), "launch");
    m_launch->setToolTip(QStringLiteral("Let's punch it!"));
    m_launchCustom = named(new QPushButton(QStringLiteral("Lancer Mod / TC"), central),
                           "launchCustom");
    m_launchCustom->setEnabled(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_launchCustom);
    buttons->addWidget(m_launch);

    grid->addWidget(frm2, 0, 0);
    grid->addWidget(frm1, 1, 0);
    grid->addWidget(frmCommand, 2, 0);
    // The map column is the taller with its preview: the left frames keep their height.
    grid->setRowStretch(3, 1);
    grid->addWidget(frm3, 0, 1, 4, 1);
    grid->addLayout(buttons, 4, 0, 1, 2);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);
    setCentralWidget(central);

    const auto onSelected = [this](GameType type) {
        return [this, type](bool checked) {
            if (checked)
                applyGameType(type);
        };
    };
    connect(m_optSP, &QRadioButton::toggled, this, onSelected(GameType::SinglePlayer));
    connect(m_optDM, &QRadioButton::toggled, this, onSelected(GameType::Deathmatch));
    connect(m_optTFC, &QRadioButton::toggled, this, onSelected(GameType::TeamFortress));
    connect(m_optCustom, &QRadioButton::toggled, this, onSelected(GameType::Custom));
    connect(m_confirmMap, &QPushButton::clicked, this, &MainWindow::confirmMap_Click);
    connect(m_dirFichiers, &QListView::doubleClicked, this, &MainWindow::confirmMap_Click);
    pressOnEnterInList(m_dirFichiers, m_confirmMap);
    connect(m_dirFichiers->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &MainWindow::showCurrentMap);
    for (QCheckBox *box : {m_cheats, m_console, m_dev, m_numeric})
        connect(box, &QCheckBox::toggled, this, &MainWindow::updatePreview);
    connect(m_chkAdd, &QCheckBox::toggled, this, &MainWindow::chkAdd_Click);
    connect(m_parameters, &QLineEdit::textChanged, this, &MainWindow::parameters_Change);
    connect(m_launch, &QPushButton::clicked, this, &MainWindow::launch_Click);
    connect(m_launchCustom, &QPushButton::clicked, this, &MainWindow::launchCustom_Click);
}

void MainWindow::buildMenus()
{
    const auto addEntry = [this](QMenu *menu, const char *name, const QString &caption,
                                 const QKeySequence &shortcut, auto handler) {
        QAction *action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(shortcut);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };

    QMenu *fichier = menuBar()->addMenu(QStringLiteral("&Fichier"));
    fichier->setObjectName(QStringLiteral("mnuFichier"));
    addEntry(fichier, "mnuConfigitmDMM", QStringLiteral("&Deathmatch Maker ..."),
             QKeySequence(QStringLiteral("Ctrl+D")), [this] { openInstead(WindowName::server); });
    addEntry(fichier, "mnuFileitmAHLOL", QStringLiteral("&Advanced HL Option Launcher"),
             QKeySequence(QStringLiteral("Ctrl+A")), [this] { openInstead(WindowName::advanced); });
    addEntry(fichier, "mnuFileMapcleItm", QStringLiteral("&Map Cycle Editor ..."), {},
             &MainWindow::mnuFileMapcleItm_Click);
    addEntry(fichier, "mnuFileitmConnect", QStringLiteral("&Se connecter à un serveur ..."), {},
             [this] { openInstead(WindowName::connect); });
    addEntry(fichier, "mnuFichieritmQuitter", QStringLiteral("&Quitter"),
             QKeySequence(QStringLiteral("Ctrl+Q")), [this] { m_context.windows.quit(); });

    QMenu *edit = menuBar()->addMenu(QStringLiteral("&Edition"));
    edit->setObjectName(QStringLiteral("mnuEdit"));
    addEntry(edit, "mnuEdititmConfig", QStringLiteral("&Configuration"),
             QKeySequence(QStringLiteral("Ctrl+C")), [this] { openInstead(WindowName::config); });
    addEntry(edit, "mnuEdititmReset", QStringLiteral("&Tout annuler"),
             QKeySequence(QStringLiteral("Ctrl+R")), &MainWindow::mnuEdititmReset_Click);
    m_closeAfterLaunch = addEntry(edit, "mnuEdititm",
                                  QStringLiteral("Fermer le CRVN après lancement"), {}, [] {});
    m_closeAfterLaunch->setCheckable(true);

    QMenu *help = menuBar()->addMenu(QStringLiteral("&?"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    addEntry(help, "mnuHelpitmAbout", QStringLiteral("&A propos ..."), QKeySequence(Qt::Key_F1),
             &MainWindow::mnuHelpitmAbout_Click);
}

bool MainWindow::formLoad()
{
    bool visible = true;
    const QString tfc = m_context.settings.read(Keys::tfc);
    if (tfc == kMissing) {
        m_context.platform.messages.show(
            this,
            Message{QStringLiteral("Vous n'avez pas complètement ou correctement configuré "
                                   "le Corvane"),
                    QStringLiteral("Erreur de configuration")});
        // The configuration window stands in for this window, which waits hidden until one of
        // its buttons shows it.
        if (m_context.windows.isRegistered(WindowName::config)
            && m_context.windows.show(WindowName::config))
            visible = false;
    }
    m_optTFC->setEnabled(tfc != u"false");
    setMapDirectory(m_context.settings.read(Keys::maps));
    offerInstalledMods(m_txtCustom, installedGameFolder(m_context));
    m_txtSelMap->setToolTip(QStringLiteral("Aucune carte sélectionnée"));
    m_listFresh = visible;
    return visible;
}

void MainWindow::setMapDirectory(const QString &directory)
{
    m_installed = installedMaps(directory);
    m_mapKind = gameType() == GameType::TeamFortress ? MapPreview::SpawnKind::TeamSpawn
                                                     : MapPreview::SpawnKind::Deathmatch;
    m_maps->setStringList(m_installed.names);
    // An empty list says when the folder itself is missing: the setting is at fault, not the maps.
    const bool missing = directory.isEmpty() || !QFileInfo(directory).isDir();
    m_dirFichiers->setPlaceholderText(missing ? QStringLiteral("Dossier des cartes introuvable : ")
                                              + QDir::toNativeSeparators(directory)
                                              : QString());
    m_dirFichiers->setToolTip(missing ? QStringLiteral("Indiquez le dossier des cartes dans "
                                                       "Edition > Configuration.")
                                      : QString());
    // A new list has no current item, and its model's reset says nothing about it.
    showCurrentMap();
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (event->spontaneous())
        return;
    // Any show but the one right after loading: the window was kept hidden behind the
    // configuration window, which may have just saved other settings than those it loaded.
    if (!m_listFresh)
        followSettings();
    m_listFresh = false;
}

void MainWindow::followSettings()
{
    const QString tfc = m_context.settings.read(Keys::tfc);
    m_optTFC->setEnabled(tfc != u"false");
    switch (gameType()) {
    case GameType::SinglePlayer:
    case GameType::Deathmatch: setMapDirectory(m_context.settings.read(Keys::maps)); break;
    case GameType::TeamFortress: setMapDirectory(m_context.settings.read(Keys::tfcMaps)); break;
    case GameType::Custom: break;
    }
}

GameType MainWindow::gameType() const
{
    if (m_optSP->isChecked())
        return GameType::SinglePlayer;
    if (m_optTFC->isChecked())
        return GameType::TeamFortress;
    if (m_optCustom->isChecked())
        return GameType::Custom;
    return GameType::Deathmatch;
}

void MainWindow::applyGameType(GameType type)
{
    const bool custom = type == GameType::Custom;
    switch (type) {
    case GameType::SinglePlayer:
        setWindowTitle(QStringLiteral("Corvane - Joueur seul"));
        setMapDirectory(m_context.settings.read(Keys::maps));
        m_txtSelMap->setToolTip(
            QStringLiteral("No map currently selected (you are currently in SP mode)"));
        break;
    case GameType::Deathmatch:
        setWindowTitle(QStringLiteral("Corvane - Deathmatch "));
        setMapDirectory(m_context.settings.read(Keys::maps));
        m_txtSelMap->setToolTip(
            QStringLiteral("No map currently selected (you are currently in DM mode)"));
        break;
    case GameType::TeamFortress:
        setWindowTitle(QStringLiteral("Corvane - Team Fortress Classic "));
        setMapDirectory(m_context.settings.read(Keys::tfcMaps));
        m_txtSelMap->setToolTip(
            QStringLiteral("No map currently selected (you are currently in TFC mode)"));
        break;
    case GameType::Custom: setWindowTitle(QStringLiteral("Corvane - Mode personnalisé")); break;
    }
    m_cmbDifficult->setEnabled(type == GameType::SinglePlayer);
    m_launchCustom->setEnabled(custom);
    m_launch->setEnabled(!custom);
    for (QWidget *control :
         std::initializer_list<QWidget *>{m_dirFichiers, m_confirmMap, m_selmap, m_txtCommand,
                                          m_cheats, m_console, m_dev, m_numeric, m_chkAdd})
        control->setEnabled(!custom);
    const QColor face = custom ? SystemColor::buttonFace() : SystemColor::window();
    for (QWidget *box : std::initializer_list<QWidget *>{m_parameters, m_txtSelMap, m_txtCommand})
        setBackground(box, face);
    if (custom) {
        m_txtCustom->setEnabled(true);
        setBackground(m_txtCustom, SystemColor::window());
    }
}

void MainWindow::confirmMap_Click()
{
    const QModelIndex current = m_dirFichiers->currentIndex();
    const bool selected = current.isValid() && m_dirFichiers->selectionModel()->isSelected(current);
    const QString file = selected ? current.data().toString() : QString();
    m_txtSelMap->setText(file);
    m_txtSelMap->setToolTip(QStringLiteral("Vous avez sélectionné la carte ") + file);
}

void MainWindow::showCurrentMap()
{
    const QModelIndex current = m_dirFichiers->currentIndex();
    m_mapPreview->showMap(current.isValid() ? m_installed.filePath(current.row()) : QString(),
                          m_mapKind);
}

void MainWindow::updatePreview()
{
    m_txtCommand->setText(optionPreview(m_cheats->isChecked(), m_console->isChecked(),
                                        m_dev->isChecked(), m_numeric->isChecked(),
                                        m_parameters->text(), m_chkAdd->isChecked()));
}

void MainWindow::chkAdd_Click()
{
    m_parameters->setVisible(m_chkAdd->isChecked());
    updatePreview();
}

void MainWindow::parameters_Change()
{
    // Hidden parameters are not launched, so they do not show either.
    if (m_chkAdd->isChecked())
        updatePreview();
}

void MainWindow::launch_Click()
{
    if (m_txtSelMap->text().isEmpty()) {
        m_context.platform.messages.show(this,
                                         Message{QStringLiteral("Veuillez choisir une carte"),
                                                 QStringLiteral("Pas de carte sélectionnée !"),
                                                 MessageIcon::Warning});
        return;
    }
    const QString mapName = mapNameFromFile(m_txtSelMap->text());
    if (isUnsafeMapName(mapName)) {
        m_context.platform.messages.show(
            this, Message{unsafeMapMessage(mapName), unsafeMapTitle(), MessageIcon::Warning});
        return;
    }
    LaunchChoices choices;
    choices.gameType = gameType();
    choices.selectedMap = m_txtSelMap->text();
    choices.parameters = m_parameters->text();
    choices.addParameters = m_chkAdd->isChecked();
    choices.difficulty = m_cmbDifficult->currentText();
    choices.cheats = m_cheats->isChecked();
    choices.console = m_console->isChecked();
    choices.dev = m_dev->isChecked();
    const QString program = m_context.settings.read(Keys::program, u"");
    const bool started = startGame(m_context, this, composeLaunch(program, choices),
                                   WindowStyle::Maximized);
    if (started && m_closeAfterLaunch->isChecked())
        m_context.windows.unload(WindowName::main);
}

void MainWindow::launchCustom_Click()
{
    const QString program = m_context.settings.read(Keys::program, u"error!");
    const QString commandLine = composeCustomLaunch(program, m_txtCustom->text());
    if (m_txtCustom->text().isEmpty()) {
        m_context.platform.messages.show(
            this,
            Message{QStringLiteral("Vous devez spécifier dans quel répertoire se trouve le "
                                   "mod ou la TC."),
                    QStringLiteral("OOoops"), MessageIcon::Information});
        return;
    }
    const bool started = startGame(m_context, this, commandLine, WindowStyle::Maximized);
    if (started && m_closeAfterLaunch->isChecked())
        m_context.windows.unload(WindowName::main);
}

void MainWindow::openInstead(QStringView window)
{
    m_context.windows.replace(WindowName::main, window);
}

void MainWindow::mnuFileMapcleItm_Click()
{
    m_context.platform.messages.show(
        this,
        Message{QStringLiteral("Le Map Cycle Editor n'est pas encore implémenté."),
                QStringLiteral("Ooops"), MessageIcon::Information});
}

void MainWindow::mnuEdititmReset_Click()
{
    const MessageAnswer answer = m_context.platform.messages.show(
        this,
        Message{QStringLiteral("Etes-vous sûr ?"), QStringLiteral("Annuler tous les paramètres"),
                MessageIcon::None, MessageButtons::OkCancel});
    if (answer != MessageAnswer::Ok)
        return;
    m_parameters->clear();
    for (QCheckBox *box : {m_console, m_cheats, m_dev, m_numeric, m_chkAdd})
        box->setChecked(false);
    m_txtSelMap->clear();
    m_txtCommand->clear();
    m_optDM->setChecked(true);
    m_optSP->setEnabled(false);
    m_cmbDifficult->setEnabled(false);
    m_txtSelMap->setToolTip(QStringLiteral("Aucune carte sélectionnée"));
}

void MainWindow::mnuHelpitmAbout_Click()
{
    if (m_context.windows.show(WindowName::about))
        setEnabled(false);
}
