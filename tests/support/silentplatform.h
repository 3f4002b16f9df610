#pragma once

#include "platform/messageboxes.h"
#include "platform/processstarter.h"

// For the tools that drive the whole program without a player (the benchmark, the screenshot
// tool): every message is answered OK at once, and nothing is started.
class SilentMessages final : public MessageBoxes
{
public:
    MessageAnswer show(QWidget *, const Message &) override { return MessageAnswer::Ok; }
};

class NoProcesses final : public ProcessStarter
{
public:
    StartResult runCommandLine(const QString &, WindowStyle, const StartOptions &) override
    {
        return {true, {}, {}};
    }
};
