#include "connect/serverrefresh.h"

ServerRefresh::ServerRefresh(QueryFactory makeQuery, QObject *parent)
    : QObject(parent)
    , m_makeQuery(std::move(makeQuery))
{
}

ServerRefresh::~ServerRefresh()
{
    cancel();
}

void ServerRefresh::cancel()
{
    for (Slot &slot : m_slots) {
        if (slot.query)
            slot.query->cancel();
        slot.index = -1;
    }
    ++m_generation;
    m_servers.clear();
    m_next = 0;
    m_done = 0;
    m_inFlight = 0;
}

void ServerRefresh::start(const QList<ServerAddress> &servers)
{
    cancel();
    m_servers = servers;
    // The queries are made once and used again: a socket each, kMaxInFlight at most.
    const int wanted = qMin(kMaxInFlight, int(servers.size()));
    while (m_slots.size() < wanted) {
        const int number = int(m_slots.size());
        ServerQuery *query = m_makeQuery().release();
        query->setParent(this);
        query->setAskRules(true);
        const auto index = [this, number] { return m_slots[number].index; };
        connect(query, &ServerQuery::infoReceived, this,
                [this, index](const ServerInfo &info, qint64 ping) {
                    Q_EMIT infoReceived(index(), info, ping);
                });
        connect(query, &ServerQuery::playersReceived, this,
                [this, index](const QList<PlayerInfo> &players) {
                    Q_EMIT playersReceived(index(), players);
                });
        connect(query, &ServerQuery::rulesReceived, this,
                [this, index](const QList<ServerRule> &rules) {
                    Q_EMIT rulesReceived(index(), rules);
                });
        connect(query, &ServerQuery::failed, this,
                [this, index](QueryFailure failure) { Q_EMIT failed(index(), failure); });
        connect(query, &ServerQuery::finished, this, [this, number] { slotFinished(number); });
        m_slots.append({query, -1});
    }
    for (int i = 0; i < wanted; ++i)
        startNext(m_slots[i]);
    if (servers.isEmpty())
        Q_EMIT progress(0, 0);
}

void ServerRefresh::startNext(Slot &slot)
{
    slot.index = -1;
    while (m_next < m_servers.size()) {
        const int index = m_next++;
        const ServerAddress &server = m_servers[index];
        const std::optional<quint16> port = portNumber(server.port);
        if (!port || server.address.trimmed().isEmpty()) {
            // An entry that cannot be asked counts as a server that does not answer.
            ++m_done;
            const quint64 generation = m_generation;
            Q_EMIT failed(index, QueryFailure::HostNotFound);
            Q_EMIT progress(m_done, total());
            if (generation != m_generation)
                return;
            continue;
        }
        slot.index = index;
        ++m_inFlight;
        slot.query->start(server.address.trimmed(), *port);
        return;
    }
}

void ServerRefresh::slotFinished(int number)
{
    if (m_slots[number].index < 0)
        return;
    --m_inFlight;
    ++m_done;
    const quint64 generation = m_generation;
    Q_EMIT progress(m_done, total());
    // The receiver may have started another refresh: this slot then asks for that one.
    if (generation == m_generation)
        startNext(m_slots[number]);
}
