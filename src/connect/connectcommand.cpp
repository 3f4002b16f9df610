#include "connect/connectcommand.h"

QString connectCommand(const QString &program, const QString &address, const QString &port)
{
    return program + QLatin1String(" -console") + QLatin1String(" +connect ") + address
        + QLatin1Char(':') + port;
}
