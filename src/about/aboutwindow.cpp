#include "about/aboutwindow.h"

#include "about/clickablelabel.h"
#include "launcher/appcontext.h"
#include "launcher/named.h"
#include "launcher/windowmanager.h"
#include "launcher/windownames.h"

#include <QCloseEvent>
#include <QFont>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

AboutWindow::AboutWindow(AppContext &context, QWidget *parent)
    : QDialog(parent)
    , m_context(context)
{
    setWindowTitle(QStringLiteral("A propos du Corvane "));
    buildControls();
}

void AboutWindow::buildControls()
{
    auto *picture1 = named(new ClickableLabel(QString(), this), "Picture1");
    picture1->setPixmap(QPixmap(QStringLiteral(":/about/logo.png")));
    picture1->setCursor(Qt::PointingHandCursor);
    picture1->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto *label1 = named(new QLabel(QStringLiteral("Corvane 2.0"), this), "Label1");
    QFont title = label1->font();
    title.setBold(true);
    title.setPointSizeF(title.pointSizeF() * 1.5);
    label1->setFont(title);
    auto *label2 = named(new QLabel(QStringLiteral("\"Lanceur de cartes\", paramétreur de "
                                                   "serveur, et lanceur avancé."),
                                    this),
                         "Label2");
    label2->setWordWrap(true);
    auto *label3 = named(new QLabel(QString(), this), "Label3");
    auto *label4 = named(new QLabel(QStringLiteral("Cette copie est enregistrée à :"), this),
                         "Label4");

    auto *picture2 = named(new QFrame(this), "Picture2");
    picture2->setFrameShape(QFrame::Panel);
    picture2->setFrameShadow(QFrame::Sunken);
    auto *lblUser = named(new ClickableLabel(QStringLiteral("user"), picture2), "lblUser");
    m_lblUser = lblUser;
    m_lblComp = named(new QLabel(QStringLiteral("compagnie"), picture2), "lblComp");
    auto *label5 = named(new QLabel(QStringLiteral("Sites officiels :"), picture2), "Label5");
    auto *label7 = named(new QLabel(QStringLiteral("http://www.corvane.example.org"), picture2),
                         "Label7");
    auto *label6 = named(new QLabel(QStringLiteral("http://studio-corvane.example.org"), picture2),
                         "Label6");
    for (QLabel *label : {m_lblUser, m_lblComp})
        label->setTextFormat(Qt::PlainText); // shown exactly as stored
    {
        auto *layout = new QVBoxLayout(picture2);
        layout->addWidget(m_lblUser);
        layout->addWidget(m_lblComp);
        layout->addSpacing(8);
        layout->addWidget(label5);
        layout->addWidget(label7);
        layout->addWidget(label6);
    }

    m_cmdOK = named(new QPushButton(QStringLiteral("OK"), this), "cmdOK");
    m_cmdOK->setDefault(true);
    m_cmdOK->setAutoDefault(true);

    auto *text = new QVBoxLayout;
    text->addWidget(label1);
    text->addWidget(label2);
    text->addWidget(label3);
    text->addWidget(label4);
    text->addWidget(picture2);
    auto *top = new QHBoxLayout;
    top->addWidget(picture1);
    top->addLayout(text, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cmdOK);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(lblUser, &ClickableLabel::clicked, this, &AboutWindow::lblUser_Click);
    connect(picture1, &ClickableLabel::clicked, this, &AboutWindow::Picture1_Click);
    connect(m_cmdOK, &QPushButton::clicked, this, &AboutWindow::cmdOK_Click);
}

bool AboutWindow::formLoad()
{
    m_lblUser->setText(m_context.settings.read(Keys::user));
    m_lblComp->setText(m_context.settings.read(Keys::company));
    return true;
}

void AboutWindow::enableMainWindow()
{
    if (QWidget *main = m_context.windows.find(WindowName::main))
        main->setEnabled(true);
}

void AboutWindow::lblUser_Click()
{
    m_context.platform.messages.show(
        this,
        Message{QStringLiteral(" C'est ton nom, nan ? Alors pourquoi tu clique, crétin ?! :)"),
                QStringLiteral("Imbécile"), MessageIcon::Critical, MessageButtons::Ok});
}

void AboutWindow::Picture1_Click()
{
    // Brings the one credits window forward when it is already open.
    m_context.windows.show(WindowName::credits);
}

void AboutWindow::cmdOK_Click()
{
    enableMainWindow();
    m_context.windows.unload(WindowName::about);
}

void AboutWindow::reject()
{
    cmdOK_Click();
}

void AboutWindow::done(int result)
{
    enableMainWindow();
    QDialog::done(result);
}

void AboutWindow::closeEvent(QCloseEvent *event)
{
    // The title bar and every unload come through here.
    enableMainWindow();
    event->accept();
}
