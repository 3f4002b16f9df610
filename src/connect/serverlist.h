#pragma once

#include "connect/recentservers.h"
#include "connect/serverreply.h"

#include <QString>
#include <QStringList>

#include <optional>

// The rules of the server list: favourites, what the filters keep, the order of the rows and
// the command that joins a server. No widgets.

// "host:port" or "[v6]:port" typed or pasted as one text: the address (the bare v6 address)
// and the port. Nothing when the text is not of that form or the port is not 1 to 65535.
std::optional<ServerAddress> hostAndPort(QStringView text);

// The favourites after adding entry at the end; unchanged when it is already there (host names
// match without regard to case) or when the list holds `limit` entries already.
QStringList addFavourite(const QStringList &favourites, const QString &entry, int limit);
// The favourites without entry (host names match without regard to case).
QStringList removeFavourite(const QStringList &favourites, const QString &entry);

// One row of the list: the server asked, and what it answered (nothing yet, or no answer).
struct ServerRow {
    ServerAddress server;
    std::optional<ServerInfo> info; // set once the server answered
    qint64 ping = 0;
};

struct ServerFilters {
    bool notFull = false;
    bool notEmpty = false; // at least one player who is not a bot
    bool noPassword = false;
};

// Whether the filters keep the row. A row without an answer is always kept: the player must
// see that a server of the list did not answer.
bool keptByFilters(const ServerRow &row, const ServerFilters &filters);

// The table's columns.
enum class ServerColumn { Name, Map, Players, Ping, Folder, Lock, Count };

// Whether a comes before b in ascending order of the column: players and ping as numbers,
// texts without regard to case. Rows without an answer are not compared here (they go last in
// either order; see the window).
bool rowLessThan(const ServerRow &a, const ServerRow &b, ServerColumn column);

// "12 / 40 serveurs".
QString refreshProgressText(int answered, int total);

// The command that joins a server from the list: " -console", then " +password <text>" when a
// password is given (before +connect: the console runs its commands in order), " +connect
// address:port", then " -game <folder>" when a folder other than valve is given.
QString joinCommand(const QString &program, const ServerAddress &server,
                    const std::optional<QString> &password, const QString &gameFolder);

// Whether a password can go into the command: not empty, no blank, quote or ';' (each would cut
// it or add a console command of its own).
bool usablePassword(const QString &password);
