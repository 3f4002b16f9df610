#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

// A mod's liblist.gam: `key "value"` lines and `//` comments. Keys are kept in lower case.
// Only the first maxBytes are read; lines that are not of that form are skipped.
namespace Liblist {
inline constexpr qsizetype maxBytes = 64 * 1024;
QHash<QString, QString> parse(const QByteArray &text);
QHash<QString, QString> parseFile(const QString &path);
} // namespace Liblist

struct InstalledMod {
    QString folder; // the folder's name, as typed after -game
    QString name;   // the mod's `game` value; empty when it has none
};

// The subfolders of a game folder that hold a liblist.gam, by name, without `valve`
// and without the _addon, _downloads, _hd and language variants of another folder.
QList<InstalledMod> installedMods(const QString &gameFolder);
