#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// How a command line of the form "<program path> <switches>" is split into the program to
// start and its arguments. The path is unquoted and may hold blanks.
struct CommandLineParts {
    QString program; // the resolved executable path; empty when the line starts with a blank
    QString rest;    // everything after the program and the one blank that ends it
    QStringList arguments() const; // rest split on runs of blanks, no empty arguments
    // rest split as a Windows program splits its command line (CommandLineToArgvW): quotes
    // group blanks, backslashes escape quotes. Wine quotes these back into the same line.
    QStringList windowsArguments() const;
};

// Splits the arguments of a Windows command line (everything after the program) as
// CommandLineToArgvW does.
QStringList splitWindowsArguments(QStringView text);

// Takes the longest leading run of blank-separated words that names an existing file, so that
// "C:\Program Files\x\hl.exe" never starts "C:\Program"; the first word when none exists.
CommandLineParts splitCommandLine(const QString &commandLine,
                                  const std::function<bool(const QString &)> &isFile);
