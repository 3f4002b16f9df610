#include "connect/registration.h"

#include "connect/connectwindow.h"
#include "connect/serverlistwindow.h"
#include "connect/udpserverquery.h"
#include "launcher/appcontext.h"
#include "launcher/windowmanager.h"
#include "launcher/windownames.h"

void registerConnectWindows(AppContext &context, ServerQueryFactory makeQuery)
{
    if (!makeQuery)
        makeQuery = [] { return std::make_unique<UdpServerQuery>(); };
    context.windows.registerWindow(WindowName::connect, [&context, makeQuery] {
        return new ConnectWindow(context, makeQuery());
    });
    context.windows.registerWindow(WindowName::serverList, [&context, makeQuery] {
        return new ServerListWindow(context, makeQuery);
    });
}
