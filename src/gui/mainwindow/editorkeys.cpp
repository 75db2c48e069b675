// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/editorkeys.h"

#include <QEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QObject>
#include <QRegularExpressionValidator>
#include <QWidget>

namespace zerwa {

namespace {

bool isClipboardKey(const QKeyEvent* event) {
    return event->matches(QKeySequence::Copy) || event->matches(QKeySequence::Paste) ||
           event->keyCombination() == QKeyCombination(Qt::CTRL | Qt::SHIFT, Qt::Key_C);
}

// Lets keys through to the shortcuts of the window or the grid instead of the line edit.
class KeysFilter : public QObject {
public:
    explicit KeysFilter(bool (*keys)(const QKeyEvent*))
        : m_keys(keys) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ShortcutOverride) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (m_keys(key)) {
                // Not taken here, so the window's shortcut gets the key.
                event->ignore();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool (*m_keys)(const QKeyEvent*);
};

bool isHistoryKey(const QKeyEvent* event) {
    return isUndoKey(event) || isRedoKey(event);
}

} // namespace

void passUndoKeysToWindow(QWidget* editor) {
    static KeysFilter filter(isHistoryKey);
    editor->installEventFilter(&filter);
}

void passClipboardKeysToGrid(QWidget* editor) {
    static KeysFilter filter(isClipboardKey);
    editor->installEventFilter(&filter);
}

void refuseTabsAndLineBreaks(QLineEdit* edit) {
    edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^\\t\\r\\n]*")), edit));
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
