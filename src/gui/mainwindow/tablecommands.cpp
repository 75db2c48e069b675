// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/tablecommands.h"

#include "document/session/mapsession.h"
#include "gui/mainwindow/mapgrid.h"
#include "gui/mainwindow/tform1.h"

#include <QAction>
#include <QMenu>

namespace zerwa {

TableCommands::TableCommands(TForm1& form)
    : QObject(&form)
    , m_form(form) {
    buildMenu();
    m_form.StringGrid1->setPopupMenu(PopupMenu1);
}

void TableCommands::buildMenu() {
    PopupMenu1 = new QMenu(&m_form);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    Plussz1 = PopupMenu1->addMenu(QStringLiteral("Plusz"));
    Plussz1->setObjectName(QStringLiteral("Plussz1"));
    Minusz1 = PopupMenu1->addMenu(QStringLiteral("Minusz"));
    Minusz1->setObjectName(QStringLiteral("Minusz1"));

    stepItems = {
        addStep(Plussz1, "N051", QStringLiteral("+ 0,5"), &TableCommands::N051Click),
        addStep(Plussz1, "N11", QStringLiteral("+ 1"), &TableCommands::N11Click),
        addStep(Plussz1, "N21", QStringLiteral("+ 2"), &TableCommands::N21Click),
        addStep(Plussz1, "N41", QStringLiteral("+ 4"), &TableCommands::N41Click),
        addStep(Plussz1, "N81", QStringLiteral("+ 8"), &TableCommands::N81Click),
        addStep(Minusz1, "N052", QStringLiteral("- 0,5"), &TableCommands::N052Click),
        addStep(Minusz1, "N12", QStringLiteral("- 1"), &TableCommands::N12Click),
        addStep(Minusz1, "N22", QStringLiteral("- 2"), &TableCommands::N22Click),
        addStep(Minusz1, "N42", QStringLiteral("- 4"), &TableCommands::N42Click),
        addStep(Minusz1, "N82", QStringLiteral("- 8"), &TableCommands::N82Click),
    };

    if (m_form.profile().hasSlopeFill) {
        Fuggveny = PopupMenu1->addAction(QStringLiteral("Függvény"));
        Fuggveny->setObjectName(QStringLiteral("Fuggveny"));
        connect(Fuggveny, &QAction::triggered, this, &TableCommands::FuggvenyClick);
    }
}

QAction* TableCommands::addStep(QMenu* menu, const char* name, const QString& caption,
                                void (TableCommands::*handler)()) {
    QAction* item = menu->addAction(caption);
    item->setObjectName(QString::fromLatin1(name));
    connect(item, &QAction::triggered, this, handler);
    return item;
}

void TableCommands::stepColumn(double amount) {
    m_form.session().stepColumn(amount);
}

void TableCommands::TorolBtnClick() {
    m_form.session().clear();
}

void TableCommands::FuggvenyClick() {
    m_form.session().slopeFill();
}

} // namespace zerwa
