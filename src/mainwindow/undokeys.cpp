#include "mainwindow/undokeys.h"

#include <QEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QObject>
#include <QWidget>

namespace zerwa {

namespace {

class UndoKeysFilter : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ShortcutOverride) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (isUndoKey(key) || isRedoKey(key)) {
                // Not taken here, so the window's shortcut gets the key.
                event->ignore();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void passUndoKeysToWindow(QWidget* editor) {
    static UndoKeysFilter filter;
    editor->installEventFilter(&filter);
}

bool isUndoKey(const QKeyEvent* event) {
    return event->matches(QKeySequence::Undo);
}

bool isRedoKey(const QKeyEvent* event) {
    const QKeyCombination key = event->keyCombination();
    return event->matches(QKeySequence::Redo) || key == QKeyCombination(Qt::CTRL, Qt::Key_Y) ||
           key == QKeyCombination(Qt::CTRL | Qt::SHIFT, Qt::Key_Z);
}

} // namespace zerwa
