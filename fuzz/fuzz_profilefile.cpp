// libFuzzer target for the settings-file reader and writer.
//
// Input: section, key and value, each ended by a backslash and one other byte ("\\" stands for a
// backslash), then the text of the file. A seed such as
//     MISC\ firstuse\ no\ [MISC]<CR><LF>firstuse=yes<CR><LF>
// writes MISC/firstuse = "no" into a two-line file.
//
// Besides "no crash, no hang", every run checks the properties a write must keep for any file:
//  - the written file differs from the old one in at most the key's own line, or by one new
//    line (plus a new section header when the section was missing); every other line stays
//    byte for byte, in order, and no line end is ever removed;
//  - reading the key back gives the value as it was stored: line ends and NULs turned to
//    blanks, blanks dropped at both ends, one pair of matching quotes taken off;
//  - reading any other section/key gives the same text before and after the write;
//  - the file-based read and write agree with the in-memory ones.
// Names are sanitised first: the program only ever uses plain names, and a name with a line
// end, an '=', a NUL, blanks at its ends or a key beginning with '[' cannot be written as a
// line that reads back as that name (the Windows functions have the same limits).

#include "settings/profilefile.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include <fuzzer/FuzzedDataProvider.h>

namespace {

// The oracle states the file rules again on purpose: sharing the reader's own helpers would let
// a fault in them agree with itself.
bool isBlank(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return (u >= 0x09 && u <= 0x0D) || u == 0x20 || u == 0x1A;
}

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

QByteArray trimBlanks(QByteArray b)
{
    qsizetype start = 0;
    qsizetype end = b.size();
    while (start < end && isBlank(b[start]))
        ++start;
    while (end > start && isBlank(b[end - 1]))
        --end;
    return b.mid(start, end - start);
}

[[noreturn]] void fail(const char *what, const QByteArray &a, const QByteArray &b)
{
    std::fprintf(stderr, "PROPERTY BROKEN: %s\n  got:      %s\n  expected: %s\n", what,
                 a.toPercentEncoding().constData(), b.toPercentEncoding().constData());
    std::abort();
}

// A name the program could use: valid text, none of the bytes that would split or re-shape
// its line, no blanks at its ends.
QByteArray plainName(const std::string &raw, bool isKey)
{
    QByteArray b = QString::fromUtf8(raw.data(), qsizetype(raw.size())).toUtf8();
    b.removeIf([](char c) { return c == '\r' || c == '\n' || c == '\0' || c == '='; });
    b = trimBlanks(b);
    while (isKey && b.startsWith('['))
        b = trimBlanks(b.mid(1));
    return b;
}

// Names match without regard to case for A-Z only.
bool sameName(const QByteArray &a, const QByteArray &b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

// The texts of the lines, without line ends; runs of line ends count as one separator.
std::vector<QByteArray> lineTexts(const QByteArray &text)
{
    std::vector<QByteArray> lines;
    qsizetype pos = 0;
    while (pos < text.size()) {
        qsizetype end = pos;
        while (end < text.size() && !isLineEnd(text[end]))
            ++end;
        if (end > pos)
            lines.push_back(text.mid(pos, end - pos));
        while (end < text.size() && isLineEnd(text[end]))
            ++end;
        pos = end;
    }
    return lines;
}

qsizetype lineEndCount(const QByteArray &text)
{
    return text.count('\r') + text.count('\n');
}

// Candidate section and key names found in the file, for the reads of other keys.
void collectNames(const QByteArray &text, std::vector<QByteArray> &sections,
                  std::vector<QByteArray> &keys)
{
    for (QByteArray line : lineTexts(text)) {
        if (const qsizetype nul = line.indexOf('\0'); nul >= 0)
            line.truncate(nul);
        line = trimBlanks(line);
        if (line.startsWith('[') && line.lastIndexOf(']') > 0 && sections.size() < 6)
            sections.push_back(trimBlanks(line.mid(1, line.lastIndexOf(']') - 1)));
        else if (const qsizetype eq = line.indexOf('='); eq >= 0 && keys.size() < 6)
            keys.push_back(trimBlanks(line.left(eq)));
    }
}

void checkUntouchedLines(const QByteArray &before, const QByteArray &after,
                         const QByteArray &section, const QByteArray &entry)
{
    if (lineEndCount(after) < lineEndCount(before))
        fail("a line end was removed", after, before);
    const std::vector<QByteArray> old = lineTexts(before);
    const std::vector<QByteArray> now = lineTexts(after);
    const QByteArray header = '[' + section + ']';
    if (now.size() == old.size()) {
        // The key's line was replaced: every other line is the same.
        qsizetype changed = 0;
        for (size_t i = 0; i < old.size(); ++i) {
            if (old[i] != now[i]) {
                ++changed;
                if (now[i] != entry)
                    fail("a line changed into something else than the entry", now[i], entry);
            }
        }
        if (changed > 1)
            fail("more than one line changed", after, before);
        return;
    }
    if (now.size() == old.size() + 1) {
        // One new entry line, somewhere: the rest in order.
        size_t i = 0;
        while (i < old.size() && old[i] == now[i])
            ++i;
        if (now[i] != entry)
            fail("the inserted line is not the entry", now[i], entry);
        for (; i < old.size(); ++i) {
            if (old[i] != now[i + 1])
                fail("a line after the new entry changed", now[i + 1], old[i]);
        }
        return;
    }
    if (now.size() == old.size() + 2) {
        // A new section at the end of the file.
        for (size_t i = 0; i < old.size(); ++i) {
            if (old[i] != now[i])
                fail("a line before the new section changed", now[i], old[i]);
        }
        if (now[old.size()] != header || now[old.size() + 1] != entry)
            fail("the new section is not header + entry", after, header + "\r\n" + entry);
        return;
    }
    fail("the line count changed by more than two", after, before);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void checkFiles(const QByteArray &before, const QByteArray &after, const QString &section,
                const QString &key, const QString &value)
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
    const QString fallback = QStringLiteral("<default>");
    if (ProfileFile::read(path, section, key, fallback)
        != ProfileFile::readFromBytes(before, section, key, fallback))
        fail("file read differs from text read", before, {});
    QString error;
    if (!ProfileFile::write(path, section, key, value, &error))
        fail("file write failed", error.toUtf8(), {});
    const QByteArray written = readFile(path);
    if (written != after)
        fail("file write differs from text write", written, after);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider provider(data, size);
    const QByteArray sectionBytes = plainName(provider.ConsumeRandomLengthString(), false);
    const QByteArray keyBytes = plainName(provider.ConsumeRandomLengthString(), true);
    const std::string rawValue = provider.ConsumeRandomLengthString();
    const std::vector<char> rest = provider.ConsumeRemainingBytes<char>();
    const QByteArray text(rest.data(), qsizetype(rest.size()));

    const QString section = QString::fromUtf8(sectionBytes);
    const QString key = QString::fromUtf8(keyBytes);
    const QString value = QString::fromUtf8(rawValue.data(), qsizetype(rawValue.size()));
    const QString fallback = QStringLiteral("<default>");

    // What the writer stores: one line, leading blanks and tabs dropped.
    QByteArray stored = value.toUtf8();
    for (char &c : stored) {
        if (c == '\r' || c == '\n' || c == '\0')
            c = ' ';
    }
    while (stored.startsWith(' ') || stored.startsWith('\t'))
        stored.remove(0, 1);
    // What a read of that line gives.
    QByteArray readBack = trimBlanks(stored);
    if (readBack.size() >= 2 && (readBack.front() == '"' || readBack.front() == '\'')
        && readBack.back() == readBack.front())
        readBack = readBack.mid(1, readBack.size() - 2);

    // Reads of the other names in the file, before the write.
    std::vector<QByteArray> sections{sectionBytes};
    std::vector<QByteArray> keys{keyBytes};
    collectNames(text, sections, keys);
    std::vector<QString> before;
    for (const QByteArray &s : sections) {
        for (const QByteArray &k : keys)
            before.push_back(ProfileFile::readFromBytes(text, QString::fromUtf8(s),
                                                        QString::fromUtf8(k), fallback));
    }

    const QByteArray after = ProfileFile::writeToBytes(text, section, key, value);

    const QByteArray entry = keyBytes + '=' + stored;
    if (after != text)
        checkUntouchedLines(text, after, sectionBytes, entry);

    const QByteArray got = ProfileFile::readFromBytes(after, section, key, fallback).toUtf8();
    if (got != readBack)
        fail("the written key does not read back as stored", got, readBack);

    // Encoded names can differ from the found bytes (invalid text): compare what is passed.
    size_t n = 0;
    for (const QByteArray &s : sections) {
        for (const QByteArray &k : keys) {
            const QString sName = QString::fromUtf8(s);
            const QString kName = QString::fromUtf8(k);
            const QString old = before[n++];
            if (sameName(sName.toUtf8(), sectionBytes) && sameName(kName.toUtf8(), keyBytes))
                continue;
            const QString now = ProfileFile::readFromBytes(after, sName, kName, fallback);
            if (now != old)
                fail("a read of another key changed", now.toUtf8(), old.toUtf8());
        }
    }

    // The files go through a real write and rename: one input in four, to keep the pace.
    if (size % 4 == 0)
        checkFiles(text, after, section, key, value);
    return 0;
}
