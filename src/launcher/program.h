#pragma once

#include "launcher/appcontext.h"
#include "launcher/windowmanager.h"

#include <QString>

// One run of the program on a program directory: the settings file there, the window manager
// with the launcher's windows registered, and the platform services handed in (the real ones,
// or recording doubles in tests). The other parts register their windows on top.
class Program
{
    Q_DISABLE_COPY_MOVE(Program)

public:
    Program(const QString &programDirectory, PlatformServices services);
    Program(Settings settings, PlatformServices services);

    AppContext &context() { return m_context; }
    WindowManager &windows() { return m_windows; }

    // Shows the splash, which then routes to the wizard or the main window.
    void start();

private:
    Settings m_settings;
    WindowManager m_windows;
    AppContext m_context;
};
