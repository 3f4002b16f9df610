#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Writes small version-30 map files for tests, the benchmark and the fuzzer's seeds: solid
// axis-aligned boxes (each top face a floor at the box's top height), an entity lump with a
// title and spawn points, and on request the damaged or swapped forms a player's folder may hold.
namespace BspWriter {

struct Box {
    float minX = 0, minY = 0, minZ = 0;
    float maxX = 0, maxY = 0, maxZ = 0;
};

// What is broken in the written file (for the reader's refusals).
enum class Damage {
    None,
    WrongVersion,        // version 29
    LumpPastEnd,         // the faces lump runs past the end of the file
    NegativeLength,      // the edges lump has a negative length
    PlaneOutOfRange,     // the first face names a plane past the planes lump
    EdgeOutOfRange,      // a surface edge names an edge past the edges lump
    VertexOutOfRange,    // an edge names a vertex past the vertices lump
    HugeFaceCount,       // model 0 claims 0x7fffffff faces
    HugeEdgeCount,       // the first face claims 32767 edges
    NegativeSurfaceEdge, // a surface edge of -2147483648
    Truncated,           // the file stops in the middle of the header
};

struct Map {
    QString title;        // worldspawn's "message"; none when empty
    int deathmatchSpawns = 0;
    int teamSpawns = 0;
    QList<Box> boxes;
    bool swapLumps = false; // entities in lump 1, planes in lump 0
    bool backSides = false; // every face drawn on the back side (side 1) of a reversed plane
    int extraBytes = 0;     // a lighting lump of this size, to reach a given file size
    Damage damage = Damage::None;
};

QByteArray build(const Map &map);
bool write(const QString &path, const Map &map);

// A map of `count` boxes on a grid, their tops at heights 0..255: for the benchmark and seeds.
Map grid(int count, const QString &title);

} // namespace BspWriter
