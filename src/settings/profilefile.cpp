#include "settings/profilefile.h"

#include "settings/textfile.h"

#include <algorithm>
#include <cstring>

using TextFile::Encoding;

namespace {

// The file's text as code units: bytes for UTF-8 and 8-bit text, 16-bit little-endian units
// after the BOM for UTF-16. Every character the syntax cares about ([ ] = blanks, line ends)
// is one unit of the same value in each form, and never part of another character, so lines
// are found without decoding and the bytes between them are never touched.
class Units
{
public:
    Units(QByteArrayView bytes, Encoding encoding)
        : m_bytes(bytes)
        , m_encoding(encoding)
        , m_begin(TextFile::bomSize(encoding))
        , m_wide(encoding == Encoding::Utf16LeWithBom)
    {
        const qsizetype body = bytes.size() - m_begin;
        m_size = m_wide ? body / 2 : body; // an odd last byte of UTF-16 is no unit: it is kept
    }

    qsizetype size() const { return m_size; }
    char16_t at(qsizetype i) const
    {
        const qsizetype b = offset(i);
        if (!m_wide)
            return static_cast<unsigned char>(m_bytes[b]);
        return char16_t(static_cast<unsigned char>(m_bytes[b])
                        | (static_cast<unsigned char>(m_bytes[b + 1]) << 8));
    }
    // Byte offset of unit i in the file.
    qsizetype offset(qsizetype i) const { return m_begin + (m_wide ? 2 * i : i); }
    QByteArrayView bytes(qsizetype begin, qsizetype end) const
    {
        return m_bytes.sliced(offset(begin), offset(end) - offset(begin));
    }
    // The first unit c (ASCII) at or after from, or size(). A byte search for 8-bit and UTF-8
    // text, where an ASCII byte is never part of another character.
    qsizetype find(char c, qsizetype from) const
    {
        if (!m_wide) {
            const char *base = m_bytes.data() + m_begin;
            const void *hit = std::memchr(base + from, c, size_t(m_size - from));
            return hit ? static_cast<const char *>(hit) - base : m_size;
        }
        while (from < m_size && at(from) != char16_t(c))
            ++from;
        return from;
    }
    QString text(qsizetype begin, qsizetype end) const
    {
        return TextFile::decode(bytes(begin, end), m_encoding);
    }
    Encoding encoding() const { return m_encoding; }

private:
    QByteArrayView m_bytes;
    Encoding m_encoding;
    qsizetype m_begin;
    bool m_wide;
    qsizetype m_size = 0;
};

bool isBlank(char16_t c)
{
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x1A;
}

bool isLineEnd(char16_t c)
{
    return c == '\r' || c == '\n';
}

char16_t asciiLower(char16_t c)
{
    return (c >= 'A' && c <= 'Z') ? char16_t(c - 'A' + 'a') : c;
}

// Names match without regard to case for A-Z only, like the profile functions.
bool sameName(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (asciiLower(a[i].unicode()) != asciiLower(b[i].unicode()))
            return false;
    }
    return true;
}

struct Span {
    qsizetype begin = 0;
    qsizetype end = 0;
};

// sameName on a name of the file without decoding it when it is plain ASCII (most names), so
// a file of many short lines costs no allocation per line. No encoding gives more characters
// than units, so a shorter name never matches.
bool nameMatches(const Units &u, Span name, QStringView wanted)
{
    const qsizetype size = name.end - name.begin;
    if (size < wanted.size())
        return false;
    bool ascii = true;
    for (qsizetype i = name.begin; i < name.end && ascii; ++i)
        ascii = u.at(i) < 0x80;
    if (!ascii)
        return sameName(u.text(name.begin, name.end), wanted);
    if (size != wanted.size())
        return false;
    for (qsizetype i = 0; i < size; ++i) {
        if (asciiLower(u.at(name.begin + i)) != asciiLower(wanted[i].unicode()))
            return false;
    }
    return true;
}

Span trimmed(const Units &u, Span s)
{
    while (s.begin < s.end && isBlank(u.at(s.begin)))
        ++s.begin;
    while (s.end > s.begin && isBlank(u.at(s.end - 1)))
        --s.end;
    return s;
}

// The value a read gives for the text after '=': blanks dropped, one pair of quotes taken off.
Span valueSpan(const Units &u, Span raw)
{
    Span v = trimmed(u, raw);
    if (v.end - v.begin >= 2) {
        const char16_t first = u.at(v.begin);
        if ((first == '"' || first == '\'') && u.at(v.end - 1) == first)
            v = Span{v.begin + 1, v.end - 1};
    }
    return v;
}

enum class LineKind { Blank, Header, Entry, Other };

// One line of the file, in units: where its text stands, without its line end.
struct Line {
    qsizetype begin = 0;
    qsizetype end = 0;  // end of the line's text
    qsizetype next = 0; // start of the next line (after the line end run)
    LineKind kind = LineKind::Blank;
    Span name; // section name for headers, key name for entries
    Span value;
};

Line parseLine(const Units &u, qsizetype begin, qsizetype end, qsizetype next)
{
    Line line{begin, end, next, LineKind::Blank, {}, {}};
    Span raw{begin, end};
    // A NUL ends the text it stands in.
    for (qsizetype i = begin; i < end; ++i) {
        if (u.at(i) == 0) {
            raw.end = i;
            break;
        }
    }
    const Span t = trimmed(u, raw);
    if (t.begin == t.end)
        return line;
    if (u.at(t.begin) == '[') {
        qsizetype close = t.end - 1;
        while (close > t.begin && u.at(close) != ']')
            --close;
        if (close > t.begin) {
            line.kind = LineKind::Header;
            line.name = trimmed(u, Span{t.begin + 1, close});
            return line;
        }
    }
    qsizetype eq = t.begin;
    while (eq < t.end && u.at(eq) != '=')
        ++eq;
    if (eq == t.end) {
        line.kind = LineKind::Other;
        return line;
    }
    line.kind = LineKind::Entry;
    line.name = trimmed(u, Span{t.begin, eq});
    line.value = valueSpan(u, Span{eq + 1, t.end});
    return line;
}

// Where a key stands: the first section of that name, and the first entry of that name in it.
// One pass with no record per line: only headers and the lines of the wanted section are looked
// at closely, and the search stops at the key.
struct Location {
    bool sectionFound = false;
    bool entryFound = false;
    Line entry;
    Line lastOfSection; // the last line of the section that is not blank (its header at least)
};

// The start of the line that holds unit i, not before from (itself a line start).
qsizetype lineStart(const Units &u, qsizetype from, qsizetype i)
{
    while (i > from && !isLineEnd(u.at(i - 1)))
        --i;
    return i;
}

// The start of the line after the one that holds unit i.
qsizetype nextLine(const Units &u, qsizetype i)
{
    const qsizetype size = u.size();
    while (i < size && !isLineEnd(u.at(i)))
        ++i;
    while (i < size && isLineEnd(u.at(i)))
        ++i;
    return i;
}

Location locate(const Units &u, QStringView section, QStringView key)
{
    Location loc;
    const qsizetype size = u.size();
    qsizetype pos = 0;
    while (pos < size) {
        if (!loc.sectionFound) {
            // Until the section is found only headers matter: jump from '[' to '[' and look
            // at a line only when its '[' stands first, after blanks. A big file of short
            // lines is then searched at the speed of memchr.
            const qsizetype bracket = u.find('[', pos);
            if (bracket == size)
                return loc;
            const qsizetype start = lineStart(u, pos, bracket);
            qsizetype first = start;
            while (first < bracket && isBlank(u.at(first)))
                ++first;
            if (first != bracket) {
                pos = nextLine(u, bracket);
                continue;
            }
            pos = start;
        }
        qsizetype end = pos;
        while (end < size && !isLineEnd(u.at(end)))
            ++end;
        qsizetype next = end;
        while (next < size && isLineEnd(u.at(next)))
            ++next;
        qsizetype first = pos;
        while (first < end && isBlank(u.at(first)))
            ++first;
        if (first < end && (loc.sectionFound || u.at(first) == '[')) {
            const Line line = parseLine(u, pos, end, next);
            if (line.kind == LineKind::Header) {
                if (loc.sectionFound)
                    return loc; // only the first section of that name is searched
                if (nameMatches(u, line.name, section)) {
                    loc.sectionFound = true;
                    loc.lastOfSection = line;
                }
            } else if (loc.sectionFound) {
                if (line.kind != LineKind::Blank)
                    loc.lastOfSection = line;
                if (line.kind == LineKind::Entry && nameMatches(u, line.name, key)) {
                    loc.entryFound = true;
                    loc.entry = line;
                    return loc;
                }
            }
        }
        pos = next;
    }
    return loc;
}

// A value is one line: line ends and NULs inside it would break the file apart. Leading blanks
// are dropped, as the profile functions drop them.
QString storedValue(const QString &value)
{
    QString stored = value;
    for (QChar &c : stored) {
        if (c == u'\r' || c == u'\n' || c == u'\0')
            c = u' ';
    }
    qsizetype lead = 0;
    while (lead < stored.size() && (stored[lead] == u' ' || stored[lead] == u'\t'))
        ++lead;
    return stored.mid(lead);
}

// What a read of a stored value gives.
QString readBack(const QString &stored)
{
    qsizetype begin = 0;
    qsizetype end = stored.size();
    while (begin < end && isBlank(stored[begin].unicode()))
        ++begin;
    while (end > begin && isBlank(stored[end - 1].unicode()))
        --end;
    if (end - begin >= 2 && (stored[begin] == u'"' || stored[begin] == u'\'')
        && stored[end - 1] == stored[begin]) {
        ++begin;
        --end;
    }
    return stored.mid(begin, end - begin);
}

// The first character beyond ASCII, for a refusal.
char32_t firstNonAscii(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].unicode() >= 0x80) {
            if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
                return QChar::surrogateToUcs4(text[i], text[i + 1]);
            return text[i].unicode();
        }
    }
    return 0xFFFD;
}

} // namespace

namespace ProfileFile {

QString readFromBytes(const QByteArray &text, QStringView section, QStringView key,
                      const QString &defaultValue)
{
    const Units u(text, TextFile::detect(text));
    const Location loc = locate(u, section, key);
    if (!loc.entryFound)
        return defaultValue;
    return u.text(loc.entry.value.begin, loc.entry.value.end);
}

namespace {

enum class Splice { Refused, Unchanged, Changed };

// Writes section/key = value into text, in place: the bytes after the key's line move, no
// copy of the file is made (a file of the largest size costs its own memory once).
Splice spliceEntry(QByteArray &text, Encoding encoding, QStringView section, QStringView key,
                   const QString &value, char32_t *refused)
{
    const Units u(text, encoding);
    const Location loc = locate(u, section, key);
    const QString stored = storedValue(value);

    QByteArray newValue;
    if (!TextFile::encode(stored, encoding, &newValue, refused))
        return Splice::Refused;
    QByteArray equals;
    QByteArray lineEnd;
    TextFile::encode(u"=", encoding, &equals);
    TextFile::encode(u"\r\n", encoding, &lineEnd);

    // The new bytes take the place of the old bytes from `at` to `resume`.
    const auto splice = [&text](qsizetype at, qsizetype resume, const QByteArray &middle) {
        text.replace(at, resume - at, middle);
        return Splice::Changed;
    };

    if (loc.entryFound) {
        // Compared as a read sees both: the stored ""a"" reads as "a", and so does not hold
        // the value "a", which reads as a.
        if (u.text(loc.entry.value.begin, loc.entry.value.end) == readBack(stored))
            return Splice::Unchanged;
        // The player's spelling of the key stays.
        const QByteArray entry = u.bytes(loc.entry.name.begin, loc.entry.name.end).toByteArray()
            + equals + newValue;
        return splice(u.offset(loc.entry.begin), u.offset(loc.entry.end), entry);
    }

    QByteArray keyName;
    if (!TextFile::encode(key, encoding, &keyName, refused))
        return Splice::Refused;
    const QByteArray entry = keyName + equals + newValue;

    if (loc.sectionFound) {
        // After the last line of the section that is not blank, before the next header.
        const Line &after = loc.lastOfSection;
        if (after.next == after.end) // the file ends on this line without a line end
            return splice(u.offset(after.end), u.offset(after.end), lineEnd + entry);
        // Right after this line's own line end, before any blank lines that follow it.
        qsizetype at = after.end;
        if (u.at(at) == '\r')
            ++at;
        if (at < after.next && u.at(at) == '\n')
            ++at;
        return splice(u.offset(at), u.offset(at), entry + lineEnd);
    }

    QByteArray sectionName;
    QByteArray open;
    QByteArray close;
    if (!TextFile::encode(section, encoding, &sectionName, refused))
        return Splice::Refused;
    TextFile::encode(u"[", encoding, &open);
    TextFile::encode(u"]", encoding, &close);
    QByteArray added;
    if (u.size() > 0 && !isLineEnd(u.at(u.size() - 1)))
        added += lineEnd;
    added += open + sectionName + close + lineEnd + entry + lineEnd;
    // Before an odd last byte of a UTF-16 file, which stays last.
    const qsizetype at = u.offset(u.size());
    return splice(at, at, added);
}

// Every write of the batch into bytes, in place; true when the bytes changed, nothing when a
// write was refused (the bytes are then half written and must be dropped).
std::optional<bool> applyAll(QByteArray &bytes, Encoding encoding, const SettingWrites &writes,
                             Refusal *refusal)
{
    bool changed = false;
    for (qsizetype i = 0; i < writes.size(); ++i) {
        const SettingWrite &write = writes[i];
        char32_t refused = 0;
        const Splice done = spliceEntry(bytes, encoding, write.key.section, write.key.name,
                                        write.value, &refused);
        if (done == Splice::Refused) {
            if (refusal)
                *refusal = Refusal{i, refused};
            return std::nullopt;
        }
        changed = changed || done == Splice::Changed;
    }
    // 8-bit text whose only bytes beyond ASCII happen to form valid UTF-8 ("Ã©") would be read
    // back as UTF-8 ("é"): such a save is refused rather than read back changed.
    if (encoding == Encoding::EightBit && changed && TextFile::detect(bytes) == Encoding::Utf8
        && std::any_of(bytes.cbegin(), bytes.cend(),
                       [](char c) { return static_cast<unsigned char>(c) >= 0x80; })) {
        if (refusal) {
            // The first write that brings a character beyond ASCII; when none does, the text
            // the file kept would read back changed, and no character is to blame.
            *refusal = Refusal{-1, 0xFFFD};
            for (qsizetype i = 0; i < writes.size(); ++i) {
                const SettingKey key = writes[i].key;
                const QString written = key.section.toString() + key.name.toString()
                    + writes[i].value;
                if (firstNonAscii(written) != 0xFFFD || written.contains(QChar(0xFFFD))) {
                    *refusal = Refusal{i, firstNonAscii(written)};
                    break;
                }
            }
        }
        return std::nullopt;
    }
    return changed;
}

Encoding encodingOf(const QByteArray &text)
{
    return text.isEmpty() ? TextFile::newFileEncoding() : TextFile::detect(text);
}

} // namespace

std::optional<QByteArray> writeAllToBytes(const QByteArray &text, const SettingWrites &writes,
                                          Refusal *refusal)
{
    QByteArray bytes = text; // shared until the first change, then copied once
    const std::optional<bool> changed = applyAll(bytes, encodingOf(text), writes, refusal);
    if (!changed)
        return std::nullopt;
    return *changed ? bytes : text;
}

std::optional<QByteArray> writeToBytes(const QByteArray &text, QStringView section, QStringView key,
                                       const QString &value, char32_t *refused)
{
    Refusal refusal;
    std::optional<QByteArray> updated = writeAllToBytes(
        text, {SettingWrite{SettingKey{section, key}, value}}, &refusal);
    if (!updated && refused)
        *refused = refusal.character;
    return updated;
}

QString read(const QString &path, QStringView section, QStringView key, const QString &defaultValue)
{
    QByteArray text;
    QString reason;
    if (TextFile::read(path, &text, &reason) != TextFile::ReadStatus::Ok)
        return defaultValue;
    return readFromBytes(text, section, key, defaultValue);
}

QString fileProblem(const QString &path)
{
    QByteArray text;
    QString reason;
    if (TextFile::read(path, &text, &reason) == TextFile::ReadStatus::Refused)
        return reason;
    return QString();
}

bool write(const QString &path, QStringView section, QStringView key, const QString &value,
           QString *errorString)
{
    return writeAll(path, {SettingWrite{SettingKey{section, key}, value}}, errorString);
}

QString refusalReason(const SettingWrites &writes, const Refusal &refusal, const QString &path,
                      Encoding encoding)
{
    QString reason = TextFile::refusalReason(refusal.character, path, encoding);
    if (refusal.write < 0 || refusal.write >= writes.size())
        return reason;
    const SettingKey key = writes[refusal.write].key;
    return QStringLiteral("%1/%2 : %3").arg(key.section.toString(), key.name.toString(), reason);
}

bool writeAll(const QString &path, const SettingWrites &writes, QString *errorString)
{
    QByteArray text;
    QString reason;
    const TextFile::ReadStatus status = TextFile::read(path, &text, &reason);
    const auto fail = [errorString](const QString &why) {
        if (errorString)
            *errorString = why;
        return false;
    };
    if (status == TextFile::ReadStatus::Refused)
        return fail(reason);
    // The batch changes the bytes read in place; a refusal drops them, the file untouched.
    const Encoding encoding = encodingOf(text);
    Refusal refusal;
    const std::optional<bool> changed = applyAll(text, encoding, writes, &refusal);
    if (!changed)
        return fail(refusalReason(writes, refusal, path, encoding));
    if (status == TextFile::ReadStatus::Ok && !*changed)
        return true;
    // A file this program could no longer read is not written.
    if (text.size() > TextFile::kMaxSize)
        return fail(TextFile::tooBigReason(path, text.size()));
    if (!TextFile::replace(path, text, &reason))
        return fail(reason);
    return true;
}

} // namespace ProfileFile
