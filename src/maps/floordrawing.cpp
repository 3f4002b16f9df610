#include "maps/floordrawing.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <array>
#include <cmath>

namespace FloorDrawing {

QImage draw(const Bsp::Contents &contents, QSize size)
{
    if (contents.floors.empty() || size.width() <= 2 * kMargin || size.height() <= 2 * kMargin)
        return {};

    double minX = contents.points.front().x(), maxX = minX;
    double minY = contents.points.front().y(), maxY = minY;
    for (const QPointF &p : contents.points) {
        minX = std::min(minX, p.x());
        maxX = std::max(maxX, p.x());
        minY = std::min(minY, p.y());
        maxY = std::max(maxY, p.y());
    }
    float low = contents.floors.front().height, high = low;
    for (const Bsp::Floor &floor : contents.floors) {
        low = std::min(low, floor.height);
        high = std::max(high, floor.height);
    }

    const double width = std::max(maxX - minX, 1.0);
    const double height = std::max(maxY - minY, 1.0);
    const double scale = std::min((size.width() - 2 * kMargin) / width,
                                  (size.height() - 2 * kMargin) / height);
    const double left = (size.width() - width * scale) / 2;
    const double top = (size.height() - height * scale) / 2;

    // One path per shade; a floor's shade from its height between the lowest and the highest.
    std::array<QPainterPath, kShades> paths;
    for (QPainterPath &path : paths)
        path.setFillRule(Qt::WindingFill);
    QPolygonF polygon;
    for (const Bsp::Floor &floor : contents.floors) {
        const double level = high > low ? double(floor.height - low) / double(high - low) : 1.0;
        const int shade = std::clamp(static_cast<int>(std::lround(level * (kShades - 1))), 0,
                                     kShades - 1);
        polygon.resize(floor.pointCount);
        for (int i = 0; i < floor.pointCount; ++i) {
            const QPointF &p = contents.points[static_cast<size_t>(floor.firstPoint + i)];
            polygon[i] = QPointF(left + (p.x() - minX) * scale, top + (maxY - p.y()) * scale);
        }
        paths[static_cast<size_t>(shade)].addPolygon(polygon);
        paths[static_cast<size_t>(shade)].closeSubpath();
    }

    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    // Higher floors last, over the lower ones they overhang.
    for (int shade = 0; shade < kShades; ++shade) {
        const QPainterPath &path = paths[static_cast<size_t>(shade)];
        if (path.isEmpty())
            continue;
        const int light = kDarkest + (kLightest - kDarkest) * shade / (kShades - 1);
        painter.fillPath(path, QColor(light * 9 / 10, light * 19 / 20, light));
    }
    painter.end();
    return image;
}

} // namespace FloorDrawing
