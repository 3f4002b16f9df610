#include "setup/setupwindow.h"

#include "launcher/appcontext.h"

#include <QDir>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

SetupWindow::SetupWindow(AppContext &context, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
{
}

void SetupWindow::setDefaultButton(QPushButton *button)
{
    m_default = button;
    button->setDefault(true);
}

bool SetupWindow::handleEnter(QWidget *focus)
{
    Q_UNUSED(focus);
    return false;
}

void SetupWindow::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (enter && plain) {
        QWidget *focus = focusWidget();
        if (handleEnter(focus)) {
            event->accept();
            return;
        }
        // Enter on a button presses that button, elsewhere the default one.
        auto *button = qobject_cast<QPushButton *>(focus);
        if (!button)
            button = m_default;
        if (button && button->isEnabled()) {
            button->click();
            event->accept();
            return;
        }
    }
    if (event->key() == Qt::Key_Escape && plain && m_cancel && m_cancel->isEnabled()) {
        m_cancel->click();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool SetupWindow::writeSettings(const SettingWrites &writes)
{
    if (!m_context.settings.write(writes)) {
        m_context.platform.messages.show(
            this,
            Message{QStringLiteral("Les paramètres n'ont pas pu être enregistrés dans le "
                                   "fichier crvn.ini (%1) :\n%2\n\nVos saisies sont "
                                   "conservées : corrigez le problème puis réessayez.")
                        .arg(QDir::toNativeSeparators(m_context.settings.filePath()),
                             m_context.settings.errorString()),
                    QStringLiteral("Enregistrement impossible"), MessageIcon::Critical});
        return false;
    }
    return true;
}

QLabel *SetupWindow::makePicture()
{
    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Picture1"));
    picture->setPixmap(QPixmap(QStringLiteral(":/setup/wizard.png")));
    picture->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    return picture;
}

void SetupWindow::layOutWizardPage(QLayout *content, const QList<QPushButton *> &buttons)
{
    auto *row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton *button : buttons)
        row->addWidget(button);

    auto *right = new QVBoxLayout;
    right->addLayout(content);
    right->addStretch();
    right->addLayout(row);

    auto *page = new QHBoxLayout(this);
    page->addWidget(makePicture());
    page->addLayout(right, 1);
}
