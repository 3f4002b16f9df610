#include "about/registration.h"

#include "launcher/appcontext.h"

void registerAboutWindows(AppContext &context)
{
    Q_UNUSED(context); // windows of this part are registered here as they land
}
