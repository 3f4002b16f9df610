#include "app/corvane.h"
#include "app/terminal.h"

#include <QTest>

// `corvane --help` and `--version` answer on the terminal; every other command line starts the
// program, which ignores its arguments.
class TestTerminal : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { setApplicationIdentity(); }
    void answers_data();
    void answers();
};

void TestTerminal::answers_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("answer"); // a line the answer holds; empty: no answer
    QTest::newRow("--version") << QStringList{"corvane", "--version"} << "Corvane 2.0\n";
    QTest::newRow("-v") << QStringList{"corvane", "-v"} << "Corvane 2.0\n";
    QTest::newRow("--help") << QStringList{"corvane", "--help"} << "-v, --version";
    QTest::newRow("-h") << QStringList{"corvane", "-h"} << "-h, --help";
    QTest::newRow("help after an unknown option") << QStringList{"corvane", "--fullscreen", "--help"} << "--help";
    QTest::newRow("no arguments") << QStringList{"corvane"} << "";
    QTest::newRow("game switches") << QStringList{"corvane", "+map", "crossfire", "-game", "tfc"} << "";
    QTest::newRow("unknown option") << QStringList{"corvane", "--verbose"} << "";
    QTest::newRow("help as a plain word") << QStringList{"corvane", "help"} << "";
}

void TestTerminal::answers()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, answer);
    const std::optional<QString> printed = terminalAnswer(arguments);
    if (answer.isEmpty()) {
        QVERIFY2(!printed, qPrintable(printed.value_or(QString())));
        return;
    }
    QVERIFY(printed);
    QVERIFY2(printed->contains(answer), qPrintable(*printed));
}

QTEST_GUILESS_MAIN(TestTerminal)
#include "tst_terminal.moc"
