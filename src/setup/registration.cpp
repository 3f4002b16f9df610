#include "setup/registration.h"

#include "launcher/appcontext.h"
#include "launcher/windowmanager.h"
#include "launcher/windownames.h"
#include "setup/configwindows.h"
#include "setup/directorypicker.h"
#include "setup/setuprules.h"
#include "setup/wizardpages.h"

void registerSetupWindows(AppContext &context)
{
    WindowManager &windows = context.windows;
    windows.registerWindow(WindowName::config, [&context] { return new ConfigWindow(context); });
    windows.registerWindow(WindowName::firstUseConfig,
                           [&context] { return new FirstUseConfigWindow(context); });
    windows.registerWindow(WindowName::firstUse1,
                           [&context] { return new FirstUse1Window(context); });
    windows.registerWindow(WindowName::firstUse2,
                           [&context] { return new FirstUse2Window(context); });
    windows.registerWindow(WindowName::firstUseDone,
                           [&context] { return new FirstUseDoneWindow(context); });

    const PickerKind pickers[] = {
        {WindowName::dirMaps, SetupText::pickerCaption},
        {WindowName::dirMapsTfc, SetupText::pickerCaption},
        {WindowName::configTfc, SetupText::wizardTfcPickerCaption},
    };
    for (const PickerKind &kind : pickers)
        windows.registerWindow(kind.name,
                               [&context, kind] { return new DirectoryPicker(context, kind); });
}
