#include "doubles.h"

MessageAnswer RecordingMessageBoxes::show(QWidget *, const Message &message)
{
    shown.append(message);
    if (whileOpen)
        whileOpen(message);
    return answers.isEmpty() ? MessageAnswer::Ok : answers.takeFirst();
}

StartResult RecordingProcessStarter::runCommandLine(const QString &commandLine, WindowStyle style)
{
    calls.append(Call{commandLine, style});
    const QString program = commandLine.section(QLatin1Char(' '), 0, 0);
    if (fail)
        return StartResult{false, program, failReason};
    return StartResult{true, program, {}};
}

QString ScriptedFileDialogs::getOpenFileName(QWidget *, const QString &title, const QString &filter)
{
    calls.append(Call{title, filter});
    return answers.isEmpty() ? QString() : answers.takeFirst();
}

Volume FakeVolumes::volumeOf(const QString &directory)
{
    // The longest root that holds the directory.
    Volume best;
    for (const Volume &volume : std::as_const(volumes)) {
        if (directory.startsWith(volume.root) && volume.root.size() > best.root.size())
            best = volume;
    }
    return best;
}
