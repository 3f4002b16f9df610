#include "launcher/systemcolors.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>

namespace SystemColor {
QColor window()
{
    return QApplication::palette().color(QPalette::Active, QPalette::Base);
}
QColor buttonFace()
{
    return QApplication::palette().color(QPalette::Active, QPalette::Button);
}
QColor menu()
{
    return QApplication::palette("QMenu").color(QPalette::Active, QPalette::Window);
}
QColor scrollBar()
{
    return QApplication::palette().color(QPalette::Active, QPalette::Midlight);
}
} // namespace SystemColor

void setBackground(QWidget *widget, const QColor &color)
{
    QPalette palette = widget->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Base, color);
    widget->setPalette(palette);
}

QColor background(const QWidget *widget)
{
    return widget->palette().color(QPalette::Active, QPalette::Base);
}
