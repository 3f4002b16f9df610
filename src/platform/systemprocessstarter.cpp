#include "platform/systemprocessstarter.h"

#include "files/outsidefile.h"
#include "platform/commandline.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

bool isFile(const QString &path)
{
    return QFileInfo(path).isFile();
}

#ifndef Q_OS_WIN
bool isWindowsExecutable(const QString &path)
{
    // Through the shared reader: a FIFO put there meanwhile is refused, never waited on.
    QByteArray start;
    return OutsideFile::readStart(path, 2, &start) == OutsideFile::Status::Ok
        && start == QByteArrayLiteral("MZ");
}
#endif

StartResult failure(const QString &program, const QString &reason)
{
    return StartResult{false, program, reason};
}

// A wrapper takes the program and its arguments after its own; the environment adds to the
// inherited one.
void applyOptions(QProcess &process, const StartOptions &options)
{
#ifndef Q_OS_WIN
    if (!options.wrapper.isEmpty()) {
        process.setArguments(options.wrapperArguments + QStringList{process.program()}
                             + process.arguments());
        process.setProgram(options.wrapper);
    }
#endif
    if (!options.environment.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (auto it = options.environment.cbegin(); it != options.environment.cend(); ++it)
            environment.insert(it.key(), it.value());
        process.setProcessEnvironment(environment);
    }
    if (!options.workingDirectory.isEmpty())
        process.setWorkingDirectory(options.workingDirectory);
}

} // namespace

StartResult SystemProcessStarter::runCommandLine(const QString &commandLine, WindowStyle style,
                                                 const StartOptions &options)
{
    const CommandLineParts parts = splitCommandLine(commandLine, isFile);
    if (parts.program.isEmpty() || parts.program == QLatin1String("error")
        || parts.program == QLatin1String("error!"))
        return failure(parts.program,
                       QStringLiteral("Le chemin du jeu n'est pas configuré. Indiquez-le dans "
                                      "Edition > Configuration."));
    const QFileInfo info(parts.program);
    if (!info.exists())
        return failure(parts.program, QStringLiteral("Ce fichier n'existe pas."));
    if (!info.isFile())
        return failure(parts.program, QStringLiteral("Ce chemin n'est pas un fichier."));

    QProcess process;
#ifdef Q_OS_WIN
    // CreateProcess receives the command line as composed: the program (quoted, for its blanks),
    // one blank and the switches untouched; only the style is added. QProcess's own line would
    // put two blanks before native arguments.
    QString line = u'"' + QDir::toNativeSeparators(parts.program) + u'"';
    if (commandLine.size() > parts.program.size())
        line += u' ' + parts.rest;
    process.setProgram(parts.program);
    process.setCreateProcessArgumentsModifier(
        [style, line](QProcess::CreateProcessArguments *args) mutable {
            args->arguments = reinterpret_cast<wchar_t *>(line.data());
            args->startupInfo->dwFlags |= STARTF_USESHOWWINDOW;
            args->startupInfo->wShowWindow = static_cast<WORD>(
                style == WindowStyle::Maximized ? SW_SHOWMAXIMIZED : SW_SHOWMINIMIZED);
        });
#else
    Q_UNUSED(style); // no equivalent of a start-up window style here
    if (isWindowsExecutable(parts.program)) {
        const QString wine = QStandardPaths::findExecutable(QStringLiteral("wine"));
        if (wine.isEmpty())
            return failure(parts.program,
                           QStringLiteral("C'est un programme Windows et Wine est introuvable. "
                                          "Installez Wine pour lancer le jeu."));
        process.setProgram(wine);
        // Wine quotes each argument back into one Windows command line: split the switches as
        // Windows would, so that the game receives them as composed ("Mon serveur" stays one).
        process.setArguments(QStringList{parts.program} + parts.windowsArguments());
    } else {
        if (!info.isExecutable())
            return failure(parts.program, QStringLiteral("Ce fichier n'est pas exécutable."));
        process.setProgram(parts.program);
        process.setArguments(parts.arguments());
    }
#endif
    // The game finds its content beside itself, wherever the launcher was started from.
    process.setWorkingDirectory(info.absolutePath());
    applyOptions(process, options);
    process.setStandardInputFile(QProcess::nullDevice());
    // QProcess's own text is in English and, for a detached start, says no more than this.
    if (!process.startDetached())
        return failure(parts.program,
                       QStringLiteral("Le système a refusé de lancer ce programme (format "
                                      "inconnu, interpréteur ou bibliothèque manquant, ou "
                                      "droits insuffisants)."));
    return StartResult{true, parts.program, {}};
}
