#pragma once

#include <QString>
#include <QStringList>

// A small stand-in game that records how it was started: a shell script on Linux, a Windows
// program (standin/hl.c) on Windows and for starts through Wine.
class StandIn
{
public:
    enum class Kind { Native, Windows };

    // Copies the stand-in to `path` and points it at a record file next to it. On Windows, and
    // for Kind::Windows, a path without ".exe" gets it (CreateProcess would add it anyway).
    explicit StandIn(const QString &path, Kind kind = Kind::Native);

    // Whether this kind of stand-in exists in this build (the Windows one needs mingw-w64).
    static bool available(Kind kind);

    QString program() const { return m_program; }
    // The arguments of the n-th start, once it has written them (waits up to `waitMs`).
    QStringList arguments(int start = 0, int waitMs = 20000) const;
    // Windows stand-in only: the command line as it arrived, and its start-up window style
    // ("3" maximized, "2" minimized, "none" when the starter set none).
    QByteArray commandLine(int start = 0) const;
    QByteArray windowStyle(int start = 0) const;
    // The folder the n-th start ran in (symbolic links resolved), once it has run.
    QString workingFolder(int start = 0) const;
    // How many starts have been recorded so far.
    int starts() const;

private:
    QString recordFile(int start) const;

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
    // The record of the n-th start (waits up to twenty seconds for it).
    QStringList record(int start = 0) const;

private:
    QString m_program;
    QString m_record;
};
