#pragma once

#include "detect/environment.h"
#include "platform/filedialogs.h"
#include "platform/messageboxes.h"
#include "platform/processstarter.h"
#include "platform/volumes.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QStringList>

#include <functional>

// Records every message and answers as scripted (OK, or Yes to a question, when nothing is
// scripted).
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
        StartOptions options;
    };
    StartResult runCommandLine(const QString &commandLine, WindowStyle style,
                               const StartOptions &options) override;

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
        QString startDirectory;
    };
    QString getOpenFileName(QWidget *parent, const QString &title, const QString &filter,
                            const QString &startDirectory) override;

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

// The machine as a test lays it out: a home folder (a temporary one), variables, registry
// values and the processes that live.
class FixtureDetectEnvironment final : public DetectEnvironment
{
public:
    QString homePath() const override { return home; }
    QString variable(const char *name) const override
    {
        return variables.value(QString::fromLatin1(name));
    }
    QString registryValue(const QString &key, const QString &name) const override
    {
        return registry.value(key + QLatin1Char('|') + name);
    }
    bool processAlive(qint64 pid) const override { return livePids.contains(pid); }

    QString home;
    QHash<QString, QString> variables;
    QHash<QString, QString> registry; // "key|name" -> value
    QSet<qint64> livePids;
};
