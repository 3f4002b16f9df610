#include "launcher/program.h"

#include "launcher/registration.h"
#include "launcher/windownames.h"
#include "settings/location.h"
#include "settings/textfile.h"

#include <QDir>

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
    // Said at once, before the splash: a FIFO, a device or a huge file is never waited on, and
    // the player learns why every value reads as missing.
    if (const QString problem = m_settings.fileProblem(); !problem.isEmpty())
        m_context.platform.messages.show(
            nullptr,
            Message{QStringLiteral("Le fichier de paramètres crvn.ini (%1) ne peut pas être "
                                   "utilisé :\n%2\n\nCorvane démarre sans ses paramètres et "
                                   "n'enregistrera rien dans ce fichier tant que le problème "
                                   "n'est pas corrigé.")
                        .arg(QDir::toNativeSeparators(m_settings.filePath()), problem),
                    QStringLiteral("Paramètres illisibles"), MessageIcon::Warning});
    // Copies left beside crvn.ini and the server maker's crvn.cfg by a save that was killed
    // before its rename; only files whose names carry the save marker are touched.
    TextFile::removeLeftovers(m_settings.filePath());
    const QString valve = m_settings.read(Keys::valve);
    if (valve != kMissing && !valve.isEmpty())
        TextFile::removeLeftovers(serverConfigPath(valve));
    m_windows.show(WindowName::splash);
}
