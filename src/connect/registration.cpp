#include "connect/registration.h"

#include "launcher/appcontext.h"

void registerConnectWindows(AppContext &context)
{
    Q_UNUSED(context); // windows of this part are registered here as they land
}
