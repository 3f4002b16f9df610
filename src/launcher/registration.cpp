#include "launcher/registration.h"

#include "launcher/appcontext.h"
#include "launcher/mainwindow.h"
#include "launcher/splashwindow.h"
#include "launcher/windowmanager.h"
#include "launcher/windownames.h"

void registerLauncherWindows(AppContext &context)
{
    context.windows.registerWindow(WindowName::splash,
                                   [&context] { return new SplashWindow(context); });
    context.windows.registerWindow(WindowName::main,
                                   [&context] { return new MainWindow(context); });
}
