#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <optional>

// Puts together a reply that a server sent in several packets ("FE FF FF FF", a 4-byte id, then
// either one byte whose high nibble is the packet's index and low nibble the count, or a count
// byte, an index byte and a 2-byte size). The packets may arrive in any order; which layout a
// reply uses is decided once all its packets are there. Bounded: at most 16 packets a reply, a
// few replies at once, each forgotten 2 s after its first packet.
class SplitReplies
{
public:
    static constexpr int kMaxPackets = 16;
    static constexpr int kMaxPending = 4;
    static constexpr qint64 kMaxAgeMs = 2000;

    // Whether the packet carries the split header.
    static bool isSplit(QByteArrayView packet);

    // Takes one split packet received at nowMs (any steady clock); returns the whole reply
    // (starting with "FF FF FF FF") when this packet completed one. A packet that cannot belong
    // to a reply is dropped.
    std::optional<QByteArray> add(QByteArrayView packet, qint64 nowMs);

    void clear() { m_pending.clear(); }

private:
    struct Pending {
        quint32 id = 0;
        qint64 firstMs = 0;
        QList<QByteArray> packets;
    };

    QList<Pending> m_pending;
};
