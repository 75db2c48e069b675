// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/support/programtable.h"
#include "document/support/sessionfixture.h"
#include "gui/mainwindow/mapgrid.h"
#include "gui/mainwindow/maptablemodel.h"
#include "gui/mainwindow/qtprompter.h"
#include "gui/mainwindow/settingspanel.h"
#include "gui/mainwindow/tform1.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

Q_DECLARE_METATYPE(const zerwa::test::ProgramFacts*)

namespace zerwa::test {

// Table-driven window tests: one row per program, in a column named "program".
inline void addProgramRows() {
    QTest::addColumn<const ProgramFacts*>("program");
    for (const ProgramFacts& facts : programFacts())
        QTest::newRow(facts.name) << &facts;
}

// A main window started with a test's program context (see SessionFixture).
class FormFixture : public SessionFixture {
public:
    using SessionFixture::SessionFixture;

    // Builds the window (the whole start-up runs here). Files for the start-up can be put
    // into folder() before.
    TForm1& start() {
        m_form = std::make_unique<TForm1>(context());
        return *m_form;
    }
    // Closes the window and starts a new one in the same start-up folder (the next run).
    TForm1& restart() {
        m_form.reset();
        return start();
    }
    // The window shown and active, as the user has it.
    TForm1& startShown() {
        start().show();
        activate();
        return *m_form;
    }
    // The same with the program's own dialogs and message boxes.
    TForm1& startWithOwnDialogs(QtPrompter& prompter) {
        usePrompter(prompter);
        startShown();
        prompter.setParentWindow(m_form.get());
        return *m_form;
    }
    void activate() {
        m_form->activateWindow();
        if (!QTest::qWaitForWindowActive(m_form.get()))
            qFatal("window not active");
    }
    // The current window holding the map with the download enabled, nothing asked or sent yet.
    TForm1& withMap(const SampleMap& map) {
        m_form->mapModel->setTable(map.table);
        m_form->Panel1->setSettings(map.settings);
        m_form->LetoltBtn->setEnabled(true);
        prompter().records.clear();
        serial().events.clear();
        return *m_form;
    }
    // Waits for the first message box, as a download ends with one.
    bool waitForMessage() {
        return QTest::qWaitFor([this] { return !prompter().messages().isEmpty(); }, 15000);
    }
    // Selects the cell with the grid focused, which opens its editor.
    QLineEdit* editorOn(CellPos cell) {
        m_form->StringGrid1->setFocus();
        m_form->StringGrid1->moveToCell(cell);
        if (!QTest::qWaitFor([] { return qobject_cast<QLineEdit*>(QApplication::focusWidget()); }))
            qFatal("no cell editor");
        return static_cast<QLineEdit*>(QApplication::focusWidget());
    }
    TForm1& form() { return *m_form; }

private:
    std::unique_ptr<TForm1> m_form;
};

// A click on a cell as a person makes it: on the cell, or on its header section while the
// axes are fixed, scrolled into view first. A right click is followed by the context menu
// event, as the window system sends it.
inline void clickCell(TForm1& form, CellPos cell, Qt::MouseButton button = Qt::LeftButton,
                      Qt::KeyboardModifiers modifiers = {}) {
    MapGrid* grid = form.StringGrid1;
    const bool fixed = grid->fixedColumnCount() == 1;
    grid->scrollTo(form.mapModel->index(fixed ? qMax(cell.row, 1) : cell.row,
                                        fixed ? qMax(cell.column, 1) : cell.column));
    QWidget* target = grid->viewport();
    QPoint at = grid->visualRect(form.mapModel->index(cell.row, cell.column)).center();
    if (fixed && cell.column == 0) {
        target = grid->verticalHeader()->viewport();
        at = {5, grid->verticalHeader()->sectionViewportPosition(cell.row) + 5};
    } else if (fixed && cell.row == 0) {
        target = grid->horizontalHeader()->viewport();
        at = {grid->horizontalHeader()->sectionViewportPosition(cell.column) + 5, 5};
    }
    QTest::mouseClick(target, button, modifiers, at);
    if (button == Qt::RightButton) {
        QContextMenuEvent menu(QContextMenuEvent::Mouse, at, target->mapToGlobal(at));
        QApplication::sendEvent(target, &menu);
    }
}

} // namespace zerwa::test
