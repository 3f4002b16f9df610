#pragma once

#include <QString>

// Where crvn.ini lives: beside the program whenever the program's directory already holds one or
// can be written (a program unpacked into a folder of its own), else in the player's own
// configuration directory (an installed program under /usr/bin or C:\Program Files).
struct SettingsLocation {
    QString filePath;
    bool perUser = false;
};

SettingsLocation chooseSettingsLocation(const QString &programDirectory,
                                        const QString &perUserDirectory);

// Where crvn.cfg lives: the valve folder text followed by "crvn.cfg", with a separator between
// them when the folder text does not end with one. The server maker writes there and the
// start-up removes the leftover copies of a killed save there: both ask this function.
QString serverConfigPath(const QString &valveFolder);
