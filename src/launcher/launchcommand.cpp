#include "launcher/launchcommand.h"

QString mapNameFromFile(const QString &fileName)
{
    return fileName.size() < 4 ? fileName : fileName.chopped(4);
}

QString parameterSwitches(const QString &parameters, bool add)
{
    if (!add || parameters.isEmpty())
        return {};
    return parameters.startsWith(QLatin1Char(' ')) ? parameters : QLatin1Char(' ') + parameters;
}

QString optionPreview(bool cheats, bool console, bool dev, bool numeric, const QString &parameters,
                      bool addParameters)
{
    QString text = QStringLiteral(" ") + parameterSwitches(parameters, addParameters);
    // The game takes console variables from "+" commands only.
    if (cheats)
        text += QLatin1String(" +sv_cheats 1");
    if (console)
        text += QLatin1String(" -console");
    if (dev)
        text += QLatin1String(" -dev");
    if (numeric)
        text += QLatin1String(" -numericping");
    return text;
}

namespace {

QString gameTypeSwitch(GameType type)
{
    switch (type) {
    case GameType::Deathmatch: return QStringLiteral(" +deathmatch 1");
    case GameType::TeamFortress: return QStringLiteral(" -game tfc");
    case GameType::SinglePlayer:
    case GameType::Custom: break;
    }
    return {};
}

// "skill" is a console command (1 easy to 3 hard) that the game reads when a map loads, so it
// runs before "+map"; the engine has no "set" command.
QString difficultySwitch(const QString &difficulty)
{
    if (difficulty == u"Facile")
        return QStringLiteral(" +skill 1");
    if (difficulty == u"Moyen")
        return QStringLiteral(" +skill 2");
    if (difficulty == u"Dur")
        return QStringLiteral(" +skill 3");
    return {};
}

} // namespace

QString composeLaunch(const QString &program, const LaunchChoices &choices)
{
    QString extra = parameterSwitches(choices.parameters, choices.addParameters);
    if (choices.cheats)
        extra += QLatin1String(" +sv_cheats 1");
    if (choices.console)
        extra += QLatin1String(" -console");
    if (choices.dev)
        extra += QLatin1String(" -dev");
    return program + gameTypeSwitch(choices.gameType) + difficultySwitch(choices.difficulty)
        + QLatin1String(" +map ") + mapNameFromFile(choices.selectedMap) + extra;
}

QString composeCustomLaunch(const QString &program, const QString &modDirectory)
{
    return program + QLatin1String(" -game ") + modDirectory;
}

bool isUnsafeMapName(const QString &mapName)
{
    if (mapName.startsWith(QLatin1Char('+')) || mapName.startsWith(QLatin1Char('-')))
        return true;
    for (const QChar c : mapName) {
        if (c.isSpace() || c == QLatin1Char('"') || c.category() == QChar::Other_Control)
            return true;
    }
    return false;
}

QString unsafeMapMessage(const QString &mapName)
{
    return QStringLiteral("La carte « %1 » ne peut pas être lancée : son nom contient un "
                          "espace, un guillemet ou un caractère de contrôle, ou commence par "
                          "+ ou -, et le jeu le lirait comme d'autres commandes.\n\n"
                          "Renommez le fichier de la carte, puis choisissez-la à nouveau.")
        .arg(mapName);
}

QString unsafeMapTitle()
{
    return QStringLiteral("Nom de carte refusé");
}
