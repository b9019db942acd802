#pragma once

class QAbstractItemView;
class QKeyEvent;

// The keys that let a grid be worked without a mouse.

// Ctrl+Tab or Ctrl+Shift+Tab: the key that leaves a grid whatever Tab does
// inside it.
bool isGridLeavingKey(const QKeyEvent *key);
// True for Ctrl+Tab, false for Ctrl+Shift+Tab.
bool isForwardKey(const QKeyEvent *key);

// Moves the focus from grid (or the cell editor open in it) to the next or
// previous control of the window, as Tab would if the grid did not take it.
// An open editor is closed first, keeping what was typed.
void leaveGrid(QAbstractItemView *grid, bool forward);
