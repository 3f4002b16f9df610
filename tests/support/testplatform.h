#pragma once

#include <QString>
#include <QStringList>

// What the tests need of the system they run on, the same on Linux and on Windows.

// Why a read-only folder cannot be made here, or empty when it can: root writes into any folder,
// and Windows ignores a folder's read-only attribute.
QString readOnlyFoldersUnavailable();

// Makes a folder (and the given files in it) read-only while it lives, and writable again after.
class ReadOnlyFolder
{
public:
    explicit ReadOnlyFolder(const QString &folder, const QStringList &files = {});
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder &) = delete;
    ReadOnlyFolder &operator=(const ReadOnlyFolder &) = delete;

private:
    QString m_folder;
    QStringList m_files;
};

// The PATH with a folder put first, in the system's separator.
QByteArray pathWithFirst(const QString &folder, const QByteArray &path);
