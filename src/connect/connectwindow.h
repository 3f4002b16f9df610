#pragma once

#include "connect/serverquery.h"
#include "launcher/form.h"

#include <QMainWindow>

#include <memory>
#include <optional>

struct AppContext;
class QCheckBox;
class QCompleter;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpacerItem;
class QModelIndex;
class QStandardItemModel;
class QTreeWidget;

// The window "connect": starts the game joined to the server given by address and port, and
// asks that server what it runs and who is on it. It reads the recent servers when it opens
// and the game program's path only when "Lancer" is pressed.
class ConnectWindow final : public QMainWindow, public Form
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ConnectWindow)

public:
    // The window owns the query.
    ConnectWindow(AppContext &context, std::unique_ptr<ServerQuery> query,
                  QWidget *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    // Enter that no control used presses the window's default button, cmdLaunch.
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildControls();
    QFrame *buildServerInfo(QWidget *parent);
    void buildMenus();
    void placePortBox();

    // The port when address and port can be used; otherwise the player is told which field is
    // wrong, it takes the focus, and nothing is returned.
    std::optional<quint16> checkedFields();
    QStringList readRecentServers() const;
    void recordRecentServer();
    void showRecentServers(const QStringList &recent);
    void clearServerInfo();

    // Handlers
    void cmdLaunch_Click();
    void cmdQuery_Click();
    void cmdServers_Click();
    // A whole "host:port" (or "[v6]:port") in the address goes into the address and the port.
    void splitAddressAndPort();
    void ipadress_Pick(const QModelIndex &entry);
    void mnuFileitmCRVN_Click();
    void query_Info(const ServerInfo &info, qint64 pingMilliseconds);
    void query_Players(const QList<PlayerInfo> &players);
    void query_Failed(QueryFailure failure);

    AppContext &m_context;
    ServerQuery *m_query = nullptr;

    QGroupBox *m_frame1 = nullptr;
    QLineEdit *m_ipadress = nullptr;
    QLabel *m_svPort = nullptr;
    QSpacerItem *m_portSlot = nullptr;
    QLineEdit *m_port = nullptr;
    QPushButton *m_cmdQuery = nullptr;
    QPushButton *m_cmdServers = nullptr;
    QString m_answeredFolder; // the game folder of Interroger's last answer
    QCompleter *m_recent = nullptr;
    QStandardItemModel *m_recentModel = nullptr;
    QFrame *m_frmServerInfo = nullptr;
    QLabel *m_lblServerName = nullptr;
    QLabel *m_lblServerMap = nullptr;
    QLabel *m_lblServerPlayers = nullptr;
    QLabel *m_lblServerPing = nullptr;
    QLabel *m_lblServerStatus = nullptr;
    QTreeWidget *m_lstPlayers = nullptr;
    QCheckBox *m_close = nullptr;
    QPushButton *m_cmdLaunch = nullptr;
};
