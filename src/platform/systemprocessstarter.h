#pragma once

#include "platform/processstarter.h"

// The real process start: CreateProcess semantics on Windows; on other systems the switches
// become separate arguments, and a Windows executable is started through Wine.
class SystemProcessStarter final : public ProcessStarter
{
public:
    StartResult runCommandLine(const QString &commandLine, WindowStyle style,
                               const StartOptions &options) override;
};
