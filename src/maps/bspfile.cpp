#include "maps/bspfile.h"

#include <QtEndian>

#include <cmath>
#include <cstring>

namespace Bsp {

namespace {

constexpr int kLumpCount = 15;
constexpr qsizetype kHeaderSize = 4 + kLumpCount * 8;
enum Lump {
    EntitiesLump = 0,
    PlanesLump = 1,
    VerticesLump = 3,
    FacesLump = 7,
    EdgesLump = 12,
    SurfaceEdgesLump = 13,
    ModelsLump = 14,
};
constexpr qsizetype kPlaneSize = 20;
constexpr qsizetype kVertexSize = 12;
constexpr qsizetype kEdgeSize = 4;
constexpr qsizetype kSurfaceEdgeSize = 4;
constexpr qsizetype kFaceSize = 20;
constexpr qsizetype kModelSize = 64;

// Little-endian fields at a position the caller has checked.
qint32 int32At(const char *p)
{
    return qFromLittleEndian<qint32>(p);
}

qint16 int16At(const char *p)
{
    return qFromLittleEndian<qint16>(p);
}

quint16 uint16At(const char *p)
{
    return qFromLittleEndian<quint16>(p);
}

float floatAt(const char *p)
{
    const quint32 bits = qFromLittleEndian<quint32>(p);
    float value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// A lump as an array of fixed-size records.
struct Table {
    const char *data = nullptr;
    qsizetype count = 0;
    qsizetype recordSize = 1;
    const char *at(qsizetype index) const { return data + index * recordSize; }
};

Table table(QByteArrayView lump, qsizetype recordSize)
{
    return {lump.data(), lump.size() / recordSize, recordSize};
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

// The entity lump: `{ "key" "value" ... }` blocks. Text after a malformed block is ignored;
// what came before it counts.
void readEntities(QByteArrayView text, Contents *contents)
{
    const qsizetype nul = text.indexOf('\0');
    if (nul >= 0)
        text = text.first(nul);
    qsizetype pos = 0;
    const qsizetype size = text.size();
    auto skipBlanks = [&] {
        while (pos < size && isBlank(text[pos]))
            ++pos;
    };
    auto quoted = [&](QByteArrayView *out) {
        if (pos >= size || text[pos] != '"')
            return false;
        const qsizetype close = text.indexOf('"', pos + 1);
        if (close < 0)
            return false;
        *out = text.sliced(pos + 1, close - pos - 1);
        pos = close + 1;
        return true;
    };
    bool first = true;
    for (;;) {
        skipBlanks();
        if (pos >= size || text[pos] != '{')
            return;
        ++pos;
        QByteArrayView className;
        for (;;) {
            skipBlanks();
            if (pos < size && text[pos] == '}') {
                ++pos;
                break;
            }
            QByteArrayView key;
            QByteArrayView value;
            if (!quoted(&key))
                return;
            skipBlanks();
            if (!quoted(&value))
                return;
            if (key == "classname")
                className = value;
            else if (first && key == "message" && contents->title.isEmpty())
                contents->title = value.first(std::min(value.size(), kMaxTitleBytes)).toByteArray();
        }
        if (className == "info_player_deathmatch")
            ++contents->deathmatchSpawns;
        else if (className == "info_player_teamspawn")
            ++contents->teamSpawns;
        first = false;
    }
}

bool fail(QString *reason, const QString &why)
{
    if (reason)
        *reason = why;
    return false;
}

bool finiteAndNear(float value)
{
    return std::isfinite(value) && std::fabs(value) <= kMaxCoordinate;
}

// The floors of model 0. False when any of its faces names something past its table.
bool readFloors(const Table &planes, const Table &vertices, const Table &edges,
                const Table &surfaceEdges, const Table &faces, const Table &models,
                Contents *contents, QString *reason)
{
    if (models.count < 1)
        return fail(reason, QStringLiteral("aucun modèle"));
    const char *world = models.at(0);
    const qint64 firstFace = int32At(world + 56);
    const qint64 faceCount = int32At(world + 60);
    if (firstFace < 0 || faceCount < 0 || faceCount > kMaxWorldFaces
        || firstFace + faceCount > faces.count)
        return fail(reason, QStringLiteral("faces du modèle 0 hors du fichier"));

    std::vector<QPointF> corners;
    for (qint64 f = firstFace; f < firstFace + faceCount; ++f) {
        const char *face = faces.at(f);
        const qint64 plane = int16At(face);
        const bool back = int16At(face + 2) != 0;
        const qint64 firstEdge = int32At(face + 4);
        const qint64 edgeCount = int16At(face + 8);
        if (plane < 0 || plane >= planes.count)
            return fail(reason, QStringLiteral("plan hors du fichier"));
        if (edgeCount < 0 || edgeCount > kMaxFaceEdges || firstEdge < 0
            || firstEdge + edgeCount > surfaceEdges.count)
            return fail(reason, QStringLiteral("arêtes hors du fichier"));

        corners.clear();
        double heights = 0;
        bool usable = edgeCount >= 3;
        for (qint64 e = firstEdge; e < firstEdge + edgeCount; ++e) {
            const qint64 surfaceEdge = int32At(surfaceEdges.at(e));
            const qint64 edge = surfaceEdge < 0 ? -surfaceEdge : surfaceEdge;
            if (edge >= edges.count)
                return fail(reason, QStringLiteral("arête hors du fichier"));
            const qint64 vertex = uint16At(edges.at(edge) + (surfaceEdge < 0 ? 2 : 0));
            if (vertex >= vertices.count)
                return fail(reason, QStringLiteral("sommet hors du fichier"));
            const char *v = vertices.at(vertex);
            const float x = floatAt(v);
            const float y = floatAt(v + 4);
            const float z = floatAt(v + 8);
            usable = usable && finiteAndNear(x) && finiteAndNear(y) && finiteAndNear(z);
            corners.emplace_back(x, y);
            heights += z;
        }
        const float normalZ = floatAt(planes.at(plane) + 8) * (back ? -1.0f : 1.0f);
        if (!usable || !(normalZ >= kFloorNormalZ))
            continue;
        contents->floors.push_back({static_cast<qsizetype>(contents->points.size()),
                                    static_cast<int>(corners.size()),
                                    static_cast<float>(heights / double(corners.size()))});
        contents->points.insert(contents->points.end(), corners.begin(), corners.end());
    }
    return true;
}

} // namespace

bool looksLikeEntities(QByteArrayView lump)
{
    for (const char c : lump) {
        if (!isBlank(c))
            return c == '{';
    }
    return false;
}

std::optional<Contents> read(QByteArrayView bytes, QString *reason)
{
    if (bytes.size() < kHeaderSize) {
        fail(reason, QStringLiteral("en-tête incomplet"));
        return std::nullopt;
    }
    if (bytes.size() > kMaxFileSize) {
        fail(reason, QStringLiteral("fichier trop volumineux"));
        return std::nullopt;
    }
    const qint32 version = int32At(bytes.data());
    if (version != kVersion) {
        fail(reason, QStringLiteral("version %1 au lieu de %2").arg(version).arg(kVersion));
        return std::nullopt;
    }
    QByteArrayView lumps[kLumpCount];
    for (qsizetype i = 0; i < kLumpCount; ++i) {
        const qint64 offset = int32At(bytes.data() + 4 + i * 8);
        const qint64 length = int32At(bytes.data() + 8 + i * 8);
        if (offset < 0 || length < 0 || offset + length > bytes.size()) {
            fail(reason, QStringLiteral("partie %1 hors du fichier").arg(i));
            return std::nullopt;
        }
        lumps[i] = bytes.sliced(offset, length);
    }

    Contents contents;
    QByteArrayView entities = lumps[EntitiesLump];
    QByteArrayView planes = lumps[PlanesLump];
    if (!looksLikeEntities(entities) && looksLikeEntities(planes)) {
        std::swap(entities, planes);
        contents.swappedLumps = true;
    }
    readEntities(entities, &contents);
    if (!readFloors(table(planes, kPlaneSize), table(lumps[VerticesLump], kVertexSize),
                    table(lumps[EdgesLump], kEdgeSize),
                    table(lumps[SurfaceEdgesLump], kSurfaceEdgeSize),
                    table(lumps[FacesLump], kFaceSize), table(lumps[ModelsLump], kModelSize),
                    &contents, reason))
        return std::nullopt;
    return contents;
}

} // namespace Bsp
