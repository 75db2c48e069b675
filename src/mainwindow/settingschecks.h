#pragma once

#include <QObject>

class QLineEdit;

namespace zerwa {

class TForm1;

// Runs a settings field's check each time the field loses the focus to another control (a
// click on a button included, before the button's command runs): a bad value is reported,
// then replaced by its fixed value; the user is not held in the field.
class SettingsChecks : public QObject {
    Q_OBJECT
public:
    explicit SettingsChecks(TForm1& form);

    void Edit1Exit();
    void Edit2Exit();
    void Edit3Exit();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TForm1& m_form;
};

} // namespace zerwa
