#include "setup/wizardpages.h"

#include "launcher/appcontext.h"
#include "launcher/named.h"
#include "launcher/windowmanager.h"
#include "launcher/windownames.h"

#include <QFont>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel *wrapped(QLabel *label)
{
    label->setWordWrap(true);
    return label;
}

} // namespace

FirstUse1Window::FirstUse1Window(AppContext &context, QWidget *parent)
    : SetupWindow(context, parent)
{
    setWindowTitle(QStringLiteral("Bienvenue dans le Corvane !"));
    auto *label1 = wrapped(named(
        new QLabel(QStringLiteral("Vous lancez le Corvane pour la première fois. Un assistant va "
                                  "vous aider à le configurer."),
                   this),
        "Label1"));
    // The caption's "&" marks the access key of the button it names: shown underlined, as a
    // player reads it, rather than as a literal ampersand.
    auto *label2 = named(new QLabel(QStringLiteral("Cliquez sur &quot;<u>S</u>uivant&quot;"), this),
                         "Label2");
    label2->setTextFormat(Qt::RichText);
    auto *cmdNext = named(new QPushButton(QStringLiteral("&Suivant >"), this), "cmdNext");
    setDefaultButton(cmdNext);

    auto *content = new QVBoxLayout;
    content->addWidget(label1);
    content->addSpacing(12);
    content->addWidget(label2);
    layOutWizardPage(content, {cmdNext});
    setMinimumWidth(420);

    connect(cmdNext, &QPushButton::clicked, this, &FirstUse1Window::cmdNext_Click);
}

void FirstUse1Window::cmdNext_Click()
{
    m_context.windows.replace(WindowName::firstUse1, WindowName::firstUse2);
}

FirstUse2Window::FirstUse2Window(AppContext &context, QWidget *parent)
    : SetupWindow(context, parent)
{
    setWindowTitle(QStringLiteral("Informations personnelles"));
    auto *label1 = wrapped(
        named(new QLabel(QStringLiteral("Entrez votre nom/pseudonyme et votre organisation/clan "
                                        "ci-dessous : "),
                         this),
              "Label1"));
    auto *label2 = named(new QLabel(QStringLiteral("Nom/Pseudo : "), this), "Label2");
    m_txtNick = named(new QLineEdit(this), "txtNick");
    auto *label3 = named(new QLabel(QStringLiteral("Organisation/clan :"), this), "Label3");
    m_txtClan = named(new QLineEdit(this), "txtClan");
    auto *cmdPrev = named(new QPushButton(QStringLiteral("< &Précédent"), this), "cmdPrev");
    auto *cmdNext = named(new QPushButton(QStringLiteral("&Suivant"), this), "cmdNext");
    setDefaultButton(cmdNext);

    auto *content = new QGridLayout;
    content->addWidget(label1, 0, 0, 1, 2);
    content->addWidget(label2, 1, 0);
    content->addWidget(m_txtNick, 1, 1);
    content->addWidget(label3, 2, 0);
    content->addWidget(m_txtClan, 2, 1);
    content->setColumnStretch(1, 1);
    layOutWizardPage(content, {cmdPrev, cmdNext});
    setMinimumWidth(420);

    connect(cmdPrev, &QPushButton::clicked, this, &FirstUse2Window::cmdPrev_Click);
    connect(cmdNext, &QPushButton::clicked, this, &FirstUse2Window::cmdNext_Click);
}

void FirstUse2Window::cmdPrev_Click()
{
    m_context.windows.replace(WindowName::firstUse2, WindowName::firstUse1);
}

void FirstUse2Window::cmdNext_Click()
{
    const SetupRules::Refusal refusal = SetupRules::identityRefusal(m_txtNick->text(),
                                                                    m_txtClan->text());
    if (!refusal.isEmpty()) {
        m_context.platform.messages.show(this, Message{refusal.text, refusal.title});
        return;
    }
    if (!writeSettings(SetupRules::identityWrites(m_txtNick->text(), m_txtClan->text())))
        return;
    m_context.windows.replace(WindowName::firstUse2, WindowName::firstUseConfig);
}

FirstUseDoneWindow::FirstUseDoneWindow(AppContext &context, QWidget *parent)
    : SetupWindow(context, parent)
{
    setWindowTitle(QStringLiteral("Configuration "));
    auto *label1 = named(new QLabel(QStringLiteral("Terminé"), this), "Label1");
    QFont heading = label1->font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.4);
    label1->setFont(heading);
    auto *label2 = wrapped(named(
        new QLabel(QStringLiteral("La configuration du Corvane est terminée."), this), "Label2"));
    auto *label3 = wrapped(named(
        new QLabel(QStringLiteral("L'assistant va maintenant lancer le Corvane"), this), "Label3"));
    auto *cmdFinish = named(new QPushButton(QStringLiteral("&Terminer"), this), "cmdFinish");
    setDefaultButton(cmdFinish);

    auto *content = new QVBoxLayout;
    content->addWidget(label1);
    content->addSpacing(12);
    content->addWidget(label2);
    content->addWidget(label3);
    layOutWizardPage(content, {cmdFinish});
    setMinimumWidth(420);

    connect(cmdFinish, &QPushButton::clicked, this, &FirstUseDoneWindow::cmdFinish_Click);
}

void FirstUseDoneWindow::cmdFinish_Click()
{
    const QString maps = m_context.settings.read(Keys::maps);
    const QString tfcMaps = m_context.settings.read(Keys::tfcMaps);
    const QString program = m_context.settings.read(Keys::program);
    if (!writeSettings(SetupRules::finishWrites(maps, tfcMaps, program)))
        return;
    // Shown before this page goes: closing it first would leave no window open, which ends
    // the program before the main window appears.
    m_context.windows.replace(WindowName::firstUseDone, WindowName::main);
}
