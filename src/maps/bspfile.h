#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QPointF>
#include <QString>

#include <optional>
#include <vector>

// The few parts of a version-30 map file the preview needs: the entity lump's title and spawn
// points, and the floors of the world model in plan view. The file is untrusted: every offset,
// length, count and index is checked against the file and the limits below before it is used.
namespace Bsp {

inline constexpr int kVersion = 30;
// Larger than any shipped map by far; a file above it is not read at all.
inline constexpr qint64 kMaxFileSize = qint64(64) * 1024 * 1024;
// The format's own ceilings: the game refuses more faces, and compilers split long edges.
inline constexpr qint64 kMaxWorldFaces = 65535;
inline constexpr int kMaxFaceEdges = 256;
// Beyond any map's extent; farther corners are taken for garbage and their face left out.
inline constexpr float kMaxCoordinate = 1.0e6f;
// A face counts as floor when its normal, turned to the face's side, points this much up.
inline constexpr float kFloorNormalZ = 0.7f;
// Titles longer than this are cut: a title is one line under a list.
inline constexpr qsizetype kMaxTitleBytes = 256;

struct Floor {
    qsizetype firstPoint = 0; // into Contents::points
    int pointCount = 0;
    float height = 0; // the mean height of its corners
};

struct Contents {
    QByteArray title; // the first entity's "message", as stored (empty when none)
    int deathmatchSpawns = 0;
    int teamSpawns = 0;
    bool swappedLumps = false;   // entities were in lump 1
    std::vector<QPointF> points; // the floors' corners in plan view (x, y)
    std::vector<Floor> floors;
};

// Reads the map in bytes; nothing (and *reason says why) when it is not a readable map.
std::optional<Contents> read(QByteArrayView bytes, QString *reason = nullptr);

// Whether a lump holds entity text: its first non-blank byte opens a block.
bool looksLikeEntities(QByteArrayView lump);

} // namespace Bsp
