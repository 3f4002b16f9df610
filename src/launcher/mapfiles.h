#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The names of the "*.bsp" files of a directory (any letter case of the extension, as on
// Windows), in the order a player expects: case-insensitive, numbers by value (dm2 < dm10).
// A directory that does not exist or cannot be read gives an empty list.
QStringList mapFiles(const QString &directory);

// Natural order of two names: case-insensitive, runs of digits compared by value.
bool naturalLess(const QString &a, const QString &b);

// The folders the game loads a game folder's maps from, its own first: the maps directory
// itself, then `<folder>_addon/maps` and `<folder>_downloads/maps` beside the game folder
// (valve/maps: valve_addon/maps, valve_downloads/maps). Only a directory named "maps" has a
// game folder above it; any other gives itself alone.
QStringList mapFolders(const QString &mapsDirectory);

// The maps a player can start from one maps directory: those of every folder of mapFolders, each
// name once (a name in several folders is taken from the first, whatever its letter case), in
// natural order. Only file names are read, never the files.
struct InstalledMaps {
    QStringList names;          // the list's items
    QStringList folders;        // mapFolders(mapsDirectory)
    QList<quint8> folderOfName; // for each name, its folder's index in `folders`

    // The file behind names[row]; empty when row is out of range.
    QString filePath(qsizetype row) const;
};
InstalledMaps installedMaps(const QString &mapsDirectory);
