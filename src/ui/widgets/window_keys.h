#pragma once

class QAbstractItemView;
class QKeyEvent;
class QWidget;

// The keys that let a window be worked without a mouse.

// Enter and the keypad's Enter press the push or tool button of window that
// has the focus, as Space does. No button becomes a default button: Enter on
// any other control still presses nothing. Call once every button exists.
void enterPressesButtons(QWidget *window);

// Enter or the keypad's Enter with no other modifier.
bool isPlainEnter(const QKeyEvent *key);

// Alt+F4 asks window to close, as the system's close command does, also
// where no window manager binds the key; a window that refuses to close
// (one that closes only through its own buttons) stays open.
void altF4Closes(QWidget *window);

// Ctrl+Tab or Ctrl+Shift+Tab: the key that leaves a grid whatever Tab does
// inside it.
bool isGridLeavingKey(const QKeyEvent *key);
// True for Ctrl+Tab, false for Ctrl+Shift+Tab.
bool isForwardKey(const QKeyEvent *key);

// Moves the focus from grid (or the cell editor open in it) to the next or
// previous control of the window, as Tab would if the grid did not take it.
// An open editor is closed first, keeping what was typed.
void leaveGrid(QAbstractItemView *grid, bool forward);
