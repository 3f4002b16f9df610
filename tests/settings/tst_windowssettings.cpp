// Windows only: the settings file beside the system's own profile functions, and the per-user
// folder an installed program falls back to.
#include "app/corvane.h"
#include "settings/location.h"
#include "settings/profilefile.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <windows.h>

namespace {

QByteArray ansi(const QString &text)
{
    const auto *wide = reinterpret_cast<const wchar_t *>(text.utf16());
    const int size = WideCharToMultiByte(CP_ACP, 0, wide, int(text.size()), nullptr, 0, nullptr, nullptr);
    QByteArray bytes(size, Qt::Uninitialized);
    WideCharToMultiByte(CP_ACP, 0, wide, int(text.size()), bytes.data(), size, nullptr, nullptr);
    return bytes;
}

} // namespace

class TestWindowsSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void writtenInTheAnsiCodePage_data() { values(false); }
    void writtenInTheAnsiCodePage();
    void readsWhatTheProfileFunctionsWrote_data() { values(true); }
    void readsWhatTheProfileFunctionsWrote();
    void perUserFileUnderLocalAppData();

private:
    static void values(bool outsideTheCodePage);
};

void TestWindowsSettings::values(bool outsideTheCodePage)
{
    QTest::addColumn<QString>("value");
    QTest::newRow("accents") << u"Frédéric « Clément »"_qs;
    QTest::newRow("a path with blanks") << u"C:\\Program Files\\Half-Life\\hl.exe"_qs;
    // What the settings file does with a character its code page lacks is its own rule; the
    // profile functions turn it into '?'.
    if (outsideTheCodePage)
        QTest::newRow("a character outside the code page") << u"Łódź ✓"_qs;
}

void TestWindowsSettings::writtenInTheAnsiCodePage()
{
    QFETCH(QString, value);
    QTemporaryDir dir;
    const QString ours = dir.filePath(u"crvn.ini"_qs);
    QVERIFY(ProfileFile::write(ours, u"MISC", u"user", value));
    // What the game's own tools would find: the value in the ANSI code page, as
    // GetPrivateProfileStringA reads it back.
    QVERIFY2(readAll(ours).contains("user=" + ansi(value)), readAll(ours).constData());
    char buffer[512] = {};
    GetPrivateProfileStringA("MISC", "user", "error", buffer, sizeof buffer,
                             QDir::toNativeSeparators(ours).toLocal8Bit().constData());
    QCOMPARE(QByteArray(buffer), ansi(value));
}

void TestWindowsSettings::readsWhatTheProfileFunctionsWrote()
{
    QFETCH(QString, value);
    QTemporaryDir dir;
    const QString theirs = dir.filePath(u"crvn.ini"_qs);
    const QByteArray file = QDir::toNativeSeparators(theirs).toLocal8Bit();
    QVERIFY(WritePrivateProfileStringA("GAMEDIR", "program", ansi(value).constData(), file.constData()));
    QVERIFY(WritePrivateProfileStringA("MISC", "user", ansi(value).constData(), file.constData()));
    // Characters the code page lacks were already lost on the way in (as '?'): compare with
    // what the file holds, decoded from the code page.
    const QString stored = QString::fromLocal8Bit(ansi(value));
    QCOMPARE(ProfileFile::read(theirs, u"gamedir", u"PROGRAM", u"error"_qs), stored);
    QCOMPARE(ProfileFile::read(theirs, u"MISC", u"user", u"error"_qs), stored);
}

void TestWindowsSettings::perUserFileUnderLocalAppData()
{
    // An installed program whose folder takes no file keeps its settings in
    // %LOCALAPPDATA%\Corvane, as the README tells players.
    setApplicationIdentity();
    QTemporaryDir dir;
    const SettingsLocation location = chooseSettingsLocation(
        dir.filePath(u"not-there"_qs), QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
    QVERIFY(location.perUser);
    const QString localAppData = qEnvironmentVariable("LOCALAPPDATA");
    QVERIFY(!localAppData.isEmpty());
    QCOMPARE(QDir::toNativeSeparators(location.filePath),
             QDir::toNativeSeparators(localAppData + u"\\Corvane\\crvn.ini"_qs));
}

QTEST_GUILESS_MAIN(TestWindowsSettings)
#include "tst_windowssettings.moc"
