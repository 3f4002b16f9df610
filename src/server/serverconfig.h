#pragma once

#include "settings/location.h" // serverConfigPath

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// The server maker's fields as the player left them. A box is true only when it is checked.
struct ServerFields {
    bool allowDownload = false;    // dl
    bool allowUpload = false;      // ul
    bool noFallDamage = false;     // falldamage
    bool noAutoCrosshair = false;  // mp_autocrosshair
    bool flashlight = false;       // mp_flashlight
    bool cheats = false;           // sv_cheats
    bool forceRespawn = false;     // mp_forcerespawn
    bool footsteps = false;        // mp_footsteps
    bool weaponStay = false;       // mp_weaponstay
    bool friendlyFire = false;     // mp_friendlyfire
    bool chaseView = false;        // chase_active
    bool noDownloadInGame = false; // cl_download_ingame
    bool password = false;         // password

    QString passwordValue;                                 // passwordvalue
    QString maxPing = QStringLiteral("500");               // maxpingvalue (checked, never written)
    QString fragLimit = QStringLiteral("0");               // fraglimitvalue
    QString timeLimit = QStringLiteral("0");               // timelimitvalue
    QString maxPlayers = QStringLiteral("32");             // maxplayersvalue
    QString gravity = QStringLiteral("800");               // sv_gravityvalue
    QString maxSpectators = QStringLiteral("0");           // maxspectatorsvalue
    QString partyName = QStringLiteral("My party - CRVN"); // partyname
};

// A value as the game's console must receive it: inside double quotes when it holds a blank,
// a character that would cut it or start another command, or "//" (the rest of an unquoted
// line is a comment); unchanged otherwise.
QString consoleValue(const QString &typed);

// The lines of crvn.cfg, in the order the game reads them, without line ends.
QStringList serverConfigLines(const ServerFields &fields);

// The whole file's text: each line followed by CR LF.
QString serverConfigText(const ServerFields &fields);

// The message of a refused field check.
struct ServerCheckFailure {
    QString text;
    QString title;        // empty: the application title
    bool warning = false; // exclamation instead of information icon
};

// The checks that run before any save, in order; the first that fails is answered. The last
// one wants Max. players to be a whole number from 1 to 32, blanks around it aside.
std::optional<ServerCheckFailure> checkServerFields(const ServerFields &fields);

// Replaces the file at `path` with the server file in one step, in the encoding the game reads
// (the Windows code page on Windows, UTF-8 elsewhere). On failure, a character that encoding
// cannot hold included, the previous file is whole and `reason` says why.
bool writeServerConfig(const QString &path, const ServerFields &fields, QString *reason);

// The command line that starts a deathmatch listen server for `maxPlayers` players (the field's
// text, blanks around it removed) on `map`.
QString serverLaunchCommand(const QString &program, const QString &maxPlayers, const QString &map);
