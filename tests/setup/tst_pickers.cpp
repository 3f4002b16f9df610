#include "launcher/windownames.h"
#include "setup/registration.h"
#include "testprogram.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace {

const QByteArray kConfigured = "[MISC]\r\nfirstuse=no\r\ntfc=true\r\n[GAMEDIR]\r\n"
                               "program=C:\\HL\\hl.exe\r\nmaps=old maps\r\ntfcmaps=old tfc\r\n";

QString native(const QString &path)
{
    return QDir::toNativeSeparators(QDir::cleanPath(path));
}

// The directory list's entry for a path (entries carry their full path).
QListWidgetItem *entry(QListWidget *list, const QString &path)
{
    for (int i = 0; i < list->count(); ++i) {
        if (QDir::cleanPath(list->item(i)->data(Qt::UserRole).toString()) == QDir::cleanPath(path))
            return list->item(i);
    }
    qWarning("no entry for %s", qPrintable(path));
    return nullptr;
}

void highlight(QListWidget *list, QListWidgetItem *item)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

// A player's double click: press and release, then the double-click press and its release.
void open(QListWidget *list, QListWidgetItem *item)
{
    const QPoint at = list->visualItemRect(item).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
}

} // namespace

// The pickers on a fake volume laid out in a temporary directory, which is also the process's
// current directory, so that each picker starts at that volume's root.
class TestPickers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void startsAtRootOfCurrentVolume();
    void dirMapsTargetByCaption_data();
    void dirMapsTargetByCaption();
    void tfcPickersFillTheirWindow();
    void handsOverCurrentNotHighlighted();
    void enterOpensInTheList();
    void rootIsHandedOverWithItsSeparator();
    void cancelWritesNothing();
    void closedTargetGetsNothing();
    void unavailableVolume();
    void reopeningStartsAfresh();

private:
    void layOut(TestProgram &program);
    QString m_savedCurrent;
    QTemporaryDir m_volume;
    QTemporaryDir m_otherVolume;
};

void TestPickers::initTestCase()
{
    QVERIFY(m_volume.isValid());
    QVERIFY(QDir(m_volume.path()).mkpath(u"Half-Life/valve/maps"_qs));
    QVERIFY(QDir(m_volume.path()).mkpath(u"Half-Life/tfc/maps"_qs));
    QVERIFY(QDir(m_volume.path()).mkpath(u"Jeux"_qs));
    QVERIFY(QDir(m_otherVolume.path()).mkpath(u"cd"_qs));
    m_savedCurrent = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_volume.path() + u"/Jeux"_qs));
}

void TestPickers::cleanupTestCase()
{
    QDir::setCurrent(m_savedCurrent);
}

void TestPickers::layOut(TestProgram &program)
{
    program.volumes.volumes = {Volume{m_volume.path(), m_volume.path()},
                               Volume{u"/media/cdrom"_qs, m_otherVolume.path()}};
    registerSetupWindows(program.context());
}

void TestPickers::startsAtRootOfCurrentVolume()
{
    TestProgram program(kConfigured);
    layOut(program);
    QWidget *picker = program.show(WindowName::dirMaps);
    QCOMPARE(picker->windowTitle(), u"Half-Life"_qs);
    auto *drve = child<QComboBox>(picker, "drve");
    QCOMPARE(drve->count(), 2);
    QCOMPARE(drve->currentText(), m_volume.path());
    auto *rep = child<QListWidget>(picker, "rep");
    QVERIFY(entry(rep, m_volume.path() + u"/Half-Life"_qs));
    QVERIFY(entry(rep, m_volume.path() + u"/Jeux"_qs));
    QCOMPARE(child<QPushButton>(picker, "Command1")->text(), u"OK"_qs);
    QCOMPARE(child<QPushButton>(picker, "Command2")->text(), u"Cancel"_qs);
}

void TestPickers::dirMapsTargetByCaption_data()
{
    QTest::addColumn<QString>("opener");
    QTest::addColumn<QString>("caption"); // empty: the opener's button sets it
    QTest::addColumn<QString>("filled");
    QTest::addColumn<QString>("expectedCaption");
    QTest::newRow("opened from config") << u"config"_qs << QString() << u"config"_qs
                                        << u"Where are your Half-Life maps ?"_qs;
    QTest::newRow("opened from the wizard")
        << u"firstuseconfig"_qs << QString() << u"firstuseconfig"_qs
        << u"Première configuration - Répertoire des cartes"_qs;
    QTest::newRow("own caption fills config") << u"firstuseconfig"_qs << u"Half-Life"_qs
                                              << u"config"_qs << u"Half-Life"_qs;
}

void TestPickers::dirMapsTargetByCaption()
{
    QFETCH(QString, opener);
    QFETCH(QString, caption);
    QFETCH(QString, filled);
    QFETCH(QString, expectedCaption);
    TestProgram program(kConfigured);
    layOut(program);
    // Both windows open at once, so only the caption can tell them apart.
    QWidget *config = program.show(WindowName::config);
    QWidget *wizard = program.show(WindowName::firstUseConfig);
    QTest::mouseClick(child<QPushButton>(program.window(opener), "cmdMaps"), Qt::LeftButton);
    QWidget *picker = program.window(WindowName::dirMaps);
    QVERIFY(picker);
    if (!caption.isEmpty())
        picker->setWindowTitle(caption);
    QCOMPARE(picker->windowTitle(), expectedCaption);

    auto *rep = child<QListWidget>(picker, "rep");
    open(rep, entry(rep, m_volume.path() + u"/Half-Life"_qs));
    open(rep, entry(rep, m_volume.path() + u"/Half-Life/valve"_qs));
    open(rep, entry(rep, m_volume.path() + u"/Half-Life/valve/maps"_qs));
    QTest::mouseClick(child<QPushButton>(picker, "Command1"), Qt::LeftButton);

    const QString chosen = native(m_volume.path() + u"/Half-Life/valve/maps"_qs);
    QWidget *target = filled == u"config" ? config : wizard;
    QWidget *other = filled == u"config" ? wizard : config;
    QCOMPARE(child<QLineEdit>(target, "txtMaps")->text(), chosen);
    QCOMPARE(child<QLineEdit>(other, "txtMaps")->text(), u"old maps"_qs);
    QVERIFY(!program.windows().find(WindowName::dirMaps));
    QVERIFY(target->isVisible());
}

void TestPickers::tfcPickersFillTheirWindow()
{
    TestProgram program(kConfigured);
    layOut(program);
    QWidget *config = program.show(WindowName::config);
    QWidget *wizard = program.show(WindowName::firstUseConfig);
    const QString tfc = m_volume.path() + u"/Half-Life/tfc"_qs;

    QTest::mouseClick(child<QPushButton>(wizard, "cmdTFCMaps"), Qt::LeftButton);
    QWidget *picker = program.window(WindowName::configTfc);
    QCOMPARE(picker->windowTitle(), u"Première configuration - Répertoire cartes TFC"_qs);
    auto *rep = child<QListWidget>(picker, "rep");
    open(rep, entry(rep, m_volume.path() + u"/Half-Life"_qs));
    open(rep, entry(rep, tfc));
    QTest::mouseClick(child<QPushButton>(picker, "Command1"), Qt::LeftButton);
    QCOMPARE(child<QLineEdit>(wizard, "TFCmaps")->text(), native(tfc));
    QCOMPARE(child<QLineEdit>(config, "TFCmaps")->text(), u"old tfc"_qs);

    QTest::mouseClick(child<QPushButton>(config, "cmdTFCMaps"), Qt::LeftButton);
    picker = program.window(WindowName::dirMapsTfc);
    rep = child<QListWidget>(picker, "rep");
    open(rep, entry(rep, m_volume.path() + u"/Jeux"_qs));
    QTest::mouseClick(child<QPushButton>(picker, "Command1"), Qt::LeftButton);
    QCOMPARE(child<QLineEdit>(config, "TFCmaps")->text(), native(m_volume.path() + u"/Jeux"_qs));
    QCOMPARE(child<QLineEdit>(wizard, "TFCmaps")->text(), native(tfc));
}

void TestPickers::handsOverCurrentNotHighlighted()
{
    TestProgram program(kConfigured);
    layOut(program);
    QWidget *config = program.show(WindowName::config);
    QTest::mouseClick(child<QPushButton>(config, "cmdMaps"), Qt::LeftButton);
    QWidget *picker = program.window(WindowName::dirMaps);
    auto *rep = child<QListWidget>(picker, "rep");
    open(rep, entry(rep, m_volume.path() + u"/Half-Life"_qs));
    QListWidgetItem *valve = entry(rep, m_volume.path() + u"/Half-Life/valve"_qs);
    highlight(rep, valve);
    QCOMPARE(rep->currentItem(), valve);
    QTest::mouseClick(child<QPushButton>(picker, "Command1"), Qt::LeftButton);
    QCOMPARE(child<QLineEdit>(config, "txtMaps")->text(),
             native(m_volume.path() + u"/Half-Life"_qs));
}

void TestPickers::enterOpensInTheList()
{
    TestProgram program(kConfigured);
    layOut(program);
    QWidget *config = program.show(WindowName::config);
    QTest::mouseClick(child<QPushButton>(config, "cmdMaps"), Qt::LeftButton);
    QWidget *picker = program.window(WindowName::dirMaps);
    auto *rep = child<QListWidget>(picker, "rep");
    rep->setFocus();
    highlight(rep, entry(rep, m_volume.path() + u"/Jeux"_qs));
    QTest::keyClick(rep, Qt::Key_Return); // opens, does not hand over
    QVERIFY(program.windows().find(WindowName::dirMaps));
    QCOMPARE(child<QLineEdit>(config, "txtMaps")->text(), u"old maps"_qs);
    QTest::mouseClick(child<QPushButton>(picker, "Command1"), Qt::LeftButton);
    QCOMPARE(child<QLineEdit>(config, "txtMaps")->text(), native(m_volume.path() + u"/Jeux"_qs));
}

void TestPickers::rootIsHandedOverWithItsSeparator()
{
    TestProgram program(kConfigured);
    // A volume whose root is the filesystem's root.
    program.volumes.volumes = {Volume{QDir::rootPath(), QDir::rootPath()}};
    registerSetupWindows(program.context());
    QWidget *config = program.show(WindowName::config);
    QTest::mouseClick(child<QPushButton>(config, "cmdMaps"), Qt::LeftButton);
    QWidget *picker = program.window(WindowName::dirMaps);
    QTest::keyClick(picker, Qt::Key_Return); // Enter is OK
    QCOMPARE(child<QLineEdit>(config, "txtMaps")->text(), QDir::toNativeSeparators(QDir::rootPath()));
}

void TestPickers::cancelWritesNothing()
{
    TestProgram program(kConfigured);
    layOut(program);
    QWidget *config = program.show(WindowName::config);
    QTest::mouseClick(child<QPushButton>(config, "cmdMaps"), Qt::LeftButton);
    QWidget *picker = program.window(WindowName::dirMaps);
    auto *rep = child<QListWidget>(picker, "rep");
    open(rep, entry(rep, m_volume.path() + u"/Jeux"_qs));
    QTest::mouseClick(child<QPushButton>(picker, "Command2"), Qt::LeftButton);
    QCOMPARE(child<QLineEdit>(config, "txtMaps")->text(), u"old maps"_qs);
    QVERIFY(!program.windows().find(WindowName::dirMaps));

    QTest::mouseClick(child<QPushButton>(config, "cmdTFCMaps"), Qt::LeftButton);
    QTest::keyClick(program.window(WindowName::dirMapsTfc), Qt::Key_Escape);
    QCOMPARE(child<QLineEdit>(config, "TFCmaps")->text(), u"old tfc"_qs);
    QVERIFY(!program.windows().find(WindowName::dirMapsTfc));
    QCOMPARE(program.iniBytes(), kConfigured);
}

void TestPickers::closedTargetGetsNothing()
{
    TestProgram program(kConfigured);
    layOut(program);
    QWidget *config = program.show(WindowName::config);
    QTest::mouseClick(child<QPushButton>(config, "cmdMaps"), Qt::LeftButton);
    QWidget *picker = program.window(WindowName::dirMaps);
    program.windows().unload(WindowName::config);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QTest::mouseClick(child<QPushButton>(picker, "Command1"), Qt::LeftButton);
    QVERIFY(!program.windows().find(WindowName::dirMaps));
    QVERIFY(program.messages.shown.isEmpty());
    QCOMPARE(program.iniBytes(), kConfigured);
}

void TestPickers::unavailableVolume()
{
    TestProgram program(kConfigured);
    layOut(program);
    program.volumes.notReady.insert(m_otherVolume.path());
    QWidget *picker = program.show(WindowName::dirMaps);
    auto *drve = child<QComboBox>(picker, "drve");
    auto *rep = child<QListWidget>(picker, "rep");
    open(rep, entry(rep, m_volume.path() + u"/Half-Life"_qs));

    QTest::keyClick(drve, Qt::Key_Down);
    QCOMPARE(program.messages.shown.size(), 1);
    const Message &message = program.messages.shown[0];
    QCOMPARE(message.title, u"Lecteur /media/cdrom"_qs);
    QCOMPARE(message.text, u"/media/cdrom\\ n'est pas accessible.\r\n\r\n"
                           "Le périphérique n'est pas prêt."_qs);
    QCOMPARE(message.icon, MessageIcon::Critical);
    QCOMPARE(message.buttons, MessageButtons::Ok);
    QVERIFY(message.systemModal);
    // Back on the previous volume, its root in the directory list; the picker stays open.
    QCOMPARE(drve->currentIndex(), 0);
    QVERIFY(entry(rep, m_volume.path() + u"/Jeux"_qs));
    QVERIFY(program.windows().find(WindowName::dirMaps));

    // A ready volume opens at its root.
    program.volumes.notReady.clear();
    QTest::keyClick(drve, Qt::Key_Down);
    QCOMPARE(program.messages.shown.size(), 1);
    QCOMPARE(drve->currentIndex(), 1);
    QVERIFY(entry(rep, m_otherVolume.path() + u"/cd"_qs));
}

void TestPickers::reopeningStartsAfresh()
{
    TestProgram program(kConfigured);
    layOut(program);
    QWidget *config = program.show(WindowName::config);
    QTest::mouseClick(child<QPushButton>(config, "cmdMaps"), Qt::LeftButton);
    QWidget *picker = program.window(WindowName::dirMaps);
    auto *rep = child<QListWidget>(picker, "rep");
    open(rep, entry(rep, m_volume.path() + u"/Jeux"_qs));
    QTest::mouseClick(child<QPushButton>(picker, "Command2"), Qt::LeftButton);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    picker = program.show(WindowName::dirMaps);
    QCOMPARE(picker->windowTitle(), u"Half-Life"_qs);
    QTest::mouseClick(child<QPushButton>(picker, "Command1"), Qt::LeftButton);
    QCOMPARE(child<QLineEdit>(config, "txtMaps")->text(), native(m_volume.path()));
}

QTEST_MAIN(TestPickers)
#include "tst_pickers.moc"
