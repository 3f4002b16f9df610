#include "advanced/registration.h"

#include "launcher/appcontext.h"

void registerAdvancedWindows(AppContext &context)
{
    Q_UNUSED(context); // windows of this part are registered here as they land
}
