#include "launcher/mapfiles.h"

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
    // QDirIterator without per-file checks: a maps folder can hold thousands of files. The
    // extension is compared here rather than through a name filter, which would compile a
    // regular expression (and load its library) for one suffix.
    QStringList names;
    QDirIterator it(directory, QDir::Files);
    while (it.hasNext()) {
        it.next();
        const QString name = it.fileName();
        if (name.endsWith(u".bsp", Qt::CaseInsensitive))
            names.append(name);
    }
    std::sort(names.begin(), names.end(), naturalLess);
    return names;
}
