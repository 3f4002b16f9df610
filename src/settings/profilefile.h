#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

// Reader and writer of INI "profile" files that behave like the Windows profile functions:
// files those functions write read back the same, and a write touches only its own line.
namespace ProfileFile {

// Value of section/key in the text of a profile file, or defaultValue when the section or key
// is missing. Never cuts the value.
QString readFromBytes(const QByteArray &text, QStringView section, QStringView key,
                      const QString &defaultValue);

// The file's text after writing section/key = value; returns text unchanged when the key
// already holds that value.
QByteArray writeToBytes(const QByteArray &text, QStringView section, QStringView key,
                        const QString &value);

// Reads section/key from the file at path; a missing or unreadable file yields defaultValue.
QString read(const QString &path, QStringView section, QStringView key,
             const QString &defaultValue);

// Writes section/key = value into the file at path, replacing the file atomically.
// Returns false, with the reason in errorString when given, when the file cannot be written;
// the file is then left as it was.
bool write(const QString &path, QStringView section, QStringView key, const QString &value,
           QString *errorString = nullptr);

// Replaces the file at path with text, atomically.
bool writeText(const QString &path, const QByteArray &text, QString *errorString = nullptr);

} // namespace ProfileFile
