// libFuzzer target for the map file reader and the floor drawing of the map preview.
//
// Input: the bytes of a map file. Besides "no crash, no hang, no unbounded memory", every run
// checks:
//  - an accepted file has version 30 and all fifteen lumps inside it;
//  - every floor of an accepted file has at least three corners, all of them inside the
//    points, finite and within the coordinate bound; the world model's floors are bounded;
//  - the drawing has the picture's size exactly when there is a floor, and is null otherwise.

#include "maps/bspfile.h"
#include "maps/floordrawing.h"

#include <QByteArray>
#include <QImage>
#include <QtEndian>

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "broken property: %s\n", what);
    std::abort();
}

bool headerInside(QByteArrayView bytes)
{
    if (bytes.size() < 124 || qFromLittleEndian<qint32>(bytes.data()) != Bsp::kVersion)
        return false;
    for (int i = 0; i < 15; ++i) {
        const qint64 offset = qFromLittleEndian<qint32>(bytes.data() + 4 + i * 8);
        const qint64 length = qFromLittleEndian<qint32>(bytes.data() + 8 + i * 8);
        if (offset < 0 || length < 0 || offset + length > bytes.size())
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const std::optional<Bsp::Contents> contents = Bsp::read(bytes);
    if (!contents)
        return 0;
    if (!headerInside(bytes))
        fail("a file with a bad header was accepted");
    if (contents->title.size() > Bsp::kMaxTitleBytes)
        fail("a title longer than the bound");
    if (qint64(contents->floors.size()) > Bsp::kMaxWorldFaces)
        fail("more floors than the world model may have");
    for (const Bsp::Floor &floor : contents->floors) {
        if (floor.pointCount < 3 || floor.firstPoint < 0
            || floor.firstPoint + floor.pointCount > qsizetype(contents->points.size()))
            fail("a floor's corners are not inside the points");
        if (!std::isfinite(floor.height))
            fail("a floor's height is not finite");
        for (int i = 0; i < floor.pointCount; ++i) {
            const QPointF &p = contents->points[size_t(floor.firstPoint + i)];
            if (!std::isfinite(p.x()) || !std::isfinite(p.y())
                || std::fabs(p.x()) > Bsp::kMaxCoordinate || std::fabs(p.y()) > Bsp::kMaxCoordinate)
                fail("a corner beyond the coordinate bound");
        }
    }
    const QImage picture = FloorDrawing::draw(*contents, QSize(256, 192));
    if (picture.isNull() != contents->floors.empty())
        fail("a drawing without floors, or floors without a drawing");
    if (!picture.isNull() && picture.size() != QSize(256, 192))
        fail("a drawing of another size");
    return 0;
}
