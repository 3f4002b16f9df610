#pragma once

#include "files/outsidefile.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

// The player's text files (crvn.ini, crvn.cfg) as bytes on disk: which encoding they are in,
// which files may be read at all, and the atomic replace that never leaves half a file.
namespace TextFile {

// How a file's text is stored. A file keeps its form when it is written.
enum class Encoding {
    Utf8,           // UTF-8 without BOM
    Utf8WithBom,    // EF BB BF, then UTF-8
    Utf16LeWithBom, // FF FE, then UTF-16 little-endian (Notepad's "Unicode")
    EightBit,       // Windows-1252; on Windows, the system's ANSI code page
};

// Files above this size are refused: the settings never come near it, and a hostile file must
// not make a read cost what the file costs.
inline constexpr qint64 kMaxSize = qint64(4) * 1024 * 1024;

// FF FE: UTF-16LE; EF BB BF: UTF-8; else valid UTF-8 is UTF-8, anything else 8-bit. Plain
// ASCII reads the same either way and takes the form of a new file.
Encoding detect(QByteArrayView bytes);
// What a file that does not exist yet is written in: UTF-8 on Linux, the ANSI code page on
// Windows.
Encoding newFileEncoding();
// What the game reads its console scripts (crvn.cfg) in: the same two.
inline Encoding gameEncoding()
{
    return newFileEncoding();
}
qsizetype bomSize(Encoding encoding);
// The encoding's name as the player would know it, for messages.
QString encodingName(Encoding encoding);

// Text of bytes that stand after the BOM.
QString decode(QByteArrayView bytes, Encoding encoding);
// Bytes of text (no BOM). Returns false when the encoding cannot hold a character; *refused
// (when given) is then the first such character. Nothing is ever replaced silently.
bool encode(QStringView text, Encoding encoding, QByteArray *out, char32_t *refused = nullptr);
// Why a file of that size is refused, naming it ("trop volumineux").
QString tooBigReason(const QString &path, qint64 size);
// Why a save was refused for that character: names the character and the file.
QString refusalReason(char32_t character, const QString &path, Encoding encoding);

using ReadStatus = OutsideFile::Status;

// Reads the whole file when it is a regular file (or a link to one) of at most kMaxSize bytes.
// Never blocks on a FIFO or a device: the kind is checked on a non-blocking handle first.
// Refused: *reason names the file and says why (not a regular file, too big, unreadable).
ReadStatus read(const QString &path, QByteArray *bytes, QString *reason);

// Replaces the file at path with bytes in one step: they go to a new file beside it, named
// "<name>.corvane-save-XXXXXX", which is flushed to disk and renamed over the file. A link is
// followed and its target replaced. The previous file stays whole on any failure; false and
// *reason then say why. Anything there that is not a regular file is refused.
bool replace(const QString &path, const QByteArray &bytes, QString *reason);

// Writes text as the whole file at path in the given encoding (with its BOM), atomically.
// A character the encoding cannot hold refuses the save, nothing written.
bool writeText(const QString &path, QStringView text, Encoding encoding, QString *reason);

// Removes the copies a save of path left beside it (or beside its link target) when the
// program was killed before the rename: only regular files whose names are exactly
// "<name>.corvane-save-" followed by six letters or digits. Returns how many were removed.
int removeLeftovers(const QString &path);

} // namespace TextFile
