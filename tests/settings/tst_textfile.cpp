#include "files/outsidefile.h"
#include "settings/profilefile.h"
#include "settings/settings.h"
#include "settings/textfile.h"
#include "testfiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <functional>
#include <future>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

QStringList entries(const QString &directory)
{
    return QDir(directory).entryList(QDir::AllEntries | QDir::Hidden | QDir::System
                                         | QDir::NoDotAndDotDot,
                                     QDir::Name);
}

// Runs work on another thread and gives up after a few seconds: a read that blocks on a FIFO
// must fail the test, not hang it. The FIFO is then opened for writing, which frees the reader.
template <typename T>
bool finishesInTime(std::function<T()> work, T *result, const QString &fifoToRelease = QString())
{
    auto future = std::async(std::launch::async, std::move(work));
    if (future.wait_for(std::chrono::seconds(3)) == std::future_status::ready) {
        *result = future.get();
        return true;
    }
#ifdef Q_OS_UNIX
    if (!fifoToRelease.isEmpty()) {
        const int fd = ::open(QFile::encodeName(fifoToRelease).constData(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0)
            ::close(fd);
    }
#else
    Q_UNUSED(fifoToRelease);
#endif
    future.wait();
    return false;
}

} // namespace

class TestTextFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void notARegularFile_data();
    void notARegularFile();
    void sizeLimit_data();
    void sizeLimit();
    void linksAreFollowed_data();
    void linksAreFollowed();
    void readGoesPastAStaleSize();
    void saveLeavesNoCopyAndKeepsPermissions();
    void leftoversOfOursOnly();
    void wholeTextInAnEncoding_data();
    void wholeTextInAnEncoding();
};

void TestTextFile::notARegularFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("FIFO") << "fifo" << "un tube nommé (FIFO)";
    QTest::newRow("link to /dev/zero") << "zero" << "un périphérique";
    QTest::newRow("directory") << "dir" << "un dossier";
}

void TestTextFile::notARegularFile()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("crvn.ini"));
    if (kind == u"dir") {
        QVERIFY(QDir().mkdir(path));
    } else {
#ifdef Q_OS_UNIX
        if (kind == u"fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
#else
        QSKIP("FIFOs and /dev/zero are Unix things");
#endif
    }
    const QStringList before = entries(dir.path());

    QElapsedTimer timer;
    timer.start();
    QString value;
    QVERIFY(finishesInTime<QString>(
        [&] { return ProfileFile::read(path, u"MISC", u"firstuse", QStringLiteral("error")); },
        &value, path));
    QCOMPARE(value, QStringLiteral("error"));

    Settings settings(path);
    QString problem;
    QVERIFY(finishesInTime<QString>([&] { return settings.fileProblem(); }, &problem, path));
    QVERIFY2(problem.contains(u"crvn.ini") && problem.contains(reason), qPrintable(problem));

    bool saved = true;
    QVERIFY(finishesInTime<bool>([&] { return settings.write(Keys::firstUse, QStringLiteral("no")); },
                                 &saved, path));
    QVERIFY(!saved);
    QVERIFY2(settings.errorString().contains(u"crvn.ini")
                 && settings.errorString().contains(reason),
             qPrintable(settings.errorString()));
    QVERIFY(timer.elapsed() < 3000);
    QCOMPARE(entries(dir.path()), before); // nothing replaced, nothing left beside it
}

void TestTextFile::sizeLimit_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("exactly 4 MiB") << TextFile::kMaxSize << "nope" << true;
    QTest::newRow("a write that would pass 4 MiB") << TextFile::kMaxSize << "false" << false;
    QTest::newRow("one byte more") << TextFile::kMaxSize + 1 << "nope" << false;
    QTest::newRow("50 MB of short lines") << qint64(50'000'000) << "nope" << false;
}

void TestTextFile::sizeLimit()
{
    QFETCH(qint64, size);
    QFETCH(QString, value);
    QFETCH(bool, accepted);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("crvn.ini"));
    const QByteArray head("[MISC]\r\ntfc=true\r\n");
    QByteArray text = head;
    while (text.size() + 6 <= size)
        text += "k=v\r\n";
    text += QByteArray(size - text.size(), ';');
    QCOMPARE(qint64(text.size()), size);
    QVERIFY(writeAll(path, text));

    QString error;
    const bool saved = ProfileFile::write(path, u"MISC", u"tfc", value, &error);
    QCOMPARE(saved, accepted);
    if (accepted) {
        QCOMPARE(ProfileFile::read(path, u"MISC", u"tfc", QString()), value);
        QCOMPARE(readAll(path), QByteArray(text).replace(0, head.size(), "[MISC]\r\ntfc=nope\r\n"));
        return;
    }
    QVERIFY2(error.contains(u"crvn.ini est trop volumineux"), qPrintable(error));
    QCOMPARE(readAll(path), text);
}

// The reader asks for the size it found, then reads on to the end: a regular file whose size
// says nothing (/proc reports 0) is still read whole, and still refused past the limit.
void TestTextFile::readGoesPastAStaleSize()
{
#ifndef Q_OS_LINUX
    QSKIP("needs /proc");
#else
    const QString path = QStringLiteral("/proc/self/maps");
    QByteArray bytes;
    QString reason;
    QCOMPARE(OutsideFile::read(path, 4 * 1024 * 1024, &bytes, &reason), OutsideFile::Status::Ok);
    QVERIFY2(bytes.size() > 1000 && bytes.contains("[stack]"), bytes.constData());
    QCOMPARE(OutsideFile::read(path, 100, &bytes, &reason), OutsideFile::Status::Refused);
    QVERIFY2(reason.contains(u"trop volumineux"), qPrintable(reason));
    QVERIFY(bytes.isEmpty());
#endif
}

void TestTextFile::linksAreFollowed_data()
{
    QTest::addColumn<QStringList>("links"); // "name->target", as ln -s makes them, in cfg/
    QTest::addColumn<bool>("realExists");   // real/crvn.ini is there before the save
    QTest::addColumn<QString>("refusal");   // empty: saved into real/crvn.ini
    QTest::newRow("link to a file") << QStringList{"crvn.ini->../real/crvn.ini"} << true << "";
    QTest::newRow("dangling link: its target is created")
        << QStringList{"crvn.ini->../real/crvn.ini"} << false << "";
    QTest::newRow("chain of links, dangling at its end")
        << QStringList{"crvn.ini->a.ini", "a.ini->../real/crvn.ini"} << false << "";
    QTest::newRow("the target's folder is missing")
        << QStringList{"crvn.ini->../gone/crvn.ini"} << false
        << "/gone/crvn.ini, dont le dossier n'existe pas ; rien n'a été enregistré.";
    QTest::newRow("loop") << QStringList{"crvn.ini->a.ini", "a.ini->crvn.ini"} << false
                          << "crvn.ini ne peut pas être lu : trop de niveaux de liens symboliques";
}

void TestTextFile::linksAreFollowed()
{
#ifndef Q_OS_UNIX
    QSKIP("symbolic links need privileges on Windows");
#else
    QFETCH(QStringList, links);
    QFETCH(bool, realExists);
    QFETCH(QString, refusal);
    QTemporaryDir dir;
    QVERIFY(QDir().mkpath(dir.filePath("cfg")) && QDir().mkpath(dir.filePath("real")));
    const QString real = dir.filePath(QStringLiteral("real/crvn.ini"));
    if (realExists)
        QVERIFY(writeAll(real, "[MISC]\r\ntfc=true\r\n"));
    for (const QString &link : links)
        QCOMPARE(::symlink(QFile::encodeName(link.section("->", 1)).constData(),
                           QFile::encodeName(dir.filePath("cfg/" + link.section("->", 0, 0))).constData()),
                 0);
    const QString path = dir.filePath(QStringLiteral("cfg/crvn.ini"));
    const QStringList before = entries(dir.filePath("cfg"));

    Settings settings(path);
    const bool saved = settings.write(Keys::tfc, QStringLiteral("false"));
    QVERIFY2(saved == refusal.isEmpty(), qPrintable(settings.errorString()));
    QVERIFY2(settings.errorString().contains(refusal), qPrintable(settings.errorString()));
    QCOMPARE(entries(dir.filePath("cfg")), before); // the links stay links, nothing beside them
    QCOMPARE(QFileInfo(path).symLinkTarget(), QFileInfo(dir.filePath("cfg/" + links.first().section("->", 1))).absoluteFilePath());
    if (saved)
        QCOMPARE(ProfileFile::read(real, u"MISC", u"tfc", QString()), u"false"_qs);
    QCOMPARE(entries(dir.filePath("real")), saved ? QStringList{"crvn.ini"} : QStringList{});
#endif
}

void TestTextFile::saveLeavesNoCopyAndKeepsPermissions()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("crvn.ini"));
    QVERIFY(writeAll(path, "[MISC]\r\ntfc=true\r\n"));
    const QFileDevice::Permissions owner = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    QVERIFY(QFile::setPermissions(path, owner));
    for (const char *value : {"false", "true", "x"}) {
        QString error;
        QVERIFY2(ProfileFile::write(path, u"MISC", u"tfc", QLatin1String(value), &error),
                 qPrintable(error));
    }
    QCOMPARE(readAll(path), QByteArray("[MISC]\r\ntfc=x\r\n"));
    QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("crvn.ini")});
#ifdef Q_OS_UNIX
    QCOMPARE(QFile::permissions(path) & (owner | QFileDevice::ReadGroup | QFileDevice::ReadOther),
             owner);
#endif
}

void TestTextFile::leftoversOfOursOnly()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("crvn.ini"));
    QVERIFY(writeAll(path, "[MISC]\r\ntfc=true\r\n"));
    const QStringList ours{QStringLiteral("crvn.ini.corvane-save-AbC123"),
                           QStringLiteral("crvn.ini.corvane-save-zzzzzz")};
    const QStringList others{
        QStringLiteral("crvn.ini.AbC123"),               // another program's copy
        QStringLiteral("crvn.ini.corvane-save-AbC12"),   // too short
        QStringLiteral("crvn.ini.corvane-save-AbC1234"), // too long
        QStringLiteral("crvn.ini.corvane-save-AbC-12"),  // not a letter or digit
        QStringLiteral("other.ini.corvane-save-AbC123"), // beside another file
        QStringLiteral("crvn.ini.bak"),
    };
    for (const QString &name : ours + others)
        QVERIFY(writeAll(dir.filePath(name), "copy"));
    QVERIFY(QDir().mkdir(dir.filePath(QStringLiteral("crvn.ini.corvane-save-Dir123"))));
#ifdef Q_OS_UNIX
    QVERIFY(QFile::link(path, dir.filePath(QStringLiteral("crvn.ini.corvane-save-Lnk123"))));
#endif
    const QStringList before = entries(dir.path());

    QCOMPARE(TextFile::removeLeftovers(path), ours.size());
    QStringList expected = before;
    for (const QString &name : ours)
        expected.removeAll(name);
    QCOMPARE(entries(dir.path()), expected);
    QCOMPARE(readAll(path), QByteArray("[MISC]\r\ntfc=true\r\n"));
    QCOMPARE(TextFile::removeLeftovers(path), 0);
}

void TestTextFile::wholeTextInAnEncoding_data()
{
    QTest::addColumn<int>("encoding");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes"); // empty: refused
    QTest::addColumn<QString>("named");

    const int eightBit = int(TextFile::Encoding::EightBit);
    const int utf8 = int(TextFile::Encoding::Utf8);
    QTest::newRow("8-bit") << eightBit << QStringLiteral("hostname \"Café\"\r\n")
                           << QByteArray("hostname \"Caf\xe9\"\r\n") << QString();
    QTest::newRow("8-bit refuses Ł") << eightBit << QStringLiteral("hostname \"Łódź\"\r\n")
                                     << QByteArray() << QStringLiteral("« Ł » (U+0141)");
    QTest::newRow("UTF-8") << utf8 << QStringLiteral("hostname \"Łódź\"\r\n")
                           << QByteArray("hostname \"\xc5\x81\xc3\xb3\x64\xc5\xba\"\r\n") << QString();
    QTest::newRow("UTF-16 with its BOM")
        << int(TextFile::Encoding::Utf16LeWithBom) << QStringLiteral("a\r\n")
        << QByteArray("\xff\xfe" "a\0\r\0\n\0", 8) << QString();
}

void TestTextFile::wholeTextInAnEncoding()
{
    QFETCH(int, encoding);
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, named);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("crvn.cfg"));
    QVERIFY(writeAll(path, "old\r\n"));
    QString reason;
    const bool saved = TextFile::writeText(path, text, TextFile::Encoding(encoding), &reason);
    QCOMPARE(saved, !bytes.isEmpty());
    QCOMPARE(readAll(path), saved ? bytes : QByteArray("old\r\n"));
    if (!saved)
        QVERIFY2(reason.contains(named) && reason.contains(u"crvn.cfg"), qPrintable(reason));
    QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("crvn.cfg")});
}

QTEST_GUILESS_MAIN(TestTextFile)
#include "tst_textfile.moc"
