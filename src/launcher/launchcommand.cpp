#include "launcher/launchcommand.h"

QString mapNameFromFile(const QString &fileName)
{
    return fileName.size() < 4 ? fileName : fileName.chopped(4);
}

QString optionPreview(bool cheats, bool console, bool dev, bool numeric)
{
    QString text = QStringLiteral(" ");
    if (cheats)
        text += QLatin1String(" -sv_cheats 1");
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

QString difficultySwitch(const QString &difficulty)
{
    if (difficulty == u"Facile")
        return QStringLiteral(" -set skill 0");
    if (difficulty == u"Moyen")
        return QStringLiteral(" -set skill 1");
    if (difficulty == u"Dur")
        return QStringLiteral(" -set skill 2");
    return {};
}

} // namespace

QString composeLaunch(const QString &program, const LaunchChoices &choices)
{
    QString extra = choices.parameters;
    if (choices.cheats)
        extra += QLatin1String(" -sv_cheats 1");
    if (choices.console)
        extra += QLatin1String(" -console");
    if (choices.dev)
        extra += QLatin1String(" -dev");
    return program + gameTypeSwitch(choices.gameType) + QLatin1String(" +map ")
        + mapNameFromFile(choices.selectedMap) + difficultySwitch(choices.difficulty) + extra;
}

QString composeCustomLaunch(const QString &program, const QString &modDirectory)
{
    return program + QLatin1String(" -game ") + modDirectory;
}
