#pragma once

#include "platform/services.h"
#include "settings/settings.h"

class WindowManager;

// What every window is given: the settings file, the platform, and the other windows.
struct AppContext {
    Settings &settings;
    PlatformServices platform;
    WindowManager &windows;
};
