#pragma once

class QAbstractButton;
class QAbstractItemView;
class QKeyEvent;

// In a QMainWindow no button is a default one: Enter in a field reaches the window and would do
// nothing. Presses `button` for a plain Enter (keypad or main) while it is enabled, and says so.
bool pressOnEnter(QKeyEvent *event, QAbstractButton *button);

// Enter on a selected entry of `list` presses `button` (the one under a map list that takes the
// chosen map). Elsewhere, or without a selected entry, Enter goes on as before.
void pressOnEnterInList(QAbstractItemView *list, QAbstractButton *button);
