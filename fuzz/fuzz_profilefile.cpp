// libFuzzer target for the settings-file reader and writer.
//
// Input: section, key and value, each ended by a backslash and one other byte ("\\" stands for a
// backslash), then the bytes of the file. A seed such as
//     MISC\ firstuse\ no\ [MISC]<CR><LF>firstuse=yes<CR><LF>
// writes MISC/firstuse = "no" into a two-line file.
//
// Besides "no crash, no hang", every run holds the reader and the writer to a reference: a small
// model of the file rules written plainly, with nothing shared with the code under test. The
// model decodes the file (FF FE: UTF-16LE; EF BB BF: UTF-8; valid UTF-8; else Windows-1252),
// splits it into every line, and builds the whole table of sections and keys. Then:
//  - every key of every section of the file (duplicates and later sections of the same name
//    included), in its own spelling and with A-Z flipped, reads as the model says, before and
//    after the write, as does the fuzzed section/key;
//  - the written bytes are exactly what the model builds: the old bytes before the key's line,
//    the new line, the old bytes after it, line ends included (or one new line after the
//    section's last line, or a new section at the end); the same bytes when the value already
//    reads so; a refusal exactly when the file's encoding cannot hold a character;
//  - the key reads back as the value was stored;
//  - the file-based read and write agree with the in-memory ones, except that a file beyond
//    4 MiB is neither read nor written and no write makes a file larger than that.
// Names are sanitised first: the program only ever uses plain names, and a name with a line
// end, an '=', a NUL, blanks at its ends or a key beginning with '[' cannot be written as a
// line that reads back as that name (the Windows functions have the same limits).

#include "settings/profilefile.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

#include <fuzzer/FuzzedDataProvider.h>

namespace {

[[noreturn]] void fail(const char *what, const QByteArray &got, const QByteArray &expected)
{
    std::fprintf(stderr, "PROPERTY BROKEN: %s\n  got:      %s\n  expected: %s\n", what,
                 got.toPercentEncoding().constData(), expected.toPercentEncoding().constData());
    std::abort();
}

// ---- the reference model ----

enum class Form { Utf16, Utf8Bom, Utf8, Cp1252 };

// Windows-1252, bytes 0x80 to 0x9F; the five it leaves undefined stand for themselves.
const char16_t kHigh[32] = {u'€', 0x81, u'‚', u'ƒ', u'„', u'…', u'†', u'‡', u'ˆ', u'‰', u'Š',
                            u'‹', u'Œ', 0x8D, u'Ž', 0x8F, 0x90, u'‘', u'’', u'“', u'”', u'•',
                            u'–', u'—', u'˜', u'™', u'š', u'›', u'œ', 0x9D, u'ž', u'Ÿ'};

bool validUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString ignored = decoder.decode(bytes);
    return !decoder.hasError();
}

Form formOf(const QByteArray &bytes)
{
    if (bytes.startsWith("\xFF\xFE"))
        return Form::Utf16;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return Form::Utf8Bom;
    return validUtf8(bytes) ? Form::Utf8 : Form::Cp1252;
}

// The file as units (bytes, or 16-bit units for UTF-16) after the BOM.
struct RefText {
    Form form = Form::Utf8;
    qsizetype bom = 0;
    std::vector<char16_t> units;
    qsizetype byteOf(qsizetype unit) const { return bom + (form == Form::Utf16 ? 2 * unit : unit); }
};

RefText unitsOf(const QByteArray &bytes)
{
    RefText t;
    t.form = formOf(bytes);
    t.bom = t.form == Form::Utf16 ? 2 : t.form == Form::Utf8Bom ? 3 : 0;
    for (qsizetype i = t.bom; i < bytes.size(); ++i) {
        if (t.form != Form::Utf16) {
            t.units.push_back(char16_t(static_cast<unsigned char>(bytes[i])));
        } else if (i + 1 < bytes.size()) {
            t.units.push_back(char16_t(static_cast<unsigned char>(bytes[i])
                                       | static_cast<unsigned char>(bytes[i + 1]) << 8));
            ++i;
        }
    }
    return t;
}

QString decodeUnits(const RefText &t, qsizetype begin, qsizetype end)
{
    QString out;
    if (t.form == Form::Utf16) {
        for (qsizetype i = begin; i < end; ++i)
            out += QChar(t.units[size_t(i)]);
        return out;
    }
    QByteArray bytes;
    for (qsizetype i = begin; i < end; ++i)
        bytes += char(t.units[size_t(i)]);
    if (t.form != Form::Cp1252) {
        QStringDecoder decoder(QStringDecoder::Utf8,
                               QStringDecoder::Flag::ConvertInitialBom
                                   | QStringDecoder::Flag::Stateless);
        return decoder.decode(bytes);
    }
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out += QChar(b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : char16_t(b));
    }
    return out;
}

std::optional<QByteArray> encodeText(const QString &text, Form form)
{
    QByteArray out;
    switch (form) {
    case Form::Utf16:
        for (const QChar c : text) {
            out += char(c.unicode() & 0xFF);
            out += char(c.unicode() >> 8);
        }
        return out;
    case Form::Utf8:
    case Form::Utf8Bom: {
        QStringEncoder encoder(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
        out = encoder.encode(text);
        if (encoder.hasError())
            return std::nullopt;
        return out;
    }
    case Form::Cp1252:
        for (const QChar c : text) {
            const char16_t u = c.unicode();
            int b = -1;
            if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
                b = u;
            for (int i = 0; i < 32 && b < 0; ++i) {
                if (kHigh[i] == u)
                    b = 0x80 + i;
            }
            if (b < 0)
                return std::nullopt;
            out += char(b);
        }
        return out;
    }
    return std::nullopt;
}

bool blank(char16_t c)
{
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x1A;
}

bool lineEnd(char16_t c)
{
    return c == '\r' || c == '\n';
}

bool same(const QString &a, const QString &b)
{
    const auto fold = [](const QString &s) {
        QString f = s;
        for (QChar &c : f) {
            if (c >= u'A' && c <= u'Z')
                c = QChar(c.unicode() + 32);
        }
        return f;
    };
    return fold(a) == fold(b);
}

enum class Kind { Blank, Header, Entry, Other };

struct RefLine {
    qsizetype begin = 0, end = 0, next = 0; // units: text, end of text, after the line ends
    Kind kind = Kind::Blank;
    qsizetype nameBegin = 0, nameEnd = 0;
    QString name;
    QString value;
};

struct RefSection {
    QString name;
    qsizetype header = 0;        // line index
    std::vector<qsizetype> keys; // line indexes of its entries
    qsizetype lastLine = 0;      // its last line that is not blank
};

struct Model {
    RefText text;
    std::vector<RefLine> lines;
    std::vector<RefSection> sections;
};

Model modelOf(const QByteArray &bytes)
{
    Model m;
    m.text = unitsOf(bytes);
    const std::vector<char16_t> &u = m.text.units;
    const auto n = qsizetype(u.size());
    for (qsizetype pos = 0; pos < n;) {
        RefLine line;
        line.begin = pos;
        line.end = pos;
        while (line.end < n && !lineEnd(u[size_t(line.end)]))
            ++line.end;
        line.next = line.end;
        while (line.next < n && lineEnd(u[size_t(line.next)]))
            ++line.next;
        pos = line.next;

        qsizetype b = line.begin;
        qsizetype e = line.begin;
        while (e < line.end && u[size_t(e)] != 0)
            ++e;
        while (b < e && blank(u[size_t(b)]))
            ++b;
        while (e > b && blank(u[size_t(e - 1)]))
            --e;
        const auto trim = [&](qsizetype &tb, qsizetype &te) {
            while (tb < te && blank(u[size_t(tb)]))
                ++tb;
            while (te > tb && blank(u[size_t(te - 1)]))
                --te;
        };
        if (b < e && u[size_t(b)] == '[') {
            qsizetype close = -1;
            for (qsizetype i = e - 1; i > b; --i) {
                if (u[size_t(i)] == ']') {
                    close = i;
                    break;
                }
            }
            if (close > b) {
                line.kind = Kind::Header;
                qsizetype nb = b + 1;
                qsizetype ne = close;
                trim(nb, ne);
                line.name = decodeUnits(m.text, nb, ne);
            }
        }
        if (line.kind == Kind::Blank && b < e) {
            qsizetype eq = b;
            while (eq < e && u[size_t(eq)] != '=')
                ++eq;
            if (eq == e) {
                line.kind = Kind::Other;
            } else {
                line.kind = Kind::Entry;
                line.nameBegin = b;
                line.nameEnd = eq;
                trim(line.nameBegin, line.nameEnd);
                line.name = decodeUnits(m.text, line.nameBegin, line.nameEnd);
                qsizetype vb = eq + 1;
                qsizetype ve = e;
                trim(vb, ve);
                if (ve - vb >= 2 && (u[size_t(vb)] == '"' || u[size_t(vb)] == '\'')
                    && u[size_t(ve - 1)] == u[size_t(vb)]) {
                    ++vb;
                    --ve;
                }
                line.value = decodeUnits(m.text, vb, ve);
            }
        }
        const auto index = qsizetype(m.lines.size());
        if (line.kind == Kind::Header) {
            m.sections.push_back(RefSection{line.name, index, {}, index});
        } else if (!m.sections.empty() && line.kind != Kind::Blank) {
            m.sections.back().lastLine = index;
            if (line.kind == Kind::Entry)
                m.sections.back().keys.push_back(index);
        }
        m.lines.push_back(line);
    }
    return m;
}

// The first section of that name, then the first key of that name in it.
const RefSection *findSection(const Model &m, const QString &section)
{
    for (const RefSection &s : m.sections) {
        if (same(s.name, section))
            return &s;
    }
    return nullptr;
}

const RefLine *findEntry(const Model &m, const RefSection *s, const QString &key)
{
    if (!s)
        return nullptr;
    for (const qsizetype index : s->keys) {
        if (same(m.lines[size_t(index)].name, key))
            return &m.lines[size_t(index)];
    }
    return nullptr;
}

QString modelRead(const Model &m, const QString &section, const QString &key,
                  const QString &fallback)
{
    const RefLine *entry = findEntry(m, findSection(m, section), key);
    return entry ? entry->value : fallback;
}

QString flipCase(const QString &s)
{
    QString f = s;
    for (QChar &c : f) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + 32);
        else if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - 32);
    }
    return f;
}

// Every key of the file, by its own section's name (a key of a later section of the same name
// reads as missing), in the file's spelling and with A-Z flipped; and the fuzzed names.
void checkEveryRead(const QByteArray &bytes, const QString &section, const QString &key)
{
    const Model m = modelOf(bytes);
    const QString fallback = QStringLiteral("<default>");
    const auto check = [&](const QString &s, const QString &k) {
        const QString got = ProfileFile::readFromBytes(bytes, s, k, fallback);
        const QString expected = modelRead(m, s, k, fallback);
        if (got != expected)
            fail(qPrintable(QStringLiteral("read of [%1] %2 differs from the model").arg(s, k)),
                 got.toUtf8(), expected.toUtf8());
    };
    check(section, key);
    for (const RefSection &s : m.sections) {
        for (const qsizetype index : s.keys) {
            const QString &k = m.lines[size_t(index)].name;
            check(s.name, k);
            check(flipCase(s.name), flipCase(k));
        }
    }
}

// What the writer stores for a value, and what a read of it gives.
QString storedOf(const QString &value)
{
    QString stored = value;
    stored.replace(u'\r', u' ').replace(u'\n', u' ').replace(QChar(0), u' ');
    while (stored.startsWith(u' ') || stored.startsWith(u'\t'))
        stored.remove(0, 1);
    return stored;
}

QString readBackOf(const QString &stored)
{
    qsizetype b = 0;
    qsizetype e = stored.size();
    while (b < e && blank(stored[b].unicode()))
        ++b;
    while (e > b && blank(stored[e - 1].unicode()))
        --e;
    if (e - b >= 2 && (stored[b] == u'"' || stored[b] == u'\'') && stored[e - 1] == stored[b]) {
        ++b;
        --e;
    }
    return stored.mid(b, e - b);
}

// The bytes the write must give: old prefix + new line + old suffix; nothing when refused.
std::optional<QByteArray> modelWrite(const QByteArray &before, const QString &section,
                                     const QString &key, const QString &value)
{
    const Model m = modelOf(before);
    const RefText &t = m.text;
    const Form form = before.isEmpty() ? Form::Utf8 : t.form;
    const QString stored = storedOf(value);
    const auto enc = [form](const QString &s) { return encodeText(s, form); };
    const auto at = [&](qsizetype unit) { return t.byteOf(unit); };
    const auto splice = [&](qsizetype from, qsizetype to, const QByteArray &middle) {
        return before.left(from) + middle + before.mid(to);
    };

    const RefSection *s = findSection(m, section);
    const RefLine *entry = findEntry(m, s, key);
    std::optional<QByteArray> result;
    const std::optional<QByteArray> newValue = enc(stored);
    if (!newValue)
        return std::nullopt;
    if (entry) {
        if (entry->value == readBackOf(stored))
            return before;
        QByteArray name = before.mid(at(entry->nameBegin),
                                     at(entry->nameEnd) - at(entry->nameBegin));
        result = splice(at(entry->begin), at(entry->end),
                        name + *enc(QStringLiteral("=")) + *newValue);
    } else {
        const std::optional<QByteArray> keyName = enc(key);
        if (!keyName)
            return std::nullopt;
        const QByteArray line = *keyName + *enc(QStringLiteral("=")) + *newValue;
        const QByteArray crlf = *enc(QStringLiteral("\r\n"));
        if (s) {
            const RefLine &last = m.lines[size_t(s->lastLine)];
            if (last.next == last.end) {
                result = splice(at(last.end), at(last.end), crlf + line);
            } else {
                qsizetype after = last.end;
                if (t.units[size_t(after)] == '\r')
                    ++after;
                if (after < last.next && t.units[size_t(after)] == '\n')
                    ++after;
                result = splice(at(after), at(after), line + crlf);
            }
        } else {
            const std::optional<QByteArray> sectionName = enc(section);
            if (!sectionName)
                return std::nullopt;
            QByteArray added;
            if (!t.units.empty() && !lineEnd(t.units.back()))
                added += crlf;
            added += *enc(QStringLiteral("[")) + *sectionName + *enc(QStringLiteral("]")) + crlf
                + line + crlf;
            const qsizetype end = at(qsizetype(t.units.size()));
            result = splice(end, end, added);
        }
    }
    // Windows-1252 text that would now read as UTF-8 is refused, not read back changed.
    if (form == Form::Cp1252 && formOf(*result) == Form::Utf8) {
        bool ascii = true;
        for (const char c : *result)
            ascii = ascii && static_cast<unsigned char>(c) < 0x80;
        if (!ascii)
            return std::nullopt;
    }
    return result;
}

// ---- input ----

// A name the program could use: no character that would split or re-shape its line, no
// blanks at its ends.
QString plainName(const std::string &raw, bool isKey)
{
    QString name = QString::fromUtf8(raw.data(), qsizetype(raw.size()));
    name.removeIf([isKey](QChar c) {
        return c == u'\r' || c == u'\n' || c == QChar(0) || (isKey && c == u'=');
    });
    const auto trim = [](QString s) {
        while (!s.isEmpty() && blank(s.front().unicode()))
            s.remove(0, 1);
        while (!s.isEmpty() && blank(s.back().unicode()))
            s.chop(1);
        return s;
    };
    name = trim(name);
    while (isKey && name.startsWith(u'['))
        name = trim(name.mid(1));
    return name;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void checkFiles(const QByteArray &before, const std::optional<QByteArray> &after,
                const QString &section, const QString &key, const QString &value)
{
    // A memory file system where there is one: the atomic replace syncs to disk.
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                 ? QStringLiteral("/dev/shm/corvane-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/corvane-fuzz-XXXXXX"));
    if (!dir.isValid())
        return;
    const QString path = dir.filePath(QStringLiteral("crvn.ini"));
    QFile::remove(path);
    if (!before.isEmpty()) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(before) != before.size())
            return;
    }
    // The largest file read, and the largest a write may leave: stated again here rather than
    // shared, so that a fault in the bound cannot agree with itself.
    constexpr qsizetype kLimit = 4 * 1024 * 1024;
    const bool readable = before.size() <= kLimit;
    const QString fallback = QStringLiteral("<default>");
    if (ProfileFile::read(path, section, key, fallback)
        != (readable ? ProfileFile::readFromBytes(before, section, key, fallback) : fallback))
        fail(readable ? "file read differs from text read" : "a file beyond the limit was read",
             before.left(64), {});
    QString error;
    const bool written = ProfileFile::write(path, section, key, value, &error);
    if (written != (readable && after && after->size() <= kLimit))
        fail(written ? "a write beyond the limit was made"
                     : "file write and text write disagree on refusing",
             error.toUtf8(), {});
    const QByteArray onDisk = readFile(path);
    if (onDisk != (written ? *after : before))
        fail("file write differs from text write", onDisk, written ? *after : before);
    if (QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size() > 1)
        fail("a save left a copy behind", {}, {});
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider provider(data, size);
    const QString section = plainName(provider.ConsumeRandomLengthString(), false);
    const QString key = plainName(provider.ConsumeRandomLengthString(), true);
    const std::string rawValue = provider.ConsumeRandomLengthString();
    const std::vector<char> rest = provider.ConsumeRemainingBytes<char>();
    const QByteArray text(rest.data(), qsizetype(rest.size()));
    const QString value = QString::fromUtf8(rawValue.data(), qsizetype(rawValue.size()));

    checkEveryRead(text, section, key);

    const std::optional<QByteArray> after = ProfileFile::writeToBytes(text, section, key, value);
    const std::optional<QByteArray> expected = modelWrite(text, section, key, value);
    if (after.has_value() != expected.has_value())
        fail(after ? "a write the model refuses was made" : "a write the model makes was refused",
             after.value_or(QByteArray("<refused>")), expected.value_or(QByteArray("<refused>")));
    if (after) {
        if (*after != *expected)
            fail("the written bytes are not old prefix + new line + old suffix", *after, *expected);
        const QString got = ProfileFile::readFromBytes(*after, section, key, QString());
        if (got != readBackOf(storedOf(value)))
            fail("the written key does not read back as stored", got.toUtf8(),
                 readBackOf(storedOf(value)).toUtf8());
        if (*after != text)
            checkEveryRead(*after, section, key);
    }

    // A batch is its writes in turn, refused whole: setting the key to "x" first changes
    // nothing in the end, and a refusal names the write that brought the character.
    ProfileFile::Refusal refusal;
    const SettingKey named{section, key};
    const std::optional<QByteArray> batch = ProfileFile::writeAllToBytes(
        text, {SettingWrite{named, QStringLiteral("x")}, SettingWrite{named, value}}, &refusal);
    // A write whose value already reads back as the key's current one leaves the bytes as they
    // are, so the batch's bytes may differ from the single write's; what the key reads back may
    // not.
    if (batch && after
        && ProfileFile::readFromBytes(*batch, section, key, QString())
            != ProfileFile::readFromBytes(*after, section, key, QString()))
        fail("a batch reads back other than its last write alone", *batch, *after);
    const auto ascii = [](const QString &s) {
        return std::all_of(s.cbegin(), s.cend(), [](QChar c) { return c.unicode() < 0x80; });
    };
    if (!batch && ascii(section + key) && !ascii(value) && refusal.write != 1)
        fail("a refused batch names the wrong write", QByteArray::number(refusal.write), "1");

    // The files go through a real write and rename: one input in four, to keep the pace.
    if (size % 4 == 0)
        checkFiles(text, after, section, key, value);
    return 0;
}
