#include "launcher/mapfiles.h"

#include "files/outsidefile.h"

#include <QDirIterator>

#include <algorithm>

bool naturalLess(const QString &a, const QString &b)
{
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        const QChar ca = a.at(i);
        const QChar cb = b.at(j);
        if (ca.isDigit() && cb.isDigit()) {
            qsizetype ei = i;
            qsizetype ej = j;
            while (ei < a.size() && a.at(ei).isDigit())
                ++ei;
            while (ej < b.size() && b.at(ej).isDigit())
                ++ej;
            // Compare the runs by value: skip leading zeros, then length, then digits.
            qsizetype zi = i;
            qsizetype zj = j;
            while (zi + 1 < ei && a.at(zi) == QLatin1Char('0'))
                ++zi;
            while (zj + 1 < ej && b.at(zj) == QLatin1Char('0'))
                ++zj;
            if (ei - zi != ej - zj)
                return ei - zi < ej - zj;
            const int cmp =
                QStringView(a).sliced(zi, ei - zi).compare(QStringView(b).sliced(zj, ej - zj));
            if (cmp != 0)
                return cmp < 0;
            i = ei;
            j = ej;
            continue;
        }
        const QChar la = ca.toCaseFolded();
        const QChar lb = cb.toCaseFolded();
        if (la != lb)
            return la < lb;
        ++i;
        ++j;
    }
    if ((a.size() - i) != (b.size() - j))
        return (a.size() - i) < (b.size() - j);
    return a < b; // same but for case or zeros: keep a stable, total order
}

QStringList mapFiles(const QString &directory)
{
    if (directory.isEmpty())
        return {};
    // Only regular files (links followed): a FIFO, a device or a dangling link named x.bsp is
    // skipped, never opened. One stat per entry that passed the name filter.
    QStringList names;
    QDirIterator it(directory, {QStringLiteral("*.bsp")}, QDir::Files);
    while (it.hasNext()) {
        it.next();
        if (OutsideFile::isRegularFile(it.filePath()))
            names.append(it.fileName());
    }
    std::sort(names.begin(), names.end(), naturalLess);
    return names;
}
