#include "settings/profilefile.h"

#include <QFile>
#include <QSaveFile>

#include <vector>

namespace {

bool isBlank(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return (u >= 0x09 && u <= 0x0D) || u == 0x20 || u == 0x1A;
}

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

QByteArrayView trimmed(QByteArrayView v)
{
    qsizetype b = 0;
    qsizetype e = v.size();
    while (b < e && isBlank(v[b]))
        ++b;
    while (e > b && isBlank(v[e - 1]))
        --e;
    return v.sliced(b, e - b);
}

char asciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Names match without regard to case for A-Z only, like the profile functions.
bool sameName(QByteArrayView a, QByteArrayView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (asciiLower(a[i]) != asciiLower(b[i]))
            return false;
    }
    return true;
}

// The value a read gives for the text after '=': blanks dropped, one pair of quotes taken off.
QByteArrayView valueText(QByteArrayView raw)
{
    QByteArrayView value = trimmed(raw);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'')
        && value.back() == value.front())
        value = value.sliced(1, value.size() - 2);
    return value;
}

enum class LineKind { Blank, Header, Entry, Other };

// One line of the file: where its text stands, without its line end.
struct Line {
    qsizetype begin = 0;
    qsizetype end = 0;  // end of the line's text
    qsizetype next = 0; // start of the next line (after the line end run)
    LineKind kind = LineKind::Blank;
    QByteArrayView name; // section name for headers, key name for entries
    QByteArrayView value;
};

Line parseLine(const QByteArray &text, qsizetype begin, qsizetype end, qsizetype next)
{
    Line line{begin, end, next, LineKind::Blank, {}, {}};
    QByteArrayView raw = QByteArrayView(text).sliced(begin, end - begin);
    // A NUL byte ends the text it stands in.
    if (const qsizetype nul = raw.indexOf('\0'); nul >= 0)
        raw = raw.first(nul);
    const QByteArrayView t = trimmed(raw);
    if (t.isEmpty())
        return line;
    if (t.front() == '[') {
        const qsizetype close = t.lastIndexOf(']');
        if (close > 0) {
            line.kind = LineKind::Header;
            line.name = trimmed(t.sliced(1, close - 1));
            return line;
        }
    }
    const qsizetype eq = t.indexOf('=');
    if (eq < 0) {
        line.kind = LineKind::Other;
        return line;
    }
    line.kind = LineKind::Entry;
    line.name = trimmed(t.first(eq));
    line.value = valueText(t.sliced(eq + 1));
    return line;
}

std::vector<Line> splitLines(const QByteArray &text)
{
    std::vector<Line> lines;
    qsizetype pos = 0;
    const qsizetype size = text.size();
    while (pos < size) {
        qsizetype end = pos;
        while (end < size && !isLineEnd(text[end]))
            ++end;
        qsizetype next = end;
        while (next < size && isLineEnd(text[next]))
            ++next;
        lines.push_back(parseLine(text, pos, end, next));
        pos = next;
    }
    return lines;
}

// Where a key stands in a file: the first section of that name and the first entry in it.
struct Location {
    qsizetype section = -1;    // index of the header line
    qsizetype sectionEnd = -1; // index of the next header line, or line count
    qsizetype entry = -1;      // index of the key's line
};

Location locate(const std::vector<Line> &lines, QByteArrayView section, QByteArrayView key)
{
    Location loc;
    const auto count = static_cast<qsizetype>(lines.size());
    for (qsizetype i = 0; i < count; ++i) {
        if (lines[size_t(i)].kind == LineKind::Header && sameName(lines[size_t(i)].name, section)) {
            loc.section = i;
            break;
        }
    }
    if (loc.section < 0)
        return loc;
    loc.sectionEnd = count;
    for (qsizetype i = loc.section + 1; i < count; ++i) {
        const Line &line = lines[size_t(i)];
        if (line.kind == LineKind::Header) {
            loc.sectionEnd = i;
            break;
        }
        if (loc.entry < 0 && line.kind == LineKind::Entry && sameName(line.name, key))
            loc.entry = i;
    }
    return loc;
}

QByteArray encodeName(QStringView name)
{
    return name.toString().toLocal8Bit();
}

// A value is one line: line ends and NULs inside it would break the file apart.
QByteArray encodeValue(const QString &value)
{
    QByteArray bytes = value.toLocal8Bit();
    for (char &c : bytes) {
        if (c == '\r' || c == '\n' || c == '\0')
            c = ' ';
    }
    qsizetype lead = 0;
    while (lead < bytes.size() && (bytes[lead] == ' ' || bytes[lead] == '\t'))
        ++lead;
    return bytes.mid(lead);
}

} // namespace

namespace ProfileFile {

QString readFromBytes(const QByteArray &text, QStringView section, QStringView key,
                      const QString &defaultValue)
{
    // One pass that looks closely only at headers and at the lines of the wanted section, and
    // stops at the key: a read is done for every value a window needs.
    const QByteArray sectionName = encodeName(section);
    const QByteArray keyName = encodeName(key);
    const char *data = text.constData();
    const qsizetype size = text.size();
    bool inside = false;
    qsizetype pos = 0;
    while (pos < size) {
        qsizetype end = pos;
        while (end < size && !isLineEnd(data[end]))
            ++end;
        qsizetype first = pos;
        while (first < end && isBlank(data[first]))
            ++first;
        if (first < end && (inside || data[first] == '[')) {
            const Line line = parseLine(text, pos, end, end);
            if (line.kind == LineKind::Header) {
                if (inside)
                    return defaultValue; // only the first section of that name is searched
                inside = sameName(line.name, sectionName);
            } else if (inside && line.kind == LineKind::Entry && sameName(line.name, keyName)) {
                return QString::fromLocal8Bit(line.value.data(), line.value.size());
            }
        }
        pos = end;
        while (pos < size && isLineEnd(data[pos]))
            ++pos;
    }
    return defaultValue;
}

QByteArray writeToBytes(const QByteArray &text, QStringView section, QStringView key,
                        const QString &value)
{
    const QByteArray sectionName = encodeName(section);
    const QByteArray keyName = encodeName(key);
    const QByteArray newValue = encodeValue(value);
    const QByteArray entry = keyName + '=' + newValue;
    const std::vector<Line> lines = splitLines(text);
    const Location loc = locate(lines, sectionName, keyName);

    if (loc.entry >= 0) {
        const Line &line = lines[size_t(loc.entry)];
        // Compared as a read would see both: the stored ""a"" reads as "a", and so does not
        // hold the value "a", which reads as a.
        if (line.value == valueText(newValue))
            return text;
        QByteArray out = text;
        out.replace(line.begin, line.end - line.begin, entry);
        return out;
    }

    if (loc.section >= 0) {
        // After the last line of the section that is not blank, before the next header.
        qsizetype last = loc.section;
        for (qsizetype i = loc.sectionEnd - 1; i > loc.section; --i) {
            if (lines[size_t(i)].kind != LineKind::Blank) {
                last = i;
                break;
            }
        }
        const Line &after = lines[size_t(last)];
        QByteArray out = text;
        if (after.next == after.end) { // the file ends on this line without a line end
            out.insert(after.end, "\r\n" + entry);
            return out;
        }
        // Right after this line's own line end, before any blank lines that follow it.
        qsizetype at = after.end;
        if (text[at] == '\r')
            ++at;
        if (at < after.next && text[at] == '\n')
            ++at;
        out.insert(at, entry + "\r\n");
        return out;
    }

    QByteArray out = text;
    if (!out.isEmpty() && !isLineEnd(out.back()))
        out += "\r\n";
    out += '[' + sectionName + "]\r\n" + entry + "\r\n";
    return out;
}

QString read(const QString &path, QStringView section, QStringView key, const QString &defaultValue)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return defaultValue;
    return readFromBytes(file.readAll(), section, key, defaultValue);
}

bool write(const QString &path, QStringView section, QStringView key, const QString &value,
           QString *errorString)
{
    QByteArray text;
    QFile existing(path);
    if (existing.exists()) {
        if (!existing.open(QIODevice::ReadOnly)) {
            if (errorString)
                *errorString = existing.errorString();
            return false;
        }
        text = existing.readAll();
        existing.close();
    }
    const QByteArray updated = writeToBytes(text, section, key, value);
    if (updated == text && existing.exists())
        return true;

    return writeText(path, updated, errorString);
}

bool writeText(const QString &path, const QByteArray &text, QString *errorString)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        if (errorString)
            *errorString = file.errorString();
        return false;
    }
    return true;
}

} // namespace ProfileFile
