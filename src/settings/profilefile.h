#pragma once

#include "settings/keys.h"
#include "settings/textfile.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

// Reader and writer of INI "profile" files that behave like the Windows profile functions:
// files those functions write read back the same, and a write touches only its own line.
// The text may be UTF-16LE (with its BOM), UTF-8 (with or without BOM) or 8-bit (Windows-1252,
// the ANSI code page on Windows); see TextFile::detect. A write keeps the file's encoding.
namespace ProfileFile {

// Value of section/key in the bytes of a profile file, or defaultValue when the section or key
// is missing. Never cuts the value.
QString readFromBytes(const QByteArray &text, QStringView section, QStringView key,
                      const QString &defaultValue);

// The file's bytes after writing section/key = value: the key's line, or one new line (and a
// new section header when the section is missing), spliced into the old bytes, which are
// otherwise kept. Returns text itself when the key already reads as value, and nothing when the
// file's encoding cannot hold a character of the new line (*refused is then that character).
std::optional<QByteArray> writeToBytes(const QByteArray &text, QStringView section, QStringView key,
                                       const QString &value, char32_t *refused = nullptr);

// Why a batch was refused: the first write whose text the file's encoding cannot hold, and the
// character; write is -1 when no write is to blame (8-bit text the batch would leave reading
// back as UTF-8 without bringing a character beyond ASCII).
struct Refusal {
    qsizetype write = -1;
    char32_t character = 0;
};

// The file's bytes after every write of the batch in turn, each as writeToBytes makes it, or
// nothing at all when the file's encoding cannot hold a character of any of them (*refusal then
// says which write and which character). Returns text itself when every key already reads so.
std::optional<QByteArray> writeAllToBytes(const QByteArray &text, const SettingWrites &writes,
                                          Refusal *refusal = nullptr);

// Reads section/key from the file at path; a missing, unreadable or refused file (not a
// regular file, too big) yields defaultValue.
QString read(const QString &path, QStringView section, QStringView key,
             const QString &defaultValue);

// Why the file at path cannot be read (not a regular file, too big, unreadable); empty when it
// can be read or does not exist.
QString fileProblem(const QString &path);

// Writes section/key = value into the file at path, replacing the file atomically.
// Returns false, with the reason in errorString when given, when the file cannot be read or
// written, or cannot hold the value; the file is then left as it was.
bool write(const QString &path, QStringView section, QStringView key, const QString &value,
           QString *errorString = nullptr);

// Writes every key of the batch into the file at path as one atomic replace: all of them or,
// on any refusal or failure, none (the file is left byte for byte as it was). A refusal's
// reason names the key and the character.
bool writeAll(const QString &path, const SettingWrites &writes, QString *errorString = nullptr);

// The reason a refused batch gives: the key ("MISC/company"), the character, the file and its
// encoding.
QString refusalReason(const SettingWrites &writes, const Refusal &refusal, const QString &path,
                      TextFile::Encoding encoding);

} // namespace ProfileFile
