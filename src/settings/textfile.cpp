#include "settings/textfile.h"

#include "files/outsidefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QStringEncoder>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif
#ifdef Q_OS_WIN
#include <qt_windows.h>

#include <io.h>
#endif

namespace {

using TextFile::Encoding;

const QLatin1StringView kSaveMarker(".corvane-save-");
constexpr int kSaveSuffixLength = 6;

#ifndef Q_OS_WIN
// Bytes 0x80-0x9F of Windows-1252. The five bytes it leaves undefined map to the C1 controls
// of the same value, as Windows maps them, so every byte has exactly one character and back.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
#endif

// Where the run of ASCII bytes from `from` on ends. Many bytes at a time: the settings file is
// mostly ASCII, and every save and read looks at all of it.
qsizetype asciiEnd(QByteArrayView bytes, qsizetype from)
{
    const char *data = bytes.data();
    const qsizetype size = bytes.size();
    qsizetype i = from;
    constexpr quint64 high = 0x8080808080808080ULL;
    for (; i + 32 <= size; i += 32) {
        quint64 words[4];
        std::memcpy(words, data + i, 32);
        if ((words[0] | words[1] | words[2] | words[3]) & high)
            break;
    }
    for (; i + 8 <= size; i += 8) {
        quint64 word = 0;
        std::memcpy(&word, data + i, 8);
        if (word & high)
            break;
    }
    while (i < size && static_cast<unsigned char>(data[i]) < 0x80)
        ++i;
    return i;
}

bool isAscii(QByteArrayView bytes)
{
    return asciiEnd(bytes, 0) == bytes.size();
}

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF, no cut sequence.
bool isValidUtf8(QByteArrayView bytes)
{
    const qsizetype size = bytes.size();
    qsizetype i = 0;
    while (i < size) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            i = asciiEnd(bytes, i);
            continue;
        }
        int length = 0;
        char32_t code = 0;
        char32_t least = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            code = lead & 0x1Fu;
            least = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            code = lead & 0x0Fu;
            least = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            code = lead & 0x07u;
            least = 0x10000;
        } else {
            return false;
        }
        if (size - i < length)
            return false;
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0u) != 0x80u)
                return false;
            code = (code << 6) | (next & 0x3Fu);
        }
        if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

#ifndef Q_OS_WIN
QString decodeCp1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        out[i] = (b >= 0x80 && b < 0xA0) ? kCp1252High[b - 0x80] : char16_t(b);
    }
    return text;
}

// The Windows-1252 byte of a character, or -1.
int cp1252Byte(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (int i = 0; i < 32; ++i) {
        if (kCp1252High[i] == c)
            return 0x80 + i;
    }
    return -1;
}
#endif

// The character that starts at text[i] (a pair of surrogates counts as one).
char32_t characterAt(QStringView text, qsizetype i)
{
    const QChar c = text[i];
    if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
        return QChar::surrogateToUcs4(c, text[i + 1]);
    return c.unicode();
}

#ifndef Q_OS_WIN
bool encodeCp1252(QStringView text, QByteArray *out, char32_t *refused)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int b = cp1252Byte(text[i].unicode());
        if (b < 0) {
            if (refused)
                *refused = characterAt(text, i);
            return false;
        }
        bytes[i] = static_cast<char>(b);
    }
    *out = std::move(bytes);
    return true;
}
#endif

// A surrogate without its partner: UTF-8 has no form for it.
bool encodeUtf8(QStringView text, QByteArray *out, char32_t *refused)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
            continue;
        }
        if (c.isSurrogate()) {
            if (refused)
                *refused = c.unicode();
            return false;
        }
    }
    *out = text.toUtf8();
    return true;
}

bool encodeUtf16Le(QStringView text, QByteArray *out)
{
    QByteArray bytes(text.size() * 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        bytes[2 * i] = static_cast<char>(u & 0xFF);
        bytes[2 * i + 1] = static_cast<char>(u >> 8);
    }
    *out = std::move(bytes);
    return true;
}

#ifdef Q_OS_WIN
// The ANSI code page: a character it cannot hold would come back as another (a best fit or
// '?'), so whatever does not survive the round trip is refused.
bool encodeAnsi(QStringView text, QByteArray *out, char32_t *refused)
{
    QStringEncoder encoder(QStringConverter::System);
    QByteArray bytes = encoder.encode(text);
    QStringDecoder decoder(QStringConverter::System);
    const QString back = decoder.decode(bytes);
    if (!encoder.hasError() && back == text) {
        *out = std::move(bytes);
        return true;
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char32_t c = characterAt(text, i);
        const qsizetype length = c > 0xFFFF ? 2 : 1;
        QStringEncoder one(QStringConverter::System);
        QStringDecoder oneBack(QStringConverter::System);
        if (QString(oneBack.decode(one.encode(text.sliced(i, length)))) != text.sliced(i, length)
            || one.hasError()) {
            if (refused)
                *refused = c;
            return false;
        }
        i += length - 1;
    }
    if (refused)
        *refused = 0xFFFD;
    return false;
}
#endif

QString fileName(const QString &path)
{
    return QFileInfo(path).fileName();
}

// Where a chain of symbolic links starting at path ends (path itself when it is no link), whether
// or not that end exists; empty when the chain is too long or loops.
QString linkEnd(const QString &path)
{
    // As many links as the system itself follows before it gives up.
    constexpr int kMaxLinks = 40;
    QString end = path;
    for (int hops = 0; hops <= kMaxLinks; ++hops) {
        const QFileInfo info(end);
        if (!info.isSymbolicLink())
            return end;
        end = info.symLinkTarget();
    }
    return QString();
}

// The reason of the system call that just failed, in French. QFile's own texts are the system's,
// in its language.
QString lastSystemReason()
{
#ifdef Q_OS_WIN
    return OutsideFile::windowsReason(GetLastError());
#else
    return OutsideFile::systemReason(errno);
#endif
}

bool syncToDisk(QFile &file)
{
#ifdef Q_OS_LINUX
    // The data and what reading it back needs (its size), as QSaveFile does: a new file's
    // timestamps are not worth a journal commit of their own.
    return ::fdatasync(file.handle()) == 0;
#elif defined(Q_OS_UNIX)
    return ::fsync(file.handle()) == 0;
#elif defined(Q_OS_WIN)
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(file.handle()));
    return handle != INVALID_HANDLE_VALUE && FlushFileBuffers(handle);
#else
    return true;
#endif
}

// Renames from over to in one step, replacing to when it exists.
bool renameOver(const QString &from, const QString &to, QString *reason)
{
#ifdef Q_OS_WIN
    const QString nativeFrom = QDir::toNativeSeparators(from);
    const QString nativeTo = QDir::toNativeSeparators(to);
    if (MoveFileExW(reinterpret_cast<const wchar_t *>(nativeFrom.utf16()),
                    reinterpret_cast<const wchar_t *>(nativeTo.utf16()),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    *reason = OutsideFile::windowsReason(GetLastError());
    return false;
#else
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return true;
    *reason = OutsideFile::systemReason(errno);
    return false;
#endif
}

QString randomSuffix()
{
    static constexpr char16_t alphabet[] =
        u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString suffix;
    for (int i = 0; i < kSaveSuffixLength; ++i)
        suffix += QChar(alphabet[QRandomGenerator::global()->bounded(62)]);
    return suffix;
}

bool isSaveSuffix(QStringView suffix)
{
    if (suffix.size() != kSaveSuffixLength)
        return false;
    for (const QChar c : suffix) {
        const char16_t u = c.unicode();
        const bool alnum = (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z')
            || (u >= '0' && u <= '9');
        if (!alnum)
            return false;
    }
    return true;
}

} // namespace

namespace TextFile {

Encoding detect(QByteArrayView bytes)
{
    if (bytes.startsWith("\xFF\xFE"))
        return Encoding::Utf16LeWithBom;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return Encoding::Utf8WithBom;
    if (isAscii(bytes))
        return newFileEncoding();
    return isValidUtf8(bytes) ? Encoding::Utf8 : Encoding::EightBit;
}

Encoding newFileEncoding()
{
#ifdef Q_OS_WIN
    return Encoding::EightBit;
#else
    return Encoding::Utf8;
#endif
}

qsizetype bomSize(Encoding encoding)
{
    switch (encoding) {
    case Encoding::Utf8WithBom: return 3;
    case Encoding::Utf16LeWithBom: return 2;
    case Encoding::Utf8:
    case Encoding::EightBit: break;
    }
    return 0;
}

QString encodingName(Encoding encoding)
{
    switch (encoding) {
    case Encoding::Utf8: return QStringLiteral("UTF-8");
    case Encoding::Utf8WithBom: return QStringLiteral("UTF-8 avec BOM");
    case Encoding::Utf16LeWithBom: return QStringLiteral("UTF-16 (Unicode)");
    case Encoding::EightBit: break;
    }
#ifdef Q_OS_WIN
    return QStringLiteral("Windows-%1 (ANSI)").arg(GetACP());
#else
    return QStringLiteral("Windows-1252");
#endif
}

QString decode(QByteArrayView bytes, Encoding encoding)
{
    switch (encoding) {
    case Encoding::Utf8:
    case Encoding::Utf8WithBom: {
        // A U+FEFF inside the text is a character of it (fromUtf8 would drop one at the start).
        QStringDecoder decoder(QStringConverter::Utf8,
                               QStringConverter::Flag::ConvertInitialBom
                                   | QStringConverter::Flag::Stateless);
        return decoder.decode(bytes);
    }
    case Encoding::Utf16LeWithBom: {
        QString text(bytes.size() / 2, Qt::Uninitialized);
        char16_t *out = reinterpret_cast<char16_t *>(text.data());
        for (qsizetype i = 0; i < text.size(); ++i)
            out[i] = char16_t(static_cast<unsigned char>(bytes[2 * i])
                              | (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
        return text;
    }
    case Encoding::EightBit: break;
    }
#ifdef Q_OS_WIN
    QStringDecoder decoder(QStringConverter::System);
    return decoder.decode(bytes);
#else
    return decodeCp1252(bytes);
#endif
}

bool encode(QStringView text, Encoding encoding, QByteArray *out, char32_t *refused)
{
    switch (encoding) {
    case Encoding::Utf8:
    case Encoding::Utf8WithBom: return encodeUtf8(text, out, refused);
    case Encoding::Utf16LeWithBom: return encodeUtf16Le(text, out);
    case Encoding::EightBit: break;
    }
#ifdef Q_OS_WIN
    return encodeAnsi(text, out, refused);
#else
    return encodeCp1252(text, out, refused);
#endif
}

QString refusalReason(char32_t character, const QString &path, Encoding encoding)
{
    const QString code =
        QStringLiteral("U+%1").arg(uint(character), 4, 16, QLatin1Char('0')).toUpper();
    const bool printable = character < 0xD800 || (character > 0xDFFF && character <= 0x10FFFF);
    const QString shown = printable && QChar::isPrint(character)
        ? QStringLiteral("« %1 » (%2)").arg(QString::fromUcs4(&character, 1), code)
        : code;
    return QStringLiteral("le caractère %1 ne peut pas être écrit dans %2, qui est en %3 ; "
                          "rien n'a été enregistré.")
        .arg(shown, fileName(path), encodingName(encoding));
}

ReadStatus read(const QString &path, QByteArray *bytes, QString *reason)
{
    return OutsideFile::read(path, kMaxSize, bytes, reason);
}

bool replace(const QString &path, const QByteArray &bytes, QString *reason)
{
    // A link is followed to its end, even when that end does not exist yet: the save creates
    // it there, and the player's link stays as it is.
    const QString target = linkEnd(path);
    if (target.isEmpty()) {
        *reason = QStringLiteral("%1 : %2 ; rien n'a été enregistré.")
                      .arg(fileName(path), OutsideFile::systemReason(ELOOP));
        return false;
    }
    if (target != path && !QFileInfo(target).absoluteDir().exists()) {
        *reason = QStringLiteral("%1 est un lien vers %2, dont le dossier n'existe pas ; rien n'a "
                                 "été enregistré.")
                      .arg(fileName(path), QDir::toNativeSeparators(target));
        return false;
    }
    if (const QString problem = OutsideFile::notRegularProblem(target); !problem.isEmpty()) {
        *reason = problem;
        return false;
    }

    const QFileInfo targetInfo(target);
    // A file the player made read-only stays as it is, as it would for an in-place write.
    if (targetInfo.exists() && !targetInfo.isWritable()) {
        *reason = QStringLiteral("%1 est en lecture seule.").arg(targetInfo.fileName());
        return false;
    }
    const QDir directory = targetInfo.absoluteDir();
    const QString prefix = targetInfo.fileName() + kSaveMarker;
    QFile temp;
    for (int attempt = 0; attempt < 100 && !temp.isOpen(); ++attempt) {
        temp.setFileName(directory.filePath(prefix + randomSuffix()));
        // Created here and now, never an existing file: a name taken is simply drawn again.
        if (!temp.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            const QString why = lastSystemReason(); // before exists() sets errno again
            if (!temp.exists()) {
                *reason = why;
                return false;
            }
        }
    }
    if (!temp.isOpen()) {
        *reason = QStringLiteral("aucun nom libre pour la copie temporaire dans %1")
                      .arg(QDir::toNativeSeparators(directory.path()));
        return false;
    }
    const auto discard = [&temp](const QString &why, QString *out) {
        *out = why;
        temp.close();
        temp.remove();
        return false;
    };
    if (temp.write(bytes) != bytes.size() || !temp.flush())
        return discard(lastSystemReason(), reason);
    if (targetInfo.exists())
        temp.setPermissions(targetInfo.permissions());
    if (!syncToDisk(temp))
        return discard(QStringLiteral("écriture sur le disque impossible"), reason);
    temp.close();
    if (temp.error() != QFileDevice::NoError)
        return discard(lastSystemReason(), reason);
    QString why;
    if (!renameOver(temp.fileName(), target, &why)) {
        temp.remove();
        *reason = why;
        return false;
    }
    return true;
}

QString tooBigReason(const QString &path, qint64 size)
{
    return OutsideFile::tooBigReason(path, size, kMaxSize);
}

bool writeText(const QString &path, QStringView text, Encoding encoding, QString *reason)
{
    QByteArray bytes;
    char32_t refused = 0;
    if (!encode(text, encoding, &bytes, &refused)) {
        *reason = refusalReason(refused, path, encoding);
        return false;
    }
    if (encoding == Encoding::Utf8WithBom)
        bytes.prepend("\xEF\xBB\xBF");
    else if (encoding == Encoding::Utf16LeWithBom)
        bytes.prepend("\xFF\xFE");
    return replace(path, bytes, reason);
}

int removeLeftovers(const QString &path)
{
    QList<QFileInfo> files{QFileInfo(path)};
    if (const QString end = linkEnd(path); !end.isEmpty() && end != path)
        files.append(QFileInfo(end));
    int removed = 0;
    QStringList seen;
    for (const QFileInfo &file : files) {
        const QString prefix = file.fileName() + kSaveMarker;
        const QDir directory = file.absoluteDir();
        if (seen.contains(directory.absolutePath() + u'/' + prefix))
            continue;
        seen.append(directory.absolutePath() + u'/' + prefix);
        // Regular files only, links not followed: whatever else is there stays.
        const QFileInfoList entries = directory.entryInfoList(
            QDir::Files | QDir::Hidden | QDir::NoSymLinks, QDir::Unsorted);
        for (const QFileInfo &entry : entries) {
            const QString name = entry.fileName();
            if (!name.startsWith(prefix) || !isSaveSuffix(QStringView(name).sliced(prefix.size())))
                continue;
            if (!entry.isFile() || entry.isSymLink())
                continue;
            if (QFile::remove(entry.absoluteFilePath()))
                ++removed;
        }
    }
    return removed;
}

} // namespace TextFile
