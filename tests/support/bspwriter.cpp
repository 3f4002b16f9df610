#include "bspwriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <array>
#include <cmath>
#include <cstring>

namespace BspWriter {

namespace {

constexpr int kLumpCount = 15;
constexpr int kHeaderSize = 4 + kLumpCount * 8;
enum Lump { Entities = 0, Planes = 1, Vertices = 3, Lighting = 8, Faces = 7, Edges = 12,
            SurfaceEdges = 13, Models = 14 };

void putInt(QByteArray &out, qint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

void putShort(QByteArray &out, qint16 value)
{
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

void putFloat(QByteArray &out, float value)
{
    quint32 bits = 0;
    std::memcpy(&bits, &value, 4);
    putInt(out, static_cast<qint32>(bits));
}

struct Builder {
    QByteArray planes, vertices, edges, surfaceEdges, faces;
    int planeCount = 0, vertexCount = 0, edgeCount = 0, surfaceEdgeCount = 0, faceCount = 0;
    bool backSides = false;

    int addVertex(float x, float y, float z)
    {
        putFloat(vertices, x);
        putFloat(vertices, y);
        putFloat(vertices, z);
        return vertexCount++;
    }

    // One face: its plane (normal n, facing the front), the corners in order.
    void addFace(std::array<float, 3> n, const std::array<std::array<float, 3>, 4> &corners)
    {
        const float dist = n[0] * corners[0][0] + n[1] * corners[0][1] + n[2] * corners[0][2];
        const float sign = backSides ? -1.0f : 1.0f;
        for (float c : n)
            putFloat(planes, c * sign + 0.0f);
        putFloat(planes, dist * sign);
        putInt(planes, 0);
        std::array<int, 4> index {};
        for (int i = 0; i < 4; ++i)
            index[i] = addVertex(corners[i][0], corners[i][1], corners[i][2]);
        const int firstSurfaceEdge = surfaceEdgeCount;
        for (int i = 0; i < 4; ++i) {
            // Edges stored backwards half of the time, walked with a negative surface edge.
            const bool backwards = i % 2 == 1;
            putShort(edges, static_cast<qint16>(index[backwards ? (i + 1) % 4 : i]));
            putShort(edges, static_cast<qint16>(index[backwards ? i : (i + 1) % 4]));
            putInt(surfaceEdges, backwards ? -edgeCount : edgeCount);
            ++edgeCount;
            ++surfaceEdgeCount;
        }
        putShort(faces, static_cast<qint16>(planeCount++));
        putShort(faces, backSides ? 1 : 0);
        putInt(faces, firstSurfaceEdge);
        putShort(faces, 4);
        putShort(faces, 0);
        faces.append(4, '\0');
        putInt(faces, -1);
        ++faceCount;
    }

    void addBox(const Box &b)
    {
        const float x0 = b.minX, x1 = b.maxX, y0 = b.minY, y1 = b.maxY, z0 = b.minZ, z1 = b.maxZ;
        addFace({0, 0, 1}, {{{x0, y0, z1}, {x0, y1, z1}, {x1, y1, z1}, {x1, y0, z1}}});
        addFace({0, 0, -1}, {{{x0, y0, z0}, {x1, y0, z0}, {x1, y1, z0}, {x0, y1, z0}}});
        addFace({1, 0, 0}, {{{x1, y0, z0}, {x1, y0, z1}, {x1, y1, z1}, {x1, y1, z0}}});
        addFace({-1, 0, 0}, {{{x0, y0, z0}, {x0, y1, z0}, {x0, y1, z1}, {x0, y0, z1}}});
        addFace({0, 1, 0}, {{{x0, y1, z0}, {x1, y1, z0}, {x1, y1, z1}, {x0, y1, z1}}});
        addFace({0, -1, 0}, {{{x0, y0, z0}, {x0, y0, z1}, {x1, y0, z1}, {x1, y0, z0}}});
    }
};

QByteArray entityText(const Map &map)
{
    QByteArray text = "{\n\"classname\" \"worldspawn\"\n";
    if (!map.title.isEmpty())
        text += "\"message\" \"" + map.title.toUtf8() + "\"\n";
    text += "\"wad\" \"halflife.wad\"\n}\n";
    for (int i = 0; i < map.deathmatchSpawns; ++i)
        text += "{\n\"origin\" \"" + QByteArray::number(i * 64)
            + " 0 40\"\n\"classname\" \"info_player_deathmatch\"\n}\n";
    for (int i = 0; i < map.teamSpawns; ++i)
        text += "{\n\"classname\" \"info_player_teamspawn\"\n\"team_no\" \"1\"\n}\n";
    text += "{\n\"classname\" \"light\"\n}\n";
    text += '\0';
    return text;
}

void patchInt(QByteArray &bytes, qsizetype at, qint32 value)
{
    if (at >= 0 && at + 4 <= bytes.size())
        qToLittleEndian(value, bytes.data() + at);
}

void patchShort(QByteArray &bytes, qsizetype at, qint16 value)
{
    if (at >= 0 && at + 2 <= bytes.size())
        qToLittleEndian(value, bytes.data() + at);
}

} // namespace

QByteArray build(const Map &map)
{
    Builder builder;
    builder.backSides = map.backSides;
    for (const Box &box : map.boxes)
        builder.addBox(box);

    QByteArray model;
    float bounds[6] = {0, 0, 0, 0, 0, 0};
    for (qsizetype i = 0; i < map.boxes.size(); ++i) {
        const Box &b = map.boxes.at(i);
        const float values[6] = {b.minX, b.minY, b.minZ, b.maxX, b.maxY, b.maxZ};
        for (int k = 0; k < 6; ++k)
            bounds[k] = i == 0 ? values[k]
                               : (k < 3 ? std::min(bounds[k], values[k])
                                        : std::max(bounds[k], values[k]));
    }
    for (float value : bounds)
        putFloat(model, value);
    for (int i = 0; i < 3; ++i)
        putFloat(model, 0);
    for (int i = 0; i < 5; ++i)
        putInt(model, 0);
    putInt(model, 0);
    putInt(model, builder.faceCount);

    std::array<QByteArray, kLumpCount> lumps;
    lumps[map.swapLumps ? Planes : Entities] = entityText(map);
    lumps[map.swapLumps ? Entities : Planes] = builder.planes;
    lumps[Vertices] = builder.vertices;
    lumps[Lighting] = QByteArray(map.extraBytes, '\x40');
    lumps[Faces] = builder.faces;
    lumps[Edges] = builder.edges;
    lumps[SurfaceEdges] = builder.surfaceEdges;
    lumps[Models] = model;

    QByteArray out;
    putInt(out, map.damage == Damage::WrongVersion ? 29 : 30);
    out.append(kLumpCount * 8, '\0');
    std::array<qint32, kLumpCount> offsets {};
    for (int i = 0; i < kLumpCount; ++i) {
        while (out.size() % 4 != 0)
            out.append('\0');
        offsets[i] = static_cast<qint32>(out.size());
        patchInt(out, 4 + i * 8, offsets[i]);
        patchInt(out, 8 + i * 8, static_cast<qint32>(lumps[i].size()));
        out += lumps[i];
    }

    switch (map.damage) {
    case Damage::None:
    case Damage::WrongVersion:
        break;
    case Damage::LumpPastEnd:
        patchInt(out, 8 + Faces * 8, static_cast<qint32>(out.size()));
        break;
    case Damage::NegativeLength:
        patchInt(out, 8 + Edges * 8, -8);
        break;
    case Damage::PlaneOutOfRange:
        patchShort(out, offsets[Faces], static_cast<qint16>(builder.planeCount));
        break;
    case Damage::EdgeOutOfRange:
        patchInt(out, offsets[SurfaceEdges], builder.edgeCount);
        break;
    case Damage::VertexOutOfRange:
        patchShort(out, offsets[Edges], static_cast<qint16>(builder.vertexCount));
        break;
    case Damage::HugeFaceCount:
        patchInt(out, offsets[Models] + 60, 0x7fffffff);
        break;
    case Damage::HugeEdgeCount:
        patchShort(out, offsets[Faces] + 8, 32767);
        break;
    case Damage::NegativeSurfaceEdge:
        patchInt(out, offsets[SurfaceEdges], static_cast<qint32>(0x80000000u));
        break;
    case Damage::Truncated:
        out.truncate(40);
        break;
    }
    return out;
}

bool write(const QString &path, const Map &map)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QByteArray bytes = build(map);
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

Map grid(int count, const QString &title)
{
    Map map;
    map.title = title;
    map.deathmatchSpawns = 16;
    const int side = std::max(1, static_cast<int>(std::ceil(std::sqrt(double(count)))));
    for (int i = 0; i < count; ++i) {
        const float x = float(i % side) * 64.0f;
        const float y = float(i / side) * 64.0f;
        const float top = float((i * 37) % 256);
        map.boxes.append({x, y, -64.0f, x + 56.0f, y + 56.0f, top});
    }
    return map;
}

} // namespace BspWriter
