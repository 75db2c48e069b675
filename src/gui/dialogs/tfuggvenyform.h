// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/numberformat.h"
#include "document/model/prompter.h"

#include <QDialog>

#include <optional>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zerwa {

// The slope-fill dialog (Függvény): the slope and the number of rows to fill. OK accepts only
// valid entries; Cancel or Esc closes it without filling. The fields are empty at every show.
class TFuggvenyForm : public QDialog {
    Q_OBJECT
public:
    TFuggvenyForm(Prompter& prompter, NumberFormat numbers, QWidget* parent = nullptr);

    // Shows the dialog modally; the accepted entries, or nothing when it was cancelled.
    std::optional<SlopeFillEntries> askEntries();

    QFrame* Panel1;
    QLabel* EmelkedesLabel;
    QLineEdit* LEEmelkedes;
    QLabel* LepesLabel;
    QLineEdit* LELepes;
    QPushButton* BtnOk;
    QPushButton* BtnCancel;

public slots:
    void BtnOkClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void takePlatformCancelLook();
    void FormShow();

    Prompter& m_prompter;
    NumberFormat m_numbers;
};

} // namespace zerwa
