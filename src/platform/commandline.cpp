#include "platform/commandline.h"

QStringList CommandLineParts::arguments() const
{
    return rest.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

CommandLineParts splitCommandLine(const QString &commandLine,
                                  const std::function<bool(const QString &)> &isFile)
{
    const qsizetype firstBlank = commandLine.indexOf(QLatin1Char(' '));
    qsizetype chosen = firstBlank < 0 ? commandLine.size() : firstBlank;
    if (chosen > 0) {
        // Every end of a word is a candidate; the longest one naming a file wins.
        qsizetype end = commandLine.size();
        while (end > 0) {
            const QString candidate = commandLine.left(end);
            if (commandLine.at(end - 1) != QLatin1Char(' ') && isFile(candidate)) {
                chosen = end;
                break;
            }
            end = commandLine.lastIndexOf(QLatin1Char(' '), end - 1);
        }
    }
    CommandLineParts parts;
    parts.program = commandLine.left(chosen);
    parts.rest = commandLine.mid(chosen + 1);
    return parts;
}
