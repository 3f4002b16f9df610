#include "settings/location.h"
#include "settings/settings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

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
    QFile::setPermissions(program.path(), QFile::ReadOwner | QFile::ExeOwner);
    const SettingsLocation location = chooseSettingsLocation(program.path(), user.path());
    QFile::setPermissions(program.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
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
    if (geteuid() == 0)
        QSKIP("root writes into read-only directories; the missing-directory case stands in");
    QTemporaryDir program;
    QFile::setPermissions(program.path(), QFile::ReadOwner | QFile::ExeOwner);
    const SettingsLocation readOnly = chooseSettingsLocation(program.path(), user.path());
    QFile::setPermissions(program.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY(readOnly.perUser);
}

void TestLocation::perUserFileStartsAsTheStartingFile()
{
    QTemporaryDir user;
    const QString path = user.filePath(QStringLiteral("config/Corvane/crvn.ini"));
    Settings settings(path, "[MISC]\r\nfirstuse=yes\r\n");
    QCOMPARE(settings.read(Keys::firstUse), QStringLiteral("yes"));
    QVERIFY(!QFile::exists(path)); // nothing is written before the first save
    QVERIFY(settings.write(Keys::user, QStringLiteral("Corbeau")));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("[MISC]\r\nfirstuse=yes\r\nuser=Corbeau\r\n"));
    QVERIFY(settings.write(Keys::firstUse, QStringLiteral("no")));
    QCOMPARE(settings.read(Keys::firstUse), QStringLiteral("no"));
}

QTEST_GUILESS_MAIN(TestLocation)
#include "tst_location.moc"
