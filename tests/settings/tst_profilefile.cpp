#include "settings/profilefile.h"
#include "settings/settings.h"
#include "testfiles.h"
#include "testplatform.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>


namespace {

// Text as Notepad saves it as "Unicode": FF FE, then UTF-16LE.
QByteArray utf16(const QString &text)
{
    QByteArray bytes("\xff\xfe");
    for (const QChar c : text) {
        bytes += char(c.unicode() & 0xff);
        bytes += char(c.unicode() >> 8);
    }
    return bytes;
}

} // namespace

class TestProfileFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void read_data();
    void read();
    void write_data();
    void batch_data();
    void batch();
    void write();
    void encodings_data();
    void encodings();
    void characterTheFileCannotHold_data();
    void characterTheFileCannotHold();
    void unchangedValueLeavesFileUntouched();
    void writtenValuesReadBack();
    void badFilesReadAsFarAsTheyGo();
    void writeKeepsEveryOtherByteOfABadFile();
    void failedWriteLeavesFileAndReportsFailure();
    void missingFileAndDirectory();
    void settingsFileIsJoinedOnce();
};

void TestProfileFile::read_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    const QByteArray windows = "[GAMEDIR]\r\nprogram=C:\\Jeux\\Half-Life\\hl.exe\r\n"
                               "maps=C:\\Jeux\\Half-Life\\valve\\maps\r\n[MISC]\r\ntfc=true\r\n";
    QTest::newRow("as Windows writes it") << windows << "GAMEDIR" << "program"
                                          << "C:\\Jeux\\Half-Life\\hl.exe";
    QTest::newRow("other section") << windows << "MISC" << "tfc" << "true";
    QTest::newRow("section in another case") << windows << "gamedir" << "maps"
                                             << "C:\\Jeux\\Half-Life\\valve\\maps";
    QTest::newRow("key in another case") << windows << "misc" << "TFC" << "true";
    QTest::newRow("missing key") << windows << "MISC" << "firstuse" << "<default>";
    QTest::newRow("missing section") << windows << "OTHER" << "tfc" << "<default>";
    QTest::newRow("key of another section") << windows << "MISC" << "program" << "<default>";
    QTest::newRow("empty value is not the default") << QByteArray("[MISC]\r\nuser=\r\n") << "MISC"
                                                    << "user" << "";
    QTest::newRow("blanks around name and value") << QByteArray("[ MISC ]\n  user  =  Nick  \n")
                                                  << "MISC" << "user" << "Nick";
    QTest::newRow("quotes keep leading blanks") << QByteArray("[MISC]\nuser=\"  Nick \"\n")
                                                << "MISC" << "user" << "  Nick ";
    QTest::newRow("single quotes") << QByteArray("[MISC]\nuser='a b'\n") << "MISC" << "user"
                                   << "a b";
    QTest::newRow("unbalanced quotes stay") << QByteArray("[MISC]\nuser=\"abc\n") << "MISC"
                                            << "user" << "\"abc";
    QTest::newRow("lone quote stays") << QByteArray("[MISC]\nuser=\"\n") << "MISC" << "user"
                                      << "\"";
    QTest::newRow("no inline comments") << QByteArray("[MISC]\nuser=v ; x\n") << "MISC" << "user"
                                        << "v ; x";
    QTest::newRow("later = belong to the value") << QByteArray("[MISC]\nuser=a=b=c\n") << "MISC"
                                                 << "user" << "a=b=c";
    QTest::newRow("key without = reads as missing") << QByteArray("[MISC]\nuser\n") << "MISC"
                                                    << "user" << "<default>";
    QTest::newRow("first duplicate key wins") << QByteArray("[MISC]\nuser=one\nuser=two\n")
                                              << "MISC" << "user" << "one";
    QTest::newRow("only first duplicate section")
        << QByteArray("[MISC]\nuser=one\n[MISC]\ncompany=clan\n") << "MISC" << "company"
        << "<default>";
    QTest::newRow("CR only line ends") << QByteArray("[MISC]\ruser=cr\rcompany=x") << "MISC"
                                       << "user" << "cr";
    QTest::newRow("runs of line ends and blank lines")
        << QByteArray("\r\n\r\n[MISC]\r\n\r\n\n\nuser=x\r\n") << "MISC" << "user" << "x";
    QTest::newRow("last line without line end") << QByteArray("[MISC]\nuser=last") << "MISC"
                                                << "user" << "last";
    QTest::newRow("tabs and 0x1A trimmed") << QByteArray("[MISC]\n\tuser=x\x1a\n") << "MISC"
                                           << "user" << "x";
    QTest::newRow("header name before last ]") << QByteArray("[MI]SC]\nuser=x\n") << "MI]SC"
                                               << "user" << "x";
    QTest::newRow("[ without ] is a line of the section above")
        << QByteArray("[MISC]\n[broken\nuser=x\n") << "MISC" << "user" << "x";
    QTest::newRow("NUL ends the text it stands in") << QByteArray("[MISC]\nuser=ab\0cd\n", 17)
                                                    << "MISC" << "user" << "ab";
    QTest::newRow("a [ after other text or a NUL opens no section")
        << QByteArray("k=[MISC]\nx [MISC]\n\0[MISC]\nuser=y\n \t[MISC]\nuser=x\n", 49) << "MISC"
        << "user" << "x";
    QTest::newRow("keys before any section belong to none") << QByteArray("user=x\n[MISC]\n")
                                                            << "MISC" << "user" << "<default>";
    QTest::newRow("case folding is for A-Z only")
        << QByteArray("[MISC]\n\xc3\x89t\xc3\xa9=x\n") << "MISC" << "\xc3\xa9t\xc3\xa9"
        << "<default>";
    QTest::newRow("a long path is never cut")
        << QByteArray("[GAMEDIR]\nprogram=C:\\Program Files (x86)\\Steam\\steamapps\\common\\"
                      "Half-Life\\hl.exe\n")
        << "GAMEDIR" << "program"
        << "C:\\Program Files (x86)\\Steam\\steamapps\\common\\Half-Life\\hl.exe";
}

void TestProfileFile::read()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    QCOMPARE(ProfileFile::readFromBytes(text, section, key, QStringLiteral("<default>")), expected);
}

void TestProfileFile::write_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("new file") << QByteArray() << "MISC" << "tfc" << "true"
                              << QByteArray("[MISC]\r\ntfc=true\r\n");
    QTest::newRow("replace in place, other lines keep their bytes")
        << QByteArray("; note\n[MISC]\n  tfc = false  \nuser=x\n") << "MISC" << "tfc" << "true"
        << QByteArray("; note\n[MISC]\ntfc=true\nuser=x\n");
    QTest::newRow("first of duplicates replaced, in the file's spelling")
        << QByteArray("[MISC]\r\nuser=a\r\nuser=b\r\n") << "misc" << "USER" << "c"
        << QByteArray("[MISC]\r\nuser=c\r\nuser=b\r\n");
    QTest::newRow("key and header keep the player's spelling")
        << QByteArray("[Misc]\r\nVolume=5\r\n") << "MISC" << "volume" << "7"
        << QByteArray("[Misc]\r\nVolume=7\r\n");
    QTest::newRow("new key at the end of its section, before the next header")
        << QByteArray("[GAMEDIR]\r\nmaps=m\r\n\r\n[MISC]\r\ntfc=true\r\n") << "GAMEDIR"
        << "program" << "p" << QByteArray("[GAMEDIR]\r\nmaps=m\r\nprogram=p\r\n\r\n[MISC]\r\ntfc=true\r\n");
    QTest::newRow("new key in a last section without line end")
        << QByteArray("[MISC]\r\ntfc=true") << "MISC" << "user" << "u"
        << QByteArray("[MISC]\r\ntfc=true\r\nuser=u");
    QTest::newRow("new section at the end")
        << QByteArray("[MISC]\r\ntfc=true\r\n") << "GAMEDIR" << "maps" << "m"
        << QByteArray("[MISC]\r\ntfc=true\r\n[GAMEDIR]\r\nmaps=m\r\n");
    QTest::newRow("new section after a last line without line end")
        << QByteArray("[MISC]\r\ntfc=true") << "GAMEDIR" << "maps" << "m"
        << QByteArray("[MISC]\r\ntfc=true\r\n[GAMEDIR]\r\nmaps=m\r\n");
    QTest::newRow("leading blanks of the value dropped") << QByteArray() << "MISC" << "user"
                                                         << "   Nick  "
                                                         << QByteArray("[MISC]\r\nuser=Nick  \r\n");
    QTest::newRow("empty value") << QByteArray() << "MISC" << "user" << ""
                                 << QByteArray("[MISC]\r\nuser=\r\n");
    QTest::newRow("a line end in a value cannot add a line")
        << QByteArray() << "MISC" << "user" << "a\r\n[GAMEDIR]\nprogram=evil"
        << QByteArray("[MISC]\r\nuser=a  [GAMEDIR] program=evil\r\n");
    QTest::newRow("a value that reads differently is written even if the text matches")
        << QByteArray("[MISC]\nuser=\"\"a\"\"\n") << "MISC" << "user" << "\"a\""
        << QByteArray("[MISC]\nuser=\"a\"\n");
    QTest::newRow("empty section header name")
        << QByteArray("[]\nuser=x\n") << "MISC" << "user" << "y"
        << QByteArray("[]\nuser=x\n[MISC]\r\nuser=y\r\n");
}

void TestProfileFile::write()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QByteArray, after);
    const std::optional<QByteArray> written = ProfileFile::writeToBytes(before, section, key, value);
    QVERIFY(written);
    QCOMPARE(*written, after);
}

void TestProfileFile::batch_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QStringList>("writes"); // section|key|value, in order
    QTest::addColumn<QByteArray>("after");   // empty: refused
    QTest::addColumn<int>("refusedWrite");
    QTest::addColumn<uint>("refusedCharacter");
    const QByteArray cp1252 = "[MISC]\r\nuser=M\xfcller\r\n";
    QTest::newRow("each write sees the ones before it")
        << QByteArray("[MISC]\r\nuser=a\r\n")
        << QStringList{u"MISC|user|b"_qs, u"GAMEDIR|maps|m"_qs, u"gamedir|valve|v"_qs,
                       u"MISC|company|c"_qs}
        << QByteArray("[MISC]\r\nuser=b\r\ncompany=c\r\n[GAMEDIR]\r\nmaps=m\r\nvalve=v\r\n") << -1
        << 0u;
    QTest::newRow("a later refusal drops the earlier writes")
        << cp1252 << QStringList{u"MISC|user|Jean"_qs, u"MISC|company|Łódź"_qs} << QByteArray()
        << 1 << 0x141u;
    QTest::newRow("8-bit text left reading as UTF-8, no write to blame")
        << QByteArray("[A]\r\nv=\xff\r\nw=\xc3\xa9\r\n") << QStringList{u"A|v|x"_qs}
        << QByteArray() << -1 << 0xFFFDu;
}

void TestProfileFile::batch()
{
    QFETCH(QByteArray, before);
    QFETCH(QStringList, writes);
    QFETCH(QByteArray, after);
    QFETCH(int, refusedWrite);
    QFETCH(uint, refusedCharacter);
    QList<QStringList> parts; // the writes hold views of these names
    SettingWrites batch;
    for (const QString &write : writes)
        parts.append(write.split(u'|'));
    for (const QStringList &w : parts)
        batch.append({SettingKey{w[0], w[1]}, w[2]});
    ProfileFile::Refusal refusal;
    const std::optional<QByteArray> written = ProfileFile::writeAllToBytes(before, batch, &refusal);
    QCOMPARE(written.value_or(QByteArray()), after);
    if (after.isEmpty()) {
        QCOMPARE(refusal.write, qsizetype(refusedWrite));
        QCOMPARE(uint(refusal.character), refusedCharacter);
    }
}

void TestProfileFile::encodings_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QStringList>("reads"); // section|key|value, every key of the file
    QTest::addColumn<QString>("write"); // section|key|value
    QTest::addColumn<QByteArray>("after");

    const QByteArray cp1252 = "[GAMEDIR]\r\nprogram=D:\\Jeux\\\xc9t\xe9\\hl.exe\r\n"
                              "maps=D:\\Jeux\\\xc9t\xe9\\valve\\maps\r\n"
                              "[MISC]\r\nuser=M\xfcller\r\ncompany=\x80uro \x93" "Caf\xe9\x94\r\n"
                              "[\xc9t\xe9]\r\ncl\xe9=1\r\n[\xe9t\xe9]\r\ncl\xe9=2\r\n";
    const QStringList cp1252Reads{u"GAMEDIR|program|D:\\Jeux\\Été\\hl.exe"_qs,
                                  u"gamedir|maps|D:\\Jeux\\Été\\valve\\maps"_qs,
                                  u"MISC|user|Müller"_qs, u"MISC|company|€uro “Café”"_qs,
                                  u"Été|clé|1"_qs, u"été|clé|2"_qs};
    QTest::newRow("Windows-1252, accents in names and values")
        << cp1252 << cp1252Reads << u"MISC|user|Zoé"_qs
        << QByteArray(cp1252).replace("user=M\xfcller", "user=Zo\xe9");
    QTest::newRow("Windows-1252, sections that differ only in accents stay apart")
        << cp1252 << cp1252Reads << u"été|CLé|3"_qs
        << QByteArray(cp1252).replace("\xe9t\xe9]\r\ncl\xe9=2", "\xe9t\xe9]\r\ncl\xe9=3");
    QTest::newRow("Windows-1252, new key in the file's encoding")
        << cp1252 << cp1252Reads << u"MISC|firstuse|côté"_qs
        << QByteArray(cp1252).replace("\x94\r\n", "\x94\r\nfirstuse=c\xf4t\xe9\r\n");

    const QString unicodeText = u"[GAMEDIR]\r\nprogram=C:\\Jeux\\Łódź\\hl.exe\r\n"
                                u"[MISC]\r\nuser=Müller\r\ncompany=東京\r\n"_qs;
    const QStringList unicodeReads{u"GAMEDIR|program|C:\\Jeux\\Łódź\\hl.exe"_qs,
                                   u"MISC|user|Müller"_qs, u"MISC|company|東京"_qs};
    QTest::newRow("UTF-16LE with BOM, replace")
        << utf16(unicodeText) << unicodeReads << u"misc|USER|Żaneta"_qs
        << utf16(QString(unicodeText).replace(u"Müller"_qs, u"Żaneta"_qs));
    QTest::newRow("UTF-16LE with BOM, new key and new section")
        << utf16(unicodeText) << unicodeReads << u"Autre|clé|vàl"_qs
        << utf16(unicodeText + u"[Autre]\r\nclé=vàl\r\n"_qs);
    QTest::newRow("UTF-16LE with an odd last byte: kept last")
        << utf16(unicodeText) + 'x' << unicodeReads << u"MISC|tfc|true"_qs
        << utf16(QString(unicodeText).replace(u"東京\r\n"_qs, u"東京\r\ntfc=true\r\n"_qs)) + 'x';

    const QByteArray bom = "\xef\xbb\xbf[MISC]\r\nuser=M\xc3\xbcller\r\ntfc=true\r\n";
    const QStringList bomReads{u"MISC|user|Müller"_qs, u"MISC|tfc|true"_qs};
    QTest::newRow("UTF-8 with BOM: the first header is a header")
        << bom << bomReads << u"MISC|tfc|false"_qs
        << QByteArray(bom).replace("tfc=true", "tfc=false");
    QTest::newRow("UTF-8 with BOM: no second copy of the first section")
        << bom << bomReads << u"MISC|company|Łuk"_qs
        << QByteArray(bom).append("company=\xc5\x81uk\r\n");

    const QByteArray utf8 = "[MISC]\nuser=Zo\xc3\xa9\n";
    QTest::newRow("UTF-8 without BOM") << utf8 << QStringList{u"MISC|user|Zoé"_qs}
                                       << u"MISC|user|Łukasz"_qs
                                       << QByteArray("[MISC]\nuser=\xc5\x81ukasz\n");

    const QByteArray mixed = "[GAMEDIR]\nprogram=a\r\n[MISC]\rtfc=true\n\nuser=x\r\r\n"
                             "company=c\n\r[END]\r\n";
    const QStringList mixedReads{u"GAMEDIR|program|a"_qs, u"MISC|tfc|true"_qs, u"MISC|user|x"_qs,
                                 u"MISC|company|c"_qs};
    QTest::newRow("mixed line ends, replace")
        << mixed << mixedReads << u"MISC|user|yy"_qs
        << QByteArray(mixed).replace("user=x", "user=yy");
    QTest::newRow("mixed line ends, new key after the section's last line")
        << mixed << mixedReads << u"MISC|firstuse|no"_qs
        << QByteArray(mixed).replace("company=c\n", "company=c\nfirstuse=no\r\n");
    QTest::newRow("mixed line ends, new key after a lone CR")
        << mixed << mixedReads << u"gamedir|maps|m"_qs
        << QByteArray(mixed).replace("program=a\r\n", "program=a\r\nmaps=m\r\n");
}

void TestProfileFile::encodings()
{
    QFETCH(QByteArray, before);
    QFETCH(QStringList, reads);
    QFETCH(QString, write);
    QFETCH(QByteArray, after);
    const QString fallback = u"<default>"_qs;
    for (const QString &read : reads) {
        const QStringList p = read.split(u'|');
        QCOMPARE(ProfileFile::readFromBytes(before, p[0], p[1], fallback), p[2]);
    }

    QTemporaryDir dir;
    const QString path = dir.filePath(u"crvn.ini"_qs);
    QVERIFY(writeAll(path, before));
    const QStringList w = write.split(u'|');
    QString error;
    QVERIFY2(ProfileFile::write(path, w[0], w[1], w[2], &error), qPrintable(error));
    QCOMPARE(readAll(path), after);
    QCOMPARE(ProfileFile::read(path, w[0], w[1], fallback), w[2]);
    // Every other key reads as before.
    for (const QString &read : reads) {
        const QStringList p = read.split(u'|');
        if (p[0].compare(w[0], Qt::CaseInsensitive) || p[1].compare(w[1], Qt::CaseInsensitive))
            QCOMPARE(ProfileFile::read(path, p[0], p[1], fallback), p[2]);
    }
}

void TestProfileFile::characterTheFileCannotHold_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("named"); // the character the refusal names; empty: saved

    const QByteArray cp1252 = "[MISC]\r\nuser=M\xfcller\r\n";
    QTest::newRow("Ł in a Windows-1252 file") << cp1252 << u"Łukasz"_qs << u"« Ł » (U+0141)"_qs;
    QTest::newRow("a Chinese name in a Windows-1252 file") << cp1252 << u"Zoé 東"_qs << u"« 東 »"_qs;
    QTest::newRow("an emoji in a Windows-1252 file") << cp1252 << u"a🎮"_qs << u"U+1F3AE"_qs;
    QTest::newRow("Windows-1252 text that would read back as UTF-8")
        << cp1252 << u"Ã©"_qs << u"« Ã »"_qs;
    QTest::newRow("€ fits Windows-1252") << cp1252 << u"5 €"_qs << QString();
    QTest::newRow("a lone surrogate in a UTF-8 file")
        << QByteArray("[MISC]\r\nuser=Zo\xc3\xa9\r\n") << QString(QChar(0xD800)) << u"U+D800"_qs;
}

void TestProfileFile::characterTheFileCannotHold()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, value);
    QFETCH(QString, named);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"crvn.ini"_qs);
    QVERIFY(writeAll(path, before));
    QString error;
    const bool saved = ProfileFile::write(path, u"MISC", u"user", value, &error);
    if (named.isEmpty()) {
        QVERIFY2(saved, qPrintable(error));
        QCOMPARE(ProfileFile::read(path, u"MISC", u"user", QString()), value);
        return;
    }
    QVERIFY(!saved);
    QVERIFY2(error.contains(named), qPrintable(error));
    QVERIFY2(error.contains(u"crvn.ini"), qPrintable(error));
    QCOMPARE(readAll(path), before);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"crvn.ini"_qs});
}

void TestProfileFile::unchangedValueLeavesFileUntouched()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("crvn.ini"));
    const QByteArray text("[MISC]\n  tfc   =   true\n");
    QVERIFY(writeAll(path, text));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime(QDate(2001, 1, 1), QTime(0, 0)),
                                 QFileDevice::FileModificationTime));
    }
    QVERIFY(ProfileFile::write(path, u"MISC", u"tfc", QStringLiteral("true")));
    QCOMPARE(readAll(path), text);
    QCOMPARE(QFileInfo(path).lastModified().date().year(), 2001);
}

void TestProfileFile::writtenValuesReadBack()
{
    QTemporaryDir dir;
    Settings settings(Settings::fileInDirectory(dir.path()));
    QCOMPARE(settings.read(Keys::program), QStringLiteral("error"));
    const QString accents = QStringLiteral("D:\\Jeux\\Été\\valve\\maps");
    QVERIFY(settings.write(Keys::maps, accents));
    QVERIFY(settings.write(Keys::tfc, QStringLiteral("false")));
    QVERIFY(settings.write(Keys::user, QString()));
    QVERIFY(settings.write(Keys::company, QStringLiteral("  clan")));
    QCOMPARE(settings.read(Keys::maps), accents);
    QCOMPARE(settings.read(SettingKey{u"gamedir", u"maps"}), accents);
    QCOMPARE(settings.read(Keys::tfc), QStringLiteral("false"));
    QCOMPARE(settings.read(Keys::user), QString());
    QCOMPARE(settings.read(Keys::company), QStringLiteral("clan"));
    QCOMPARE(readAll(settings.filePath()),
             QByteArray("[GAMEDIR]\r\nmaps=") + accents.toLocal8Bit()
                 + "\r\n[MISC]\r\ntfc=false\r\nuser=\r\ncompany=clan\r\n");
}

void TestProfileFile::badFilesReadAsFarAsTheyGo()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("crvn.ini"));

    // Binary garbage around a good section.
    QByteArray garbage;
    for (int i = 0; i < 4096; ++i)
        garbage.append(char((i * 7919) % 256));
    QVERIFY(writeAll(path, garbage + "\n[MISC]\ntfc=true\n" + garbage));
    QCOMPARE(ProfileFile::read(path, u"MISC", u"tfc", QStringLiteral("d")), QStringLiteral("true"));

    // Ten megabytes without a single line end.
    QVERIFY(writeAll(path, "[MISC] tfc=true" + QByteArray(10 * 1024 * 1024, 'x')));
    QCOMPARE(ProfileFile::read(path, u"MISC", u"tfc", QStringLiteral("d")), QStringLiteral("d"));
}

void TestProfileFile::writeKeepsEveryOtherByteOfABadFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("crvn.ini"));
    const QByteArray garbage("\x00\xff\xfe[\x01\x02=\x03\r\r\n\x1a", 12);
    const QByteArray text = garbage + "[MISC]\r\ntfc=false\r\n" + garbage;
    QVERIFY(writeAll(path, text));
    QVERIFY(ProfileFile::write(path, u"MISC", u"tfc", QStringLiteral("true")));
    QCOMPARE(readAll(path), garbage + "[MISC]\r\ntfc=true\r\n" + garbage);
}

void TestProfileFile::failedWriteLeavesFileAndReportsFailure()
{
    // A read-only program directory: reads work, writes report failure, the file stays. (A
    // directory where the file should be, which fails for root too, is tst_textfile's.)
    QTemporaryDir dir;
    const QString roDir = dir.filePath(QStringLiteral("ro"));
    QVERIFY(QDir().mkdir(roDir));
    const QString path = QDir(roDir).filePath(QStringLiteral("crvn.ini"));
    QVERIFY(writeAll(path, "[MISC]\r\ntfc=false\r\n"));
    if (const QString why = readOnlyFilesUnavailable(); !why.isEmpty())
        QSKIP(qPrintable(why));
    ReadOnlyFolder readOnly(roDir, {QStringLiteral("crvn.ini")});
    Settings settings(path);
    QCOMPARE(settings.read(Keys::tfc), QStringLiteral("false"));
    QVERIFY(!settings.write(Keys::tfc, QStringLiteral("true")));
    QVERIFY(!settings.errorString().isEmpty());
    QCOMPARE(readAll(path), QByteArray("[MISC]\r\ntfc=false\r\n"));
    QCOMPARE(QDir(roDir).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("crvn.ini")});
}

void TestProfileFile::missingFileAndDirectory()
{
    QTemporaryDir dir;
    const QString missingDir = dir.filePath(QStringLiteral("nowhere/crvn.ini"));
    QCOMPARE(ProfileFile::read(missingDir, u"MISC", u"firstuse", QStringLiteral("error")),
             QStringLiteral("error"));
    QVERIFY(!ProfileFile::write(missingDir, u"MISC", u"firstuse", QStringLiteral("no")));
    QVERIFY(!QFileInfo::exists(missingDir));
}

void TestProfileFile::settingsFileIsJoinedOnce()
{
    QCOMPARE(Settings::fileInDirectory(QStringLiteral("/opt/corvane")),
             QStringLiteral("/opt/corvane/crvn.ini"));
    QCOMPARE(Settings::fileInDirectory(QStringLiteral("/opt/corvane/")),
             QStringLiteral("/opt/corvane/crvn.ini"));
    QCOMPARE(Settings::fileInDirectory(QStringLiteral("/")), QStringLiteral("/crvn.ini"));
}

QTEST_GUILESS_MAIN(TestProfileFile)
#include "tst_profilefile.moc"
