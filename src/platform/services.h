#pragma once

#include "detect/environment.h"
#include "platform/filedialogs.h"
#include "platform/messageboxes.h"
#include "platform/processstarter.h"
#include "platform/volumes.h"

// What the windows use of the platform, handed to each window by the program.
struct PlatformServices {
    MessageBoxes &messages;
    ProcessStarter &processes;
    FileDialogs &files;
    Volumes &volumes;
    // Where Steam and the game are looked for; none: nothing is detected and every window
    // behaves as if the player had no Steam.
    const DetectEnvironment *detection = nullptr;
};
