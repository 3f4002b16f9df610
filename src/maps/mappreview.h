#pragma once

#include <QImage>
#include <QMetaType>
#include <QString>

// What a map file says of itself, for the preview under the map lists: its title, a picture
// (the game's own overview, else a top-down drawing of its floors) and a few details. Read from
// the file only when a player looks at a map, never to fill a list.
namespace MapPreview {

// Which entities count as spawn points: deathmatch maps, or team maps (the mod's).
enum class SpawnKind { Deathmatch, TeamSpawn };

inline constexpr int kPictureWidth = 256;
inline constexpr int kPictureHeight = 192;

struct Preview {
    QString title;         // worldspawn's "message", else the file name without ".bsp"
    int spawnPoints = 0;   // info_player_deathmatch (or info_player_teamspawn) entities
    qint64 fileSize = 0;   // bytes
    QImage picture;        // at most kPictureWidth x kPictureHeight; null: "Aperçu indisponible"
    QString notes;         // maps/<map>.txt: its first 500 characters, controls removed
    bool readable = false; // false when the file is not a readable map
};

// "16 points d'apparition · 1,2 Mo"
QString detailsText(const Preview &preview);

// Reads and draws the preview of the map at bspPath (maps/<map>.bsp of a game folder). Safe to
// call from any thread; never blocks on a FIFO, never reads past its limits.
Preview load(const QString &bspPath, SpawnKind kind);

} // namespace MapPreview

Q_DECLARE_METATYPE(MapPreview::Preview)
