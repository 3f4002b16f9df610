#pragma once

#include <QString>

// What detection reads of the machine besides files: the home folder, environment variables,
// registry values (Windows) and whether a process lives. Tests hand in their own.
class DetectEnvironment
{
public:
    virtual ~DetectEnvironment() = default;
    virtual QString homePath() const = 0;
    // The variable's value; empty when it is not set.
    virtual QString variable(const char *name) const = 0;
    // A registry value such as ("HKEY_CURRENT_USER\\Software\\Valve\\Steam", "SteamPath");
    // empty when missing and on systems without a registry.
    virtual QString registryValue(const QString &key, const QString &name) const = 0;
    virtual bool processAlive(qint64 pid) const = 0;
};

// The machine's own: QDir::homePath, the process environment, QSettings' native registry
// access on Windows, a signal-0 probe on Unix and the process's exit code on Windows.
class SystemDetectEnvironment final : public DetectEnvironment
{
public:
    QString homePath() const override;
    QString variable(const char *name) const override;
    QString registryValue(const QString &key, const QString &name) const override;
    bool processAlive(qint64 pid) const override;
};
