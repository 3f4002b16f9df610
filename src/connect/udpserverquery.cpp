#include "connect/udpserverquery.h"

#include <QHostInfo>
#include <QUdpSocket>

namespace {

// A server that keeps asking for a new challenge is not answering.
constexpr int kMaxChallenges = 3;
// Larger than any reply, so that an oversized packet is seen whole and refused.
constexpr qsizetype kReadBufferSize = 65536;

void systemLookup(const QString &host, QObject *context,
                  std::function<void(const QList<QHostAddress> &)> done)
{
    QHostInfo::lookupHost(host, context, [done = std::move(done)](const QHostInfo &info) {
        done(info.error() == QHostInfo::NoError ? info.addresses() : QList<QHostAddress>());
    });
}

} // namespace

UdpServerQuery::UdpServerQuery(QObject *parent)
    : ServerQuery(parent)
    , m_lookup(systemLookup)
{
    m_timer.setSingleShot(true);
    m_clock.start();
    connect(&m_timer, &QTimer::timeout, this, &UdpServerQuery::timedOut);
}

UdpServerQuery::~UdpServerQuery()
{
    cancel();
}

void UdpServerQuery::start(const QString &host, quint16 port)
{
    cancel();
    ++m_generation;
    m_port = port;
    m_phase = Phase::Lookup;
    QObject *context = new QObject(this);
    m_lookupContext = context;
    auto done = [this, context](const QList<QHostAddress> &addresses) {
        if (context == m_lookupContext)
            resolved(addresses);
    };
    // An address typed as numbers is used as it is: the system lookup would turn it into a
    // reverse lookup through the name servers.
    const QHostAddress literal(host);
    if (!literal.isNull())
        QTimer::singleShot(0, context, [done, literal] { done({literal}); });
    else
        m_lookup(host, context, done);
}

void UdpServerQuery::cancel()
{
    m_timer.stop();
    if (m_lookupContext) {
        m_lookupContext->deleteLater();
        m_lookupContext = nullptr;
    }
    dropSocket();
    m_phase = Phase::Idle;
    m_challenge.clear();
    m_challenges = 0;
    m_split.clear();
}

void UdpServerQuery::dropSocket()
{
    if (!m_socket)
        return;
    // The socket may be the sender of the signal being handled: let Qt delete it later.
    m_socket->disconnect(this);
    m_socket->close();
    m_socket->deleteLater();
    m_socket = nullptr;
}

void UdpServerQuery::resolved(const QList<QHostAddress> &addresses)
{
    if (m_lookupContext) {
        m_lookupContext->deleteLater();
        m_lookupContext = nullptr;
    }
    if (addresses.isEmpty()) {
        fail(QueryFailure::HostNotFound);
        return;
    }
    // The game speaks IPv4: prefer such an address when the name has both kinds.
    m_address = addresses.first();
    for (const QHostAddress &address : addresses) {
        if (address.protocol() == QAbstractSocket::IPv4Protocol) {
            m_address = address;
            break;
        }
    }
    m_socket = new QUdpSocket(this);
    const bool ipv6 = m_address.protocol() == QAbstractSocket::IPv6Protocol;
    // A server on this machine is asked from the loopback interface only.
    const QHostAddress local = m_address.isLoopback()
        ? QHostAddress(ipv6 ? QHostAddress::LocalHostIPv6 : QHostAddress::LocalHost)
        : QHostAddress(ipv6 ? QHostAddress::AnyIPv6 : QHostAddress::AnyIPv4);
    if (!m_socket->bind(local, 0)) {
        fail(QueryFailure::NoReply);
        return;
    }
    connect(m_socket, &QUdpSocket::readyRead, this, &UdpServerQuery::readPackets);
    m_phase = Phase::Info;
    sendRequest(false);
}

void UdpServerQuery::sendRequest(bool retry)
{
    const QByteArray request = m_phase == Phase::Info ? infoRequest(m_challenge)
        : m_phase == Phase::Players                   ? playersRequest(m_challenge)
                                                      : rulesRequest(m_challenge);
    m_retried = retry;
    m_sentAt.start();
    m_socket->writeDatagram(request, m_address, m_port);
    m_timer.start(m_timeout);
}

void UdpServerQuery::readPackets()
{
    if (m_buffer.size() != kReadBufferSize)
        m_buffer.resize(kReadBufferSize);
    while (m_socket && m_socket->hasPendingDatagrams()) {
        QHostAddress sender;
        quint16 senderPort = 0;
        const qint64 size = m_socket->readDatagram(m_buffer.data(), m_buffer.size(), &sender,
                                                   &senderPort);
        if (size < 0)
            continue;
        if (senderPort != m_port || !sender.isEqual(m_address, QHostAddress::ConvertV4MappedToIPv4))
            continue;
        const QByteArrayView packet(m_buffer.constData(), size);
        if (!SplitReplies::isSplit(packet)) {
            handle(parseServerReply(packet));
            continue;
        }
        // A part of a longer reply: read once all its parts are there.
        if (const std::optional<QByteArray> whole = m_split.add(packet, m_clock.elapsed()))
            handle(parseServerReply(*whole, kMaxAssembledSize));
    }
}

void UdpServerQuery::handle(const ServerReply &reply)
{
    const bool askingInfo = m_phase == Phase::Info;
    switch (reply.kind) {
    case ReplyKind::Challenge:
        if (++m_challenges > kMaxChallenges) {
            askingInfo ? fail(QueryFailure::Unrecognised) : nextAfter(m_phase);
            return;
        }
        m_challenge = reply.challenge;
        sendRequest(false);
        return;
    case ReplyKind::Info:
        if (!askingInfo)
            return; // a late answer to the information request sent twice
        {
            const qint64 ping = m_sentAt.elapsed();
            const quint64 generation = m_generation;
            m_timer.stop();
            Q_EMIT infoReceived(reply.info, ping);
            if (generation != m_generation || m_phase != Phase::Info)
                return; // the receiver started another query or cancelled this one
        }
        m_phase = Phase::Players;
        m_challenge.clear();
        m_challenges = 0;
        sendRequest(false);
        return;
    case ReplyKind::Players:
        if (m_phase != Phase::Players)
            return;
        {
            const quint64 generation = m_generation;
            m_timer.stop();
            Q_EMIT playersReceived(reply.players);
            if (generation == m_generation && m_phase == Phase::Players)
                nextAfter(Phase::Players);
        }
        return;
    case ReplyKind::Rules:
        if (m_phase != Phase::Rules)
            return;
        {
            const quint64 generation = m_generation;
            m_timer.stop();
            Q_EMIT rulesReceived(reply.rules);
            if (generation == m_generation && m_phase == Phase::Rules)
                finish();
        }
        return;
    case ReplyKind::Unrecognised:
        // Without a list the information already shown stands.
        askingInfo ? fail(QueryFailure::Unrecognised) : nextAfter(m_phase);
        return;
    }
}

void UdpServerQuery::nextAfter(Phase done)
{
    if (done != Phase::Players || !m_askRules) {
        finish();
        return;
    }
    m_phase = Phase::Rules;
    m_challenge.clear();
    m_challenges = 0;
    sendRequest(false);
}

void UdpServerQuery::timedOut()
{
    if (m_phase != Phase::Info && m_phase != Phase::Players && m_phase != Phase::Rules)
        return;
    if (!m_retried) {
        sendRequest(true);
        return;
    }
    m_phase == Phase::Info ? fail(QueryFailure::NoReply) : nextAfter(m_phase);
}

void UdpServerQuery::fail(QueryFailure failure)
{
    cancel();
    const quint64 generation = m_generation;
    Q_EMIT failed(failure);
    if (generation == m_generation)
        Q_EMIT finished();
}

void UdpServerQuery::finish()
{
    cancel();
    Q_EMIT finished();
}
