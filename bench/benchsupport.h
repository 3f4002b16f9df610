#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QWidget;
class WindowManager;

namespace Bench {

inline constexpr int kMapCount = 10000;
inline constexpr int kSettingsLines = 10000;

// The folder every run works on: a program directory with its crvn.ini, a maps folder of
// kMapCount empty .bsp files, and a settings file of kSettingsLines lines.
struct Fixture {
    QString programDirectory;      // holds crvn.ini
    QString emptyProgramDirectory; // crvn.ini whose maps folder is empty
    QString mapsDirectory;
    QString bigSettingsFile;
};

// Fills `root` (an existing empty directory). Returns false with a reason on failure.
bool prepareFixture(const QString &root, Fixture *fixture, QString *error);
// The same paths for a fixture prepared by another process.
Fixture fixtureAt(const QString &root);

// The section and key the big settings file holds last, and the value it holds there.
QString bigSettingsSection();
QString bigSettingsKey();
QString bigSettingsValue();

double median(std::vector<double> values);
// CPU time of the calling thread, in ms: the share of a run the machine's load cannot inflate.
double threadCpuMs();
double mean(const std::vector<double> &values);

// Runs the event loop until `done` holds; false after timeoutMs.
bool waitUntil(const std::function<bool()> &done, int timeoutMs = 20000);
bool isExposed(const QWidget *widget);

// Peak resident memory of this process (VmHWM) in KiB, or -1 where /proc is not available.
qint64 peakMemoryKiB();
// Resident memory now (VmRSS) in KiB, or -1: against the peak, what a step held only briefly.
qint64 residentMemoryKiB();

// Notes the first paint event a widget receives. The paint itself runs inside the same event
// dispatch, so once the event loop returns with `painted` set, the widget has been drawn.
class PaintWatch final : public QObject
{
    Q_OBJECT

public:
    explicit PaintWatch(QObject *parent = nullptr)
        : QObject(parent)
    {
    }
    void watch(QWidget *widget);
    bool painted = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

// Watches the main window's map list (dirFichiers) for its first paint as soon as the window
// has been loaded, before it is shown. `onLoaded` runs at that moment.
void watchMapList(WindowManager &windows, PaintWatch &watch,
                  const std::function<void()> &onLoaded = {});

} // namespace Bench
