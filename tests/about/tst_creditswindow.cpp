#include "about/creditsscroll.h"
#include "about/creditswindow.h"
#include "about/registration.h"
#include "launcher/windownames.h"
#include "testprogram.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTimer>

namespace {

// One timer tick, without waiting for the timer.
void tick(QTimer *timer, int times = 1)
{
    for (int i = 0; i < times; ++i)
        QVERIFY(QMetaObject::invokeMethod(timer, "timeout"));
}

// The credits shown on their own, with the timer stopped so that the test gives the ticks.
struct Stopped {
    Stopped()
    {
        registerAboutWindows(program.context());
        window = qobject_cast<CreditsWindow *>(program.show(WindowName::credits));
        timer = window->findChild<QTimer *>(QStringLiteral("Timer1"));
        timer->stop();
        pict = child<QLabel>(window, "pict");
        lbl = child<QLabel>(window, "lbl");
        dpiY = window->logicalDpiY();
        pictTwips = pixelsToTwips(pict->height(), dpiY);
    }

    TestProgram program;
    CreditsWindow *window = nullptr;
    QTimer *timer = nullptr;
    QLabel *pict = nullptr;
    QLabel *lbl = nullptr;
    int dpiY = 0;
    double pictTwips = 0;
};

} // namespace

class TestCreditsWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup();
    void laysOutTheCredits();
    void startsBelowThePictureRisesAndWrapsBack();
    void showingAgainKeepsTheScrollGoing();
    void closingStopsTheTimerAndTheNextOpeningStartsOver();
    void escapeClosesIt_data();
    void escapeClosesIt();
};

void TestCreditsWindow::cleanup()
{
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TestCreditsWindow::laysOutTheCredits()
{
    TestProgram program;
    registerAboutWindows(program.context());
    QWidget *window = program.show(WindowName::credits);
    QVERIFY(qobject_cast<CreditsWindow *>(window));
    QCOMPARE(window->windowTitle(), u"L'horrible équipe !");

    const int dpiX = window->logicalDpiX();
    const int dpiY = window->logicalDpiY();
    QCOMPARE(window->size(), QSize(twipsToPixels(5130, dpiX), twipsToPixels(3120, dpiY)));
    auto *pict = child<QLabel>(window, "pict");
    QCOMPARE(pict->geometry(),
             QRect(0, 0, twipsToPixels(5190, dpiX), twipsToPixels(3180, dpiY)));
    QCOMPARE(pict->pixmap().size(), QSize(345, 210));

    auto *txt = child<QPlainTextEdit>(window, "txt");
    QVERIFY(txt && !txt->isVisible());
    QCOMPARE(txt->toPlainText().split(u'\n').size(), 37); // 36 lines, then the last line end

    auto *lbl = child<QLabel>(window, "lbl");
    QCOMPARE(lbl->parentWidget(), pict);
    const QStringList shown = lbl->text().split(u'\n');
    QCOMPARE(shown.size(), 37);
    QCOMPARE(shown.at(1), u"Corvane 2.0 credits");
    QVERIFY(!lbl->text().contains(u'\r'));
    QVERIFY(lbl->font().bold());
    QCOMPARE(lbl->font().pointSize(), 11);
    QCOMPARE(lbl->palette().color(QPalette::WindowText), QColor(Qt::yellow));
    QVERIFY(!lbl->autoFillBackground());
    QVERIFY(lbl->alignment() & Qt::AlignHCenter);
    // Sized to its text, in the horizontal middle of the picture.
    QCOMPARE(lbl->size(), lbl->sizeHint());
    QVERIFY(lbl->height() > pict->height());
    QVERIFY(qAbs(lbl->x() * 2 + lbl->width() - pict->width()) <= 1);

    auto *timer = window->findChild<QTimer *>(QStringLiteral("Timer1"));
    QVERIFY(timer);
    QCOMPARE(timer->interval(), 10);
    QVERIFY(timer->isActive());
}

void TestCreditsWindow::startsBelowThePictureRisesAndWrapsBack()
{
    Stopped s;
    QCOMPARE(s.window->scrollTop(), s.pictTwips);
    QCOMPARE(s.lbl->y(), s.pict->height());
    QVERIFY(s.lbl->y() >= s.window->height()); // not visible on load

    for (int n = 1; n <= 30; ++n) {
        tick(s.timer);
        QCOMPARE(s.window->scrollTop(), s.pictTwips - 27.0 * n);
        QCOMPARE(s.lbl->y(), twipsToPixels(s.pictTwips - 27.0 * n, s.dpiY));
    }
    QVERIFY(s.lbl->y() < s.window->height()); // the first line has entered

    // Ticks until the text is past the top edge, then one more wraps it.
    const double textTwips = pixelsToTwips(s.lbl->height(), s.dpiY);
    int ticks = 30;
    double previous = s.window->scrollTop();
    while (s.window->scrollTop() <= previous && ticks < 100000) {
        previous = s.window->scrollTop();
        tick(s.timer);
        ++ticks;
    }
    QCOMPARE(s.window->scrollTop(), s.pictTwips);
    QVERIFY(previous >= -textTwips);
    QVERIFY(previous - 27.0 < -textTwips);
    QCOMPARE(ticks, static_cast<int>(std::floor((s.pictTwips + textTwips) / 27.0)) + 1);
    QCOMPARE(s.lbl->y(), s.pict->height());
}

void TestCreditsWindow::showingAgainKeepsTheScrollGoing()
{
    Stopped s;
    tick(s.timer, 5);
    const double top = s.window->scrollTop();
    QCOMPARE(s.program.show(WindowName::credits), s.window);
    QCOMPARE(s.window->scrollTop(), top);
}

void TestCreditsWindow::closingStopsTheTimerAndTheNextOpeningStartsOver()
{
    TestProgram program;
    registerAboutWindows(program.context());
    QPointer<CreditsWindow> window = qobject_cast<CreditsWindow *>(program.show(WindowName::credits));
    QPointer<QTimer> timer = window->findChild<QTimer *>(QStringLiteral("Timer1"));
    QVERIFY(QTest::qWaitFor([&] { return window->scrollTop() < 3000.0; }, 2000));
    QVERIFY(timer->isActive());

    window->close();
    QVERIFY(timer && !timer->isActive());
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(window.isNull());
    QVERIFY(!program.window(WindowName::credits));

    auto *again = qobject_cast<CreditsWindow *>(program.show(WindowName::credits));
    QVERIFY(again);
    QCOMPARE(again->scrollTop(),
             pixelsToTwips(child<QLabel>(again, "pict")->height(), again->logicalDpiY()));
}

void TestCreditsWindow::escapeClosesIt_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("closes");
    QTest::newRow("Escape") << int(Qt::Key_Escape) << true;
    QTest::newRow("another key") << int(Qt::Key_Space) << false;
}

void TestCreditsWindow::escapeClosesIt()
{
    QFETCH(int, key);
    QFETCH(bool, closes);
    TestProgram program;
    registerAboutWindows(program.context());
    QPointer<QWidget> window = program.show(WindowName::credits);
    QVERIFY(QTest::qWaitForWindowActive(window));
    QPointer<QTimer> timer = window->findChild<QTimer *>(QStringLiteral("Timer1"));
    QTest::keyClick(window, Qt::Key(key));
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(window.isNull(), closes);
    QCOMPARE(program.window(WindowName::credits) == nullptr, closes);
    if (!closes)
        QVERIFY(timer->isActive());
}

QTEST_MAIN(TestCreditsWindow)
#include "tst_creditswindow.moc"
