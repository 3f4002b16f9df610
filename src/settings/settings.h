#pragma once

#include "settings/keys.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

// The settings file crvn.ini. Holds no copy of the values: every read goes to the file, so
// each window sees what the file holds at the moment it asks.
class Settings
{
public:
    // startingText: what a file that does not exist yet reads as; its first write creates the
    // file (and its directory) from that text.
    explicit Settings(QString filePath, QByteArray startingText = {});

    // crvn.ini in the given directory, joined without doubling a separator.
    static QString fileInDirectory(const QString &directory);

    const QString &filePath() const { return m_filePath; }

    QString read(SettingKey key, QStringView defaultValue = kMissing) const;
    // Returns false when the file could not be written; errorString() then says why.
    bool write(SettingKey key, const QString &value);
    // Writes every key as one change of the file: all of them, or none when any is refused
    // (errorString() then names the key and the character) or the file cannot be written.
    bool write(const SettingWrites &writes);
    QString errorString() const { return m_error; }

    // Why the file cannot be read at all (not a regular file, too big, unreadable), naming it;
    // empty when it can be read or does not exist yet. Reads of such a file give their
    // defaults and writes are refused with the same reason.
    QString fileProblem() const;

private:
    QString m_filePath;
    QByteArray m_startingText;
    QString m_error;
};
