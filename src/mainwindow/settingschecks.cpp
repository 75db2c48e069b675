#include "mainwindow/settingschecks.h"

#include "mainwindow/settingspanel.h"
#include "mainwindow/tform1.h"
#include "session/mapsession.h"

#include <QFocusEvent>
#include <QLineEdit>

namespace zerwa {

SettingsChecks::SettingsChecks(TForm1& form)
    : QObject(&form)
    , m_form(form) {
    for (QLineEdit* field : {form.Panel1->Edit1, form.Panel1->Edit2, form.Panel1->Edit3})
        field->installEventFilter(this);
}

bool SettingsChecks::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        // Only a move to another control of the window counts; the window losing the focus
        // (another program, a message box, a menu) does not.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            if (watched == m_form.Panel1->Edit1)
                Edit1Exit();
            else if (watched == m_form.Panel1->Edit2)
                Edit2Exit();
            else if (watched == m_form.Panel1->Edit3)
                Edit3Exit();
        }
    }
    return QObject::eventFilter(watched, event);
}

void SettingsChecks::Edit1Exit() {
    m_form.session().leaveSetting(SettingField::LimitRpm);
}

void SettingsChecks::Edit2Exit() {
    m_form.session().leaveSetting(SettingField::Opening);
}

void SettingsChecks::Edit3Exit() {
    m_form.session().leaveSetting(SettingField::Closing);
}

} // namespace zerwa
