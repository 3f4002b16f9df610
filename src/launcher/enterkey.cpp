#include "launcher/enterkey.h"

#include <QAbstractButton>
#include <QKeyEvent>

bool pressOnEnter(QKeyEvent *event, QAbstractButton *button)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (!enter || !plain || !button->isEnabled())
        return false;
    event->accept();
    button->click();
    return true;
}
