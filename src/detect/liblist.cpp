#include "detect/liblist.h"

#include "files/outsidefile.h"

#include <QDir>

#include <algorithm>

namespace Liblist {

QHash<QString, QString> parse(const QByteArray &text)
{
    QHash<QString, QString> values;
    const QString decoded = QString::fromUtf8(text.left(maxBytes));
    for (QStringView line : QStringView(decoded).split(u'\n')) {
        const qsizetype comment = line.indexOf(u"//");
        if (comment >= 0)
            line = line.left(comment);
        line = line.trimmed();
        qsizetype blank = 0;
        while (blank < line.size() && !line.at(blank).isSpace())
            ++blank;
        if (blank == 0 || blank >= line.size())
            continue;
        const QString key = line.left(blank).toString().toLower();
        QStringView value = line.mid(blank).trimmed();
        if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"'))
            value = value.mid(1, value.size() - 2);
        if (!values.contains(key))
            values.insert(key, value.toString());
    }
    return values;
}

std::optional<QHash<QString, QString>> parseFile(const QString &path)
{
    QByteArray text;
    if (OutsideFile::read(path, maxBytes, &text) != OutsideFile::Status::Ok)
        return std::nullopt;
    return parse(text);
}

} // namespace Liblist

namespace {

bool isVariant(const QString &folder, const QStringList &folders)
{
    static const QStringList kinds{QStringLiteral("addon"), QStringLiteral("downloads"),
                                   QStringLiteral("hd")};
    const qsizetype underscore = folder.lastIndexOf(u'_');
    if (underscore <= 0)
        return false;
    const QString suffix = folder.mid(underscore + 1).toLower();
    if (kinds.contains(suffix))
        return true;
    // valve_french, tfc_german...: a word of letters after another folder's name.
    const QString base = folder.left(underscore);
    const bool letters = !suffix.isEmpty()
        && std::all_of(suffix.cbegin(), suffix.cend(), [](QChar c) { return c.isLetter(); });
    return letters && folders.contains(base, Qt::CaseInsensitive);
}

} // namespace

QList<InstalledMod> installedMods(const QString &gameFolder)
{
    QList<InstalledMod> mods;
    if (gameFolder.isEmpty())
        return mods;
    const QDir game(gameFolder);
    const QStringList folders = game.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &folder : folders) {
        if (folder.compare(u"valve", Qt::CaseInsensitive) == 0 || isVariant(folder, folders))
            continue;
        // A liblist.gam that cannot be read (a FIFO, a folder, too big) counts as absent.
        const auto values = Liblist::parseFile(
            game.filePath(folder + QStringLiteral("/liblist.gam")));
        if (values)
            mods.append(InstalledMod{folder, values->value(QStringLiteral("game"))});
    }
    return mods;
}
