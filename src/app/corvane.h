#pragma once

struct AppContext;
class QApplication;
class QCoreApplication;

// The program's name and version, as windows and `--version` show them.
void setApplicationIdentity();

// Registers the windows of every part besides the launcher's.
void registerAllWindows(AppContext &context);

// Loads Qt's French strings so that standard buttons and dialogs read in French.
void installFrenchTranslation(QCoreApplication &app);

// The settings file of this installation (see chooseSettingsLocation).
class Settings;
Settings programSettings();

// The program as started by main(): real platform, settings beside the executable.
int runCorvane(QApplication &app);
