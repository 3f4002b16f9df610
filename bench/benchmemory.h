#pragma once

#include <QHash>
#include <QString>

#include <vector>

namespace Bench {

// `bench_corvane --prepare <folder>`: makes the fixture there and exits, so that one child can be
// run alone under a memory profiler (`heaptrack bench_corvane --child main <folder>`).
int prepareOnly(const QString &root);

// The resident memory of this process by what holds it, in KiB, from /proc/self/smaps: each
// mapping is put under a named kind (Qt's libraries, text and fonts, heap, ...). Empty where
// there is no /proc. `fromFiles`, when given, receives the part mapped from files (libraries'
// code and data, fonts): pages the kernel can drop and read again, shared with every process
// mapping the same file.
QHash<QString, qint64> residentByKind(qint64 *fromFiles = nullptr);

// Prints, as "kind <KiB> <name>" lines and one "files <KiB>" line, what residentByKind gives.
void printResidentByKind();

// The kinds that grew most from one child mode to another (medians of the runs), largest
// first, as "name +x.x MiB" texts; at most `count` of them.
QStringList largestGrowth(const QHash<QString, std::vector<double>> &from,
                          const QHash<QString, std::vector<double>> &to, int count);

} // namespace Bench
