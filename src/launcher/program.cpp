#include "launcher/program.h"

#include "launcher/registration.h"
#include "launcher/windownames.h"

Program::Program(const QString &programDirectory, PlatformServices services)
    : Program(Settings(Settings::fileInDirectory(programDirectory)), services)
{
}

Program::Program(Settings settings, PlatformServices services)
    : m_settings(std::move(settings))
    , m_windows(services.messages)
    , m_context{m_settings, services, m_windows}
{
    registerLauncherWindows(m_context);
}

void Program::start()
{
    m_windows.show(WindowName::splash);
}
