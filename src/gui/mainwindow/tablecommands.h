// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QObject>

class QAction;
class QMenu;

namespace zerwa {

class TForm1;

// The grid's popup menu (PopupMenu1) with its ten column steps and, where the profile has it,
// the slope fill; and the clear button's handler. The commands themselves act on the map
// document.
class TableCommands : public QObject {
    Q_OBJECT
public:
    explicit TableCommands(TForm1& form);

    QMenu* PopupMenu1;
    QMenu* Plussz1;
    QMenu* Minusz1;
    QAction* Fuggveny = nullptr; // only where the profile has the slope fill
    // N051, N11, N21, N41, N81, then N052, N12, N22, N42, N82.
    QList<QAction*> stepItems;

public slots:
    void N051Click() { stepColumn(0.5); }
    void N11Click() { stepColumn(1); }
    void N21Click() { stepColumn(2); }
    void N41Click() { stepColumn(4); }
    void N81Click() { stepColumn(8); }
    void N052Click() { stepColumn(-0.5); }
    void N12Click() { stepColumn(-1); }
    void N22Click() { stepColumn(-2); }
    void N42Click() { stepColumn(-4); }
    void N82Click() { stepColumn(-8); }
    void TorolBtnClick();
    void FuggvenyClick();

private:
    void buildMenu();
    QAction* addStep(QMenu* menu, const char* name, const QString& caption,
                     void (TableCommands::*handler)());
    void stepColumn(double amount);

    TForm1& m_form;
};

} // namespace zerwa
