#include "settings/location.h"

#include "settings/settings.h"

#include <QDir>
#include <QFileInfo>

SettingsLocation chooseSettingsLocation(const QString &programDirectory,
                                        const QString &perUserDirectory)
{
    const QString besideProgram = Settings::fileInDirectory(programDirectory);
    const QFileInfo directory(programDirectory);
    if (QFileInfo::exists(besideProgram) || (directory.isDir() && directory.isWritable())
        || perUserDirectory.isEmpty())
        return SettingsLocation{besideProgram, false};
    return SettingsLocation{Settings::fileInDirectory(perUserDirectory), true};
}

QString serverConfigPath(const QString &valveFolder)
{
    const bool ends = valveFolder.endsWith(QLatin1Char('/'))
        || valveFolder.endsWith(QLatin1Char('\\')) || valveFolder.isEmpty();
    return ends ? valveFolder + QStringLiteral("crvn.cfg")
                : valveFolder + QDir::separator() + QStringLiteral("crvn.cfg");
}
