#include "connect/splitreply.h"

#include "connect/serverreply.h"

#include <QtEndian>

#include <algorithm>

namespace {

constexpr char kSplit[] = "\xFE\xFF\xFF\xFF";
constexpr char kSingle[] = "\xFF\xFF\xFF\xFF";
constexpr qsizetype kOldHeader = 9;  // split header, id, index and count in one byte
constexpr qsizetype kNewHeader = 12; // split header, id, count, index, size
constexpr quint32 kCompressed = 0x80000000u;

quint8 at(const QByteArray &packet, qsizetype i)
{
    return quint8(packet[i]);
}

bool startsWhole(const QByteArray &packet, qsizetype offset)
{
    return packet.size() >= offset + 4 && QByteArrayView(packet).sliced(offset, 4) == kSingle;
}

// The reply when `packets` are exactly one reply's packets in the given layout.
std::optional<QByteArray> assemble(const QList<QByteArray> &packets, bool newLayout)
{
    const qsizetype header = newLayout ? kNewHeader : kOldHeader;
    const auto count = [&](const QByteArray &p) {
        return newLayout ? int(at(p, 8)) : int(at(p, 8) & 0x0F);
    };
    const auto index = [&](const QByteArray &p) {
        return newLayout ? int(at(p, 9)) : int(at(p, 8) >> 4);
    };
    const int total = count(packets.first());
    if (total < 1 || total > SplitReplies::kMaxPackets || packets.size() != total)
        return std::nullopt;
    QList<const QByteArray *> ordered(total, nullptr);
    for (const QByteArray &p : packets) {
        if (p.size() < header || count(p) != total || index(p) >= total || ordered[index(p)])
            return std::nullopt;
        ordered[index(p)] = &p;
    }
    if (!startsWhole(*ordered.first(), header))
        return std::nullopt;
    QByteArray whole;
    for (const QByteArray *p : ordered)
        whole += QByteArrayView(*p).sliced(header);
    return whole;
}

} // namespace

bool SplitReplies::isSplit(QByteArrayView packet)
{
    return packet.size() >= 4 && packet.first(4) == kSplit;
}

std::optional<QByteArray> SplitReplies::add(QByteArrayView packet, qint64 nowMs)
{
    // The smaller header plus one byte, and no packet longer than a single reply may be.
    if (!isSplit(packet) || packet.size() <= kOldHeader || packet.size() > kMaxReplySize)
        return std::nullopt;
    const quint32 id = qFromLittleEndian<quint32>(packet.data() + 4);
    if (id & kCompressed)
        return std::nullopt; // compressed replies are not read
    m_pending.removeIf([nowMs](const Pending &p) { return nowMs - p.firstMs > kMaxAgeMs; });
    auto pending = std::find_if(m_pending.begin(), m_pending.end(),
                                [id](const Pending &p) { return p.id == id; });
    if (pending == m_pending.end()) {
        if (m_pending.size() >= kMaxPending)
            m_pending.removeFirst();
        m_pending.append({id, nowMs, {}});
        pending = m_pending.end() - 1;
    }
    const QByteArray copy = packet.toByteArray();
    if (pending->packets.contains(copy))
        return std::nullopt; // the same packet twice
    if (pending->packets.size() >= kMaxPackets) {
        m_pending.erase(pending);
        return std::nullopt;
    }
    pending->packets.append(copy);
    // With two packets or more the layouts exclude each other: in the newer one every packet
    // has the same count byte, in the older one the index nibble differs from packet to packet.
    std::optional<QByteArray> whole = assemble(pending->packets, false);
    if (!whole)
        whole = assemble(pending->packets, true);
    if (!whole || whole->size() > kMaxAssembledSize)
        return std::nullopt;
    m_pending.erase(pending);
    return whole;
}
