#include "advanced/registration.h"

#include "advanced/advancedwindow.h"
#include "launcher/appcontext.h"
#include "launcher/windowmanager.h"
#include "launcher/windownames.h"

void registerAdvancedWindows(AppContext &context)
{
    context.windows.registerWindow(WindowName::advanced,
                                   [&context] { return new AdvancedWindow(context); });
}
