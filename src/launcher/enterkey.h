#pragma once

class QAbstractButton;
class QKeyEvent;

// In a QMainWindow no button is a default one: Enter in a field reaches the window and would do
// nothing. Presses `button` for a plain Enter (keypad or main) while it is enabled, and says so.
bool pressOnEnter(QKeyEvent *event, QAbstractButton *button);
