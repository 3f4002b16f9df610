#pragma once

#include <QString>
#include <QStringList>

// A small stand-in game: a script that records the arguments it was started with.
class StandIn
{
public:
    // Copies the stand-in to `path` (made executable) and points it at a record file next to it.
    explicit StandIn(const QString &path);

    QString program() const { return m_program; }
    // The arguments of the n-th start, once it has written them (waits up to five seconds).
    QStringList arguments(int start = 0) const;
    // The folder the n-th start ran in (symbolic links resolved), once it has run.
    QString workingFolder(int start = 0) const;
    // How many starts have been recorded so far.
    int starts() const;

private:
    QString m_program;
    QString m_record;
};

// A stand-in for Steam's runtime script (run.sh): records its arguments, then the lines
// "SteamAppId=...", "SteamGameId=..." ("<unset>" when absent) and "cwd=<folder>", then starts
// the program it was given.
class StandInRuntime
{
public:
    explicit StandInRuntime(const QString &path);

    QString program() const { return m_program; }
    // The record of the n-th start (waits up to five seconds for it).
    QStringList record(int start = 0) const;

private:
    QString m_program;
    QString m_record;
};
