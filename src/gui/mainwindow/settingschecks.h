// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>

class QAbstractButton;
class QLineEdit;
class QWidget;

namespace zerwa {

class TForm1;

// Runs a settings field's check each time the focus leaves the field for another control of
// the window, for whatever reason, and before the command of a button that was clicked: a
// bad value is reported, then replaced by its fixed value; the user is not held in the field.
// The focus going to another window (a message box, a menu, another program) does not leave
// the field; coming back to it does not enter it anew.
class SettingsChecks : public QObject {
    Q_OBJECT
public:
    explicit SettingsChecks(TForm1& form);

private:
    void focusChanged(QWidget* old, QWidget* now);
    bool isField(const QWidget* widget) const;
    // Whether the check showed a message.
    bool leave(QLineEdit* field);
    // The click that moved the focus was taken by the message box; it is given back.
    void clickAfterMessage(QAbstractButton* button);

    TForm1& m_form;
    QPointer<QLineEdit> m_entered; // the field that has the focus and is not yet checked
};

} // namespace zerwa
