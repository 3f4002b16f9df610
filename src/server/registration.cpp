#include "server/registration.h"

#include "launcher/appcontext.h"

void registerServerWindows(AppContext &context)
{
    Q_UNUSED(context); // windows of this part are registered here as they land
}
