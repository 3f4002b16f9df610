#include "standin.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

namespace {

bool windowsStandIn(StandIn::Kind kind)
{
#ifdef Q_OS_WIN
    Q_UNUSED(kind);
    return true;
#else
    return kind == StandIn::Kind::Windows;
#endif
}

QString withExe(const QString &path)
{
    return path.endsWith(u".exe", Qt::CaseInsensitive) ? path : path + QStringLiteral(".exe");
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The folder the stand-ins are copied from: CORVANE_STANDIN_DIR when set (a copy an ordinary
// user can read when the checkout's folders are closed to them), else where the build put them.
QString standInSource(const char *builtPath)
{
    const QString folder = qEnvironmentVariable("CORVANE_STANDIN_DIR");
    const QString built = QString::fromLocal8Bit(builtPath);
    return folder.isEmpty() ? built : folder + u'/' + QFileInfo(built).fileName();
}

// Copies a stand-in program to `path`, replacing what was there, and makes it executable. A
// stand-in that cannot be placed fails the test with that reason, not with the launch error
// that would follow.
void placeProgram(const QString &source, const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile::remove(path);
    QFile copy(source);
    if (!copy.copy(path)
        || !QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                            | QFile::ReadGroup | QFile::ExeGroup)) {
        const QString why = QStringLiteral("the stand-in %1 could not be placed at %2: %3")
                                .arg(source, path, copy.errorString());
        QTest::qFail(qPrintable(why), __FILE__, __LINE__);
    }
}

QStringList readRecord(const QString &file, int waitMs = 20000)
{
    (void)QTest::qWaitFor([&] { return QFile::exists(file); }, waitMs);
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return {QStringLiteral("<the stand-in did not run>")};
    QStringList lines = QString::fromUtf8(in.readAll()).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace

StandIn::StandIn(const QString &path, Kind kind)
    : m_program(windowsStandIn(kind) ? withExe(path) : path)
    , m_record(QFileInfo(path).absolutePath() + QStringLiteral("/standin-record"))
{
    if (windowsStandIn(kind)) {
        // The Windows stand-in writes its record beside itself.
        placeProgram(standInSource(CORVANE_WINDOWS_STANDIN), m_program);
    } else {
        placeProgram(standInSource(CORVANE_STANDIN_SCRIPT), m_program);
        qputenv("CORVANE_STANDIN_OUT", m_record.toLocal8Bit());
    }
}

bool StandIn::available(Kind kind)
{
    return !windowsStandIn(kind) || QFileInfo(standInSource(CORVANE_WINDOWS_STANDIN)).isFile();
}

QString StandIn::recordFile(int start) const
{
    return m_record + QLatin1Char('.') + QString::number(start);
}

QStringList StandIn::arguments(int start, int waitMs) const
{
    return readRecord(recordFile(start), waitMs);
}

QString StandIn::workingFolder(int start) const
{
    const QString file = recordFile(start);
    (void)QTest::qWaitFor([&] { return QFile::exists(file); }, 20000);
    QString folder = QString::fromUtf8(readAll(file + QStringLiteral(".cwd")));
    if (folder.isEmpty())
        return QStringLiteral("<the stand-in did not run>");
    if (folder.endsWith(QLatin1Char('\n')))
        folder.chop(1);
    return QDir::fromNativeSeparators(folder);
}

QByteArray StandIn::commandLine(int start) const
{
    return readAll(recordFile(start) + QStringLiteral(".cmdline"));
}

QByteArray StandIn::windowStyle(int start) const
{
    return readAll(recordFile(start) + QStringLiteral(".show"));
}

int StandIn::starts() const
{
    int n = 0;
    while (QFile::exists(recordFile(n)))
        ++n;
    return n;
}

StandInRuntime::StandInRuntime(const QString &path)
    : m_program(path)
    , m_record(QFileInfo(path).absolutePath() + QStringLiteral("/runtime-record"))
{
    placeProgram(standInSource(CORVANE_STANDIN_RUNTIME), path);
    qputenv("CORVANE_RUNTIME_OUT", m_record.toLocal8Bit());
}

QStringList StandInRuntime::record(int start) const
{
    return readRecord(m_record + QLatin1Char('.') + QString::number(start));
}
