#pragma once

#include <QString>

class QTextStream;

// The map preview of a generated 5 MiB map with 20,000 faces: read, parsed and drawn, as the
// frame under the map lists does it off the window's thread. Prints its figure and where the
// time goes; false when the preview could not be made.
namespace BenchMaps {

inline constexpr int kFaces = 20000;
inline constexpr qint64 kMapBytes = qint64(5) * 1024 * 1024;
inline constexpr double kTargetMs = 50.0;

bool run(QTextStream &out, const QString &root, int runs);

} // namespace BenchMaps
