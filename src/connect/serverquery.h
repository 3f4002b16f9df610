#pragma once

#include "connect/serverreply.h"

#include <QObject>

// Why a query ended without the server's information.
enum class QueryFailure {
    NoReply,      // nothing came back, the retry included
    HostNotFound, // the name does not resolve to an address
    Unrecognised, // the server answered something that is not a reply we can read
};

// Asks a game server what it runs and who is on it, without blocking. Each start() gives
// either infoReceived (then perhaps playersReceived) or failed, and always ends with finished.
class ServerQuery : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Drops a query still under way (it signals nothing more) and asks host:port.
    virtual void start(const QString &host, quint16 port) = 0;
    // Drops the query under way, if any; nothing more is signalled for it.
    virtual void cancel() = 0;
    // Asks the rules too, after the player list (rulesReceived); a query that cannot ignores it.
    virtual void setAskRules(bool ask) { Q_UNUSED(ask); }

Q_SIGNALS:
    void infoReceived(const ServerInfo &info, qint64 pingMilliseconds);
    void playersReceived(const QList<PlayerInfo> &players);
    // Only from a query asked for the rules too (after the players).
    void rulesReceived(const QList<ServerRule> &rules);
    void failed(QueryFailure failure);
    void finished();
};
