#pragma once

#include <QString>

// The command that starts the game and joins a server: the program path, " -console",
// " +connect ", the address, ":" and the port, joined as typed (no trimming, no checks).
QString connectCommand(const QString &program, const QString &address, const QString &port);
