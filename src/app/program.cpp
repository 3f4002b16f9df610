#include "app/program.h"

#include "about/registration.h"
#include "advanced/registration.h"
#include "connect/registration.h"
#include "launcher/registration.h"
#include "launcher/windownames.h"
#include "platform/qtplatform.h"
#include "platform/systemprocessstarter.h"
#include "server/registration.h"
#include "setup/registration.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

Program::Program(const QString &programDirectory, PlatformServices services)
    : m_settings(Settings::fileInDirectory(programDirectory))
    , m_windows(services.messages)
    , m_context{m_settings, services, m_windows}
{
    registerLauncherWindows(m_context);
    registerServerWindows(m_context);
    registerAdvancedWindows(m_context);
    registerConnectWindows(m_context);
    registerSetupWindows(m_context);
    registerAboutWindows(m_context);
}

void Program::start()
{
    m_windows.show(WindowName::splash);
}

void installFrenchTranslation(QApplication &app)
{
    auto *translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
}

int runCorvane(QApplication &app)
{
    QApplication::setApplicationName(QStringLiteral("Corvane"));
    QApplication::setApplicationVersion(QStringLiteral("2.0"));
    QApplication::setApplicationDisplayName(QString());
    installFrenchTranslation(app);

    QtMessageBoxes messages;
    SystemProcessStarter processes;
    QtFileDialogs files;
    QtVolumes volumes;
    Program program(QApplication::applicationDirPath(),
                    PlatformServices{messages, processes, files, volumes});
    program.start();
    return QApplication::exec();
}
