#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What `corvane --help` or `corvane --version` prints; nothing for any other command line, whose
// arguments the program ignores.
std::optional<QString> terminalAnswer(const QStringList &arguments);

// Answers --help and --version on the terminal before any window system is needed (so they work
// without a display); returns the exit code when it answered.
std::optional<int> answerOnTerminal(int &argc, char **argv);
