#include "benchmaps.h"

#include "benchsupport.h"
#include "bspwriter.h"
#include "files/outsidefile.h"
#include "maps/bspfile.h"
#include "maps/floordrawing.h"
#include "maps/mappreview.h"

#include <QElapsedTimer>
#include <QTextStream>

#include <vector>

namespace BenchMaps {

namespace {

double msSince(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

bool run(QTextStream &out, const QString &root, int runs)
{
    // Boxes of six faces each; a lighting lump brings the file to its size.
    BspWriter::Map map = BspWriter::grid((kFaces + 5) / 6, QStringLiteral("Grande carte"));
    const qint64 bare = BspWriter::build(map).size();
    map.extraBytes = static_cast<int>(std::max<qint64>(0, kMapBytes - bare));
    const QString path = root + QStringLiteral("/valve/maps/bench_big.bsp");
    if (!BspWriter::write(path, map)) {
        out << QStringLiteral("cannot write %1\n").arg(path);
        return false;
    }

    std::vector<double> previews, reads, parses, draws;
    qsizetype floors = 0;
    for (int i = 0; i <= runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        const MapPreview::Preview preview = MapPreview::load(path,
                                                             MapPreview::SpawnKind::Deathmatch);
        const double previewMs = msSince(timer);
        if (!preview.readable || preview.picture.isNull()) {
            out << QStringLiteral("the generated map gave no preview\n");
            return false;
        }
        // The same steps one by one.
        timer.start();
        QByteArray bytes;
        OutsideFile::read(path, Bsp::kMaxFileSize, &bytes);
        const double readMs = msSince(timer);
        timer.start();
        const std::optional<Bsp::Contents> contents = Bsp::read(bytes);
        const double parseMs = msSince(timer);
        if (!contents) {
            out << QStringLiteral("the generated map was refused\n");
            return false;
        }
        timer.start();
        const QImage picture = FloorDrawing::draw(*contents, QSize(256, 192));
        const double drawMs = msSince(timer);
        floors = qsizetype(contents->floors.size());
        if (i == 0) // warms the disk cache
            continue;
        previews.push_back(previewMs);
        reads.push_back(readMs);
        parses.push_back(parseMs);
        draws.push_back(drawMs);
    }
    const double previewMs = Bench::median(previews);
    out << QStringLiteral("%1 %2 %3 %4 %5 %6\n")
               .arg(QStringLiteral("8. map preview, 5 MiB, 20,004 faces"), -44)
               .arg(QStringLiteral("%1 ms").arg(previewMs, 0, 'f', 3), 12)
               .arg(QString(), 12)
               .arg(QString(), 7)
               .arg(QStringLiteral("< %1 ms").arg(kTargetMs), 10)
               .arg(previewMs < kTargetMs ? QStringLiteral("OK") : QStringLiteral("over"));
    out << QStringLiteral("  map preview (medians of %1): file read %2 ms, parse %3 ms, drawing of "
                          "%4 floors %5 ms\n")
               .arg(runs)
               .arg(Bench::median(reads), 0, 'f', 2)
               .arg(Bench::median(parses), 0, 'f', 2)
               .arg(floors)
               .arg(Bench::median(draws), 0, 'f', 2);
    return true;
}

} // namespace BenchMaps
