#include "fakeserver.h"

#include <QHostAddress>
#include <QNetworkDatagram>
#include <QUdpSocket>
#include <QtEndian>

FakeServer::FakeServer(Script s, QObject *parent)
    : QObject(parent)
    , script(std::move(s))
    , m_socket(new QUdpSocket(this))
    , m_other(new QUdpSocket(this))
{
    m_socket->bind(QHostAddress::LocalHost, 0);
    m_other->bind(QHostAddress::LocalHost, 0);
    clock.start();
    connect(m_socket, &QUdpSocket::readyRead, this, &FakeServer::readRequests);
}

quint16 FakeServer::port() const
{
    return m_socket->localPort();
}

void FakeServer::readRequests()
{
    while (m_socket->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = m_socket->receiveDatagram();
        const QByteArray request = datagram.data();
        requests.append(request);
        if (script.unanswered > 0) {
            --script.unanswered;
            continue;
        }
        const quint16 port = quint16(datagram.senderPort());
        const bool isInfo = request.startsWith("\xFF\xFF\xFF\xFFTSource Engine Query");
        const bool isPlayers = request.startsWith("\xFF\xFF\xFF\xFFU");
        const bool isRules = request.startsWith("\xFF\xFF\xFF\xFFV");
        const QByteArray challenge = isInfo ? script.infoChallenge
            : isPlayers                     ? script.playersChallenge
                                            : script.rulesChallenge;
        if (!isInfo && !isPlayers && !isRules)
            continue;
        if (!challenge.isEmpty() && !request.endsWith(challenge))
            answer(Packet::challenge(challenge), port);
        else if (isInfo && !script.infoParts.isEmpty())
            for (const QByteArray &part : std::as_const(script.infoParts))
                answer(part, port);
        else if (isRules)
            for (const QByteArray &part : std::as_const(script.rules))
                answer(part, port);
        else
            answer(isInfo ? script.info : script.players, port);
        if (isInfo)
            infoAnsweredNs = clock.nsecsElapsed();
    }
}

void FakeServer::answer(const QByteArray &packet, quint16 port)
{
    if (!script.otherPort.isEmpty())
        m_other->writeDatagram(script.otherPort, QHostAddress::LocalHost, port);
    if (packet.isEmpty())
        return;
    QUdpSocket *from = script.answerFromOtherPort ? m_other : m_socket;
    from->writeDatagram(packet, QHostAddress::LocalHost, port);
}

namespace Packet {

namespace {

QByteArray header(char kind)
{
    return QByteArray("\xFF\xFF\xFF\xFF", 4) + kind;
}

QByteArray string(const QByteArray &text)
{
    return text + '\0';
}

QByteArray littleEndian(qint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

} // namespace

QByteArray challenge(const QByteArray &fourBytes)
{
    return header('A') + fourBytes;
}

QByteArray info(const Info &i)
{
    QByteArray p = header('I');
    p += char(48);
    p += string(i.name) + string(i.map) + string(i.folder) + string(i.game);
    p += QByteArray("\x46\x00", 2); // app id 70
    p += char(i.players);
    p += char(i.maxPlayers);
    p += char(i.bots);
    p += 'd';
    p += 'l';
    p += char(i.password ? 1 : 0);
    p += char(1);
    p += string("1.1.2.7/Stdio");
    p += char(0x80);
    p += QByteArray("\x87\x69", 2);
    return p;
}

QByteArray obsoleteInfo(const Info &i)
{
    QByteArray p = header('m');
    p += string("127.0.0.1:27015");
    p += string(i.name) + string(i.map) + string(i.folder) + string(i.game);
    p += char(i.players);
    p += char(i.maxPlayers);
    p += char(47);
    p += 'D';
    p += 'W';
    p += char(i.password ? 1 : 0);
    p += char(1); // a mod, with its fields
    p += string("http://www.example.org") + string("http://www.example.org/get");
    p += '\0';
    p += littleEndian(1) + littleEndian(184000);
    p += char(0);
    p += char(1);
    p += char(0); // VAC
    p += char(i.bots);
    return p;
}

QByteArray players(const QList<Player> &list)
{
    QByteArray p = header('D');
    p += char(list.size());
    for (const Player &player : list) {
        p += char(0);
        p += string(player.name);
        p += littleEndian(player.score);
        QByteArray seconds(4, '\0');
        qToLittleEndian(player.seconds, seconds.data());
        p += seconds;
    }
    return p;
}

} // namespace Packet

namespace Packet {

QByteArray rules(const QList<QPair<QByteArray, QByteArray>> &pairs)
{
    QByteArray p = header('E');
    p += char(pairs.size() & 0xFF);
    p += char(pairs.size() >> 8);
    for (const auto &[key, value] : pairs)
        p += string(key) + string(value);
    return p;
}

QList<QByteArray> split(const QByteArray &whole, int count, quint32 id, bool newLayout)
{
    QList<QByteArray> parts;
    const qsizetype size = (whole.size() + count - 1) / count;
    for (int i = 0; i < count; ++i) {
        const QByteArray payload = whole.mid(i * size, size);
        QByteArray p("\xFE\xFF\xFF\xFF", 4);
        p += littleEndian(qint32(id));
        if (newLayout) {
            p += char(count);
            p += char(i);
            p += char(1248 & 0xFF);
            p += char(1248 >> 8);
        } else {
            p += char((i << 4) | count);
        }
        parts.append(p + payload);
    }
    return parts;
}

} // namespace Packet
