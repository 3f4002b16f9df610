#include "settings/location.h"
#include "settings/settings.h"
#include "testplatform.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestLocation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void besideAWritableProgram();
    void anExistingFileBesideTheProgramIsKept();
    void perUserWhenTheProgramDirectoryIsReadOnly();
    void perUserFileStartsAsTheStartingFile();
};

void TestLocation::besideAWritableProgram()
{
    QTemporaryDir program;
    QTemporaryDir user;
    const SettingsLocation location = chooseSettingsLocation(program.path(), user.path());
    QCOMPARE(location.filePath, program.filePath(QStringLiteral("crvn.ini")));
    QVERIFY(!location.perUser);
}

void TestLocation::anExistingFileBesideTheProgramIsKept()
{
    QTemporaryDir program;
    QTemporaryDir user;
    QFile(program.filePath(QStringLiteral("crvn.ini"))).open(QIODevice::WriteOnly);
    const auto location = [&] {
        const ReadOnlyFolder readOnly(program.path());
        return chooseSettingsLocation(program.path(), user.path());
    }();
    QCOMPARE(location.filePath, program.filePath(QStringLiteral("crvn.ini")));
    QVERIFY(!location.perUser);
}

void TestLocation::perUserWhenTheProgramDirectoryIsReadOnly()
{
    QTemporaryDir user;
    // A directory that does not exist cannot be written by anyone, root included.
    const SettingsLocation location =
        chooseSettingsLocation(user.filePath(QStringLiteral("not-there")), user.path());
    QCOMPARE(location.filePath, user.filePath(QStringLiteral("crvn.ini")));
    QVERIFY(location.perUser);
    if (const QString why = readOnlyFoldersUnavailable(); !why.isEmpty())
        QSKIP(qPrintable(why + QStringLiteral("; the missing-directory case stands in")));
    QTemporaryDir program;
    const ReadOnlyFolder readOnly(program.path());
    QVERIFY(chooseSettingsLocation(program.path(), user.path()).perUser);
}

void TestLocation::perUserFileStartsAsTheStartingFile()
{
    QTemporaryDir user;
    const QString path = user.filePath(QStringLiteral("config/Corvane/crvn.ini"));
    Settings settings(path, "[MISC]\r\nfirstuse=yes\r\n");
    QCOMPARE(settings.read(Keys::firstUse), QStringLiteral("yes"));
    QVERIFY(!QFile::exists(path)); // nothing is written before the first save
    QVERIFY(settings.write(Keys::user, QStringLiteral("Corbeau")));
    {
        // Closed before the next save: Windows does not replace a file that is open.
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("[MISC]\r\nfirstuse=yes\r\nuser=Corbeau\r\n"));
    }
    QVERIFY(settings.write(Keys::firstUse, QStringLiteral("no")));
    QCOMPARE(settings.read(Keys::firstUse), QStringLiteral("no"));
}

QTEST_GUILESS_MAIN(TestLocation)
#include "tst_location.moc"
