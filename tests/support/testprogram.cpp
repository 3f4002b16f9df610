#include "testprogram.h"

#include <QApplication>
#include <QDir>
#include <QFile>

TestProgram::TestProgram(const QByteArray &iniText, ProcessStarter *starter)
{
    if (!iniText.isNull())
        writeIni(iniText);
    detection.home = m_dir.filePath(QStringLiteral("home"));
    QDir().mkpath(detection.home);
    m_program = std::make_unique<Program>(
        m_dir.path(),
        PlatformServices{messages, starter ? *starter : processes, files, volumes, &detection});
    m_program->windows().setQuitHandler([this] { ++quitCount; });
}

TestProgram::~TestProgram()
{
    m_program->windows().quit();
    m_program.reset();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QByteArray TestProgram::iniBytes() const
{
    QFile file(iniPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestProgram::writeIni(const QByteArray &text)
{
    QFile file(iniPath());
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(text);
}

QWidget *TestProgram::show(QStringView name)
{
    return windows().show(name);
}

bool makeFiles(const QString &directory, const QStringList &names)
{
    if (!QDir().mkpath(directory))
        return false;
    for (const QString &name : names) {
        QFile file(QDir(directory).filePath(name));
        if (!file.open(QIODevice::WriteOnly))
            return false;
    }
    return true;
}

void closeModalWindows()
{
    while (QWidget *modal = QApplication::activeModalWidget())
        modal->close();
}

void LinuxHomeTest::init()
{
#ifdef Q_OS_WIN
    QSKIP("the fixture homes are laid out as on Linux");
#endif
}

void LinuxHomeTest::cleanup()
{
    closeModalWindows();
}
