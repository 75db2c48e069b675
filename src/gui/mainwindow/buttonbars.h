// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFrame>

class QPushButton;

namespace zerwa {

class PortChooserPanel;

// The top button bar (Panel4): Load, Save, Edit, Törlés and the help glyph.
class TopButtonBar : public QFrame {
    Q_OBJECT
public:
    explicit TopButtonBar(QWidget* parent = nullptr);

    QPushButton* LoadBtn;
    QPushButton* SaveBtn;
    QPushButton* EditBtn;
    QPushButton* TorolBtn;
    QPushButton* HelpBtn;
};

// The command bar (Panel3): Kilépés, the port button and Letöltés, with the hidden port
// chooser (Panel5) lying over them.
class CommandBar : public QFrame {
    Q_OBJECT
public:
    CommandBar(int portItemCount, bool firstPortSelected, QWidget* parent = nullptr);

    QPushButton* KilepBtn;
    QPushButton* ComBtn;
    QPushButton* LetoltBtn;
    PortChooserPanel* Panel5;
};

} // namespace zerwa
