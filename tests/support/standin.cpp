#include "standin.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

namespace {

void placeScript(const QString &source, const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile::remove(path);
    QFile::copy(source, path);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                    | QFile::ReadGroup | QFile::ExeGroup);
}

QStringList readRecord(const QString &file)
{
    (void)QTest::qWaitFor([&] { return QFile::exists(file); }, 5000);
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return {QStringLiteral("<the stand-in did not run>")};
    QStringList lines = QString::fromLocal8Bit(in.readAll()).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace

StandIn::StandIn(const QString &path)
    : m_program(path)
    , m_record(QFileInfo(path).absolutePath() + QStringLiteral("/standin-record"))
{
    placeScript(QStringLiteral(CORVANE_STANDIN_SCRIPT), path);
    qputenv("CORVANE_STANDIN_OUT", m_record.toLocal8Bit());
}

QStringList StandIn::arguments(int start) const
{
    return readRecord(m_record + QLatin1Char('.') + QString::number(start));
}

QString StandIn::workingFolder(int start) const
{
    const QString file = m_record + QLatin1Char('.') + QString::number(start);
    (void)QTest::qWaitFor([&] { return QFile::exists(file); }, 5000);
    QFile in(file + QStringLiteral(".cwd"));
    if (!in.open(QIODevice::ReadOnly))
        return QStringLiteral("<the stand-in did not run>");
    QString folder = QString::fromLocal8Bit(in.readAll());
    if (folder.endsWith(QLatin1Char('\n')))
        folder.chop(1);
    return folder;
}

int StandIn::starts() const
{
    int n = 0;
    while (QFile::exists(m_record + QLatin1Char('.') + QString::number(n)))
        ++n;
    return n;
}

StandInRuntime::StandInRuntime(const QString &path)
    : m_program(path)
    , m_record(QFileInfo(path).absolutePath() + QStringLiteral("/runtime-record"))
{
    placeScript(QStringLiteral(CORVANE_STANDIN_RUNTIME), path);
    qputenv("CORVANE_RUNTIME_OUT", m_record.toLocal8Bit());
}

QStringList StandInRuntime::record(int start) const
{
    return readRecord(m_record + QLatin1Char('.') + QString::number(start));
}
