#pragma once

#include "platform/processstarter.h"

class QWidget;
struct AppContext;

// Starts the game from a composed command line. When it cannot be started, the player is told
// which program and why; the caller goes on with its next step either way.
void startGame(AppContext &context, QWidget *parent, const QString &commandLine, WindowStyle style);
