#pragma once

#include <QColor>

class QWidget;

// The system colours the windows name: window (5), button face (15), menu (4), scroll bar (0).
namespace SystemColor {
QColor window();
QColor buttonFace();
QColor menu();
QColor scrollBar();
} // namespace SystemColor

// Gives a text box or list its background colour.
void setBackground(QWidget *widget, const QColor &color);
QColor background(const QWidget *widget);
