#pragma once

#include "connect/recentservers.h"
#include "connect/serverquery.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>

#include <functional>
#include <memory>

// Asks every server of a list at once, a bounded number at a time: each answer is signalled
// with the server's index in the list as it arrives; nothing waits.
class ServerRefresh final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ServerRefresh)

public:
    using QueryFactory = std::function<std::unique_ptr<ServerQuery>()>;
    static constexpr int kMaxInFlight = 32;

    explicit ServerRefresh(QueryFactory makeQuery, QObject *parent = nullptr);
    ~ServerRefresh() override;

    // Drops the refresh under way (nothing more is signalled for it) and asks these servers.
    void start(const QList<ServerAddress> &servers);
    void cancel();

    int total() const { return int(m_servers.size()); }
    int done() const { return m_done; }
    bool running() const { return m_done < total(); }
    // Queries in flight now (the bound is kMaxInFlight).
    int inFlight() const { return m_inFlight; }

Q_SIGNALS:
    void infoReceived(int index, const ServerInfo &info, qint64 pingMilliseconds);
    void playersReceived(int index, const QList<PlayerInfo> &players);
    void rulesReceived(int index, const QList<ServerRule> &rules);
    void failed(int index, QueryFailure failure);
    // After each server's query ended (answered or not).
    void progress(int done, int total);

private:
    struct Slot {
        ServerQuery *query = nullptr;
        int index = -1; // the server it asks; -1 when idle
    };

    void startNext(Slot &slot);
    void slotFinished(int number);

    QueryFactory m_makeQuery;
    QList<Slot> m_slots;
    QList<ServerAddress> m_servers;
    int m_next = 0;
    int m_done = 0;
    int m_inFlight = 0;
    quint64 m_generation = 0; // counts refreshes: a receiver may start another one
};
