#include "setup/registration.h"

#include "launcher/appcontext.h"

void registerSetupWindows(AppContext &context)
{
    Q_UNUSED(context); // windows of this part are registered here as they land
}
