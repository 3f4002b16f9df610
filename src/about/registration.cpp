#include "about/registration.h"

#include "about/aboutwindow.h"
#include "about/creditswindow.h"
#include "launcher/appcontext.h"
#include "launcher/windowmanager.h"
#include "launcher/windownames.h"

void registerAboutWindows(AppContext &context)
{
    context.windows.registerWindow(WindowName::about,
                                   [&context] { return new AboutWindow(context); });
    context.windows.registerWindow(WindowName::credits, [] { return new CreditsWindow; });
}
