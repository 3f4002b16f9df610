#include "launcher/gamestart.h"

#include "launcher/appcontext.h"

void startGame(AppContext &context, QWidget *parent, const QString &commandLine, WindowStyle style)
{
    const StartResult result = context.platform.processes.runCommandLine(commandLine, style);
    if (result.started)
        return;
    const QString program = result.program.isEmpty() ? QStringLiteral("(aucun)") : result.program;
    context.platform.messages.show(
        parent,
        Message{QStringLiteral("Impossible de lancer le programme :\n%1\n\n%2")
                    .arg(program, result.reason),
                QStringLiteral("Lancement impossible"), MessageIcon::Critical});
}
