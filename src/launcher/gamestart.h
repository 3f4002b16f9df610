#pragma once

#include "platform/messageboxes.h"
#include "platform/processstarter.h"

class DetectEnvironment;
class QWidget;
struct AppContext;

namespace GameStart {

// What a launch needs when the program is a Steam copy: to ask first when Steam is not
// running, and Steam's runtime around it on Linux. Nothing for any other program.
struct SteamDecision {
    bool askFirst = false;
    StartOptions options;
};
SteamDecision steamDecision(const DetectEnvironment *environment, const QString &commandLine);

// "Steam n'est pas lancé...", Oui/Non.
Message steamNotRunningQuestion();

} // namespace GameStart

// Starts the game from a composed command line; every window's launch goes through here.
// A Steam copy asks first when Steam is not running ("Non" starts nothing). When the game
// cannot be started, the player is told which program and why. Returns whether the game was
// started: a window that goes away after a launch stays when nothing was started.
bool startGame(AppContext &context, QWidget *parent, const QString &commandLine, WindowStyle style);
