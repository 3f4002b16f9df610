#include "connect/serverreply.h"

#include <QtEndian>

#include <cmath>
#include <optional>

namespace {

constexpr char kSingle[] = "\xFF\xFF\xFF\xFF";
constexpr char kSplit[] = "\xFE\xFF\xFF\xFF";
constexpr qsizetype kHeaderSize = 4;
constexpr int kMaxSeconds = 10 * 365 * 24 * 3600; // ten years: more is a wrong value

// A bounded reader: every read says whether the bytes were there, and once one read comes up
// short every later one fails too, so checking the last read of a run checks them all.
class Reader
{
public:
    explicit Reader(QByteArrayView bytes)
        : m_bytes(bytes)
    {
    }

    bool atEnd() const { return m_pos >= m_bytes.size(); }

    std::optional<quint8> byte()
    {
        if (m_failed || m_pos >= m_bytes.size())
            return failed<quint8>();
        return static_cast<quint8>(m_bytes[m_pos++]);
    }

    std::optional<QByteArrayView> bytes(qsizetype count)
    {
        if (m_failed || count < 0 || m_bytes.size() - m_pos < count)
            return failed<QByteArrayView>();
        const QByteArrayView view = m_bytes.sliced(m_pos, count);
        m_pos += count;
        return view;
    }

    // A little-endian number as wide as T.
    template <typename T>
    std::optional<T> number()
    {
        const auto raw = bytes(qsizetype(sizeof(T)));
        if (!raw)
            return std::nullopt;
        return qFromLittleEndian<T>(raw->data());
    }

    // A NUL-terminated string; without its NUL it is not there.
    std::optional<QByteArrayView> string()
    {
        const qsizetype end = m_failed ? -1 : m_bytes.indexOf('\0', m_pos);
        if (end < 0)
            return failed<QByteArrayView>();
        const QByteArrayView view = m_bytes.sliced(m_pos, end - m_pos);
        m_pos = end + 1;
        return view;
    }

    std::optional<QString> text()
    {
        const auto raw = string();
        if (!raw)
            return std::nullopt;
        return cleanServerText(*raw);
    }

private:
    template <typename T>
    std::optional<T> failed()
    {
        m_failed = true;
        return std::nullopt;
    }

    QByteArrayView m_bytes;
    qsizetype m_pos = 0;
    bool m_failed = false;
};

char lower(quint8 c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : char(c);
}

// Unicode's Bidi_Control characters: they reorder what follows them, so a name could show
// itself as something else.
bool isBidiControl(char32_t c)
{
    return c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E)
        || (c >= 0x2066 && c <= 0x2069);
}

bool isWordPart(char32_t c)
{
    switch (QChar::category(c)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing: return true;
    default: return QChar::isLetter(c);
    }
}

// Whether the character at index i is dropped. Format characters are invisible and can hide
// or reorder text; ZWNJ and ZWJ are kept only between two parts of a word, where some scripts
// need them to join or separate letters.
bool isHidden(const QList<uint> &text, qsizetype i)
{
    const char32_t c = text[i];
    if (isBidiControl(c))
        return true;
    switch (QChar::category(c)) {
    case QChar::Other_Control:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph: return true;
    case QChar::Other_Format: break;
    default: return false;
    }
    if (c != 0x200C && c != 0x200D)
        return true;
    return i == 0 || i + 1 >= text.size() || !isWordPart(text[i - 1]) || !isWordPart(text[i + 1]);
}

// Name, map, folder and game: four texts both layouts carry in this order.
bool readTexts(Reader &in, ServerInfo &info)
{
    const auto name = in.text();
    const auto map = in.text();
    const auto folder = in.text();
    const auto game = in.text();
    if (!game)
        return false;
    info.name = *name;
    info.map = *map;
    info.folder = *folder;
    info.game = *game;
    return true;
}

// Server type, environment and visibility: three bytes both layouts carry in this order.
bool readKind(Reader &in, ServerInfo &info)
{
    const auto type = in.byte();
    const auto environment = in.byte();
    const auto visibility = in.byte();
    if (!visibility)
        return false;
    info.type = lower(*type);
    info.environment = lower(*environment);
    info.password = *visibility != 0;
    return true;
}

std::optional<ServerInfo> readInfo(Reader &in)
{
    ServerInfo info;
    const auto protocol = in.byte();
    if (!protocol || !readTexts(in, info))
        return std::nullopt;
    const auto appId = in.number<quint16>();
    const auto players = in.byte();
    const auto maxPlayers = in.byte();
    const auto bots = in.byte();
    if (!bots || !readKind(in, info))
        return std::nullopt;
    const auto vac = in.byte();
    if (!vac)
        return std::nullopt;
    info.protocol = *protocol;
    info.players = *players;
    info.maxPlayers = *maxPlayers;
    info.bots = *bots;
    info.vac = *vac != 0;
    // One game puts three more bytes here; the rest is optional and read only when whole.
    constexpr quint16 kShipAppId = 2400;
    if (*appId == kShipAppId && !in.bytes(3))
        return info;
    if (const auto version = in.text())
        info.version = *version;
    return info;
}

std::optional<ServerInfo> readObsoleteInfo(Reader &in)
{
    ServerInfo info;
    info.obsoleteLayout = true;
    // The address the server gives for itself: the window uses the one it asked.
    if (!in.string() || !readTexts(in, info))
        return std::nullopt;
    const auto players = in.byte();
    const auto maxPlayers = in.byte();
    const auto protocol = in.byte();
    if (!protocol || !readKind(in, info))
        return std::nullopt;
    const auto mod = in.byte();
    if (!mod)
        return std::nullopt;
    if (*mod == 1) {
        // Link, download link, a NUL, version, size, type and DLL: nothing the window shows.
        if (!in.string() || !in.string() || !in.byte() || !in.bytes(4) || !in.bytes(4) || !in.byte()
            || !in.byte())
            return std::nullopt;
    }
    const auto vac = in.byte();
    const auto bots = in.byte();
    if (!bots)
        return std::nullopt;
    info.players = *players;
    info.maxPlayers = *maxPlayers;
    info.protocol = *protocol;
    info.vac = *vac != 0;
    info.bots = *bots;
    return info;
}

std::optional<QList<PlayerInfo>> readPlayers(Reader &in)
{
    const auto count = in.byte();
    if (!count)
        return std::nullopt;
    QList<PlayerInfo> players;
    // Some servers announce more players than they list: a list that stops between two
    // players is kept, one that stops inside a player is not.
    for (int i = 0; i < *count && !in.atEnd(); ++i) {
        const auto index = in.byte();
        const auto name = in.text();
        const auto score = in.number<qint32>();
        const auto seconds = in.number<float>();
        if (!seconds)
            return std::nullopt;
        Q_UNUSED(index);
        PlayerInfo player;
        player.name = *name;
        player.score = *score;
        // Any float may arrive: NaN, infinities and negatives read as no time at all.
        const float s = *seconds;
        player.seconds = (std::isfinite(s) && s > 0)
            ? (s >= float(kMaxSeconds) ? kMaxSeconds : int(s))
            : 0;
        players.append(player);
    }
    return players;
}

std::optional<QList<ServerRule>> readRules(Reader &in)
{
    const auto count = in.number<quint16>();
    if (!count)
        return std::nullopt;
    QList<ServerRule> rules;
    // As for players: a list that stops between two rules keeps those before.
    for (int i = 0; i < *count && !in.atEnd(); ++i) {
        const auto key = in.text();
        const auto value = in.text();
        if (!value)
            return std::nullopt;
        rules.append({*key, *value});
    }
    return rules;
}

QByteArray request(char kind, QByteArrayView challenge)
{
    QByteArray request(kSingle, kHeaderSize);
    request += kind;
    request += challenge.isEmpty() ? QByteArrayView(kSingle, kHeaderSize) : challenge;
    return request;
}

} // namespace

ServerReply parseServerReply(QByteArrayView packet, qsizetype maxSize)
{
    ServerReply reply;
    if (packet.size() < kHeaderSize + 1 || packet.size() > qMin(maxSize, kMaxAssembledSize))
        return reply;
    // A reply in several packets is not put together: it reads as unrecognised.
    if (packet.first(kHeaderSize) == QByteArrayView(kSplit, kHeaderSize))
        return reply;
    if (packet.first(kHeaderSize) != QByteArrayView(kSingle, kHeaderSize))
        return reply;
    Reader in(packet.sliced(kHeaderSize + 1));
    switch (packet[kHeaderSize]) {
    case 'A':
        if (const auto challenge = in.bytes(4)) {
            reply.kind = ReplyKind::Challenge;
            reply.challenge = challenge->toByteArray();
        }
        break;
    case 'I':
        if (const auto info = readInfo(in)) {
            reply.kind = ReplyKind::Info;
            reply.info = *info;
        }
        break;
    case 'm':
        if (const auto info = readObsoleteInfo(in)) {
            reply.kind = ReplyKind::Info;
            reply.info = *info;
        }
        break;
    case 'D':
        if (const auto players = readPlayers(in)) {
            reply.kind = ReplyKind::Players;
            reply.players = *players;
        }
        break;
    case 'E':
        if (const auto rules = readRules(in)) {
            reply.kind = ReplyKind::Rules;
            reply.rules = *rules;
        }
        break;
    default: break;
    }
    return reply;
}

QByteArray infoRequest(QByteArrayView challenge)
{
    QByteArray request(kSingle, kHeaderSize);
    request += "TSource Engine Query";
    request += '\0';
    request += challenge;
    return request;
}

QByteArray playersRequest(QByteArrayView challenge)
{
    return request('U', challenge);
}

QByteArray rulesRequest(QByteArrayView challenge)
{
    return request('V', challenge);
}

QString cleanServerText(QByteArrayView raw)
{
    const QList<uint> decoded = QString::fromUtf8(raw).toUcs4();
    QString clean;
    clean.reserve(decoded.size());
    for (qsizetype i = 0; i < decoded.size(); ++i) {
        if (isHidden(decoded, i))
            continue;
        const char32_t c = decoded[i];
        if (QChar::requiresSurrogates(c)) {
            clean += QChar(QChar::highSurrogate(c));
            clean += QChar(QChar::lowSurrogate(c));
        } else {
            clean += QChar(c);
        }
    }
    return clean.trimmed();
}

QString playersText(const ServerInfo &info)
{
    QString count = QStringLiteral("%1/%2").arg(info.players).arg(info.maxPlayers);
    if (info.bots <= 0)
        return count;
    return (info.bots == 1 ? QStringLiteral("%1 (%2 bot)") : QStringLiteral("%1 (%2 bots)"))
        .arg(count)
        .arg(info.bots);
}

QString pingText(qint64 milliseconds)
{
    return QStringLiteral("%1 ms").arg(milliseconds);
}

QString durationText(int seconds)
{
    const int s = seconds < 0 ? 0 : seconds;
    const int hours = s / 3600;
    const int minutes = (s / 60) % 60;
    const QString rest = QStringLiteral("%1").arg(s % 60, 2, 10, QLatin1Char('0'));
    if (hours > 0)
        return QStringLiteral("%1:%2:%3")
            .arg(hours)
            .arg(minutes, 2, 10, QLatin1Char('0'))
            .arg(rest);
    return QStringLiteral("%1:%2").arg(minutes).arg(rest);
}
