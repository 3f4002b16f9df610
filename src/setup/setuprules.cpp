#include "setup/setuprules.h"

#include "launcher/windownames.h"

#include <QDir>
#include <QFileInfo>

namespace SetupRules {

SettingWrites wizardConfigWrites(const ConfigValues &values)
{
    SettingWrites writes;
    if (values.tfcInstalled) {
        writes.append({Keys::tfc, QStringLiteral("true")});
        writes.append({Keys::tfcMaps, values.tfcMaps});
    } else {
        writes.append({Keys::tfc, QStringLiteral("false")});
    }
    writes.append({Keys::program, values.program});
    writes.append({Keys::maps, values.maps});
    return writes;
}

SettingWrites configWindowWrites(const ConfigValues &values)
{
    SettingWrites writes{
        {Keys::tfc, values.tfcInstalled ? QStringLiteral("true") : QStringLiteral("false")},
        {Keys::program, values.program},
        {Keys::maps, values.maps},
        {Keys::tfcMaps, values.tfcMaps},
    };
    writes.append(derivedFolderWrites(values.maps, values.tfcMaps, values.program));
    return writes;
}

QString wizardConfigRefusal(const ConfigValues &values)
{
    // One message per click, in this order; blanks count as text.
    if (values.program.isEmpty())
        return QStringLiteral("Vous devez spécifier où est hl.exe");
    if (values.maps.isEmpty())
        return QStringLiteral("Vous devez spécifier où sont installées vos cartes");
    if (values.tfcMaps.isEmpty() && values.tfcInstalled)
        return QStringLiteral("Vous devez spécifier où est installé Team Fortress Classic, ou "
                              "bien décocher la case");
    return {};
}

Refusal identityRefusal(const QString &nick, const QString &clan)
{
    if (nick.isEmpty())
        return {QStringLiteral("Veuillez entrer un nom/nickname"), QStringLiteral("Nickname")};
    if (clan.isEmpty())
        return {QStringLiteral("Veuillez entrer un clan/organisation"),
                QStringLiteral("Organisation")};
    return {};
}

SettingWrites identityWrites(const QString &nick, const QString &clan)
{
    return {{Keys::user, nick}, {Keys::company, clan}};
}

QString containingFolder(const QString &path)
{
    // Taken by path, not by removing characters: a maps folder may have any name ("cartes"),
    // and a missing key's "error" names no folder at all.
    const QString cleaned = QDir::cleanPath(QDir::fromNativeSeparators(path));
    if (cleaned.isEmpty() || !QDir::isAbsolutePath(cleaned) || QDir(cleaned).isRoot())
        return {};
    QString parent = QFileInfo(cleaned).path();
    if (!parent.endsWith(QLatin1Char('/')))
        parent += QLatin1Char('/');
    return QDir::toNativeSeparators(parent);
}

SettingWrites derivedFolderWrites(const QString &maps, const QString &tfcMaps,
                                  const QString &program)
{
    return {
        {Keys::valve, containingFolder(maps)},
        {Keys::tfcDir, containingFolder(tfcMaps)},
        {Keys::dds, containingFolder(program)},
    };
}

SettingWrites finishWrites(const QString &maps, const QString &tfcMaps, const QString &program)
{
    SettingWrites writes = derivedFolderWrites(maps, tfcMaps, program);
    writes.append({Keys::firstUse, QStringLiteral("no")});
    return writes;
}

QString dialogFilter(QStringView filterText, const QStringList &extraPatterns)
{
    const QList<QStringView> parts = filterText.split(u'|');
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (QStringView pattern : parts.at(i + 1).split(u';')) {
            if (!pattern.trimmed().isEmpty())
                patterns.append(pattern.trimmed().toString());
        }
        if (entries.isEmpty())
            patterns.append(extraPatterns);
        entries.append(
            QStringLiteral("%1 (%2)").arg(parts.at(i).trimmed().toString(), patterns.join(u' ')));
    }
    if (entries.isEmpty() && !extraPatterns.isEmpty())
        entries.append(QStringLiteral("(%1)").arg(extraPatterns.join(u' ')));
    return entries.join(QStringLiteral(";;"));
}

QString executableFilter()
{
#ifdef Q_OS_WIN
    return dialogFilter(SetupText::executableFilterText);
#else
    return dialogFilter(SetupText::executableFilterText,
                        {QStringLiteral("hl.sh"), QStringLiteral("hl_linux")});
#endif
}

PickerTarget pickerTarget(QStringView picker, QStringView caption)
{
    if (picker == WindowName::configTfc)
        return {WindowName::firstUseConfig, u"TFCmaps"};
    if (picker == WindowName::dirMapsTfc)
        return {WindowName::config, u"TFCmaps"};
    if (caption == SetupText::wizardMapsCaption)
        return {WindowName::firstUseConfig, u"txtMaps"};
    return {WindowName::config, u"txtMaps"};
}

QString volumeLabel(const QString &volumeName)
{
    const bool driveLetter = volumeName.size() >= 2 && volumeName.at(0).isLetter()
        && volumeName.at(1) == u':';
    return driveLetter ? volumeName.left(2).toUpper() : volumeName;
}

QString unavailableVolumeTitle(const QString &volumeName)
{
    return QStringLiteral("Lecteur ") + volumeLabel(volumeName);
}

QString unavailableVolumeText(const QString &volumeName)
{
    return volumeLabel(volumeName)
        + QStringLiteral("\\ n'est pas accessible.\r\n\r\n"
                         "Le périphérique n'est pas prêt.");
}

QString handedOverDirectory(const QString &path)
{
    // cleanPath keeps the separator of a root ("/", "c:/") and drops any other trailing one.
    return QDir::toNativeSeparators(QDir::cleanPath(path));
}

} // namespace SetupRules
