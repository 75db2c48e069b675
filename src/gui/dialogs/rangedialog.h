// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/model/prompter.h"

#include <QDialog>
#include <QList>

#include <optional>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace zerwa {

// The range dialog "Kijelölés": an operation on the marked cells and, for an addition or a
// scaling, its amount. A line below tells what the choice would do ("16 cella változik, 3 a
// határon") or why it cannot be done, in which case OK is not offered. The choice and the
// amount stay for the next use.
class RangeDialog : public QDialog {
    Q_OBJECT
public:
    explicit RangeDialog(QWidget* parent = nullptr);

    // Shows the dialog modally; the choice, or nothing when it was cancelled.
    std::optional<rangeedits::Request> ask(const Prompter::RangePreview& preview);

    // One button per operation, in the order of rangeedits::Operation.
    QList<QRadioButton*> operationButtons;
    QLineEdit* amountEdit;
    QLabel* previewLabel;
    QPushButton* okButton;
    QPushButton* cancelButton;

private:
    rangeedits::Request request() const;
    void updatePreview();

    QButtonGroup* m_operations;
    Prompter::RangePreview m_preview;
};

} // namespace zerwa
