#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include <optional>

// A mod's liblist.gam: `key "value"` lines and `//` comments. Keys are kept in lower case.
// Lines that are not of that form are skipped. A real one holds a few hundred bytes.
namespace Liblist {
inline constexpr qsizetype maxBytes = 64 * 1024;
// Only the first maxBytes of text are looked at.
QHash<QString, QString> parse(const QByteArray &text);
// Nothing when the file is missing or cannot be read: a FIFO, a folder, larger than maxBytes.
std::optional<QHash<QString, QString>> parseFile(const QString &path);
} // namespace Liblist

struct InstalledMod {
    QString folder; // the folder's name, as typed after -game
    QString name;   // the mod's `game` value; empty when it has none
};

// The subfolders of a game folder that hold a liblist.gam, by name, without `valve`
// and without the _addon, _downloads, _hd and language variants of another folder.
QList<InstalledMod> installedMods(const QString &gameFolder);
