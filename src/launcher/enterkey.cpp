#include "launcher/enterkey.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QKeyEvent>
#include <QPointer>

namespace {

class ListEnter final : public QObject
{
public:
    ListEnter(QAbstractItemView *list, QAbstractButton *button)
        : QObject(list)
        , m_list(list)
        , m_button(button)
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != m_list || event->type() != QEvent::KeyPress || !m_button)
            return false;
        const QModelIndex current = m_list->currentIndex();
        if (!current.isValid() || !m_list->selectionModel()
            || !m_list->selectionModel()->isSelected(current))
            return false;
        return pressOnEnter(static_cast<QKeyEvent *>(event), m_button);
    }

private:
    QAbstractItemView *m_list;
    QPointer<QAbstractButton> m_button;
};

} // namespace

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

void pressOnEnterInList(QAbstractItemView *list, QAbstractButton *button)
{
    list->installEventFilter(new ListEnter(list, button));
}
