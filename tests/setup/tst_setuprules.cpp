#include "launcher/windownames.h"
#include "setup/setuprules.h"

#include <QDir>
#include <QTest>

using namespace SetupRules;

namespace {

// "SECTION/key=value" lines, for comparing write lists in one go.
QStringList lines(const SettingWrites &writes)
{
    QStringList result;
    for (const SettingWrite &write : writes)
        result.append(QStringLiteral("%1/%2=%3")
                          .arg(write.key.section.toString(), write.key.name.toString(),
                               write.value));
    return result;
}

} // namespace

class TestSetupRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void derivedKeys_data();
    void derivedKeys();
    void filter_data();
    void filter();
    void pickerTargets_data();
    void pickerTargets();
    void unavailableVolume_data();
    void unavailableVolume();
    void handedOver_data();
    void handedOver();
};

void TestSetupRules::derivedKeys_data()
{
    QTest::addColumn<QString>("maps");
    QTest::addColumn<QString>("tfcMaps");
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("expected"); // in '/' separators; compared in native ones

    // The folder above each maps folder and the program's folder, each with its separator.
    QTest::newRow("an ordinary install")
        << u"/jeux/Half-Life/valve/maps"_qs << u"/jeux/Half-Life/tfc/maps"_qs
        << u"/jeux/Half-Life/hl_linux"_qs
        << QStringList{u"GAMEDIR/valve=/jeux/Half-Life/valve/"_qs,
                       u"GAMEDIR/tfcdir=/jeux/Half-Life/tfc/"_qs,
                       u"GAMEDIR/dds=/jeux/Half-Life/"_qs, u"MISC/firstuse=no"_qs};
    QTest::newRow("a maps folder named cartes, a program not named hl.exe")
        << u"/jeux/valve/cartes"_qs << u"/jeux/tfc/cartes tfc"_qs << u"/jeux/hl.sh"_qs
        << QStringList{u"GAMEDIR/valve=/jeux/valve/"_qs, u"GAMEDIR/tfcdir=/jeux/tfc/"_qs,
                       u"GAMEDIR/dds=/jeux/"_qs, u"MISC/firstuse=no"_qs};
    QTest::newRow("trailing separators") << u"/jeux/valve/maps/"_qs << u"/jeux/tfc/maps//"_qs
                                         << u"/jeux/hl"_qs
                                         << QStringList{u"GAMEDIR/valve=/jeux/valve/"_qs,
                                                        u"GAMEDIR/tfcdir=/jeux/tfc/"_qs,
                                                        u"GAMEDIR/dds=/jeux/"_qs,
                                                        u"MISC/firstuse=no"_qs};
    QTest::newRow("tfcmaps never written: error derives nothing")
        << u"/jeux/valve/maps"_qs << u"error"_qs << u"/jeux/hl"_qs
        << QStringList{u"GAMEDIR/valve=/jeux/valve/"_qs, u"GAMEDIR/tfcdir="_qs,
                       u"GAMEDIR/dds=/jeux/"_qs, u"MISC/firstuse=no"_qs};
    QTest::newRow("relative texts derive nothing")
        << u"maps"_qs << u"valve/maps"_qs << u"hl.exe"_qs
        << QStringList{u"GAMEDIR/valve="_qs, u"GAMEDIR/tfcdir="_qs, u"GAMEDIR/dds="_qs,
                       u"MISC/firstuse=no"_qs};
    QTest::newRow("a root has no parent; a folder at the root has the root")
        << u"/"_qs << QString() << u"/hl"_qs
        << QStringList{u"GAMEDIR/valve="_qs, u"GAMEDIR/tfcdir="_qs, u"GAMEDIR/dds=/"_qs,
                       u"MISC/firstuse=no"_qs};
}

void TestSetupRules::derivedKeys()
{
    QFETCH(QString, maps);
    QFETCH(QString, tfcMaps);
    QFETCH(QString, program);
    QFETCH(QStringList, expected);
    for (QString &line : expected) {
        const qsizetype value = line.indexOf(u'=') + 1;
        line = line.left(value) + QDir::toNativeSeparators(line.mid(value));
    }
    QCOMPARE(lines(finishWrites(maps, tfcMaps, program)), expected);
    // The configuration window's Ok derives the same three after its own four.
    const ConfigValues values{true, program, maps, tfcMaps};
    QCOMPARE(lines(configWindowWrites(values)).mid(4), expected.mid(0, 3));
}

void TestSetupRules::filter_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("extra");
    QTest::addColumn<QString>("expected");
    QTest::newRow("as it stands") << SetupText::executableFilterText.toString() << QStringList()
                                  << u"Exécutable Half-Life (hl.exe) (hl.exe)"_qs;
    QTest::newRow("with start scripts")
        << SetupText::executableFilterText.toString()
        << QStringList{u"hl.sh"_qs, u"hl_linux"_qs}
        << u"Exécutable Half-Life (hl.exe) (hl.exe hl.sh hl_linux)"_qs;
    QTest::newRow("two entries, patterns by semicolon")
        << u"Cartes|*.bsp;*.BSP|Tout|*.*"_qs << QStringList()
        << u"Cartes (*.bsp *.BSP);;Tout (*.*)"_qs;
}

void TestSetupRules::filter()
{
    QFETCH(QString, text);
    QFETCH(QStringList, extra);
    QFETCH(QString, expected);
    QCOMPARE(dialogFilter(text, extra), expected);
}

void TestSetupRules::pickerTargets_data()
{
    QTest::addColumn<QString>("picker");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");
    QTest::newRow("DirMaps from the wizard") << u"DirMaps"_qs
                                             << u"Première configuration - Répertoire des cartes"_qs
                                             << u"firstuseconfig"_qs << u"txtMaps"_qs;
    QTest::newRow("DirMaps from config") << u"DirMaps"_qs << u"Where are your Half-Life maps ?"_qs
                                         << u"config"_qs << u"txtMaps"_qs;
    QTest::newRow("DirMaps, own caption") << u"DirMaps"_qs << u"Half-Life"_qs << u"config"_qs
                                          << u"txtMaps"_qs;
    QTest::newRow("DirMaps, other letter case")
        << u"DirMaps"_qs << u"première configuration - répertoire des cartes"_qs << u"config"_qs
        << u"txtMaps"_qs;
    QTest::newRow("DirMapsTFC") << u"DirMapsTFC"_qs << u"Half-Life"_qs << u"config"_qs
                                << u"TFCmaps"_qs;
    QTest::newRow("configtfc") << u"configtfc"_qs
                               << u"Première configuration - Répertoire cartes TFC"_qs
                               << u"firstuseconfig"_qs << u"TFCmaps"_qs;
}

void TestSetupRules::pickerTargets()
{
    QFETCH(QString, picker);
    QFETCH(QString, caption);
    QFETCH(QString, window);
    QFETCH(QString, control);
    const PickerTarget target = pickerTarget(picker, caption);
    QCOMPARE(target.window.toString(), window);
    QCOMPARE(target.control.toString(), control);
}

void TestSetupRules::unavailableVolume_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::newRow("drive a:") << u"a: [disquette]"_qs << u"Lecteur A:"_qs
                              << u"A:\\ n'est pas accessible.\r\n\r\nLe périphérique n'est pas prêt."_qs;
    QTest::newRow("mount point") << u"/media/cdrom"_qs << u"Lecteur /media/cdrom"_qs
                                 << u"/media/cdrom\\ n'est pas accessible.\r\n\r\n"
                                    "Le périphérique n'est pas prêt."_qs;
}

void TestSetupRules::unavailableVolume()
{
    QFETCH(QString, name);
    QFETCH(QString, title);
    QFETCH(QString, text);
    QCOMPARE(unavailableVolumeTitle(name), title);
    QCOMPARE(unavailableVolumeText(name), text);
}

void TestSetupRules::handedOver_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");
    QTest::newRow("trailing separator dropped") << u"/jeux/valve/maps/"_qs
                                                << QDir::toNativeSeparators(u"/jeux/valve/maps"_qs);
    QTest::newRow("root keeps its separator") << u"/"_qs << QDir::toNativeSeparators(u"/"_qs);
}

void TestSetupRules::handedOver()
{
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QCOMPARE(handedOverDirectory(path), expected);
}

QTEST_GUILESS_MAIN(TestSetupRules)
#include "tst_setuprules.moc"
