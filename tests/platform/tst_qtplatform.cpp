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

QTEST_MAIN(TestQtPlatform)
#include "tst_qtplatform.moc"
