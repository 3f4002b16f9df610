#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>

class QUdpSocket;

// How the fake server answers.
struct FakeServerScript {
    QByteArray info{};             // answer to the information request; empty: silence
    QByteArray players{};          // answer to the player-list request; empty: silence
    QByteArray infoChallenge{};    // set: an information request without it gets a challenge
    QByteArray playersChallenge{}; // set: a player-list request without it gets a challenge
    QList<QByteArray> rules{};      // answer to the rules request, one or several packets
    QByteArray rulesChallenge{};    // set: a rules request without it gets a challenge
    QList<QByteArray> infoParts{};  // set: sent in place of info (a split answer)
    QByteArray otherPort{};        // sent first from another port, before each answer
    bool answerFromOtherPort = false; // the answers themselves come from another port
    int unanswered = 0;               // requests left without answer first
};

// A game server on 127.0.0.1 (a free port) that answers queries with packets the test builds.
class FakeServer final : public QObject
{
    Q_OBJECT

public:
    using Script = FakeServerScript;

    explicit FakeServer(Script script = {}, QObject *parent = nullptr);

    quint16 port() const;
    Script script;
    QList<QByteArray> requests;
    // When answers left, on this clock (for delay figures).
    QElapsedTimer clock;
    qint64 infoAnsweredNs = -1; // the last answer to an information request

private:
    void readRequests();
    void answer(const QByteArray &packet, quint16 port);

    QUdpSocket *m_socket;
    QUdpSocket *m_other;
};

// Packets as servers send them.
namespace Packet {
QByteArray challenge(const QByteArray &fourBytes);
struct Info {
    QByteArray name = "Serveur de test";
    QByteArray map = "crossfire";
    QByteArray folder = "valve";
    QByteArray game = "Half-Life";
    int players = 12;
    int maxPlayers = 16;
    int bots = 0;
    bool password = false;
};
QByteArray info(const Info &i);             // the 'I' answer, with a version string
QByteArray obsoleteInfo(const Info &i);     // the old 'm' answer
struct Player {
    QByteArray name{};
    qint32 score = 0;
    float seconds = 0;
};
QByteArray players(const QList<Player> &list);
// The rules answer ('E'): key and value pairs.
QByteArray rules(const QList<QPair<QByteArray, QByteArray>> &pairs);
// A whole answer cut into `count` split packets with this id: the older layout (index and count
// in one byte) or the newer one (count, index, a 2-byte size).
QList<QByteArray> split(const QByteArray &whole, int count, quint32 id, bool newLayout);
} // namespace Packet
