#pragma once

#include "detect/detection.h"

struct AppContext;

// Detection on the environment the program was given; nothing found when it was given none.
Detection detectGame(const AppContext &context);
// The first detected game folder, where the file and folder dialogs open; empty when none.
QString detectedGameFolder(const AppContext &context);
// The game folder whose mods the main window offers: the configured program's folder, or the
// detected one when no program is configured.
QString installedGameFolder(const AppContext &context);
