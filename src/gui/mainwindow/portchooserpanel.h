// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFrame>

class QComboBox;
class QLabel;
class QPushButton;

namespace zerwa {

// The port chooser (Panel5): "Port :", the list of port numbers and OK. It lies over the
// command bar while shown.
class PortChooserPanel : public QFrame {
    Q_OBJECT
public:
    PortChooserPanel(int portItemCount, bool firstPortSelected, QWidget* parent = nullptr);

    QLabel* Label6;
    QComboBox* ComboBox2;
    QPushButton* ComOkBtn;

protected:
    // Enter confirms, as with a dialog's default button.
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace zerwa
