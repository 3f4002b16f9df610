#include "app/corvane.h"
#include "platform/qtplatform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

class TestQtPlatform : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { installFrenchTranslation(*qApp); }
    void cleanup()
    {
        while (QWidget *modal = QApplication::activeModalWidget())
            modal->close();
    }
    void realMessageBoxSpeaksFrenchAndWaits();
    void messageBoxKeepsItsOwnTitle();
    void questionAnswersOuiOrNon_data();
    void questionAnswersOuiOrNon();
};

void TestQtPlatform::realMessageBoxSpeaksFrenchAndWaits()
{
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    bool modal = false;
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        modal = box->windowModality() == Qt::ApplicationModal;
        for (QAbstractButton *button : box->buttons())
            buttons << button->text().remove(QLatin1Char('&'));
        box->button(QMessageBox::Cancel)->click();
    });
    QtMessageBoxes messages;
    const MessageAnswer answer = messages.show(
        nullptr, Message{QStringLiteral("Etes-vous sûr ?"), QString(), MessageIcon::Warning,
                         MessageButtons::OkCancel});
    QCOMPARE(answer, MessageAnswer::Cancel);
    QCOMPARE(title, QStringLiteral("Corvane 2.0")); // no title of its own
    QCOMPARE(text, QStringLiteral("Etes-vous sûr ?"));
    QCOMPARE(icon, QMessageBox::Warning);
    QVERIFY(modal);
    buttons.sort();
    QCOMPARE(buttons, (QStringList{QStringLiteral("Annuler"), QStringLiteral("OK")}));
}

void TestQtPlatform::messageBoxKeepsItsOwnTitle()
{
    QString title;
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        title = box->windowTitle();
        QTest::keyClick(box, Qt::Key_Return); // OK is the default button
    });
    QtMessageBoxes messages;
    QCOMPARE(messages.show(nullptr, Message{QStringLiteral("Veuillez choisir une carte"),
                                            QStringLiteral("Pas de carte sélectionnée !"),
                                            MessageIcon::Warning}),
             MessageAnswer::Ok);
    QCOMPARE(title, QStringLiteral("Pas de carte sélectionnée !"));
}

void TestQtPlatform::questionAnswersOuiOrNon_data()
{
    QTest::addColumn<QString>("press");
    QTest::addColumn<MessageAnswer>("answer");
    QTest::newRow("Oui") << QStringLiteral("Oui") << MessageAnswer::Yes;
    QTest::newRow("Non") << QStringLiteral("Non") << MessageAnswer::No;
    QTest::newRow("Enter: Oui") << QString() << MessageAnswer::Yes;
}

void TestQtPlatform::questionAnswersOuiOrNon()
{
    QFETCH(QString, press);
    QFETCH(MessageAnswer, answer);
    QStringList buttons;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        icon = box->icon();
        for (QAbstractButton *button : box->buttons()) {
            buttons << button->text();
            if (button->text() == press)
                button->click();
        }
        if (press.isEmpty())
            QTest::keyClick(box, Qt::Key_Return);
    });
    QtMessageBoxes messages;
    Message question{QStringLiteral("Lancer quand même ?"), QString(), MessageIcon::Question};
    question.buttons = MessageButtons::YesNo;
    QCOMPARE(messages.show(nullptr, question), answer);
    QCOMPARE(icon, QMessageBox::Question);
    buttons.sort();
    QCOMPARE(buttons, (QStringList{QStringLiteral("Non"), QStringLiteral("Oui")}));
}

QTEST_MAIN(TestQtPlatform)
#include "tst_qtplatform.moc"
