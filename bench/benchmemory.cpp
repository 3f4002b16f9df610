#include "benchmemory.h"

#include "benchsupport.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cstdio>

namespace Bench {

int prepareOnly(const QString &root)
{
    Fixture fixture;
    QString error;
    if (!QDir().mkpath(root) || !prepareFixture(root, &fixture, &error)) {
        std::fprintf(stderr, "cannot prepare %s: %s\n", qPrintable(root), qPrintable(error));
        return 1;
    }
    return 0;
}

namespace {

// What a mapping holds, by its name in smaps.
QString kindOf(QByteArrayView name)
{
    const struct {
        const char *part;
        const char *kind;
    } kinds[] = {
        {"libQt6Widgets", "Qt Widgets code"},
        {"libQt6Gui", "Qt Gui code"},
        {"libQt6Core", "Qt Core code"},
        {"libharfbuzz", "text: shaping, fonts and their files"},
        {"libfreetype", "text: shaping, fonts and their files"},
        {"libfontconfig", "text: shaping, fonts and their files"},
        {"libexpat", "text: shaping, fonts and their files"},
        {"/fonts/", "text: shaping, fonts and their files"},
        {"fontconfig/", "text: shaping, fonts and their files"},
        {"libpcre2", "regular expressions"},
        {"imageformats/", "image decoders"},
        {"libpng", "image decoders"},
        {"libjpeg", "image decoders"},
        {"[heap]", "heap and window images"},
        {"bench_corvane", "the program's own code"},
    };
    if (name.isEmpty())
        return QStringLiteral("heap and window images"); // anonymous: large allocations
    for (const auto &k : kinds) {
        if (name.contains(QByteArrayView(k.part)))
            return QLatin1String(k.kind);
    }
    return QStringLiteral("other libraries and stacks");
}

} // namespace

QHash<QString, qint64> residentByKind(qint64 *fromFiles)
{
    QHash<QString, qint64> kinds;
    if (fromFiles)
        *fromFiles = 0;
    QFile smaps(QStringLiteral("/proc/self/smaps"));
    if (!smaps.open(QIODevice::ReadOnly))
        return kinds;
    QString kind;
    bool fileBacked = false;
    for (const QByteArray &line : smaps.readAll().split('\n')) {
        const qsizetype space = line.indexOf(' ');
        if (space > 0 && line.first(space).contains('-')) {
            // "start-end perms offset dev inode   name": the name is the sixth field.
            QByteArrayView rest(line);
            for (int field = 0; field < 5; ++field) {
                const qsizetype next = rest.indexOf(' ');
                rest = next < 0 ? QByteArrayView() : rest.sliced(next).trimmed();
            }
            kind = kindOf(rest);
            fileBacked = rest.startsWith('/');
        } else if (line.startsWith("Rss:")) {
            const qint64 kib = line.mid(4).trimmed().split(' ').value(0).toLongLong();
            kinds[kind] += kib;
            if (fileBacked && fromFiles)
                *fromFiles += kib;
        }
    }
    return kinds;
}

void printResidentByKind()
{
    qint64 fromFiles = 0;
    const QHash<QString, qint64> kinds = residentByKind(&fromFiles);
    for (auto it = kinds.cbegin(); it != kinds.cend(); ++it)
        std::printf("kind %lld %s\n", static_cast<long long>(it.value()), qPrintable(it.key()));
    std::printf("files %lld\n", static_cast<long long>(fromFiles));
}

QStringList largestGrowth(const QHash<QString, std::vector<double>> &from,
                          const QHash<QString, std::vector<double>> &to, int count)
{
    std::vector<std::pair<double, QString>> growth;
    for (auto it = to.cbegin(); it != to.cend(); ++it)
        growth.emplace_back(median(it.value()) - median(from.value(it.key(), {0.0})), it.key());
    std::sort(growth.begin(), growth.end(),
              [](const auto &a, const auto &b) { return a.first > b.first; });
    QStringList lines;
    for (const auto &[kib, name] : growth) {
        if (lines.size() >= count || kib <= 0)
            break;
        lines.append(QStringLiteral("%1 +%2 MiB").arg(name).arg(kib / 1024.0, 0, 'f', 1));
    }
    return lines;
}

} // namespace Bench
