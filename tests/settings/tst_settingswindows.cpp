#include "launcher/program.h"
#include "launcher/windownames.h"
#include "setupprogram.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

// crvn.ini as the Windows profile functions leave it on a French system: Windows-1252, with
// the folders that Ok derives already in it (a path of this system, so that they derive).
#ifdef Q_OS_WIN
#define GAME "D:\\Jeux\\\xc9t\xe9\\"
#define SEP "\\"
#else
#define GAME "/jeux/\xc9t\xe9/"
#define SEP "/"
#endif
const QByteArray kWindows1252 = "[MISC]\r\nfirstuse=no\r\ntfc=true\r\nuser=M\xfcller\r\n"
                                "[GAMEDIR]\r\nprogram=" GAME "hl.exe\r\n"
                                "maps=" GAME "valve" SEP "maps\r\n"
                                "tfcmaps=" GAME "tfc" SEP "maps\r\n"
                                "valve=" GAME "valve" SEP "\r\n"
                                "tfcdir=" GAME "tfc" SEP "\r\n"
                                "dds=" GAME "\r\n";
#ifdef Q_OS_WIN
const QString kProgram = QStringLiteral("D:\\Jeux\\Été\\hl.exe");
#else
const QString kProgram = QStringLiteral("/jeux/Été/hl.exe");
#endif

} // namespace

class TestSettingsWindows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { closeModalWindows(); }
    void configurationOkKeepsAWindows1252FileByteForByte();
    void aRefusedKeyWritesNoneOfTheSave_data();
    void aRefusedKeyWritesNoneOfTheSave();
    void startUpSaysAtOnceWhenTheFileIsNoFile_data();
    void startUpSaysAtOnceWhenTheFileIsNoFile();
    void startUpRemovesOnlyItsOwnLeftovers_data();
    void startUpRemovesOnlyItsOwnLeftovers();
};

void TestSettingsWindows::configurationOkKeepsAWindows1252FileByteForByte()
{
    SetupProgram program(kWindows1252);
    QWidget *config = program.show(WindowName::config);
    QCOMPARE(child<QLineEdit>(config, "program")->text(), kProgram);
    QTest::mouseClick(child<QAbstractButton>(config, "cmdOK"), Qt::LeftButton);
    QVERIFY(program.messages.shown.isEmpty());
    QCOMPARE(program.iniBytes(), kWindows1252);
    QVERIFY(!program.windows().find(WindowName::config));
}

void TestSettingsWindows::aRefusedKeyWritesNoneOfTheSave_data()
{
    // Each save changes a key the file can hold before the one it cannot.
    QTest::addColumn<QString>("window");
    QTest::addColumn<QStringList>("typed"); // box, text, box, text...
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("key");
    const QString maps = QStringLiteral("D:\\Jeux\\Łódź\\valve\\maps");
    QTest::newRow("wizard identity")
        << WindowName::firstUse2.toString()
        << QStringList{u"txtNick"_qs, u"Jean"_qs, u"txtClan"_qs, u"Łódź"_qs} << u"cmdNext"_qs
        << u"MISC/company"_qs;
    QTest::newRow("configuration Ok")
        << WindowName::config.toString()
        << QStringList{u"program"_qs, u"/jeux/neuf/hl.exe"_qs, u"txtMaps"_qs, maps} << u"cmdOK"_qs
        << u"GAMEDIR/maps"_qs;
    QTest::newRow("wizard configuration page")
        << WindowName::firstUseConfig.toString()
        << QStringList{u"program"_qs, u"/jeux/neuf/hl.exe"_qs, u"txtMaps"_qs, maps}
        << u"cmdFinish"_qs << u"GAMEDIR/maps"_qs;
}

void TestSettingsWindows::aRefusedKeyWritesNoneOfTheSave()
{
    QFETCH(QString, window);
    QFETCH(QStringList, typed);
    QFETCH(QString, button);
    QFETCH(QString, key);
    SetupProgram program(kWindows1252);
    QWidget *shown = program.show(window);
    for (qsizetype i = 0; i + 1 < typed.size(); i += 2) {
        auto *box = child<QLineEdit>(shown, qPrintable(typed[i]));
        box->clear();
        // Typed key by key, as a keyboard with these letters sends them.
        for (const QChar c : typed[i + 1])
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QCOMPARE(box->text(), typed[i + 1]);
    }
    QTest::mouseClick(child<QAbstractButton>(shown, qPrintable(button)), Qt::LeftButton);
    QCOMPARE(program.messages.shown.size(), 1);
    const QString text = program.messages.shown[0].text;
    QVERIFY2(text.contains(key + u" : le caractère « Ł » (U+0141)"_qs) && text.contains(u"crvn.ini")
                 && text.contains(u"Windows-1252") && text.contains(u"rien n'a été enregistré"),
             qPrintable(text));
    QCOMPARE(program.windows().find(window), shown); // still open, nothing typed lost
    QCOMPARE(program.iniBytes(), kWindows1252);       // not one key of the save written
}

void TestSettingsWindows::startUpSaysAtOnceWhenTheFileIsNoFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("FIFO") << "fifo" << "tube nommé";
    QTest::newRow("link to /dev/zero") << "zero" << "périphérique";
    QTest::newRow("5 MB file") << "big" << "trop volumineux";
}

void TestSettingsWindows::startUpSaysAtOnceWhenTheFileIsNoFile()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    TestProgram program; // no crvn.ini yet
    if (kind == u"big") {
        program.writeIni("[MISC]\r\nfirstuse=yes\r\n" + QByteArray(5'000'000, ';'));
    } else {
#ifdef Q_OS_UNIX
        if (kind == u"fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(program.iniPath()).constData(), 0600), 0);
        else
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), program.iniPath()));
#else
        QSKIP("FIFOs and /dev/zero are Unix things");
#endif
    }
    // The whole program's start-up on that directory, as main() runs it.
    Program started(program.directory(), PlatformServices{program.messages, program.processes,
                                                           program.files, program.volumes});
    QElapsedTimer timer;
    timer.start();
    started.start();
    QVERIFY(timer.elapsed() < 1000);
    QCOMPARE(program.messages.shown.size(), 1);
    const QString text = program.messages.shown[0].text;
    QVERIFY2(text.contains(u"crvn.ini") && text.contains(reason), qPrintable(text));
    QVERIFY(started.windows().find(WindowName::splash)); // and the start-up goes on
    started.windows().quit();
}

void TestSettingsWindows::startUpRemovesOnlyItsOwnLeftovers_data()
{
    QTest::addColumn<QString>("valve");
    QTest::newRow("valve with its separator") << "game/valve/";
    // The server maker accepts it without: the copies are still looked for inside the folder,
    // and a file beside the folder whose name starts with "valve" is not ours.
    QTest::newRow("valve without its separator") << "game/valve";
}

void TestSettingsWindows::startUpRemovesOnlyItsOwnLeftovers()
{
    QFETCH(QString, valve);
    TestProgram program;
    QVERIFY(QDir().mkpath(program.path(valve)));
    program.writeIni("[MISC]\r\nfirstuse=no\r\n[GAMEDIR]\r\nvalve="
                     + QFile::encodeName(QDir::toNativeSeparators(program.path(valve))) + "\r\n");
    const QStringList ours{QStringLiteral("crvn.ini.corvane-save-a1B2c3"),
                           QStringLiteral("game/valve/crvn.cfg.corvane-save-Zz9Yy8")};
    const QStringList theirs{QStringLiteral("crvn.ini.a1B2c3"), QStringLiteral("crvn.ini~"),
                             QStringLiteral("game/valve/crvn.cfg.Zz9Yy8"),
                             QStringLiteral("game/valve/config.cfg.corvane-save-Zz9Yy8"),
                             QStringLiteral("game/valvecrvn.cfg.corvane-save-Zz9Yy8")};
    for (const QString &name : ours + theirs) {
        QFile file(program.path(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("sv_password secret\r\n");
    }
    Program started(program.directory(), PlatformServices{program.messages, program.processes,
                                                           program.files, program.volumes});
    started.start();
    for (const QString &name : ours)
        QVERIFY2(!QFile::exists(program.path(name)), qPrintable(name));
    for (const QString &name : theirs)
        QVERIFY2(QFile::exists(program.path(name)), qPrintable(name));
    QVERIFY(program.messages.shown.isEmpty());
    started.windows().quit();
}

QTEST_MAIN(TestSettingsWindows)
#include "tst_settingswindows.moc"
