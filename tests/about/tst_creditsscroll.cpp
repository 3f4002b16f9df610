#include "about/creditsscroll.h"
#include "about/creditstext.h"

#include <QRegularExpression>
#include <QTest>

class TestCreditsScroll : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startsBelowThePictureAndRisesBy27TwipsAStep();
    void wrapsOnlyBelowMinusTheHeight_data();
    void wrapsOnlyBelowMinusTheHeight();
    void loopsForever();
    void convertsAtTheScreenResolution_data();
    void convertsAtTheScreenResolution();
    void textHasItsThirtySixLines();
    void textNamesOnlyInventedAddresses();
};

void TestCreditsScroll::startsBelowThePictureAndRisesBy27TwipsAStep()
{
    CreditsScroll scroll(8640, 3180);
    QCOMPARE(scroll.top(), 3180.0);
    for (int tick = 1; tick <= 200; ++tick) {
        QVERIFY(!scroll.step());
        QCOMPARE(scroll.top(), 3180.0 - 27.0 * tick);
    }
    scroll.restart();
    QCOMPARE(scroll.top(), 3180.0);
}

void TestCreditsScroll::wrapsOnlyBelowMinusTheHeight_data()
{
    QTest::addColumn<double>("before");
    QTest::addColumn<bool>("wraps");
    QTest::addColumn<double>("after");

    // Text 1000 twips high, picture 3180.
    QTest::newRow("lands exactly on minus the height") << -973.0 << false << -1000.0;
    QTest::newRow("lands just above") << -972.5 << false << -999.5;
    QTest::newRow("lands half a twip below") << -973.5 << true << 3180.0;
    QTest::newRow("from exactly minus the height") << -1000.0 << true << 3180.0;
    QTest::newRow("far above") << 0.0 << false << -27.0;
}

void TestCreditsScroll::wrapsOnlyBelowMinusTheHeight()
{
    QFETCH(double, before);
    QFETCH(bool, wraps);
    QFETCH(double, after);

    CreditsScroll scroll(1000, 3180);
    scroll.setTop(before);
    QCOMPARE(scroll.step(), wraps);
    QCOMPARE(scroll.top(), after);
}

void TestCreditsScroll::loopsForever()
{
    // 1000 + 3180 = 4180 twips of travel: after 155 steps the top is at -1005 < -1000.
    CreditsScroll scroll(1000, 3180);
    int wrappedAt = 0;
    for (int tick = 1; tick <= 400 && wrappedAt == 0; ++tick) {
        if (scroll.step())
            wrappedAt = tick;
    }
    QCOMPARE(wrappedAt, 155);
    QCOMPARE(scroll.top(), 3180.0);
    QVERIFY(!scroll.step());
    QCOMPARE(scroll.top(), 3153.0);
}

void TestCreditsScroll::convertsAtTheScreenResolution_data()
{
    QTest::addColumn<double>("twips");
    QTest::addColumn<int>("dpi");
    QTest::addColumn<int>("pixels");

    QTest::newRow("15 twips at 96 dpi") << 15.0 << 96 << 1;
    QTest::newRow("one step at 96 dpi") << 27.0 << 96 << 2;
    QTest::newRow("picture height at 96 dpi") << 3180.0 << 96 << 212;
    QTest::newRow("an inch at 120 dpi") << 1440.0 << 120 << 120;
    QTest::newRow("negative") << -3000.0 << 96 << -200;
    QTest::newRow("visible width at 144 dpi") << 5130.0 << 144 << 513;
}

void TestCreditsScroll::convertsAtTheScreenResolution()
{
    QFETCH(double, twips);
    QFETCH(int, dpi);
    QFETCH(int, pixels);
    QCOMPARE(twipsToPixels(twips, dpi), pixels);
    if (qFuzzyCompare(pixels * 1440.0 / dpi, twips))
        QCOMPARE(pixelsToTwips(pixels, dpi), twips);
}

void TestCreditsScroll::textHasItsThirtySixLines()
{
    const QString text = creditsText();
    QVERIFY(text.endsWith(u"\r\n"));
    QStringList lines = text.split(QStringLiteral("\r\n"));
    QCOMPARE(lines.takeLast(), QString()); // after the last CR LF
    QCOMPARE(lines.size(), 36);
    QVERIFY(!text.contains(QRegularExpression(QStringLiteral("\r(?!\n)|(?<!\r)\n"))));

    QCOMPARE(lines.at(0), QString(36, u'='));
    QCOMPARE(lines.at(1), u"Corvane 2.0 credits");
    QCOMPARE(lines.at(2), QString(36, u'='));
    QCOMPARE(lines.at(5), u"PROGRAMMEURS");
    for (int nick : {7, 9, 11, 13}) {
        QVERIFY2(!lines.at(nick).isEmpty(), qPrintable(QString::number(nick)));
        QVERIFY(lines.at(nick + 1).isEmpty());
    }
    QCOMPARE(lines.at(16), u"DIVERS");
    const QStringList roles{QStringLiteral("Project leader"), QStringLiteral("English site"),
                            QStringLiteral("French site"), QStringLiteral("2D Artist"),
                            QStringLiteral("Generic")};
    for (int i = 0; i < roles.size(); ++i)
        QVERIFY2(lines.at(18 + i).startsWith(roles.at(i) + QLatin1String(" : ")), qPrintable(lines.at(18 + i)));
    QCOMPARE(lines.at(24), u"SITES OFFICIELS");
    QVERIFY(!lines.at(26).endsWith(u" (Français)"));
    QVERIFY(lines.at(27).endsWith(u" (Français)"));
    QVERIFY(lines.at(28).endsWith(u" (Français)"));
    QCOMPARE(lines.at(32), QString(42, u'='));
    QCOMPARE(lines.at(33), u"Pour tout bugs, contacter");
    QVERIFY(lines.at(34).contains(u'@'));
    QCOMPARE(lines.at(35), QString(42, u'='));

    const QList<int> empty{3, 4, 6, 8, 10, 12, 14, 15, 17, 23, 25, 29, 30, 31};
    for (int i : empty)
        QVERIFY2(lines.at(i).isEmpty(), qPrintable(QString::number(i)));
}

void TestCreditsScroll::textNamesOnlyInventedAddresses()
{
    const QRegularExpression address(QStringLiteral("(https?://\\S+|\\S+@\\S+)"));
    int found = 0;
    for (auto it = address.globalMatch(creditsText()); it.hasNext();) {
        const QString match = it.next().captured(1);
        ++found;
        QVERIFY2(match.contains(QLatin1String("example.org")), qPrintable(match));
    }
    QCOMPARE(found, 4);
}

QTEST_APPLESS_MAIN(TestCreditsScroll)
#include "tst_creditsscroll.moc"
