// libFuzzer target for the reader of game servers' query replies.
//
// Input: one packet, as it would arrive from the network. Besides "no crash, no hang, no
// undefined behaviour", every run checks what the window relies on:
//  - a packet shorter than a header or longer than the largest reply is never read;
//  - a challenge carries exactly four bytes;
//  - no text taken from the packet keeps a control character, a bidirectional control or any
//    other format character (a joiner only between two letters or marks), nor blanks at its ends;
//  - a player's time is never negative nor beyond ten years; counts fit in a byte; a list holds
//    no more players than it announces;
//  - reading the same bytes twice gives the same answer.
//  - rules: texts clean as above, only in a rules answer;
//  - split replies: the input cut into packets (its first byte says how) and fed to the
//    reassembly never gives a reply longer than 16 packets' worth, nor one that does not start
//    with the single-packet header, and that reply reads with the same properties.

#include "connect/serverreply.h"
#include "connect/splitreply.h"

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char *what, const QString &text = {})
{
    std::fprintf(stderr, "PROPERTY BROKEN: %s %s\n", what, qPrintable(text));
    std::abort();
}

// Stated again here rather than shared with the reader, so that a fault there cannot agree
// with itself.
void checkText(const QString &text)
{
    const QList<uint> u = text.toUcs4();
    const auto wordPart = [&u](qsizetype i) {
        return i >= 0 && i < u.size() && (QChar::isLetter(u[i]) || QChar::isMark(u[i]));
    };
    for (qsizetype i = 0; i < u.size(); ++i) {
        const char32_t c = u[i];
        if (c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029)
            fail("control character or line break kept in", text);
        if (c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E)
            || (c >= 0x2066 && c <= 0x2069))
            fail("bidirectional control kept in", text);
        const bool joiner = c == 0x200C || c == 0x200D;
        if (QChar::category(c) == QChar::Other_Format
            && !(joiner && wordPart(i - 1) && wordPart(i + 1)))
            fail("format character kept in", text);
    }
    if (text != text.trimmed())
        fail("blanks kept at the ends of", text);
}

bool same(const ServerReply &a, const ServerReply &b)
{
    if (a.kind != b.kind || a.challenge != b.challenge || a.players.size() != b.players.size())
        return false;
    for (qsizetype i = 0; i < a.players.size(); ++i) {
        if (a.players[i].name != b.players[i].name || a.players[i].score != b.players[i].score
            || a.players[i].seconds != b.players[i].seconds)
            return false;
    }
    return a.info.name == b.info.name && a.info.map == b.info.map
        && a.info.players == b.info.players && a.info.password == b.info.password
        && a.rules.size() == b.rules.size();
}

void checkReply(const QByteArray &packet, qsizetype maxSize)
{
    const ServerReply reply = parseServerReply(packet, maxSize);

    if (reply.kind != ReplyKind::Unrecognised && (packet.size() < 5 || packet.size() > maxSize))
        fail("a packet of the wrong size was read");
    if ((reply.kind == ReplyKind::Challenge) != (reply.challenge.size() == 4))
        fail("challenge of the wrong size");
    if (reply.kind == ReplyKind::Info) {
        const ServerInfo &info = reply.info;
        for (const QString &text : {info.name, info.map, info.folder, info.game, info.version})
            checkText(text);
        for (const int count : {info.players, info.maxPlayers, info.bots, info.protocol}) {
            if (count < 0 || count > 255)
                fail("count out of a byte");
        }
        // What the window shows for the counts must be its own plain text.
        checkText(playersText(info));
    }
    if (reply.kind != ReplyKind::Players && !reply.players.isEmpty())
        fail("players outside a player list");
    if (reply.kind != ReplyKind::Rules && !reply.rules.isEmpty())
        fail("rules outside a rules answer");
    if (reply.players.size() > 255)
        fail("more players than a count byte can announce");
    if (!reply.players.isEmpty() && reply.players.size() > quint8(packet[5]))
        fail("more players than the list announces");
    for (const PlayerInfo &player : reply.players) {
        checkText(player.name);
        if (player.seconds < 0 || player.seconds > 10 * 365 * 24 * 3600)
            fail("player time out of range");
        checkText(durationText(player.seconds));
    }
    for (const ServerRule &rule : reply.rules) {
        checkText(rule.key);
        checkText(rule.value);
    }
    if (!same(reply, parseServerReply(packet, maxSize)))
        fail("two reads of the same bytes differ");

    // The challenge goes back to the server as it came.
    if (reply.kind == ReplyKind::Challenge) {
        if (!infoRequest(reply.challenge).endsWith(reply.challenge)
            || playersRequest(reply.challenge).size() != 9
            || rulesRequest(reply.challenge).size() != 9)
            fail("challenge not sent back whole");
    }
}

// The input as packets for the reassembly: its first byte is the length of each packet (1 to
// 256), the rest is cut into pieces of that length. The clock moves on by the second byte.
void checkSplit(const QByteArray &input)
{
    if (input.size() < 2)
        return;
    const qsizetype length = qsizetype(quint8(input[0])) + 1;
    const qint64 step = quint8(input[1]);
    SplitReplies split;
    qint64 now = 0;
    for (qsizetype at = 2; at < input.size(); at += length) {
        const QByteArray packet = input.mid(at, length);
        const std::optional<QByteArray> whole = split.add(packet, now);
        now += step;
        if (!whole)
            continue;
        if (whole->size() > kMaxAssembledSize)
            fail("reassembled reply too long");
        if (!whole->startsWith("\xFF\xFF\xFF\xFF"))
            fail("reassembled reply without its header");
        checkReply(*whole, kMaxAssembledSize);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray packet(reinterpret_cast<const char *>(data), qsizetype(size));
    checkReply(packet, kMaxReplySize);
    checkSplit(packet);
    return 0;
}
