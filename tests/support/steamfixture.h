#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Steam folders laid out under a temporary home, as Steam leaves them on disk.
namespace SteamFixture {

// Lays out entries under `home`: "dir/" makes a folder, "path=text" writes a file ("{HOME}" in
// the text stands for the home folder), "path->target" makes a symbolic link to home/target.
bool layOut(const QString &home, const QStringList &entries);

// A text in Steam's format: backslashes and quotes escaped.
QString escaped(const QString &text);

// libraryfolders.vdf in its current shape (a block per library) and in its older flat shape.
QString libraryFolders(const QStringList &paths);
QString flatLibraryFolders(const QStringList &paths);

// A Half-Life in `library` (relative to home): its manifest with `flags`, the game folder with
// the executables named, valve/maps with two maps, and tfc/ with liblist.gam when `tfc`.
QStringList halfLife(const QString &library, const QStringList &executables = {QStringLiteral("hl.sh")},
                     bool tfc = true, int flags = 4,
                     const QString &installDir = QStringLiteral("Half-Life"));

// A Steam root (relative to home) with its steamapps folder and, when given, a
// libraryfolders.vdf text.
QStringList root(const QString &path, const QString &libraryFoldersText = QString());

} // namespace SteamFixture
