// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QKeyEvent;
class QLineEdit;
class QWidget;

namespace zerwa {

// What the keys of the program's line edits do besides editing their text.

// A line edit keeps its own undo history and takes Ctrl+Z and the redo keys for it. In this
// program the map's history owns them: the keys pass to the window's shortcuts instead.
void passUndoKeysToWindow(QWidget* editor);

// The cell editor leaves copy and paste to the grid, which moves whole blocks of cells.
void passClipboardKeysToGrid(QWidget* editor);

// Keeps tabs and line breaks out of a one-line text field, whether typed, pasted or dropped:
// no cell and no setting may hold one.
void refuseTabsAndLineBreaks(QLineEdit* edit);

// Whether a key press is one of the undo or redo keys (Ctrl+Z; Ctrl+Y, Ctrl+Shift+Z).
bool isUndoKey(const QKeyEvent* event);
bool isRedoKey(const QKeyEvent* event);

} // namespace zerwa
