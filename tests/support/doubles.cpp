#include "doubles.h"

MessageAnswer RecordingMessageBoxes::show(QWidget *, const Message &message)
{
    shown.append(message);
    if (whileOpen)
        whileOpen(message);
    if (!answers.isEmpty())
        return answers.takeFirst();
    return message.buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
}

StartResult RecordingProcessStarter::runCommandLine(const QString &commandLine, WindowStyle style,
                                                    const StartOptions &options)
{
    calls.append(Call{commandLine, style, options});
    const QString program = commandLine.section(QLatin1Char(' '), 0, 0);
    if (fail)
        return StartResult{false, program, failReason};
    return StartResult{true, program, {}};
}

QString ScriptedFileDialogs::getOpenFileName(QWidget *, const QString &title, const QString &filter,
                                             const QString &startDirectory)
{
    calls.append(Call{title, filter, startDirectory});
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
