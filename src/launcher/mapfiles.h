#pragma once

#include <QString>
#include <QStringList>

// The names of the "*.bsp" files of a directory (any letter case of the extension, as on
// Windows), in the order a player expects: case-insensitive, numbers by value (dm2 < dm10).
// A directory that does not exist or cannot be read gives an empty list.
QStringList mapFiles(const QString &directory);

// Natural order of two names: case-insensitive, runs of digits compared by value.
bool naturalLess(const QString &a, const QString &b);
