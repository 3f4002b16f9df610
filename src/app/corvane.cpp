#include "app/corvane.h"

#include "about/registration.h"
#include "advanced/registration.h"
#include "connect/registration.h"
#include "detect/environment.h"
#include "launcher/program.h"
#include "platform/qtplatform.h"
#include "platform/systemprocessstarter.h"
#include "server/registration.h"
#include "settings/location.h"
#include "setup/registration.h"

#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QStandardPaths>
#include <QTranslator>

void registerAllWindows(AppContext &context)
{
    registerServerWindows(context);
    registerAdvancedWindows(context);
    registerConnectWindows(context);
    registerSetupWindows(context);
    registerAboutWindows(context);
}

void setApplicationIdentity()
{
    QCoreApplication::setApplicationName(QStringLiteral("Corvane"));
    QCoreApplication::setApplicationVersion(QStringLiteral("2.0"));
}

void installFrenchTranslation(QCoreApplication &app)
{
    auto *translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
}

Settings programSettings()
{
    const SettingsLocation location = chooseSettingsLocation(
        QApplication::applicationDirPath(),
        QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
    if (!location.perUser)
        return Settings(location.filePath);
    // A player's own file starts as the shipped one, so an installed program opens the wizard.
    QFile starting(QStringLiteral(":/settings/crvn.ini"));
    return Settings(location.filePath,
                    starting.open(QIODevice::ReadOnly) ? starting.readAll() : QByteArray());
}

int runCorvane(QApplication &app)
{
    setApplicationIdentity();
    QApplication::setDesktopFileName(QStringLiteral("org.example.Corvane"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/corvane-256.png")));
    installFrenchTranslation(app);

    QtMessageBoxes messages;
    SystemProcessStarter processes;
    QtFileDialogs files;
    QtVolumes volumes;
    SystemDetectEnvironment detection;
    Program program(programSettings(),
                    PlatformServices{messages, processes, files, volumes, &detection});
    registerAllWindows(program.context());
    program.start();
    return QApplication::exec();
}
