#include "app/corvane.h"
#include "app/terminal.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    if (const std::optional<int> answered = answerOnTerminal(argc, argv))
        return *answered;
    QApplication app(argc, argv);
    return runCorvane(app);
}
