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
#include <QLineEdit>
#include <QLineSeries>
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

// The Y values of a chart line, point 0 first.
inline QList<qreal> yValues(const QLineSeries* line) {
    QList<qreal> values;
    for (const QPointF& point : line->points())
        values << point.y();
    return values;
}

} // namespace zerwa::test
