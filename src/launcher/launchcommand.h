#pragma once

#include <QString>

// The main window's choices and the command lines made of them.
enum class GameType { SinglePlayer, Deathmatch, TeamFortress, Custom };

struct LaunchChoices {
    GameType gameType = GameType::Deathmatch;
    QString selectedMap; // a map file name, such as "crossfire.bsp"
    QString parameters;  // free text, appended exactly as typed
    QString difficulty;  // "Facile", "Moyen" or "Dur"; anything else adds nothing
    bool cheats = false;
    bool console = false;
    bool dev = false;
};

// The map name: the file name less its last four characters (".bsp"), removed by count.
// A text shorter than four characters is taken whole.
QString mapNameFromFile(const QString &fileName);

// The preview of the option switches: one blank, then the checked switches in fixed order.
QString optionPreview(bool cheats, bool console, bool dev, bool numeric);

// path, game type, map, difficulty, then parameters and the option switches.
QString composeLaunch(const QString &program, const LaunchChoices &choices);

// path, " -game ", the modification directory.
QString composeCustomLaunch(const QString &program, const QString &modDirectory);
