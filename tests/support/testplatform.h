#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// What the tests need of the system they run on, the same on Linux and on Windows.

// Why ReadOnlyFolder cannot keep its files from being replaced here, or empty when it can: root
// writes anything on Linux.
QString readOnlyFilesUnavailable();

// Why ReadOnlyFolder cannot keep the folder itself from taking new files here, or empty when it
// can: root writes into any folder, and Windows ignores a folder's read-only attribute.
QString readOnlyFoldersUnavailable();

// While it lives, nothing can replace the given files of a folder, and on Linux the folder takes
// no new file either. Linux: the folder and files are made read-only (and writable again after).
// Windows: each file is held open by a handle that shares neither writing nor deleting, as
// another program may do, so every replace of it fails.
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
    QList<void *> m_handles;
};

// The PATH with a folder put first, in the system's separator.
QByteArray pathWithFirst(const QString &folder, const QByteArray &path);
