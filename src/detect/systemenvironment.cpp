#include "detect/environment.h"

#include <QDir>
#include <QSettings>

#ifdef Q_OS_WIN
#include <windows.h>
#elif defined(Q_OS_UNIX)
#include <cerrno>
#include <csignal>
#endif

QString SystemDetectEnvironment::homePath() const
{
    return QDir::homePath();
}

QString SystemDetectEnvironment::variable(const char *name) const
{
    return qEnvironmentVariable(name);
}

QString SystemDetectEnvironment::registryValue(const QString &key, const QString &name) const
{
#ifdef Q_OS_WIN
    const QSettings registry(key, QSettings::NativeFormat);
    return registry.value(name).toString();
#else
    Q_UNUSED(key);
    Q_UNUSED(name);
    return {};
#endif
}

bool SystemDetectEnvironment::processAlive(qint64 pid) const
{
    if (pid <= 0)
        return false;
#ifdef Q_OS_WIN
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
    if (!process)
        return false;
    DWORD code = 0;
    const bool alive = GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
    CloseHandle(process);
    return alive;
#elif defined(Q_OS_UNIX)
    // Signal 0 checks that the process exists; EPERM: it exists but belongs to someone else.
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
#else
    return false;
#endif
}
