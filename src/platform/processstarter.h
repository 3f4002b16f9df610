#pragma once

#include <QString>

// How the started program shows its first window (Windows window styles).
enum class WindowStyle : int { Minimized = 2, Maximized = 3 };

struct StartResult {
    bool started = false;
    QString program; // the executable as resolved from the command line
    QString reason;  // why it could not be started, for the player
};

// Starts the game from a command line without waiting for it and never through a shell.
class ProcessStarter
{
public:
    virtual ~ProcessStarter() = default;
    virtual StartResult runCommandLine(const QString &commandLine, WindowStyle style) = 0;
};
