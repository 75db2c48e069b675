#pragma once

class QKeyEvent;
class QWidget;

namespace zerwa {

// A line edit keeps its own undo history and takes Ctrl+Z and the redo keys for it. In this
// program the map's history owns them: the keys pass to the window's shortcuts instead.
void passUndoKeysToWindow(QWidget* editor);

// Whether a key press is one of the undo or redo keys (Ctrl+Z; Ctrl+Y, Ctrl+Shift+Z).
bool isUndoKey(const QKeyEvent* event);
bool isRedoKey(const QKeyEvent* event);

} // namespace zerwa
