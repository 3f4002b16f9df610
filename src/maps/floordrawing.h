#pragma once

#include "maps/bspfile.h"

#include <QImage>
#include <QSize>

// The top-down drawing of a map's floors: each floor filled in plan view, shaded by its height
// (the lowest dark, the highest light) on a black ground, the whole fitted to the picture with
// its proportions kept and north up. Pure QImage/QPainter work: safe on any thread.
namespace FloorDrawing {

// Shades from the lowest floor to the highest; floors of one shade are filled as one path, so
// that the seams between the faces of one floor never show.
inline constexpr int kShades = 64;
inline constexpr int kDarkest = 72;
inline constexpr int kLightest = 250;
// Blank pixels left around the drawing.
inline constexpr int kMargin = 4;

// A null image when there is no floor to draw.
QImage draw(const Bsp::Contents &contents, QSize size);

} // namespace FloorDrawing
