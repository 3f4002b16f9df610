#include "server/servermakerwindow.h"

#include "launcher/appcontext.h"
#include "launcher/enterkey.h"
#include "launcher/gamestart.h"
#include "launcher/launchcommand.h"
#include "launcher/mapfiles.h"
#include "launcher/named.h"
#include "launcher/systemcolors.h"
#include "launcher/windowmanager.h"
#include "launcher/windownames.h"
#include "maps/mappreviewframe.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

bool isChecked(const QCheckBox *box)
{
    return box->checkState() == Qt::Checked;
}

} // namespace

ServerMakerWindow::ServerMakerWindow(AppContext &context, QWidget *parent)
    : QMainWindow(parent)
    , m_context(context)
{
    setWindowTitle(QStringLiteral("Half-Life Deathmatch Maker"));
    buildControls();
    buildMenus();
}

void ServerMakerWindow::buildControls()
{
    auto *central = new QWidget(this);
    auto *grid = new QGridLayout(central);

    // First map
    m_frame1 = named(new QGroupBox(QStringLiteral("Sélection de la première carte"), central),
                     "Frame1");
    m_maps = named(new QListWidget(m_frame1), "maps");
    m_maps->setUniformItemSizes(true);
    m_maps->setMinimumWidth(180);
    auto *cmdMapSel = named(new QPushButton(QStringLiteral("Choisir "), m_frame1), "cmdMapSel");
    m_selMap = named(new QLineEdit(m_frame1), "SelMap");
    auto *label2 = named(
        new QLabel(QStringLiteral("Choisissez ici la première carte que vous voulez lancer. "
                                  "Ensuite enregistrez et tapez \"exec crvn.cfg\" dans la "
                                  "console."),
                   m_frame1),
        "Label2");
    label2->setWordWrap(true);
    m_mapPreview = new MapPreviewFrame(m_frame1);
    {
        auto *layout = new QVBoxLayout(m_frame1);
        layout->addWidget(m_maps, 1);
        layout->addWidget(m_mapPreview);
        auto *row = new QHBoxLayout;
        row->addWidget(cmdMapSel);
        row->addWidget(m_selMap, 1);
        layout->addLayout(row);
        layout->addWidget(label2);
    }

    // Other settings
    auto *param = named(new QGroupBox(QStringLiteral("Autres paramètres"), central), "param");
    m_password = named(new QCheckBox(QStringLiteral("Mot de passe"), param), "password");
    m_passwordValue = named(new QLineEdit(param), "passwordvalue");
    m_passwordValue->setEnabled(false);
    m_maxPingValue = named(new QLineEdit(QStringLiteral("500"), param), "maxpingvalue");
    m_maxPingValue->setToolTip(QStringLiteral("Not written to crvn.cfg: the game has no console "
                                              "variable for a maximum ping"));
    m_fragLimitValue = named(new QLineEdit(QStringLiteral("0"), param), "fraglimitvalue");
    m_fragLimitValue->setToolTip(
        QStringLiteral("Set the frag limit. Type \"0\" for no frag limit"));
    m_timeLimitValue = named(new QLineEdit(QStringLiteral("0"), param), "timelimitvalue");
    m_timeLimitValue->setToolTip(
        QStringLiteral("Set the time limit. Type \"0\" for no time limit"));
    m_gravityValue = named(new QLineEdit(QStringLiteral("800"), param), "sv_gravityvalue");
    m_gravityValue->setToolTip(QStringLiteral("Set the gravity (default : 800)"));
    m_maxSpectatorsValue = named(new QLineEdit(QStringLiteral("0"), param), "maxspectatorsvalue");
    m_maxSpectatorsValue->setToolTip(QStringLiteral("Set maximum number of spectators"));
    {
        auto *layout = new QGridLayout(param);
        layout->addWidget(m_password, 0, 0);
        layout->addWidget(m_passwordValue, 0, 1);
        const auto addRow = [param, layout](int row, const char *name, const QString &caption,
                                            QLineEdit *field) {
            auto *label = named(new QLabel(caption, param), name);
            label->setBuddy(field);
            layout->addWidget(label, row, 0);
            layout->addWidget(field, row, 1);
        };
        addRow(1, "maxping", QStringLiteral("Ping max : "), m_maxPingValue);
        addRow(2, "fraglimit", QStringLiteral("Limite de frag"), m_fragLimitValue);
        addRow(3, "timelimit", QStringLiteral("Limite de temps :"), m_timeLimitValue);
        addRow(4, "sv_gravity", QStringLiteral("Gravité :"), m_gravityValue);
        addRow(5, "sv_maxspectators", QStringLiteral("Spéctateurs max : "), m_maxSpectatorsValue);
        layout->setColumnStretch(1, 1);
    }

    // Rule switches
    auto *rules = new QWidget(central);
    const auto box = [rules](const char *name, const QString &caption,
                             const QString &toolTip = QString()) {
        auto *check = named(new QCheckBox(caption, rules), name);
        check->setToolTip(toolTip);
        return check;
    };
    m_cheats = box("sv_cheats", QStringLiteral("Autoriser codes triche"),
                   QStringLiteral("Autorise les codes de triche pendant les Deathmatches"));
    m_weaponStay = box("mp_weaponstay", QStringLiteral("Laisser les armes après la mort"));
    m_forceRespawn = box("mp_forcerespawn", QStringLiteral("Régénération des forces"));
    m_footsteps = box("mp_footsteps", QStringLiteral("Bruits de pas"));
    m_flashlight = box("mp_flashlight", QStringLiteral("Autoriser \"flashlight\""),
                       QStringLiteral("La \"flashlight\" (lampe de poche) est autorisée"));
    m_autoCrosshair = box("mp_autocrosshair", QStringLiteral("Désactiver visée automatique"));
    m_fallDamage = box("falldamage", QStringLiteral("Désactiver dommages de chute"),
                       QStringLiteral("Wether or not players take damage they falling"));
    m_download = box("dl", QStringLiteral("Autoriser télechargement"),
                     QStringLiteral("Les utilisateurs peuvent télecharger les cartes, skins, "
                                    "models, sons, etc ..."));
    m_upload = box("ul", QStringLiteral("Autoriser l'uploading"),
                   QStringLiteral("Les utilisateurs peuvent uploader les cartes, skins, models, "
                                  "sons, etc ..."));
    {
        auto *layout = new QGridLayout(rules);
        layout->setContentsMargins(0, 0, 0, 0);
        QCheckBox *const order[] = {m_cheats,     m_weaponStay, m_forceRespawn,
                                    m_footsteps,  m_flashlight, m_autoCrosshair,
                                    m_fallDamage, m_download,   m_upload};
        int i = 0;
        for (QCheckBox *check : order) {
            layout->addWidget(check, i % 5, i / 5);
            ++i;
        }
    }

    // Options, the party name and the player limit
    auto *opt = named(new QGroupBox(QStringLiteral("Options"), central), "opt");
    m_downloadInGame = named(
        new QCheckBox(QStringLiteral("Désactiver télechargement pendant le jeu"), opt),
        "cl_download_ingame");
    m_chaseActive = named(new QCheckBox(QStringLiteral("Vue arrière"), opt), "chase_active");
    m_chaseActive->setToolTip(QStringLiteral("Enable chase view"));
    m_friendlyFire = named(new QCheckBox(QStringLiteral(" \"Friendly fire\""), opt),
                           "mp_friendlyfire");
    m_partyName = named(new QLineEdit(QStringLiteral("My party - CRVN"), opt), "partyname");
    m_maxPlayersValue = named(new QLineEdit(QStringLiteral("32"), opt), "maxplayersvalue");
    auto *label1 = named(new QLabel(QStringLiteral("Party name : "), opt), "Label1");
    label1->setBuddy(m_partyName);
    auto *maxPlayers = named(new QLabel(QStringLiteral("Max. players : "), opt), "maxplayers");
    maxPlayers->setBuddy(m_maxPlayersValue);
    {
        auto *layout = new QGridLayout(opt);
        layout->addWidget(m_downloadInGame, 0, 0, 1, 2);
        layout->addWidget(m_chaseActive, 1, 0, 1, 2);
        layout->addWidget(m_friendlyFire, 2, 0, 1, 2);
        layout->addWidget(label1, 3, 0);
        layout->addWidget(m_partyName, 3, 1);
        layout->addWidget(maxPlayers, 4, 0);
        layout->addWidget(m_maxPlayersValue, 4, 1);
        layout->setColumnStretch(1, 1);
    }

    auto *cmdHelp = named(new QPushButton(QStringLiteral("Aide"), central), "cmdHelp");
    auto *save = named(new QPushButton(QStringLiteral("Enregistrer"), central), "save");
    save->setToolTip(QStringLiteral("Save to \"crvn.cfg\""));
    auto *command1 = named(new QPushButton(QStringLiteral("Enregistrer et lancer"), central),
                           "Command1");
    command1->setToolTip(QStringLiteral("Save to \"crvn.cfg\" and launch Half-Life"));
    // Enter in a field presses it (keyPressEvent); a focused button takes Enter for itself.
    command1->setDefault(true);
    for (QPushButton *button : {cmdMapSel, cmdHelp, save, command1})
        button->setAutoDefault(true);
    m_command1 = command1;
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdHelp);
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(command1);

    grid->addWidget(m_frame1, 0, 0, 3, 1);
    grid->addWidget(param, 0, 1);
    grid->addWidget(opt, 1, 1);
    grid->addWidget(rules, 2, 1);
    grid->addLayout(buttons, 3, 0, 1, 2);
    grid->setColumnStretch(0, 2);
    grid->setColumnStretch(1, 3);
    setCentralWidget(central);

    connect(cmdMapSel, &QPushButton::clicked, this, &ServerMakerWindow::cmdMapSel_Click);
    pressOnEnterInList(m_maps, cmdMapSel);
    connect(m_maps, &QListWidget::currentRowChanged, this, &ServerMakerWindow::showCurrentMap);
    connect(m_password, &QCheckBox::toggled, this, &ServerMakerWindow::password_Click);
    connect(cmdHelp, &QPushButton::clicked, this, &ServerMakerWindow::cmdHelp_Click);
    connect(save, &QPushButton::clicked, this, &ServerMakerWindow::save_Click);
    connect(command1, &QPushButton::clicked, this, &ServerMakerWindow::Command1_Click);
}

void ServerMakerWindow::buildMenus()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("&Fichier"));
    file->setObjectName(QStringLiteral("mnuFile"));
    QAction *corvane = file->addAction(QStringLiteral("&Corvane"));
    corvane->setObjectName(QStringLiteral("mnuFileitmCRVN"));
    connect(corvane, &QAction::triggered, this, &ServerMakerWindow::mnuFileitmCRVN_Click);
}

bool ServerMakerWindow::formLoad()
{
    // A missing or unreadable maps folder simply gives an empty list: the player can still
    // type a map name by hand.
    m_maps->clear();
    m_installed = installedMaps(m_context.settings.read(Keys::maps));
    m_maps->addItems(m_installed.names);
    showCurrentMap();
    setBackground(m_passwordValue, SystemColor::scrollBar());
    return true;
}

ServerFields ServerMakerWindow::fields() const
{
    ServerFields f;
    f.allowDownload = isChecked(m_download);
    f.allowUpload = isChecked(m_upload);
    f.noFallDamage = isChecked(m_fallDamage);
    f.noAutoCrosshair = isChecked(m_autoCrosshair);
    f.flashlight = isChecked(m_flashlight);
    f.cheats = isChecked(m_cheats);
    f.forceRespawn = isChecked(m_forceRespawn);
    f.footsteps = isChecked(m_footsteps);
    f.weaponStay = isChecked(m_weaponStay);
    f.friendlyFire = isChecked(m_friendlyFire);
    f.chaseView = isChecked(m_chaseActive);
    f.noDownloadInGame = isChecked(m_downloadInGame);
    f.password = isChecked(m_password);
    f.passwordValue = m_passwordValue->text();
    f.maxPing = m_maxPingValue->text();
    f.fragLimit = m_fragLimitValue->text();
    f.timeLimit = m_timeLimitValue->text();
    f.maxPlayers = m_maxPlayersValue->text();
    f.gravity = m_gravityValue->text();
    f.maxSpectators = m_maxSpectatorsValue->text();
    f.partyName = m_partyName->text();
    return f;
}

bool ServerMakerWindow::ValidateServerSettings()
{
    const std::optional<ServerCheckFailure> failure = checkServerFields(fields());
    if (!failure)
        return true;
    m_context.platform.messages.show(
        this,
        Message{failure->text, failure->title,
                failure->warning ? MessageIcon::Warning : MessageIcon::Information});
    return false;
}

bool ServerMakerWindow::WriteServerConfig(QString *savedPath)
{
    const QString valveFolder = m_context.settings.read(Keys::valve, u"error!");
    // Without the valve folder the file would land in whatever the working directory is.
    if (valveFolder == u"error!" || valveFolder.isEmpty()) {
        m_context.platform.messages.show(
            this,
            Message{QStringLiteral("Le dossier valve du jeu n'est pas configuré : le "
                                   "fichier crvn.cfg n'a pas été enregistré.\n\n"
                                   "L'assistant de première utilisation ou la "
                                   "configuration (Edition > Configuration) l'indique."),
                    QStringLiteral("Dossier valve inconnu"), MessageIcon::Warning});
        return false;
    }
    // A folder left from an old install, or derived from a mistyped maps folder, would take a
    // file the game never reads.
    const QFileInfo folder(valveFolder);
    if (!folder.isAbsolute() || !folder.isDir()) {
        m_context.platform.messages.show(
            this,
            Message{QStringLiteral("Le dossier valve du jeu n'existe pas :\n%1\n\nLe fichier "
                                   "crvn.cfg n'a pas été enregistré. Vérifiez le répertoire des "
                                   "cartes dans Edition > Configuration.")
                        .arg(QDir::toNativeSeparators(valveFolder)),
                    QStringLiteral("Dossier valve introuvable"), MessageIcon::Warning});
        return false;
    }
    const QString path = serverConfigPath(valveFolder);
    QString reason;
    if (writeServerConfig(path, fields(), &reason)) {
        *savedPath = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
        return true;
    }
    m_context.platform.messages.show(
        this,
        Message{QStringLiteral("Impossible d'enregistrer le fichier :\n%1\n\n%2\n\n"
                               "Le fichier précédent, s'il existe, est inchangé.")
                    .arg(QDir::toNativeSeparators(path), reason),
                QStringLiteral("Enregistrement impossible"), MessageIcon::Critical});
    return false;
}

void ServerMakerWindow::keyPressEvent(QKeyEvent *event)
{
    // A line edit lets Enter through to its window: there it launches, as players expect.
    if (!qobject_cast<QLineEdit *>(focusWidget()) || !pressOnEnter(event, m_command1))
        QMainWindow::keyPressEvent(event);
}

void ServerMakerWindow::cmdMapSel_Click()
{
    const QListWidgetItem *item = m_maps->currentItem();
    // Without a selected file there is no name to take: nothing changes.
    if (!item || !item->isSelected())
        return;
    const QString file = item->text();
    m_frame1->setTitle(QStringLiteral("First map selection (") + file + QLatin1Char(')'));
    m_selMap->setText(file.chopped(4));
}

void ServerMakerWindow::showCurrentMap()
{
    m_mapPreview->showMap(m_installed.filePath(m_maps->currentRow()),
                          MapPreview::SpawnKind::Deathmatch);
}

void ServerMakerWindow::password_Click()
{
    const bool on = isChecked(m_password);
    m_passwordValue->setEnabled(on);
    setBackground(m_passwordValue, on ? SystemColor::window() : SystemColor::scrollBar());
}

void ServerMakerWindow::cmdHelp_Click()
{
    m_context.platform.messages.show(
        this,
        Message{QStringLiteral("Le Half-Life Deathmatch Maker vous permet de configurer "
                               "votre serveur. Quand vous cliquez sur Enregistrer, le "
                               "fichier crvn.cfg est créé dans votre dossier "
                               "Half-Life\\valve. Pour l'utiliser, lancez un serveur "
                               "puis tapez exec crvn.cfg dans la console."),
                QStringLiteral("Aide"), MessageIcon::Information});
}

bool ServerMakerWindow::checkAndWrite(QString *savedPath)
{
    return ValidateServerSettings() && WriteServerConfig(savedPath);
}

void ServerMakerWindow::save_Click()
{
    QString savedPath;
    if (!checkAndWrite(&savedPath))
        return;
    m_context.platform.messages.show(
        this,
        Message{QStringLiteral("You're crvn.cfg file has been saved in ") + savedPath,
                QStringLiteral("Please note"), MessageIcon::Information});
}

void ServerMakerWindow::Command1_Click()
{
    QString savedPath;
    if (!checkAndWrite(&savedPath))
        return;
    if (m_selMap->text().isEmpty()) {
        m_context.platform.messages.show(this,
                                         Message{QStringLiteral("Please select a map"),
                                                 QStringLiteral("No map selected"),
                                                 MessageIcon::Warning});
        return;
    }
    if (isUnsafeMapName(m_selMap->text())) {
        m_context.platform.messages.show(
            this,
            Message{unsafeMapMessage(m_selMap->text()), unsafeMapTitle(), MessageIcon::Warning});
        return;
    }
    const QString program = m_context.settings.read(Keys::program, u"error!");
    startGame(m_context, this,
              serverLaunchCommand(program, m_maxPlayersValue->text(), m_selMap->text()),
              WindowStyle::Maximized);
}

void ServerMakerWindow::mnuFileitmCRVN_Click()
{
    m_context.windows.replace(WindowName::server, WindowName::main);
}
