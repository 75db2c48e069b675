// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QLineEdit;

namespace zerwa {

class TForm1;

// Runs a settings field's check when the focus is about to leave the field for another
// control of the window, whatever moves it (Tab, Shift+Tab, a click on a cell, a field, a
// list or a button): a bad value is reported, then replaced by its fixed value, and the
// silent correction of the closing field is written, all before the next control takes the
// focus, so that the control entered shows the corrected text (selected, when entered by
// Tab). The user is not held in the field. The focus going to another window (a message box,
// a dialog, a menu, another program) and coming back is not leaving the field.
class SettingsChecks : public QObject {
    Q_OBJECT
public:
    explicit SettingsChecks(TForm1& form);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Whether the check showed a message.
    bool leave(QLineEdit* field);
    // The mouse press that moved the focus reaches its control after the message box has
    // closed; its release went to the box. A button pressed so is clicked once.
    void giveBackTheClick();

    TForm1& m_form;
    bool m_checking = false;
};

} // namespace zerwa
