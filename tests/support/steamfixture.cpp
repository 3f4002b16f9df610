#include "steamfixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace SteamFixture {

bool layOut(const QString &home, const QStringList &entries)
{
    const QDir base(home);
    for (const QString &entry : entries) {
        if (entry.endsWith(QLatin1Char('/'))) {
            if (!base.mkpath(entry))
                return false;
            continue;
        }
        const qsizetype link = entry.indexOf(QStringLiteral("->"));
        const qsizetype equals = entry.indexOf(QLatin1Char('='));
        if (link > 0 && (equals < 0 || link < equals)) {
            const QString path = base.filePath(entry.left(link));
            base.mkpath(QFileInfo(path).absolutePath());
            if (!QFile::link(base.filePath(entry.mid(link + 2)), path))
                return false;
            continue;
        }
        const QString path = QDir::cleanPath(base.filePath(equals < 0 ? entry : entry.left(equals)));
        base.mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return false;
        if (equals >= 0)
            file.write(entry.mid(equals + 1).replace(QStringLiteral("{HOME}"), home).toUtf8());
    }
    return true;
}

QString escaped(const QString &text)
{
    QString result = text;
    result.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    result.replace(QLatin1Char('"'), QStringLiteral("\\\""));
    return result;
}

QString libraryFolders(const QStringList &paths)
{
    QString text = QStringLiteral("\"libraryfolders\"\n{\n");
    for (int i = 0; i < paths.size(); ++i) {
        text += QStringLiteral("\t\"%1\"\n\t{\n\t\t\"path\"\t\t\"%2\"\n\t\t\"label\"\t\t\"\"\n"
                               "\t\t\"contentid\"\t\t\"4485064432468430011\"\n"
                               "\t\t\"apps\"\n\t\t{\n\t\t\t\"70\"\t\t\"589449723\"\n\t\t}\n\t}\n")
                    .arg(i)
                    .arg(escaped(paths.at(i)));
    }
    return text + QStringLiteral("}\n");
}

QString flatLibraryFolders(const QStringList &paths)
{
    QString text = QStringLiteral("\"LibraryFolders\"\n{\n\t\"TimeNextStatsReport\"\t\t\"1600000000\"\n"
                                  "\t\"ContentStatsID\"\t\t\"-1\"\n");
    for (int i = 0; i < paths.size(); ++i)
        text += QStringLiteral("\t\"%1\"\t\t\"%2\"\n").arg(i + 1).arg(escaped(paths.at(i)));
    return text + QStringLiteral("}\n");
}

QStringList halfLife(const QString &library, const QStringList &executables, bool tfc, int flags,
                     const QString &installDir)
{
    const QString game = library + QStringLiteral("/steamapps/common/") + installDir;
    QStringList entries{
        library + QStringLiteral("/steamapps/appmanifest_70.acf=\"AppState\"\n{\n\t\"appid\"\t\t\"70\"\n"
                                 "\t\"Universe\"\t\t\"1\"\n\t\"name\"\t\t\"Half-Life\"\n"
                                 "\t\"StateFlags\"\t\t\"%1\"\n\t\"installdir\"\t\t\"%2\"\n}\n")
                      .arg(flags)
                      .arg(escaped(installDir)),
        game + QStringLiteral("/valve/liblist.gam=game \"Half-Life\"\n"),
        game + QStringLiteral("/valve/maps/crossfire.bsp"),
        game + QStringLiteral("/valve/maps/bounce.bsp"),
    };
    for (const QString &executable : executables)
        entries.append(game + QLatin1Char('/') + executable + QStringLiteral("=#!/bin/sh\n"));
    if (tfc) {
        entries.append(game + QStringLiteral("/tfc/liblist.gam=game \"Team Fortress Classic\"\n"));
        entries.append(game + QStringLiteral("/tfc/maps/2fort.bsp"));
    }
    return entries;
}

QStringList root(const QString &path, const QString &libraryFoldersText)
{
    QStringList entries{path + QStringLiteral("/steamapps/")};
    if (!libraryFoldersText.isNull())
        entries.append(path + QStringLiteral("/steamapps/libraryfolders.vdf=") + libraryFoldersText);
    return entries;
}

} // namespace SteamFixture
