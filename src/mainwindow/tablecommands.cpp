#include "mainwindow/tablecommands.h"

#include "chart/chartmirror.h"
#include "mainwindow/mapgrid.h"
#include "mainwindow/maptablemodel.h"
#include "mainwindow/prompter.h"
#include "mainwindow/tform1.h"
#include "model/columnedits.h"

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
    m_form.runCommand([&] {
        // The whole map column of the remembered cell; the grid's range selection plays no part.
        MapTable table = m_form.table();
        const int column = m_form.rememberedCell().column;
        try {
            columnedits::bulkStep(table, column, {amount}, m_form.numbers());
        } catch (const ConversionError&) {
            m_form.mapModel->setTable(table); // the rows above the bad cell keep their step
            throw;
        }
        m_form.mapModel->setTable(table);
        m_form.refreshChartValues();
    });
}

void TableCommands::TorolBtnClick() {
    m_form.runCommand([this] {
        if (!m_form.prompter().askYesNo(
                QStringLiteral("Biztosan törölni szeretnéd a bejegyzéseket?")))
            return;
        m_form.resetTable(m_form.axisEditMode() ? ResetScope::WithAxes : ResetScope::DataOnly);
        // The reset has just written the column numbers: the lines are flat at them.
        for (int c = 1; c <= m_form.profile().mapColumns; ++c)
            m_form.chart()->setAllValues(c, c);
    });
}

void TableCommands::FuggvenyClick() {
    m_form.runCommand([this] {
        const int startRow = m_form.rememberedCell().row;
        const auto entries = m_form.prompter().askSlopeFill();
        if (!entries)
            return;
        const int column = m_form.rememberedCell().column;
        MapTable table = m_form.table();
        columnedits::slopeFill(
            table, column, startRow,
            columnedits::readSlopeFill(entries->slope, entries->steps, m_form.numbers()),
            m_form.numbers());
        m_form.mapModel->setTable(table);
        m_form.refreshChartValues();
    });
}

} // namespace zerwa
