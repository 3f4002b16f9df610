#include "setup/configwindows.h"

#include "launcher/appcontext.h"
#include "launcher/windowmanager.h"
#include "launcher/windownames.h"
#include "setup/configpage.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kSavesTip = QStringLiteral("Saves parameters in \"crvn.ini\"");

QPushButton *button(const QString &caption, const char *name, QWidget *parent)
{
    auto *result = new QPushButton(caption, parent);
    result->setObjectName(QLatin1String(name));
    return result;
}

} // namespace

ConfigWindow::ConfigWindow(AppContext &context, QWidget *parent)
    : SetupWindow(context, parent)
    , m_page(new ConfigPage(context,
                            ConfigPageVariant{
                                QStringLiteral("Half-Life :"),
                                QStringLiteral("Programme :"),
                                QStringLiteral("Répertoire cartes :"),
                                QStringLiteral("Choisissez votre exécutable Half-Life (hl.exe)"),
                                SetupText::configMapsCaption.toString(),
                                false,
                                WindowName::dirMapsTfc,
                                SetupText::configTfcCaption.toString(),
                            },
                            this))
{
    setWindowTitle(QStringLiteral("Configuration"));
    auto *cmdOK = button(QStringLiteral("Ok"), "cmdOK", this);
    cmdOK->setToolTip(kSavesTip);
    auto *command3 = button(QStringLiteral("Annuler"), "Command3", this);
    setDefaultButton(cmdOK);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(command3);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_page);
    layout->addLayout(buttons);

    connect(cmdOK, &QPushButton::clicked, this, &ConfigWindow::cmdOK_Click);
    connect(command3, &QPushButton::clicked, this, &ConfigWindow::Command3_Click);
}

bool ConfigWindow::formLoad()
{
    m_page->load();
    return true;
}

void ConfigWindow::cmdOK_Click()
{
    if (!writeSettings(SetupRules::configWindowWrites(m_page->values())))
        return;
    // A main window kept hidden behind this one is shown as it is; an unloaded one afresh.
    m_context.windows.replace(WindowName::config, WindowName::main);
}

void ConfigWindow::Command3_Click()
{
    m_context.windows.replace(WindowName::config, WindowName::main);
}

FirstUseConfigWindow::FirstUseConfigWindow(AppContext &context, QWidget *parent)
    : SetupWindow(context, parent)
    , m_page(new ConfigPage(context,
                            ConfigPageVariant{
                                QStringLiteral("Half-Life "),
                                QStringLiteral("Programme : "),
                                QStringLiteral("Répertoire cartes : "),
                                QStringLiteral("Half-Life"),
                                SetupText::wizardMapsCaption.toString(),
                                true,
                                WindowName::configTfc,
                                QString(),
                                true,
                            },
                            this))
{
    setWindowTitle(QStringLiteral("Configuration"));
    auto *cmdPrev = button(QStringLiteral("< &Précédent"), "cmdPrev", this);
    cmdPrev->setToolTip(kSavesTip);
    auto *cmdFinish = button(QStringLiteral("&Suivant >"), "cmdFinish", this);
    setDefaultButton(cmdFinish);

    auto *content = new QVBoxLayout;
    content->addWidget(m_page);
    layOutWizardPage(content, {cmdPrev, cmdFinish});

    connect(cmdPrev, &QPushButton::clicked, this, &FirstUseConfigWindow::cmdPrev_Click);
    connect(cmdFinish, &QPushButton::clicked, this, &FirstUseConfigWindow::cmdFinish_Click);
}

bool FirstUseConfigWindow::formLoad()
{
    m_page->load();
    return true;
}

void FirstUseConfigWindow::cmdPrev_Click()
{
    m_context.windows.replace(WindowName::firstUseConfig, WindowName::firstUse2);
}

void FirstUseConfigWindow::cmdFinish_Click()
{
    // Written first, checked afterwards: a refused page has already stored its values.
    const ConfigValues values = m_page->values();
    if (!writeSettings(SetupRules::wizardConfigWrites(values)))
        return;
    const QString refusal = SetupRules::wizardConfigRefusal(values);
    if (!refusal.isEmpty()) {
        m_context.platform.messages.show(this, Message{refusal, QString()});
        return;
    }
    m_context.windows.replace(WindowName::firstUseConfig, WindowName::firstUseDone);
}
