#include "launcher/mapfiles.h"

#include "files/outsidefile.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <utility>
#include <vector>

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
    // The extension is compared here rather than through a name filter, which would compile a
    // regular expression (and load its library) for one suffix. Only regular files (links
    // followed): a FIFO, a device or a dangling link named x.bsp is skipped, never opened. The
    // folder listing already tells a plain file's kind; only links cost a look of their own.
    QStringList names;
    QDirIterator it(directory, QDir::Files);
    while (it.hasNext()) {
        it.next();
        const QString name = it.fileName();
        if (!name.endsWith(u".bsp", Qt::CaseInsensitive))
            continue;
        const QFileInfo entry = it.fileInfo();
        if (entry.isSymLink() ? OutsideFile::isRegularFile(it.filePath()) : entry.isFile())
            names.append(name);
    }
    std::sort(names.begin(), names.end(), naturalLess);
    return names;
}

QStringList mapFolders(const QString &mapsDirectory)
{
    if (mapsDirectory.isEmpty())
        return {};
    QStringList folders{mapsDirectory};
    // cleanPath also turns a Windows path's backslashes into slashes, on Windows only.
    const QString clean = QDir::cleanPath(mapsDirectory);
    const qsizetype slash = clean.lastIndexOf(QLatin1Char('/'));
    if (slash <= 0 || clean.sliced(slash + 1).compare(u"maps", Qt::CaseInsensitive) != 0)
        return folders;
    const QString gameFolder = clean.first(slash);
    if (gameFolder.endsWith(QLatin1Char('/')) || gameFolder.endsWith(QLatin1Char(':')))
        return folders; // maps right under a root: no game folder to stand beside
    for (const QLatin1String suffix : {QLatin1String("_addon"), QLatin1String("_downloads")})
        folders.append(gameFolder + suffix + QStringLiteral("/maps"));
    return folders;
}

QString InstalledMaps::filePath(qsizetype row) const
{
    if (row < 0 || row >= names.size() || row >= folderOfName.size())
        return {};
    return folders.value(folderOfName.at(row)) + QLatin1Char('/') + names.at(row);
}

InstalledMaps installedMaps(const QString &mapsDirectory)
{
    InstalledMaps maps;
    maps.folders = mapFolders(mapsDirectory);
    if (maps.folders.isEmpty())
        return maps;
    maps.names = mapFiles(maps.folders.first());
    maps.folderOfName.fill(0, maps.names.size());

    QList<QStringList> extra;
    bool anyExtra = false;
    for (qsizetype f = 1; f < maps.folders.size(); ++f) {
        extra.append(mapFiles(maps.folders.at(f)));
        anyExtra = anyExtra || !extra.constLast().isEmpty();
    }
    // Most games have no extra folder: the list stays the game folder's, as it was.
    if (!anyExtra)
        return maps;

    QSet<QString> taken;
    std::vector<std::pair<QString, quint8>> all;
    all.reserve(size_t(maps.names.size()));
    for (const QString &name : std::as_const(maps.names)) {
        taken.insert(name.toCaseFolded());
        all.emplace_back(name, quint8(0));
    }
    for (qsizetype f = 0; f < extra.size(); ++f) {
        QStringList added;
        for (QString &name : extra[f]) {
            QString key = name.toCaseFolded();
            if (taken.contains(key))
                continue;
            // Taken only after the whole folder: one folder may hold names that differ only by
            // case, as the game folder's list shows them.
            added.append(std::move(key));
            all.emplace_back(std::move(name), quint8(f + 1));
        }
        for (QString &key : added)
            taken.insert(std::move(key));
    }
    std::stable_sort(all.begin(), all.end(),
                     [](const auto &a, const auto &b) { return naturalLess(a.first, b.first); });
    maps.names.clear();
    maps.folderOfName.clear();
    maps.names.reserve(qsizetype(all.size()));
    maps.folderOfName.reserve(qsizetype(all.size()));
    for (auto &entry : all) {
        maps.names.append(std::move(entry.first));
        maps.folderOfName.append(entry.second);
    }
    return maps;
}
