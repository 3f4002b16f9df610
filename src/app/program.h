#pragma once

#include "launcher/appcontext.h"
#include "launcher/windowmanager.h"

#include <QString>

class QApplication;

// One run of the program on a program directory: the settings file there, the windows, and
// the platform services handed in (the real ones, or recording doubles in tests).
class Program
{
    Q_DISABLE_COPY_MOVE(Program)

public:
    Program(const QString &programDirectory, PlatformServices services);

    AppContext &context() { return m_context; }
    WindowManager &windows() { return m_windows; }

    // Shows the splash, which then routes to the wizard or the main window.
    void start();

private:
    Settings m_settings;
    WindowManager m_windows;
    AppContext m_context;
};

// Loads Qt's French strings so that standard buttons and dialogs read in French.
void installFrenchTranslation(QApplication &app);

// The program as started by main(): real platform, directory of the executable.
int runCorvane(QApplication &app);
