// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace zerwa {

// The correction dialog (EditForm): shows the allowed range above the value field. It has no
// frame buttons and cannot be resized; OK, first in the tab order, is its only button.
class TEditForm : public QDialog {
    Q_OBJECT
public:
    // Centred on the main window, or at a fixed place on the screen.
    TEditForm(bool centredOnParent, QWidget* parent = nullptr);

    // Shows the dialog modally with the range text and the value text; returns the value
    // field's text however the dialog was closed.
    QString askValue(const QString& rangeText, const QString& valueText);

    QLabel* StaticText1;
    QLineEdit* Edit1;
    QPushButton* BitBtn1;

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool m_centredOnParent;
};

} // namespace zerwa
