#include "connect/connectcommand.h"

#include <QTest>

class TestConnectCommand : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void composes_data();
    void composes();
};

void TestConnectCommand::composes_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("command");

    QTest::newRow("address and initial port")
        << u"C:\\Jeux\\Half-Life\\hl.exe"_qs << u"192.0.2.1"_qs << u"27015"_qs
        << u"C:\\Jeux\\Half-Life\\hl.exe -console +connect 192.0.2.1:27015"_qs;
    QTest::newRow("empty address")
        << u"C:\\Jeux\\Half-Life\\hl.exe"_qs << QString() << u"27015"_qs
        << u"C:\\Jeux\\Half-Life\\hl.exe -console +connect :27015"_qs;
    QTest::newRow("blanks around the address are kept")
        << u"C:\\hl.exe"_qs << u"  192.0.2.1 "_qs << u"27015"_qs
        << u"C:\\hl.exe -console +connect   192.0.2.1 :27015"_qs;
    QTest::newRow("empty port") << u"C:\\hl.exe"_qs << u"192.0.2.1"_qs << QString()
                                << u"C:\\hl.exe -console +connect 192.0.2.1:"_qs;
    QTest::newRow("port that is not a number")
        << u"C:\\hl.exe"_qs << u"srv.example.org"_qs << u"abc"_qs
        << u"C:\\hl.exe -console +connect srv.example.org:abc"_qs;
    QTest::newRow("missing program key") << u"error"_qs << u"192.0.2.1"_qs << u"27015"_qs
                                         << u"error -console +connect 192.0.2.1:27015"_qs;
    QTest::newRow("path with blanks stays unquoted")
        << u"C:\\Program Files\\Valve\\hl.exe"_qs << u"192.0.2.7"_qs << u"27016"_qs
        << u"C:\\Program Files\\Valve\\hl.exe -console +connect 192.0.2.7:27016"_qs;
}

void TestConnectCommand::composes()
{
    QFETCH(QString, program);
    QFETCH(QString, address);
    QFETCH(QString, port);
    QFETCH(QString, command);
    QCOMPARE(connectCommand(program, address, port), command);
}

QTEST_APPLESS_MAIN(TestConnectCommand)
#include "tst_connectcommand.moc"
