#include "platform/commandline.h"

#include <utility>

QStringList CommandLineParts::arguments() const
{
    return rest.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

QStringList CommandLineParts::windowsArguments() const
{
    return splitWindowsArguments(rest);
}

QStringList splitWindowsArguments(QStringView text)
{
    const auto isBlank = [](QChar c) { return c == u' ' || c == u'\t'; };
    QStringList arguments;
    QString current;
    bool inArgument = false;
    int quotes = 0;      // 1 inside a quoted part; counts a run of quotes while reading it
    int backslashes = 0; // backslashes just before the current character
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text.at(i);
        if (isBlank(c) && quotes == 0) {
            if (inArgument)
                arguments.append(std::exchange(current, QString()));
            inArgument = false;
            backslashes = 0;
            ++i;
            continue;
        }
        inArgument = true;
        if (c == u'\\') {
            current.append(c);
            ++backslashes;
            ++i;
            continue;
        }
        if (c != u'"') {
            current.append(c);
            backslashes = 0;
            ++i;
            continue;
        }
        // 2n backslashes and a quote: n backslashes, and the quote opens or closes a quoted
        // part; 2n+1 backslashes and a quote: n backslashes and a literal quote.
        if (backslashes % 2 == 0) {
            current.chop(backslashes / 2);
            ++quotes;
        } else {
            current.chop(backslashes / 2 + 1);
            current.append(u'"');
        }
        backslashes = 0;
        ++i;
        // In a run of quotes, every third one is a literal quote.
        for (; i < text.size() && text.at(i) == u'"'; ++i) {
            if (++quotes == 3) {
                current.append(u'"');
                quotes = 0;
            }
        }
        if (quotes == 2)
            quotes = 0;
    }
    if (inArgument)
        arguments.append(current);
    return arguments;
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
