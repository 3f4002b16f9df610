#include "server/registration.h"

#include "launcher/appcontext.h"
#include "launcher/windowmanager.h"
#include "launcher/windownames.h"
#include "server/servermakerwindow.h"

void registerServerWindows(AppContext &context)
{
    context.windows.registerWindow(WindowName::server,
                                   [&context] { return new ServerMakerWindow(context); });
}
