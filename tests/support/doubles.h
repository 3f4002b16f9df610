#pragma once

#include "platform/filedialogs.h"
#include "platform/messageboxes.h"
#include "platform/processstarter.h"
#include "platform/volumes.h"

#include <QList>
#include <QSet>
#include <QStringList>

#include <functional>

// Records every message and answers as scripted (OK when nothing is scripted).
class RecordingMessageBoxes final : public MessageBoxes
{
public:
    MessageAnswer show(QWidget *parent, const Message &message) override;

    QList<Message> shown;
    QList<MessageAnswer> answers;
    // Runs while the message is "open", as a modal box would let the program do.
    std::function<void(const Message &)> whileOpen;
};

// Records every command line instead of starting it; answers started unless told otherwise.
class RecordingProcessStarter final : public ProcessStarter
{
public:
    struct Call {
        QString commandLine;
        WindowStyle style;
    };
    StartResult runCommandLine(const QString &commandLine, WindowStyle style) override;

    QList<Call> calls;
    bool fail = false;
    QString failReason = QStringLiteral("refusé par le test");
};

// Answers file dialogs from a script: each entry a path, or the empty text for Cancel.
class ScriptedFileDialogs final : public FileDialogs
{
public:
    struct Call {
        QString title;
        QString filter;
    };
    QString getOpenFileName(QWidget *parent, const QString &title, const QString &filter) override;

    QList<Call> calls;
    QStringList answers;
};

// Volumes as the test lays them out.
class FakeVolumes final : public Volumes
{
public:
    QList<Volume> list() override { return volumes; }
    Volume volumeOf(const QString &directory) override;
    bool isReady(const Volume &volume) override { return !notReady.contains(volume.root); }

    QList<Volume> volumes;
    QSet<QString> notReady;
};
