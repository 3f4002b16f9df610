#pragma once

struct AppContext;

// Registers the splash and the main window with the window manager.
void registerLauncherWindows(AppContext &context);
