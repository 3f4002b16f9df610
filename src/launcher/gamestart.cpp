#include "launcher/gamestart.h"

#include "detect/detection.h"
#include "launcher/appcontext.h"
#include "platform/commandline.h"

#include <QFileInfo>

namespace {

bool isFile(const QString &path)
{
    return QFileInfo(path).isFile();
}

} // namespace

namespace GameStart {

SteamDecision steamDecision(const DetectEnvironment *environment, const QString &commandLine)
{
    SteamDecision decision;
    if (!environment)
        return decision;
    const QString program = splitCommandLine(commandLine, isFile).program;
    const QList<SteamLibrary> libraries = Detect::steamLibraries(
        Detect::steamRoots(Detect::steamRootCandidates(*environment)));
    const Detect::SteamStart start = Detect::steamStartFor(program, libraries);
    if (!start.inLibrary)
        return decision;
    decision.askFirst = !Detect::steamRunning(*environment);
    if (!start.runtime.isEmpty()) {
        // The runtime then starts the program with its switches, as Steam itself does.
        decision.options.wrapper = start.runtime;
        decision.options.environment.insert(QStringLiteral("SteamAppId"), QStringLiteral("70"));
        decision.options.workingDirectory = start.gameFolder;
    }
    return decision;
}

Message steamNotRunningQuestion()
{
    Message message{QStringLiteral("Steam n'est pas lancé. Le jeu a besoin de Steam pour démarrer. "
                                   "Lancer quand même ?"),
                    QStringLiteral("Corvane 2.0"), MessageIcon::Question};
    message.buttons = MessageButtons::YesNo;
    return message;
}

} // namespace GameStart

#include <QFileInfo>

namespace {

// The program the player is told about. When no leading part of the line names a file, the
// start took its first word, which is only a piece of a path with blanks: the configured path
// is named whole instead, as long as the line begins with it.
QString failedProgram(Settings &settings, const QString &commandLine, const QString &resolved)
{
    if (QFileInfo(resolved).isFile())
        return resolved;
    QString configured = settings.read(Keys::program, u"");
    const bool begins = commandLine == configured
        || commandLine.startsWith(configured + QLatin1Char(' '));
    if (!configured.isEmpty() && begins && configured.size() > resolved.size())
        return configured;
    return resolved;
}

} // namespace

bool startGame(AppContext &context, QWidget *parent, const QString &commandLine, WindowStyle style)
{
    const GameStart::SteamDecision steam = GameStart::steamDecision(context.platform.detection,
                                                                    commandLine);
    if (steam.askFirst
        && context.platform.messages.show(parent, GameStart::steamNotRunningQuestion())
            != MessageAnswer::Yes)
        return false;
    const StartResult result = context.platform.processes.runCommandLine(commandLine, style,
                                                                         steam.options);
    if (result.started)
        return true;
    const QString named = failedProgram(context.settings, commandLine, result.program);
    const QString program = named.isEmpty() ? QStringLiteral("(aucun)") : named;
    context.platform.messages.show(
        parent,
        Message{QStringLiteral("Impossible de lancer le programme :\n%1\n\n%2")
                    .arg(program, result.reason),
                QStringLiteral("Lancement impossible"), MessageIcon::Critical});
    return false;
}
