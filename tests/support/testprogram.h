#pragma once

#include "launcher/program.h"
#include "doubles.h"

#include <QTemporaryDir>
#include <QTest>

#include <memory>

// The whole program on a temporary program directory, with recording platform doubles.
class TestProgram
{
public:
    // iniText: the crvn.ini to lay in the directory; none when null. starter: the process
    // start to use in place of the recording one (the real one, for end-to-end runs).
    explicit TestProgram(const QByteArray &iniText = QByteArray(),
                         ProcessStarter *starter = nullptr);
    ~TestProgram();

    AppContext &context() { return m_program->context(); }
    WindowManager &windows() { return m_program->windows(); }
    Settings &settings() { return m_program->context().settings; }
    QString directory() const { return m_dir.path(); }
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QString iniPath() const { return path(QStringLiteral("crvn.ini")); }
    QByteArray iniBytes() const;
    void writeIni(const QByteArray &text);

    // Shows a window by name, as the program would.
    QWidget *show(QStringView name);
    template <typename T = QWidget>
    T *window(QStringView name)
    {
        return qobject_cast<T *>(windows().find(name));
    }

    RecordingMessageBoxes messages;
    RecordingProcessStarter processes;
    ScriptedFileDialogs files;
    FakeVolumes volumes;
    // Detection looks in home() only: empty unless the test lays out a Steam there.
    FixtureDetectEnvironment detection;
    QString home() const { return detection.home; }
    int quitCount = 0;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Program> m_program;
};

// A named child of a window; fails the test when it is missing.
template <typename T>
T *child(QWidget *window, const char *name)
{
    T *found = window ? window->findChild<T *>(QLatin1String(name)) : nullptr;
    if (!found)
        qWarning("control %s not found", name);
    return found;
}

// Creates a directory with the given (empty) files in it.
bool makeFiles(const QString &directory, const QStringList &names);

// Closes whatever modal window is left open (a real message box a test did not answer).
void closeModalWindows();

// Base of the window tests that lay out a Steam home as it is on Linux: each case is skipped
// on Windows, and no modal window outlives a case.
class LinuxHomeTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
};
