#pragma once

#include <QString>

// The main window's choices and the command lines made of them.
enum class GameType { SinglePlayer, Deathmatch, TeamFortress, Custom };

struct LaunchChoices {
    GameType gameType = GameType::Deathmatch;
    QString selectedMap;        // a map file name, such as "crossfire.bsp"
    QString parameters;         // free text, launched only while addParameters is set
    bool addParameters = false; // "Paramètres additionnels" checked
    QString difficulty;         // "Facile", "Moyen" or "Dur" (+skill 1 to 3); else nothing
    bool cheats = false;
    bool console = false;
    bool dev = false;
};

// The map name: the file name less its last four characters (".bsp"), removed by count.
// A text shorter than four characters is taken whole.
QString mapNameFromFile(const QString &fileName);

// The additional parameters as they join the command line: nothing unless `add`, and one
// blank before them when they do not start with one, so they never glue to a switch.
QString parameterSwitches(const QString &parameters, bool add);

// The preview of the option switches: one blank, then the parameters as launched, then the
// checked switches in fixed order.
QString optionPreview(bool cheats, bool console, bool dev, bool numeric,
                      const QString &parameters = QString(), bool addParameters = false);

// A map name the game would read as something else: holding a blank, a double quote or a
// control character, or starting with "+" or "-" (it would become a switch of its own).
bool isUnsafeMapName(const QString &mapName);
// The refusal that names such a map.
QString unsafeMapMessage(const QString &mapName);
QString unsafeMapTitle();

// path, game type, difficulty, map, then parameters and the option switches.
QString composeLaunch(const QString &program, const LaunchChoices &choices);

// path, " -game ", the modification directory.
QString composeCustomLaunch(const QString &program, const QString &modDirectory);
