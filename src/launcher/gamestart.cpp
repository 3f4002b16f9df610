#include "launcher/gamestart.h"

#include "launcher/appcontext.h"

#include <QFileInfo>

namespace {

// The program the player is told about. When no leading part of the line names a file, the
// start took its first word, which is only a piece of a path with blanks: the configured path
// is named whole instead, as long as the line begins with it.
QString failedProgram(Settings &settings, const QString &commandLine, const QString &resolved)
{
    if (QFileInfo(resolved).isFile())
        return resolved;
    const QString configured = settings.read(Keys::program, u"");
    const bool begins = commandLine == configured
        || commandLine.startsWith(configured + QLatin1Char(' '));
    if (!configured.isEmpty() && begins && configured.size() > resolved.size())
        return configured;
    return resolved;
}

} // namespace

void startGame(AppContext &context, QWidget *parent, const QString &commandLine, WindowStyle style)
{
    const StartResult result = context.platform.processes.runCommandLine(commandLine, style);
    if (result.started)
        return;
    const QString named = failedProgram(context.settings, commandLine, result.program);
    const QString program = named.isEmpty() ? QStringLiteral("(aucun)") : named;
    context.platform.messages.show(
        parent,
        Message{QStringLiteral("Impossible de lancer le programme :\n%1\n\n%2")
                    .arg(program, result.reason),
                QStringLiteral("Lancement impossible"), MessageIcon::Critical});
}
