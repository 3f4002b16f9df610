#include "connect/registration.h"

#include "connect/connectwindow.h"
#include "launcher/appcontext.h"
#include "launcher/windowmanager.h"
#include "launcher/windownames.h"

void registerConnectWindows(AppContext &context)
{
    context.windows.registerWindow(WindowName::connect,
                                   [&context] { return new ConnectWindow(context); });
}
