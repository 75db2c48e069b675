// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/compare/comparisoncontrols.h"

#include "document/compare/mapcomparison.h"
#include "document/session/mapsession.h"
#include "gui/chart/chartmirror.h"
#include "gui/compare/comparisonwindow.h"
#include "gui/journal/journalwindow.h"
#include "gui/mainwindow/mapgrid.h"
#include "gui/mainwindow/maptablemodel.h"
#include "gui/mainwindow/settingspanel.h"
#include "gui/mainwindow/tform1.h"

#include <QItemSelectionModel>
#include <QKeySequence>
#include <QShortcut>

namespace zerwa {

ComparisonControls::ComparisonControls(TForm1& form)
    : QObject(&form)
    , m_form(form) {
    MapSession& session = form.session();
    auto key = [this](const QKeySequence& keys, auto action) {
        auto* shortcut = new QShortcut(keys, &m_form);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, action);
    };
    key(QKeySequence(Qt::CTRL | Qt::Key_D), [&session] { session.compareWithFile(); });
    key(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D),
        [&session] { session.compareWithLastDelivery(); });
    key(QKeySequence(Qt::Key_F3), [this] { step(true); });
    key(QKeySequence(Qt::SHIFT | Qt::Key_F3), [this] { step(false); });

    MapComparison& comparison = session.comparison();
    connect(&comparison, &MapComparison::started, this, &ComparisonControls::started);
    connect(&comparison, &MapComparison::ended, this, &ComparisonControls::ended);
}

ComparisonControls::~ComparisonControls() {
    delete m_window;
}

void ComparisonControls::addTo(JournalWindow& journal) {
    MapSession& session = m_form.session();
    journal.addRecordButton(QStringLiteral("Összehasonlítás"),
                            [&session](const QString& id) { session.compareWithRecord(id); });
}

void ComparisonControls::started() {
    MapSession& session = m_form.session();
    const MapComparison& comparison = session.comparison();
    m_form.chart()->showReference(comparison.reference().table, session.numbers());
    if (!m_window) {
        m_window = new ComparisonWindow(comparison, &m_form);
        connect(m_window, &ComparisonWindow::stepRequested, this, &ComparisonControls::step);
        connect(m_window, &ComparisonWindow::endRequested, &session, &MapSession::endComparison);
    }
    m_window->showBeside(&m_form);
}

void ComparisonControls::ended() {
    m_form.chart()->hideReference();
    if (m_window)
        m_window->hide();
}

void ComparisonControls::step(bool forward) {
    if (const auto place = m_form.session().comparison().step(forward))
        visit(*place);
}

void ComparisonControls::visit(const DifferencePlace& place) {
    // A difference stepped to from the comparison's window is worked on in the main window.
    m_form.activateWindow();
    if (place.setting) {
        m_form.Panel1->field(*place.setting)->setFocus(Qt::OtherFocusReason);
        return;
    }
    const CellPos cell = *place.cell;
    MapGrid* grid = m_form.StringGrid1;
    if ((cell.column == 0 || cell.row == 0) && !m_form.axisEditMode()) {
        // Scrolled along its own axis only: the rows or columns in view stay.
        const int row = cell.row == 0 ? qMax(grid->rowAt(0), 1) : cell.row;
        const int column = cell.column == 0 ? qMax(grid->columnAt(0), 1) : cell.column;
        grid->scrollTo(m_form.mapModel->index(row, column));
        return;
    }
    grid->setFocus(Qt::OtherFocusReason);
    grid->moveToCell(cell);
    // The cell alone, as a click leaves it (Shift+F3 must not stretch the selection).
    grid->selectionModel()->select(grid->currentIndex(), QItemSelectionModel::ClearAndSelect);
}

} // namespace zerwa
