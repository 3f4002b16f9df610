#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

// How the started program shows its first window (Windows window styles).
enum class WindowStyle : int { Minimized = 2, Maximized = 3 };

struct StartResult {
    bool started = false;
    QString program; // the executable as resolved from the command line
    QString reason;  // why it could not be started, for the player
};

// How the program is to be started besides its command line. Empty: exactly as composed.
struct StartOptions {
    QString wrapper;              // started in its place, with the program and its switches after
    QStringList wrapperArguments; // before the program
    QMap<QString, QString> environment; // added to the inherited environment
    QString workingDirectory;           // empty: the usual one

    bool isEmpty() const
    {
        return wrapper.isEmpty() && environment.isEmpty() && workingDirectory.isEmpty();
    }
};

// Starts the game from a command line without waiting for it and never through a shell.
class ProcessStarter
{
public:
    virtual ~ProcessStarter() = default;
    virtual StartResult runCommandLine(const QString &commandLine, WindowStyle style,
                                       const StartOptions &options) = 0;
};
