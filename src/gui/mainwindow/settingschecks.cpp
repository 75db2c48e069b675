// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/settingschecks.h"

#include "document/session/mapsession.h"
#include "gui/mainwindow/settingspanel.h"
#include "gui/mainwindow/tform1.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

namespace zerwa {

SettingsChecks::SettingsChecks(TForm1& form)
    : QObject(&form)
    , m_form(form) {
    for (QLineEdit* field : {form.Panel1->Edit1, form.Panel1->Edit2, form.Panel1->Edit3})
        field->installEventFilter(this);
}

bool SettingsChecks::eventFilter(QObject* watched, QEvent* event) {
    // Qt announces a move of the focus to the widget that has it, before anything moves. The
    // window system announces another window taking the focus (a message box, a dialog,
    // another program) as a spontaneous event; a popup or a window activated by the program
    // says so in its reason.
    if (event->type() != QEvent::FocusAboutToChange || event->spontaneous() || m_checking)
        return false;
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason ||
        reason == Qt::MenuBarFocusReason)
        return false;
    const bool pressMovesIt =
        reason == Qt::MouseFocusReason && (QApplication::mouseButtons() & Qt::LeftButton);
    m_checking = true;
    const bool told = leave(static_cast<QLineEdit*>(watched));
    m_checking = false;
    if (told && pressMovesIt)
        giveBackTheClick();
    return false;
}

bool SettingsChecks::leave(QLineEdit* field) {
    bool found = false;
    const SettingField setting = m_form.Panel1->settingOf(field, &found);
    return found && m_form.session().leaveSetting(setting);
}

namespace {

// Notes, until it is deleted, the first control of the window that a mouse press reaches,
// when it is a button, and whether a release reaches that button (before the button acts on
// either).
class PressWatch : public QObject {
public:
    PressWatch(QWidget* window, QObject* parent)
        : QObject(parent)
        , m_window(window) {
        qApp->installEventFilter(this);
    }
    QPointer<QAbstractButton> button;
    bool released = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || widget->window() != m_window)
            return false;
        if (event->type() == QEvent::MouseButtonPress && !m_pressSeen) {
            m_pressSeen = true;
            button = qobject_cast<QAbstractButton*>(widget);
        } else if (event->type() == QEvent::MouseButtonRelease && button && widget == button) {
            released = true;
        }
        return false;
    }

private:
    QWidget* m_window;
    bool m_pressSeen = false;
};

} // namespace

void SettingsChecks::giveBackTheClick() {
    // The press goes on to its control once this returns; the next turn of the event loop
    // sees whether the release followed it.
    auto* watch = new PressWatch(&m_form, this);
    QTimer::singleShot(0, watch, [watch] {
        const QPointer<QAbstractButton> button = watch->button;
        const bool released = watch->released;
        delete watch;
        if (!button || released || !button->isDown())
            return;
        button->setDown(false);
        if (button->isEnabled() && button->isVisible())
            button->click();
    });
}

} // namespace zerwa
