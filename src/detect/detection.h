#pragma once

#include "detect/environment.h"

#include <QList>
#include <QString>
#include <QStringList>

// A Steam library folder and the Steam installation that lists it.
struct SteamLibrary {
    QString steamRoot;
    QString path;
};

// A Half-Life found in a Steam library, with the values the configuration page takes.
// Paths use the platform's separators.
struct Installation {
    QString steamRoot;
    QString library;
    QString gameFolder; // <library>/steamapps/common/<installdir>
    QString program;    // hl.exe on Windows; hl.sh, hl_linux or hl.exe elsewhere
    QString maps;       // <game>/valve/maps
    QString tfcMaps;    // <game>/tfc/maps
    bool tfc = false;   // <game>/tfc/liblist.gam exists
};

struct Detection {
    QList<Installation> installations;
    QList<SteamLibrary> libraries;
    QStringList searched; // the Steam folders looked at, for the "nothing found" message
};

namespace Detect {

// Where Steam may be installed, in the order looked at; duplicates still in.
QStringList linuxSteamRootCandidates(const DetectEnvironment &environment);
QStringList windowsSteamRootCandidates(const DetectEnvironment &environment);
QStringList steamRootCandidates(const DetectEnvironment &environment); // this platform's

// The candidates that hold a steamapps folder, each once after resolving symbolic links.
QStringList steamRoots(const QStringList &candidates);

// The libraries named by a libraryfolders.vdf text (both shapes); empty when malformed.
QStringList libraryPathsFromVdf(const QByteArray &text);

// Each root, then the libraries its libraryfolders.vdf lists that still exist; each once.
QList<SteamLibrary> steamLibraries(const QStringList &roots);

// The executable of a game folder: hl.exe on Windows; elsewhere hl.sh, hl_linux, then hl.exe.
QString gameExecutable(const QString &gameFolder, bool windows);

// The fully installed Half-Life (app 70) of a library, if any.
bool installationIn(const SteamLibrary &library, bool windows, Installation &found);

// Everything above on this machine. Reads only the listed paths and a few small files.
Detection detect(const DetectEnvironment &environment);

// The "nothing found" message.
QString nothingFoundText(const Detection &detection);

// steam.pid holds one process number and a line end: a larger one is not Steam's.
inline constexpr qint64 maxPidFileSize = 64;

// Whether Steam runs: the pid in ~/.steam/steam.pid (Linux), or the registry's
// ActiveProcess pid (Windows), names a live process. A pid file that cannot be read (a FIFO,
// a folder, too big) means Steam is not running.
bool steamRunningFromPidFile(const DetectEnvironment &environment);
bool steamRunningFromRegistry(const DetectEnvironment &environment);
bool steamRunning(const DetectEnvironment &environment);

// How a program is to be started when it lies in a Steam library.
struct SteamStart {
    bool inLibrary = false; // the program lies in a detected Steam library
    QString gameFolder;     // the folder under steamapps/common that holds it
    QString runtime;        // <steam root>/ubuntu12_32/steam-runtime/run.sh when it exists
};
SteamStart steamStartFor(const QString &program, const QList<SteamLibrary> &libraries);

} // namespace Detect
