#pragma once

#include "connect/serverquery.h"
#include "connect/splitreply.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QTimer>

#include <chrono>
#include <functional>

class QUdpSocket;

// The query over UDP: the host name looked up asynchronously, each request sent again once
// when nothing comes back in time, challenges answered, the ping timed from the request that
// was answered. Only packets from the very address and port asked are read.
class UdpServerQuery final : public ServerQuery
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(UdpServerQuery)

public:
    // Calls done with the host's addresses (none: not found), later, never from inside the call.
    // The context object's destruction drops the answer.
    using HostLookup = std::function<void(const QString &host, QObject *context,
                                          std::function<void(const QList<QHostAddress> &)> done)>;

    static constexpr std::chrono::milliseconds kDefaultTimeout{2000};

    explicit UdpServerQuery(QObject *parent = nullptr);
    ~UdpServerQuery() override;

    // How long each request waits for its answer before it is sent again or given up.
    void setTimeout(std::chrono::milliseconds timeout) { m_timeout = timeout; }
    // Replaces the system's name lookup (tests answer without asking any name server).
    void setHostLookup(HostLookup lookup) { m_lookup = std::move(lookup); }
    void setAskRules(bool ask) override { m_askRules = ask; }

    void start(const QString &host, quint16 port) override;
    void cancel() override;

private:
    enum class Phase { Idle, Lookup, Info, Players, Rules };

    void resolved(const QList<QHostAddress> &addresses);
    void sendRequest(bool retry);
    void readPackets();
    void handle(const ServerReply &reply);
    void timedOut();
    void fail(QueryFailure failure);
    void finish();
    // The list or the rules are done (received or not): the next request, or the end.
    void nextAfter(Phase done);
    void dropSocket();

    std::chrono::milliseconds m_timeout = kDefaultTimeout;
    HostLookup m_lookup;
    QObject *m_lookupContext = nullptr;
    QUdpSocket *m_socket = nullptr;
    QTimer m_timer;
    QElapsedTimer m_sentAt;
    QHostAddress m_address;
    quint16 m_port = 0;
    Phase m_phase = Phase::Idle;
    QByteArray m_challenge;
    int m_challenges = 0;
    bool m_retried = false;
    quint64 m_generation = 0; // counts start() calls: a receiver may start another query
    QByteArray m_buffer;
    SplitReplies m_split;
    QElapsedTimer m_clock; // for the age of split replies
    bool m_askRules = false;
};
