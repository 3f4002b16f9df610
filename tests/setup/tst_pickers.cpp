#include "launcher/windownames.h"
#include "setupprogram.h"

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

// The configuration window with its maps picker opened from it, as a player gets there.
struct FromConfig {
    QWidget *config;
    QWidget *picker;
    QListWidget *rep;
};

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
    void rootIsHandedOverWithItsSeparator();
    void cancelWritesNothingAndReopeningStartsAfresh();
    void escapeCancelsWhereverTheFocusIs_data();
    void escapeCancelsWhereverTheFocusIs();
    void closedTargetGetsNothing();
    void unavailableVolume();

private:
    void layOut(TestProgram &program);
    FromConfig openFromConfig(TestProgram &program);
    QString onVolume(const QString &relative) const { return m_volume.path() + relative; }
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
    QVERIFY(QDir::setCurrent(onVolume(u"/Jeux"_qs)));
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

FromConfig TestPickers::openFromConfig(TestProgram &program)
{
    layOut(program);
    QWidget *config = program.show(WindowName::config);
    click(config, "cmdMaps");
    QWidget *picker = program.window(WindowName::dirMaps);
    return {config, picker, child<QListWidget>(picker, "rep")};
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
    QVERIFY(entry(rep, onVolume(u"/Half-Life"_qs)));
    QVERIFY(entry(rep, onVolume(u"/Jeux"_qs)));
    QCOMPARE(child<QPushButton>(picker, "Command1")->text(), u"OK"_qs);
    QCOMPARE(child<QPushButton>(picker, "Command2")->text(), u"Cancel"_qs);
}

void TestPickers::dirMapsTargetByCaption_data()
{
    QTest::addColumn<QString>("opener");
    QTest::addColumn<QString>("caption"); // empty: the one the opener's button gives
    QTest::addColumn<QString>("filled");
    QTest::newRow("opened from config") << u"config"_qs << QString() << u"config"_qs;
    QTest::newRow("opened from the wizard")
        << u"firstuseconfig"_qs << QString() << u"firstuseconfig"_qs;
    QTest::newRow("own caption fills config") << u"firstuseconfig"_qs << u"Half-Life"_qs
                                              << u"config"_qs;
}

void TestPickers::dirMapsTargetByCaption()
{
    QFETCH(QString, opener);
    QFETCH(QString, caption);
    QFETCH(QString, filled);
    TestProgram program(kConfigured);
    layOut(program);
    // Both windows open at once, so only the caption can tell them apart.
    QWidget *config = program.show(WindowName::config);
    QWidget *wizard = program.show(WindowName::firstUseConfig);
    click(program.window(opener), "cmdMaps");
    QWidget *picker = program.window(WindowName::dirMaps);
    QVERIFY(picker);
    if (!caption.isEmpty())
        picker->setWindowTitle(caption);

    auto *rep = child<QListWidget>(picker, "rep");
    for (const QString &step : {u"/Half-Life"_qs, u"/Half-Life/valve"_qs, u"/Half-Life/valve/maps"_qs})
        open(rep, entry(rep, onVolume(step)));
    click(picker, "Command1");

    QWidget *target = filled == u"config" ? config : wizard;
    QWidget *other = filled == u"config" ? wizard : config;
    QCOMPARE(text(target, "txtMaps"), native(onVolume(u"/Half-Life/valve/maps"_qs)));
    QCOMPARE(text(other, "txtMaps"), u"old maps"_qs);
    QVERIFY(!program.windows().find(WindowName::dirMaps));
    QVERIFY(target->isVisible());
}

void TestPickers::tfcPickersFillTheirWindow()
{
    TestProgram program(kConfigured);
    layOut(program);
    QWidget *config = program.show(WindowName::config);
    QWidget *wizard = program.show(WindowName::firstUseConfig);
    const QString tfc = onVolume(u"/Half-Life/tfc"_qs);

    click(wizard, "cmdTFCMaps");
    QWidget *picker = program.window(WindowName::configTfc);
    auto *rep = child<QListWidget>(picker, "rep");
    open(rep, entry(rep, onVolume(u"/Half-Life"_qs)));
    open(rep, entry(rep, tfc));
    click(picker, "Command1");
    QCOMPARE(text(wizard, "TFCmaps"), native(tfc));
    QCOMPARE(text(config, "TFCmaps"), u"old tfc"_qs);

    click(config, "cmdTFCMaps");
    picker = program.window(WindowName::dirMapsTfc);
    rep = child<QListWidget>(picker, "rep");
    open(rep, entry(rep, onVolume(u"/Jeux"_qs)));
    click(picker, "Command1");
    QCOMPARE(text(config, "TFCmaps"), native(onVolume(u"/Jeux"_qs)));
    QCOMPARE(text(wizard, "TFCmaps"), native(tfc));
}

void TestPickers::handsOverCurrentNotHighlighted()
{
    TestProgram program(kConfigured);
    const FromConfig opened = openFromConfig(program);
    open(opened.rep, entry(opened.rep, onVolume(u"/Half-Life"_qs)));
    opened.rep->setFocus();
    highlight(opened.rep, entry(opened.rep, onVolume(u"/Half-Life/valve"_qs)));
    QTest::keyClick(opened.rep, Qt::Key_Return); // Enter in the list opens, does not hand over
    QVERIFY(program.windows().find(WindowName::dirMaps));
    QCOMPARE(text(opened.config, "txtMaps"), u"old maps"_qs);

    QListWidgetItem *maps = entry(opened.rep, onVolume(u"/Half-Life/valve/maps"_qs));
    highlight(opened.rep, maps);
    QCOMPARE(opened.rep->currentItem(), maps);
    click(opened.picker, "Command1");
    QCOMPARE(text(opened.config, "txtMaps"), native(onVolume(u"/Half-Life/valve"_qs)));
}

void TestPickers::rootIsHandedOverWithItsSeparator()
{
    TestProgram program(kConfigured);
    // A volume whose root is the filesystem's root.
    program.volumes.volumes = {Volume{QDir::rootPath(), QDir::rootPath()}};
    registerSetupWindows(program.context());
    QWidget *config = program.show(WindowName::config);
    click(config, "cmdMaps");
    QTest::keyClick(program.window(WindowName::dirMaps), Qt::Key_Return); // Enter is OK
    QCOMPARE(text(config, "txtMaps"), QDir::toNativeSeparators(QDir::rootPath()));
}

void TestPickers::cancelWritesNothingAndReopeningStartsAfresh()
{
    TestProgram program(kConfigured);
    const FromConfig opened = openFromConfig(program);
    open(opened.rep, entry(opened.rep, onVolume(u"/Jeux"_qs)));
    click(opened.picker, "Command2");
    QCOMPARE(text(opened.config, "txtMaps"), u"old maps"_qs);
    QVERIFY(!program.windows().find(WindowName::dirMaps));

    click(opened.config, "cmdTFCMaps");
    QTest::keyClick(program.window(WindowName::dirMapsTfc), Qt::Key_Escape);
    QCOMPARE(text(opened.config, "TFCmaps"), u"old tfc"_qs);
    QVERIFY(!program.windows().find(WindowName::dirMapsTfc));
    QCOMPARE(program.iniBytes(), kConfigured);

    // Not the folder nor the caption left from before: its own caption, at the volume's root.
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QWidget *picker = program.show(WindowName::dirMaps);
    QCOMPARE(picker->windowTitle(), u"Half-Life"_qs);
    click(picker, "Command1");
    QCOMPARE(text(opened.config, "txtMaps"), native(m_volume.path()));
}

void TestPickers::escapeCancelsWhereverTheFocusIs_data()
{
    QTest::addColumn<QString>("picker");
    QTest::addColumn<QByteArray>("focus");
    QTest::addColumn<QByteArray>("box"); // the configuration window's box it would fill
    for (const char *focus : {"drve", "rep", "Command1", "Command2"}) {
        QTest::addRow("maps picker, focus on %s", focus)
            << WindowName::dirMaps.toString() << QByteArray(focus) << QByteArray("txtMaps");
        QTest::addRow("TFC picker, focus on %s", focus)
            << WindowName::dirMapsTfc.toString() << QByteArray(focus) << QByteArray("TFCmaps");
    }
}

void TestPickers::escapeCancelsWhereverTheFocusIs()
{
    QFETCH(QString, picker);
    QFETCH(QByteArray, focus);
    QFETCH(QByteArray, box);
    TestProgram program(kConfigured);
    layOut(program);
    QWidget *config = program.show(WindowName::config);
    click(config, picker == WindowName::dirMaps ? "cmdMaps" : "cmdTFCMaps");
    QWidget *window = program.window(picker);
    QVERIFY(window);
    // Somewhere else than where it opened, so that handing over would show.
    auto *rep = child<QListWidget>(window, "rep");
    open(rep, entry(rep, onVolume(u"/Half-Life"_qs)));
    QVERIFY(QTest::qWaitForWindowActive(window));
    QWidget *target = child<QWidget>(window, focus.constData());
    target->setFocus();
    QCOMPARE(QApplication::focusWidget(), target);
    const QString before = text(config, box.constData());

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY2(!program.windows().find(picker), "Escape left the picker open");
    QCOMPARE(text(config, box.constData()), before);
    QCOMPARE(program.iniBytes(), kConfigured);
}

void TestPickers::closedTargetGetsNothing()
{
    TestProgram program(kConfigured);
    const FromConfig opened = openFromConfig(program);
    program.windows().unload(WindowName::config);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    click(opened.picker, "Command1");
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
    open(rep, entry(rep, onVolume(u"/Half-Life"_qs)));

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
    QVERIFY(entry(rep, onVolume(u"/Jeux"_qs)));
    QVERIFY(program.windows().find(WindowName::dirMaps));

    // A ready volume opens at its root.
    program.volumes.notReady.clear();
    QTest::keyClick(drve, Qt::Key_Down);
    QCOMPARE(program.messages.shown.size(), 1);
    QCOMPARE(drve->currentIndex(), 1);
    QVERIFY(entry(rep, m_otherVolume.path() + u"/cd"_qs));
}

QTEST_MAIN(TestPickers)
#include "tst_pickers.moc"
