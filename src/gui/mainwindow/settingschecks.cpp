// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/settingschecks.h"

#include "document/session/mapsession.h"
#include "gui/mainwindow/settingspanel.h"
#include "gui/mainwindow/tform1.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QTimer>

namespace zerwa {

SettingsChecks::SettingsChecks(TForm1& form)
    : QObject(&form)
    , m_form(form) {
    connect(qApp, &QApplication::focusChanged, this, &SettingsChecks::focusChanged);
}

void SettingsChecks::focusChanged(QWidget* /*old*/, QWidget* now) {
    // Another window taking the focus leaves the field as it is.
    if (!now || now->window() != &m_form)
        return;
    if (now == m_entered)
        return;
    // The field that now has the focus is entered before the left one is checked: the check
    // may open a message box, and the focus coming back from it must not count as a move.
    QPointer<QLineEdit> left = std::exchange(m_entered, nullptr);
    if (isField(now))
        m_entered = static_cast<QLineEdit*>(now);
    const bool mouseMovedIt = QApplication::mouseButtons() & Qt::LeftButton;
    if (left && leave(left) && mouseMovedIt) {
        if (auto* button = qobject_cast<QAbstractButton*>(now))
            clickAfterMessage(button);
    }
}

bool SettingsChecks::isField(const QWidget* widget) const {
    const SettingsPanel* panel = m_form.Panel1;
    return widget == panel->Edit1 || widget == panel->Edit2 || widget == panel->Edit3;
}

bool SettingsChecks::leave(QLineEdit* field) {
    bool found = false;
    const SettingField setting = m_form.Panel1->settingOf(field, &found);
    return found && m_form.session().leaveSetting(setting);
}

namespace {

// Notes whether a mouse release reaches the button (before the button acts on it).
class ReleaseWatch : public QObject {
public:
    explicit ReleaseWatch(QObject* button)
        : QObject(button) {
        button->installEventFilter(this);
    }
    bool released = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonRelease)
            released = true;
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void SettingsChecks::clickAfterMessage(QAbstractButton* button) {
    // The press reaches the button after the box has closed; the release went to the box.
    // Once the press is over, the button is clicked, unless a release reached it meanwhile.
    auto* watch = new ReleaseWatch(button);
    QTimer::singleShot(0, button, [button, watch] {
        const bool released = watch->released;
        delete watch;
        if (released)
            return;
        button->setDown(false);
        if (button->isEnabled() && button->isVisible())
            button->click();
    });
}

} // namespace zerwa
