#include "connect/connectwindow.h"

#include "connect/connectcommand.h"
#include "connect/recentservers.h"
#include "connect/serverlist.h"
#include "connect/serverlistwindow.h"
#include "launcher/appcontext.h"
#include "launcher/enterkey.h"
#include "launcher/gamestart.h"
#include "launcher/named.h"
#include "launcher/windowmanager.h"
#include "launcher/windownames.h"

#include <QAction>
#include <QCheckBox>
#include <QCompleter>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSpacerItem>
#include <QStandardItemModel>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kPortWidth = 70;
constexpr int kAddressRole = Qt::UserRole + 1;
constexpr int kPortRole = Qt::UserRole + 2;

// A label for what a server sends: never read as rich text, and never widening the window
// however long the text (the whole of it is in the tooltip).
QLabel *serverLabel(QWidget *parent, const char *name)
{
    auto *label = named(new QLabel(parent), name);
    label->setTextFormat(Qt::PlainText);
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    label->setMinimumWidth(1);
    return label;
}

void showServerText(QLabel *label, const QString &text)
{
    label->setText(text);
    label->setToolTip(text);
}

} // namespace

ConnectWindow::ConnectWindow(AppContext &context, std::unique_ptr<ServerQuery> query,
                             QWidget *parent)
    : QMainWindow(parent)
    , m_context(context)
    , m_query(query.release())
{
    setWindowTitle(QStringLiteral("Half-Life Connection Tool"));
    m_query->setParent(this);
    buildControls();
    buildMenus();
    connect(m_query, &ServerQuery::infoReceived, this, &ConnectWindow::query_Info);
    connect(m_query, &ServerQuery::playersReceived, this, &ConnectWindow::query_Players);
    connect(m_query, &ServerQuery::failed, this, &ConnectWindow::query_Failed);
}

void ConnectWindow::buildControls()
{
    auto *central = new QWidget(this);

    m_frame1 = named(new QGroupBox(QStringLiteral("Informations sur le serveur :"), central),
                     "Frame1");
    auto *label1 = named(new QLabel(QStringLiteral("Adresse IP :"), m_frame1), "Label1");
    m_ipadress = named(new QLineEdit(m_frame1), "ipadress");
    label1->setBuddy(m_ipadress);
    m_svPort = named(new QLabel(QStringLiteral("Port : "), m_frame1), "sv_port");
    // The port box belongs to the window, not to the frame; the frame keeps an empty slot
    // beside its label and the box is laid over that slot.
    m_port = named(new QLineEdit(QStringLiteral("27015"), central), "port");
    m_port->setFixedWidth(kPortWidth);
    m_svPort->setBuddy(m_port);
    m_portSlot = new QSpacerItem(kPortWidth, m_port->sizeHint().height(), QSizePolicy::Fixed,
                                 QSizePolicy::Fixed);
    m_cmdQuery = named(new QPushButton(QStringLiteral("&Interroger"), m_frame1), "cmdQuery");
    // A focused Interroger takes Enter for itself, as the buttons of the other windows do.
    m_cmdQuery->setAutoDefault(true);
    m_cmdServers = named(new QPushButton(QStringLiteral("&Serveurs..."), m_frame1), "cmdServers");
    m_cmdServers->setAutoDefault(true);

    m_recentModel = new QStandardItemModel(this);
    showRecentServers(readRecentServers());
    // The list shows "address:port"; matching and the text put in the field are the address.
    m_recent = new QCompleter(m_recentModel, this);
    m_recent->setCompletionRole(kAddressRole);
    m_recent->setCaseSensitivity(Qt::CaseInsensitive);
    m_recent->setFilterMode(Qt::MatchContains);
    m_ipadress->setCompleter(m_recent);
    {
        auto *layout = new QGridLayout(m_frame1);
        layout->addWidget(label1, 0, 0);
        layout->addWidget(m_ipadress, 0, 1, 1, 2);
        layout->addWidget(m_cmdQuery, 0, 3);
        layout->addWidget(m_cmdServers, 0, 4);
        layout->addWidget(m_svPort, 1, 0);
        layout->addItem(m_portSlot, 1, 1);
        layout->setColumnStretch(2, 1);
    }
    m_frame1->installEventFilter(this);
    m_ipadress->installEventFilter(this);

    m_close = named(new QCheckBox(QStringLiteral("Fermer"), central), "close");
    m_close->setToolTip(QStringLiteral("Fermer cette fenêtre une fois le jeu lancé"));
    m_cmdLaunch = named(new QPushButton(QStringLiteral("Lancer"), central), "cmdLaunch");
    m_cmdLaunch->setDefault(true);

    m_frmServerInfo = buildServerInfo(central);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_close);
    buttons->addStretch();
    buttons->addWidget(m_cmdLaunch);
    auto *layout = new QVBoxLayout(central);
    layout->addWidget(m_frame1);
    layout->addWidget(m_frmServerInfo, 1);
    layout->addLayout(buttons);
    setCentralWidget(central);
    m_port->raise();

    setTabOrder(m_ipadress, m_cmdQuery);
    setTabOrder(m_cmdQuery, m_cmdServers);
    setTabOrder(m_cmdServers, m_port);
    setTabOrder(m_port, m_lstPlayers);
    setTabOrder(m_lstPlayers, m_close);
    setTabOrder(m_close, m_cmdLaunch);

    connect(m_cmdLaunch, &QPushButton::clicked, this, &ConnectWindow::cmdLaunch_Click);
    connect(m_cmdQuery, &QPushButton::clicked, this, &ConnectWindow::cmdQuery_Click);
    connect(m_cmdServers, &QPushButton::clicked, this, &ConnectWindow::cmdServers_Click);
    // A pasted "host:port" is split at once; a typed one when the field is left (while typing,
    // "1.2.3.4:2" is not yet the port meant).
    connect(m_ipadress, &QLineEdit::textEdited, this,
            [this, previous = QString()](const QString &text) mutable {
                if (text.size() - previous.size() > 1)
                    splitAddressAndPort();
                previous = m_ipadress->text();
            });
    connect(m_ipadress, &QLineEdit::editingFinished, this, &ConnectWindow::splitAddressAndPort);
    // The answer was about the server asked: another address or port forgets its game folder.
    for (QLineEdit *field : {m_ipadress, m_port})
        connect(field, &QLineEdit::textEdited, this, [this] { m_answeredFolder.clear(); });
    connect(m_recent, qOverload<const QModelIndex &>(&QCompleter::activated), this,
            &ConnectWindow::ipadress_Pick);
}

QFrame *ConnectWindow::buildServerInfo(QWidget *parent)
{
    auto *frame = named(new QFrame(parent), "frmServerInfo");
    frame->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    m_lblServerName = serverLabel(frame, "lblServerName");
    m_lblServerMap = serverLabel(frame, "lblServerMap");
    m_lblServerPlayers = serverLabel(frame, "lblServerPlayers");
    m_lblServerPing = serverLabel(frame, "lblServerPing");
    m_lblServerStatus = serverLabel(frame, "lblServerStatus");
    m_lstPlayers = named(new QTreeWidget(frame), "lstPlayers");
    m_lstPlayers->setColumnCount(3);
    m_lstPlayers->setHeaderLabels(
        {QStringLiteral("Joueur"), QStringLiteral("Score"), QStringLiteral("Temps")});
    m_lstPlayers->setRootIsDecorated(false);
    m_lstPlayers->setSelectionMode(QAbstractItemView::NoSelection);
    m_lstPlayers->setSortingEnabled(false);
    m_lstPlayers->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_lstPlayers->header()->setStretchLastSection(false);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Nom :"), m_lblServerName);
    form->addRow(QStringLiteral("Carte :"), m_lblServerMap);
    form->addRow(QStringLiteral("Joueurs :"), m_lblServerPlayers);
    form->addRow(QStringLiteral("Ping :"), m_lblServerPing);
    auto *layout = new QVBoxLayout(frame);
    layout->addWidget(m_lblServerStatus);
    layout->addLayout(form);
    layout->addWidget(m_lstPlayers, 1);
    return frame;
}

void ConnectWindow::buildMenus()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("&Fichier"));
    file->setObjectName(QStringLiteral("mnuFile"));
    QAction *crvn = file->addAction(QStringLiteral("&Corvane ..."));
    crvn->setObjectName(QStringLiteral("mnuFileitmCRVN"));
    connect(crvn, &QAction::triggered, this, &ConnectWindow::mnuFileitmCRVN_Click);
}

bool ConnectWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_frame1
        && (event->type() == QEvent::Resize || event->type() == QEvent::Move
            || event->type() == QEvent::LayoutRequest))
        placePortBox();
    // Down in the address opens the whole list of recent servers, before anything is typed.
    if (watched == m_ipadress && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Down
        && static_cast<QKeyEvent *>(event)->modifiers() == Qt::NoModifier
        && !m_recent->popup()->isVisible() && m_recentModel->rowCount() > 0) {
        m_recent->setCompletionPrefix(m_ipadress->text());
        m_recent->complete();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void ConnectWindow::placePortBox()
{
    const QRect slot = m_portSlot->geometry();
    if (!slot.isValid())
        return;
    const QPoint topLeft = m_frame1->mapTo(m_port->parentWidget(), slot.topLeft());
    m_port->setGeometry(QRect(topLeft, QSize(kPortWidth, slot.height())));
}

void ConnectWindow::keyPressEvent(QKeyEvent *event)
{
    if (!pressOnEnter(event, m_cmdLaunch))
        QMainWindow::keyPressEvent(event);
}

std::optional<quint16> ConnectWindow::checkedFields()
{
    splitAddressAndPort();
    const auto refuse = [this](QLineEdit *field, const QString &text) {
        m_context.platform.messages.show(this, Message{text, {}, MessageIcon::Warning});
        field->setFocus();
        field->selectAll();
    };
    if (m_ipadress->text().trimmed().isEmpty()) {
        refuse(m_ipadress,
               QStringLiteral("Le champ « Adresse IP » est vide : indiquez "
                              "l'adresse du serveur."));
        return std::nullopt;
    }
    const std::optional<quint16> port = portNumber(m_port->text());
    if (!port)
        refuse(m_port, QStringLiteral("Le champ « Port » doit contenir un nombre de 1 à 65535."));
    return port;
}

QStringList ConnectWindow::readRecentServers() const
{
    QStringList recent;
    for (int n = 1; n <= Keys::recentServerCount; ++n)
        recent.append(m_context.settings.read(Keys::recentServer(n), u""));
    return rememberServer(recent, {}, Keys::recentServerCount);
}

void ConnectWindow::recordRecentServer()
{
    QStringList stored;
    for (int n = 1; n <= Keys::recentServerCount; ++n)
        stored.append(m_context.settings.read(Keys::recentServer(n), u""));
    const QStringList recent = rememberServer(
        stored, serverEntry({m_ipadress->text(), m_port->text()}), Keys::recentServerCount);
    // A failed write is not worth a message after the game has started: the list is a help,
    // and the next launch tries again.
    m_context.settings.write(
        listWrites(stored, recent, Keys::recentServer, Keys::recentServerCount));
    showRecentServers(recent);
}

void ConnectWindow::showRecentServers(const QStringList &recent)
{
    m_recentModel->clear();
    for (const QString &entry : recent) {
        const std::optional<ServerAddress> server = splitServerEntry(entry);
        if (!server)
            continue;
        auto *item = new QStandardItem(entry);
        item->setData(server->address, kAddressRole);
        item->setData(server->port, kPortRole);
        item->setEditable(false);
        m_recentModel->appendRow(item);
    }
}

void ConnectWindow::cmdLaunch_Click()
{
    if (!checkedFields())
        return;
    const QString program = m_context.settings.read(Keys::program);
    QString command = connectCommand(program, m_ipadress->text(), m_port->text());
    // The mod Interroger found, when it is installed; without it the game starts as it always did.
    if (!m_answeredFolder.isEmpty()
        && m_answeredFolder.compare(u"valve", Qt::CaseInsensitive) != 0) {
        if (const std::optional<QString> folder = installedServerFolder(m_context,
                                                                        m_answeredFolder))
            command += QStringLiteral(" -game ") + *folder;
    }
    if (!startGame(m_context, this, command, WindowStyle::Maximized))
        return; // nothing joined: nothing to remember, and the window stays for another try
    recordRecentServer();
    // The player asked for this window to go once the game is started; when it was the last
    // window, the program ends with it.
    if (m_close->isChecked())
        m_context.windows.unload(WindowName::connect);
}

void ConnectWindow::cmdQuery_Click()
{
    const std::optional<quint16> port = checkedFields();
    if (!port)
        return;
    clearServerInfo();
    m_answeredFolder.clear();
    m_lblServerStatus->setText(QStringLiteral("Interrogation ..."));
    m_query->start(m_ipadress->text().trimmed(), *port);
}

void ConnectWindow::clearServerInfo()
{
    for (QLabel *label : {m_lblServerName, m_lblServerMap, m_lblServerPlayers, m_lblServerPing})
        showServerText(label, {});
    m_lstPlayers->clear();
}

void ConnectWindow::query_Info(const ServerInfo &info, qint64 pingMilliseconds)
{
    m_answeredFolder = info.folder;
    showServerText(m_lblServerName, info.name);
    showServerText(m_lblServerMap, info.map);
    showServerText(m_lblServerPlayers, playersText(info));
    showServerText(m_lblServerPing, pingText(pingMilliseconds));
    m_lblServerStatus->setText(info.password
                                   ? QStringLiteral("Serveur en ligne, protégé par un mot de passe")
                                   : QStringLiteral("Serveur en ligne"));
}

void ConnectWindow::query_Players(const QList<PlayerInfo> &players)
{
    m_lstPlayers->clear();
    QList<QTreeWidgetItem *> rows;
    rows.reserve(players.size());
    for (const PlayerInfo &player : players) {
        auto *row = new QTreeWidgetItem(
            {player.name, QString::number(player.score), durationText(player.seconds)});
        row->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        row->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
        rows.append(row);
    }
    m_lstPlayers->addTopLevelItems(rows);
}

void ConnectWindow::query_Failed(QueryFailure failure)
{
    clearServerInfo();
    switch (failure) {
    case QueryFailure::NoReply:
        m_lblServerStatus->setText(QStringLiteral("Pas de réponse du serveur"));
        break;
    case QueryFailure::HostNotFound:
        m_lblServerStatus->setText(QStringLiteral("Adresse introuvable"));
        break;
    case QueryFailure::Unrecognised:
        m_lblServerStatus->setText(QStringLiteral("Réponse du serveur non reconnue"));
        break;
    }
}

void ConnectWindow::ipadress_Pick(const QModelIndex &entry)
{
    m_ipadress->setText(entry.data(kAddressRole).toString());
    m_port->setText(entry.data(kPortRole).toString());
}

void ConnectWindow::cmdServers_Click()
{
    m_context.windows.show(WindowName::serverList);
}

void ConnectWindow::splitAddressAndPort()
{
    if (const std::optional<ServerAddress> server = hostAndPort(m_ipadress->text())) {
        m_ipadress->setText(server->address);
        m_port->setText(server->port);
    }
}

void ConnectWindow::mnuFileitmCRVN_Click()
{
    m_context.windows.replace(WindowName::connect, WindowName::main);
}
