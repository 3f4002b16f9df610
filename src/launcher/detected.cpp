#include "launcher/detected.h"

#include "launcher/appcontext.h"
#include "settings/keys.h"

#include <QFileInfo>

Detection detectGame(const AppContext &context)
{
    const DetectEnvironment *environment = context.platform.detection;
    return environment ? Detect::detect(*environment) : Detection{};
}

QString detectedGameFolder(const AppContext &context)
{
    const Detection detection = detectGame(context);
    return detection.installations.isEmpty() ? QString()
                                             : detection.installations.first().gameFolder;
}

QString installedGameFolder(const AppContext &context)
{
    const QString program = context.settings.read(Keys::program, u"");
    if (!program.isEmpty() && QFileInfo(program).isFile())
        return QFileInfo(program).absolutePath();
    return detectedGameFolder(context);
}
