#pragma once

#include "connect/serverlist.h"
#include "connect/serverrefresh.h"
#include "launcher/form.h"

#include <QElapsedTimer>
#include <QWidget>

struct AppContext;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabBar;
class QTreeWidget;
class QTreeWidgetItem;

// The installed spelling of a server's game folder (a mod beside the configured game);
// nothing when it is not installed. Never "valve": that is the game itself.
std::optional<QString> installedServerFolder(const AppContext &context, const QString &folder);

// The window "serverList": the favourite and recent servers, all asked at once, sorted and
// filtered, and joined with the game folder and password each one needs.
class ServerListWindow final : public QWidget, public Form
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ServerListWindow)

public:
    ServerListWindow(AppContext &context, ServerRefresh::QueryFactory makeQuery,
                     QWidget *parent = nullptr);

    bool formLoad() override;

    // Fills the table with these "address:port" entries and asks them all; the tabs do it with
    // their own list (the benchmark with more servers than a tab holds).
    void showServers(const QStringList &entries);

    // What the table knows of one server (also read by the rows to sort themselves).
    struct Entry {
        ServerRow row;
        bool asked = false; // its query ended (answered or not)
        QList<PlayerInfo> players;
        QList<ServerRule> rules;
        QTreeWidgetItem *item = nullptr; // null once removed from the favourites
    };
    const Entry &entry(int index) const { return m_entries[index]; }

protected:
    // Escape closes the window; Enter on a row joins its server.
    void keyPressEvent(QKeyEvent *event) override;

private:
    enum Source { Favourites = 0, Recent = 1 };

    void buildControls();
    QStringList readList(Source source) const;
    bool writeFavourites(const QStringList &favourites);
    void recordRecentServer(const QString &entry);
    // Fills the table with the tab's servers and asks them all.
    void loadSource();
    void showRow(int index);
    void applyFilters();
    void showSelected();
    int selectedIndex() const;
    void join(int index, const std::optional<QString> &password);

    // Handlers
    void cmdRefresh_Click();
    void cmdAddFavourite_Click();
    void cmdRemoveFavourite_Click();
    void cmdJoin_Click();
    void tabSources_Changed();
    void refresh_Info(int index, const ServerInfo &info, qint64 ping);
    void refresh_Players(int index, const QList<PlayerInfo> &players);
    void refresh_Rules(int index, const QList<ServerRule> &rules);
    void refresh_Failed(int index);
    void refresh_Progress(int done, int total);

    AppContext &m_context;
    ServerRefresh *m_refresh = nullptr;
    QList<Entry> m_entries;
    QElapsedTimer m_lastRefresh;

    QTabBar *m_tabSources = nullptr;
    QLineEdit *m_txtAddServer = nullptr;
    QPushButton *m_cmdAddFavourite = nullptr;
    QPushButton *m_cmdRemoveFavourite = nullptr;
    QCheckBox *m_chkNotFull = nullptr;
    QCheckBox *m_chkNotEmpty = nullptr;
    QCheckBox *m_chkNoPassword = nullptr;
    QLabel *m_lblRefresh = nullptr;
    QPushButton *m_cmdRefresh = nullptr;
    QTreeWidget *m_tblServers = nullptr;
    QTreeWidget *m_lstServerPlayers = nullptr;
    QTreeWidget *m_tblRules = nullptr;
    QPushButton *m_cmdJoin = nullptr;
};
