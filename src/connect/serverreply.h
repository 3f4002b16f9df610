#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

// What a game server says about itself in answer to an information query.
struct ServerInfo {
    QString name;
    QString map;
    QString folder;
    QString game;
    QString version; // empty when the server sends none
    int protocol = 0;
    int players = 0;
    int maxPlayers = 0;
    int bots = 0;
    char type = 0;        // 'd' dedicated, 'l' listen, 'p' proxy (lower case)
    char environment = 0; // 'l', 'w', 'm' or 'o' (lower case)
    bool password = false;
    bool vac = false;
    bool obsoleteLayout = false; // the old 'm' answer
};

// One row of a server's player list.
struct PlayerInfo {
    QString name;
    qint32 score = 0;
    int seconds = 0; // time connected, whole seconds, never negative
};

// One of a server's rules (its settings), as A2S_RULES lists them.
struct ServerRule {
    QString key;
    QString value;
};

enum class ReplyKind {
    Unrecognised, // short, oversized, cut off, unknown or split: nothing to show
    Challenge,    // the server wants the request again with the challenge appended
    Info,
    Players,
    Rules,
};

struct ServerReply {
    ReplyKind kind = ReplyKind::Unrecognised;
    QByteArray challenge; // four bytes, for a Challenge
    ServerInfo info;
    QList<PlayerInfo> players;
    QList<ServerRule> rules;
};

// No reply to a query is longer than this; a longer packet is refused unread.
inline constexpr qsizetype kMaxReplySize = 1400;
// A reply put together from split packets (at most 16) is never longer than this.
inline constexpr qsizetype kMaxAssembledSize = 16 * kMaxReplySize;

// Reads one packet a server sent back. Every byte is untrusted: reads are bounded, a reply
// that ends early or carries an unknown header is Unrecognised, and names come back without
// control characters.
// maxSize: kMaxAssembledSize for a reply put together from split packets.
ServerReply parseServerReply(QByteArrayView packet, qsizetype maxSize = kMaxReplySize);

// The information request, with the challenge appended when the server asked for one.
QByteArray infoRequest(QByteArrayView challenge = {});
// The player-list request; without a challenge it asks the server for one.
QByteArray playersRequest(QByteArrayView challenge = {});
// The rules request (A2S_RULES); without a challenge it asks the server for one.
QByteArray rulesRequest(QByteArrayView challenge = {});

// Text from a server made fit to show: UTF-8 (bad sequences replaced), without control
// characters, bidirectional controls or other invisible format characters (ZWNJ and ZWJ stay
// between two letters or marks), blanks at its ends removed.
QString cleanServerText(QByteArrayView raw);

// "12/16", or "12/16 (3 bots)" when there are bots ("12/16 (1 bot)" for one).
QString playersText(const ServerInfo &info);
// "48 ms".
QString pingText(qint64 milliseconds);
// "0:42", "12:05", "1:02:03".
QString durationText(int seconds);
