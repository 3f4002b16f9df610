#include "connect/serverlistwindow.h"

#include "detect/liblist.h"
#include "launcher/appcontext.h"
#include "launcher/detected.h"
#include "launcher/gamestart.h"
#include "launcher/named.h"
#include "launcher/windowmanager.h"
#include "launcher/windownames.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSplitter>
#include <QTabBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kIndexRole = Qt::UserRole + 1;
constexpr qint64 kRefreshIntervalMs = 2000;

// A row that sorts by what its server answered; rows without an answer stay last either way.
class ServerItem final : public QTreeWidgetItem
{
public:
    ServerItem(const ServerListWindow *window, int index)
        : m_window(window)
    {
        setData(0, kIndexRole, index);
    }

    bool operator<(const QTreeWidgetItem &other) const override
    {
        const ServerRow &a = m_window->entry(data(0, kIndexRole).toInt()).row;
        const ServerRow &b = m_window->entry(other.data(0, kIndexRole).toInt()).row;
        const bool ascending = !treeWidget()
            || treeWidget()->header()->sortIndicatorOrder() == Qt::AscendingOrder;
        if (a.info.has_value() != b.info.has_value())
            return ascending ? a.info.has_value() : b.info.has_value();
        if (!a.info)
            return false;
        return rowLessThan(a, b, ServerColumn(treeWidget() ? treeWidget()->sortColumn() : 0));
    }

private:
    const ServerListWindow *m_window;
};

// A small padlock, drawn: no icon theme or font on every system has one.
QIcon lockIcon(const QPalette &palette)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(palette.color(QPalette::Text), 1.6));
    painter.drawArc(QRectF(4.5, 1.5, 7, 9), 0, 180 * 16);
    painter.drawLine(QPointF(4.5, 6), QPointF(4.5, 8));
    painter.drawLine(QPointF(11.5, 6), QPointF(11.5, 8));
    painter.setBrush(palette.color(QPalette::Text));
    painter.drawRoundedRect(QRectF(3, 7.5, 10, 7), 1.5, 1.5);
    return QIcon(pixmap);
}

QTreeWidget *table(QWidget *parent, const char *name, const QStringList &headers)
{
    auto *tree = named(new QTreeWidget(parent), name);
    tree->setColumnCount(int(headers.size()));
    tree->setHeaderLabels(headers);
    tree->setRootIsDecorated(false);
    tree->setUniformRowHeights(true);
    tree->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    tree->header()->setStretchLastSection(false);
    return tree;
}

} // namespace

ServerListWindow::ServerListWindow(AppContext &context, ServerRefresh::QueryFactory makeQuery,
                                   QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_refresh(new ServerRefresh(std::move(makeQuery), this))
{
    setWindowTitle(QStringLiteral("Serveurs"));
    buildControls();
    connect(m_refresh, &ServerRefresh::infoReceived, this, &ServerListWindow::refresh_Info);
    connect(m_refresh, &ServerRefresh::playersReceived, this, &ServerListWindow::refresh_Players);
    connect(m_refresh, &ServerRefresh::rulesReceived, this, &ServerListWindow::refresh_Rules);
    connect(m_refresh, &ServerRefresh::failed, this,
            [this](int index, QueryFailure) { refresh_Failed(index); });
    connect(m_refresh, &ServerRefresh::progress, this, &ServerListWindow::refresh_Progress);
}

void ServerListWindow::buildControls()
{
    m_tabSources = named(new QTabBar(this), "tabSources");
    m_tabSources->addTab(QStringLiteral("Favoris"));
    m_tabSources->addTab(QStringLiteral("Récents"));

    m_txtAddServer = named(new QLineEdit(this), "txtAddServer");
    m_txtAddServer->setPlaceholderText(QStringLiteral("adresse:port"));
    m_cmdAddFavourite = named(new QPushButton(QStringLiteral("Ajouter aux &favoris"), this),
                              "cmdAddFavourite");
    m_cmdRemoveFavourite = named(new QPushButton(QStringLiteral("&Retirer"), this),
                                 "cmdRemoveFavourite");
    m_chkNotFull = named(new QCheckBox(QStringLiteral("Pas plein"), this), "chkNotFull");
    m_chkNotEmpty = named(new QCheckBox(QStringLiteral("Pas vide"), this), "chkNotEmpty");
    m_chkNoPassword = named(new QCheckBox(QStringLiteral("Sans mot de passe"), this),
                            "chkNoPassword");
    m_lblRefresh = named(new QLabel(this), "lblRefresh");
    m_cmdRefresh = named(new QPushButton(QStringLiteral("&Actualiser"), this), "cmdRefresh");

    m_tblServers = table(this, "tblServers",
                         {QStringLiteral("Nom"), QStringLiteral("Carte"), QStringLiteral("Joueurs"),
                          QStringLiteral("Ping"), QStringLiteral("Jeu"), QString()});
    m_tblServers->headerItem()->setToolTip(int(ServerColumn::Lock),
                                           QStringLiteral("Protégé par un mot de passe"));
    m_tblServers->setSortingEnabled(true);
    m_tblServers->sortByColumn(int(ServerColumn::Ping), Qt::AscendingOrder);
    m_tblServers->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tblServers->setAllColumnsShowFocus(true);
    m_tblServers->header()->setSectionResizeMode(int(ServerColumn::Lock),
                                                 QHeaderView::ResizeToContents);

    m_lstServerPlayers = table(
        this, "lstServerPlayers",
        {QStringLiteral("Joueur"), QStringLiteral("Score"), QStringLiteral("Temps")});
    m_lstServerPlayers->setSelectionMode(QAbstractItemView::NoSelection);
    m_tblRules = table(this, "tblRules", {QStringLiteral("Clé"), QStringLiteral("Valeur")});
    m_tblRules->header()->setSectionResizeMode(0, QHeaderView::Interactive);
    m_tblRules->header()->setStretchLastSection(true);
    m_tblRules->setSelectionMode(QAbstractItemView::NoSelection);

    m_cmdJoin = named(new QPushButton(QStringLiteral("&Rejoindre"), this), "cmdJoin");
    m_cmdJoin->setDefault(true);

    auto *add = new QHBoxLayout;
    add->addWidget(m_txtAddServer, 1);
    add->addWidget(m_cmdAddFavourite);
    add->addWidget(m_cmdRemoveFavourite);
    auto *filters = new QHBoxLayout;
    filters->addWidget(m_chkNotFull);
    filters->addWidget(m_chkNotEmpty);
    filters->addWidget(m_chkNoPassword);
    filters->addStretch();
    filters->addWidget(m_lblRefresh);
    filters->addWidget(m_cmdRefresh);
    auto *details = new QSplitter(Qt::Horizontal, this);
    details->addWidget(m_lstServerPlayers);
    details->addWidget(m_tblRules);
    auto *split = new QSplitter(Qt::Vertical, this);
    split->addWidget(m_tblServers);
    split->addWidget(details);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cmdJoin);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabSources);
    layout->addLayout(add);
    layout->addLayout(filters);
    layout->addWidget(split, 1);
    layout->addLayout(buttons);
    resize(720, 520);

    connect(m_tabSources, &QTabBar::currentChanged, this, &ServerListWindow::tabSources_Changed);
    connect(m_cmdRefresh, &QPushButton::clicked, this, &ServerListWindow::cmdRefresh_Click);
    connect(m_cmdAddFavourite, &QPushButton::clicked, this,
            &ServerListWindow::cmdAddFavourite_Click);
    connect(m_cmdRemoveFavourite, &QPushButton::clicked, this,
            &ServerListWindow::cmdRemoveFavourite_Click);
    connect(m_cmdJoin, &QPushButton::clicked, this, &ServerListWindow::cmdJoin_Click);
    connect(m_tblServers, &QTreeWidget::itemDoubleClicked, this, [this] { cmdJoin_Click(); });
    connect(m_tblServers, &QTreeWidget::itemSelectionChanged, this,
            &ServerListWindow::showSelected);
    for (QCheckBox *box : {m_chkNotFull, m_chkNotEmpty, m_chkNoPassword})
        connect(box, &QCheckBox::toggled, this, &ServerListWindow::applyFilters);
}

bool ServerListWindow::formLoad()
{
    loadSource();
    return true;
}

QStringList ServerListWindow::readList(Source source) const
{
    QStringList list;
    if (source == Favourites) {
        for (int n = 1; n <= Keys::favouriteServerCount; ++n) {
            const QString entry = m_context.settings.read(Keys::favouriteServer(n), u"").trimmed();
            if (!entry.isEmpty())
                list.append(entry);
        }
        return list;
    }
    for (int n = 1; n <= Keys::recentServerCount; ++n)
        list.append(m_context.settings.read(Keys::recentServer(n), u""));
    return rememberServer(list, {}, Keys::recentServerCount);
}

bool ServerListWindow::writeFavourites(const QStringList &favourites)
{
    QStringList stored;
    for (int n = 1; n <= Keys::favouriteServerCount; ++n)
        stored.append(m_context.settings.read(Keys::favouriteServer(n), u""));
    if (m_context.settings.write(
            listWrites(stored, favourites, Keys::favouriteServer, Keys::favouriteServerCount)))
        return true;
    m_context.platform.messages.show(
        this,
        Message{QStringLiteral("Les favoris n'ont pas pu être enregistrés : %1.")
                    .arg(m_context.settings.errorString()),
                {},
                MessageIcon::Warning});
    return false;
}

void ServerListWindow::recordRecentServer(const QString &entry)
{
    QStringList old;
    for (int n = 1; n <= Keys::recentServerCount; ++n)
        old.append(m_context.settings.read(Keys::recentServer(n), u""));
    const QStringList recent = rememberServer(old, entry, Keys::recentServerCount);
    // As from the connection window: the game has started, a failed write is not reported.
    m_context.settings.write(listWrites(old, recent, Keys::recentServer, Keys::recentServerCount));
}

void ServerListWindow::loadSource()
{
    showServers(readList(Source(m_tabSources->currentIndex())));
}

void ServerListWindow::showServers(const QStringList &entries)
{
    m_refresh->cancel();
    m_tblServers->clear();
    m_entries.clear();
    QList<ServerAddress> servers;
    for (const QString &text : entries) {
        const std::optional<ServerAddress> server = splitServerEntry(text);
        if (!server)
            continue;
        servers.append(*server);
        Entry entry;
        entry.row.server = *server;
        entry.item = new ServerItem(this, int(m_entries.size()));
        m_entries.append(entry);
    }
    m_tblServers->setSortingEnabled(false);
    for (int i = 0; i < m_entries.size(); ++i) {
        m_tblServers->addTopLevelItem(m_entries[i].item);
        showRow(i);
    }
    m_tblServers->setSortingEnabled(true);
    showSelected();
    m_lastRefresh.start();
    refresh_Progress(0, int(servers.size()));
    m_refresh->start(servers);
}

void ServerListWindow::showRow(int index)
{
    const Entry &entry = m_entries[index];
    QTreeWidgetItem *item = entry.item;
    if (!item)
        return;
    const auto column = [](ServerColumn c) { return int(c); };
    const QString address = serverEntry(entry.row.server);
    if (!entry.row.info) {
        const QBrush grey = m_tblServers->palette().brush(QPalette::Disabled, QPalette::Text);
        item->setText(column(ServerColumn::Name), address);
        item->setText(column(ServerColumn::Map),
                      entry.asked ? QStringLiteral("Pas de réponse") : QString());
        for (int c = 0; c < column(ServerColumn::Count); ++c)
            item->setForeground(c, grey);
        item->setToolTip(column(ServerColumn::Name), address);
        item->setHidden(false); // never hidden by a filter
        return;
    }
    const ServerInfo &info = *entry.row.info;
    item->setText(column(ServerColumn::Name), info.name);
    item->setToolTip(column(ServerColumn::Name), QStringLiteral("%1\n%2").arg(info.name, address));
    item->setText(column(ServerColumn::Map), info.map);
    item->setText(column(ServerColumn::Players), playersText(info));
    item->setText(column(ServerColumn::Ping), pingText(entry.row.ping));
    item->setText(column(ServerColumn::Folder), info.folder);
    item->setIcon(column(ServerColumn::Lock),
                  info.password ? lockIcon(m_tblServers->palette()) : QIcon());
    item->setData(column(ServerColumn::Lock), Qt::AccessibleTextRole,
                  info.password ? QStringLiteral("Mot de passe") : QString());
    item->setToolTip(column(ServerColumn::Lock),
                     info.password ? QStringLiteral("Protégé par un mot de passe") : QString());
    item->setTextAlignment(column(ServerColumn::Ping), Qt::AlignRight | Qt::AlignVCenter);
    for (int c = 0; c < column(ServerColumn::Count); ++c)
        item->setData(c, Qt::ForegroundRole, QVariant());
    item->setHidden(!keptByFilters(
        entry.row,
        {m_chkNotFull->isChecked(), m_chkNotEmpty->isChecked(), m_chkNoPassword->isChecked()}));
}

void ServerListWindow::applyFilters()
{
    const ServerFilters filters{m_chkNotFull->isChecked(), m_chkNotEmpty->isChecked(),
                                m_chkNoPassword->isChecked()};
    for (const Entry &entry : std::as_const(m_entries)) {
        if (entry.item)
            entry.item->setHidden(!keptByFilters(entry.row, filters));
    }
}

int ServerListWindow::selectedIndex() const
{
    const QList<QTreeWidgetItem *> selected = m_tblServers->selectedItems();
    if (selected.isEmpty() || selected.first()->isHidden())
        return -1;
    return selected.first()->data(0, kIndexRole).toInt();
}

void ServerListWindow::showSelected()
{
    m_lstServerPlayers->clear();
    m_tblRules->clear();
    const int index = selectedIndex();
    if (index < 0)
        return;
    QList<QTreeWidgetItem *> rows;
    for (const PlayerInfo &player : m_entries[index].players) {
        auto *row = new QTreeWidgetItem(
            {player.name, QString::number(player.score), durationText(player.seconds)});
        row->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        row->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
        rows.append(row);
    }
    m_lstServerPlayers->addTopLevelItems(rows);
    rows.clear();
    for (const ServerRule &rule : m_entries[index].rules)
        rows.append(new QTreeWidgetItem({rule.key, rule.value}));
    m_tblRules->addTopLevelItems(rows);
}

void ServerListWindow::keyPressEvent(QKeyEvent *event)
{
    const bool plain = event->modifiers() == Qt::NoModifier
        || event->modifiers() == Qt::KeypadModifier;
    if (plain && event->key() == Qt::Key_Escape) {
        m_context.windows.unload(WindowName::serverList);
        return;
    }
    if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && !m_txtAddServer->hasFocus()) {
        cmdJoin_Click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void ServerListWindow::cmdRefresh_Click()
{
    // A second press right after the first would only ask the same servers again.
    if (m_lastRefresh.isValid() && m_lastRefresh.elapsed() < kRefreshIntervalMs)
        return;
    loadSource();
}

void ServerListWindow::tabSources_Changed()
{
    loadSource();
}

void ServerListWindow::cmdAddFavourite_Click()
{
    QString entry;
    if (!m_txtAddServer->text().trimmed().isEmpty()) {
        const std::optional<ServerAddress> server = hostAndPort(m_txtAddServer->text());
        if (!server) {
            m_context.platform.messages.show(
                this,
                Message{QStringLiteral("Indiquez le serveur sous la forme adresse:port "
                                       "(le port de 1 à 65535)."),
                        {},
                        MessageIcon::Warning});
            m_txtAddServer->setFocus();
            return;
        }
        entry = serverEntry(*server);
    } else if (m_tabSources->currentIndex() == Recent && selectedIndex() >= 0) {
        entry = serverEntry(m_entries[selectedIndex()].row.server);
    } else {
        return;
    }
    const QStringList favourites = readList(Favourites);
    const QStringList added = addFavourite(favourites, entry, Keys::favouriteServerCount);
    if (added.size() == favourites.size() && favourites.size() >= Keys::favouriteServerCount) {
        m_context.platform.messages.show(
            this,
            Message{QStringLiteral("La liste des favoris est pleine (%1 serveurs).")
                        .arg(Keys::favouriteServerCount),
                    {},
                    MessageIcon::Warning});
        return;
    }
    if (added == favourites || !writeFavourites(added))
        return;
    m_txtAddServer->clear();
    if (m_tabSources->currentIndex() == Favourites)
        loadSource();
}

void ServerListWindow::cmdRemoveFavourite_Click()
{
    const int index = selectedIndex();
    if (index < 0 || m_tabSources->currentIndex() != Favourites)
        return;
    const QStringList favourites = readList(Favourites);
    if (!writeFavourites(removeFavourite(favourites, serverEntry(m_entries[index].row.server))))
        return;
    // The row goes; the others keep their place and their answers.
    delete m_entries[index].item;
    m_entries[index].item = nullptr;
    showSelected();
}

void ServerListWindow::cmdJoin_Click()
{
    const int index = selectedIndex();
    if (index < 0)
        return;
    const std::optional<ServerInfo> &info = m_entries[index].row.info;
    if (!info || !info->password) {
        join(index, std::nullopt);
        return;
    }
    // A protected server: the password is asked each time and never kept.
    auto *dialog = named(new QDialog(this), "dlgPassword");
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(QStringLiteral("Mot de passe"));
    auto *label = new QLabel(QStringLiteral("Mot de passe du serveur « %1 » :").arg(info->name),
                             dialog);
    label->setTextFormat(Qt::PlainText);
    auto *password = named(new QLineEdit(dialog), "txtPassword");
    password->setEchoMode(QLineEdit::Password);
    auto *box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    box->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annuler"));
    QPushButton *ok = box->button(QDialogButtonBox::Ok);
    ok->setEnabled(false);
    connect(password, &QLineEdit::textChanged, ok,
            [ok](const QString &text) { ok->setEnabled(usablePassword(text)); });
    connect(box, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    const ServerAddress server = m_entries[index].row.server;
    connect(dialog, &QDialog::accepted, this, [this, server, password] {
        // The table may have been refilled meanwhile: join the server the password was for.
        for (int i = 0; i < m_entries.size(); ++i) {
            if (serverEntry(m_entries[i].row.server) == serverEntry(server)) {
                join(i, password->text());
                return;
            }
        }
    });
    auto *layout = new QVBoxLayout(dialog);
    layout->addWidget(label);
    layout->addWidget(password);
    layout->addWidget(box);
    dialog->open();
}

std::optional<QString> installedServerFolder(const AppContext &context, const QString &folder)
{
    const QString gameFolder = installedGameFolder(context);
    if (gameFolder.isEmpty())
        return std::nullopt;
    const QList<InstalledMod> mods = installedMods(gameFolder);
    for (const InstalledMod &mod : mods) {
        if (mod.folder == folder)
            return mod.folder;
    }
    for (const InstalledMod &mod : mods) {
        if (mod.folder.compare(folder, Qt::CaseInsensitive) == 0)
            return mod.folder;
    }
    return std::nullopt;
}

void ServerListWindow::join(int index, const std::optional<QString> &password)
{
    const Entry &entry = m_entries[index];
    QString folder;
    if (entry.row.info && !entry.row.info->folder.isEmpty()
        && entry.row.info->folder.compare(u"valve", Qt::CaseInsensitive) != 0) {
        const std::optional<QString> installed = installedServerFolder(m_context,
                                                                       entry.row.info->folder);
        if (!installed) {
            m_context.platform.messages.show(
                this,
                Message{QStringLiteral("Ce serveur fait tourner le mod « %1 », qui n'est "
                                       "pas installé à côté du jeu.")
                            .arg(entry.row.info->folder),
                        {},
                        MessageIcon::Warning});
            return;
        }
        folder = *installed;
    }
    const ServerAddress server = entry.row.server;
    const QString program = m_context.settings.read(Keys::program);
    if (startGame(m_context, this, joinCommand(program, server, password, folder),
                  WindowStyle::Maximized))
        recordRecentServer(serverEntry(server));
}

void ServerListWindow::refresh_Info(int index, const ServerInfo &info, qint64 ping)
{
    m_entries[index].row.info = info;
    m_entries[index].row.ping = ping;
    m_entries[index].asked = true;
    showRow(index);
}

void ServerListWindow::refresh_Players(int index, const QList<PlayerInfo> &players)
{
    m_entries[index].players = players;
    if (index == selectedIndex())
        showSelected();
}

void ServerListWindow::refresh_Rules(int index, const QList<ServerRule> &rules)
{
    m_entries[index].rules = rules;
    if (index == selectedIndex())
        showSelected();
}

void ServerListWindow::refresh_Failed(int index)
{
    m_entries[index].asked = true;
    showRow(index);
}

void ServerListWindow::refresh_Progress(int done, int total)
{
    m_lblRefresh->setText(refreshProgressText(done, total));
}
