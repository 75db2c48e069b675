// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/gridclipboard.h"

#include "core/model/mapclipboard.h"
#include "document/model/mapdocument.h"
#include "document/session/mapsession.h"
#include "gui/mainwindow/mapgrid.h"
#include "gui/mainwindow/tform1.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QKeySequence>
#include <QShortcut>

namespace zerwa {

GridClipboard::GridClipboard(TForm1& form)
    : QObject(&form)
    , m_form(form) {
    // Copying works wherever the focus is in the window; a settings text field takes Ctrl+C
    // itself and copies its own selected text. Pasting is the grid's.
    auto key = [this](QWidget* owner, Qt::ShortcutContext context, const QKeySequence& keys,
                      void (GridClipboard::*action)()) {
        auto* shortcut = new QShortcut(keys, owner);
        shortcut->setContext(context);
        connect(shortcut, &QShortcut::activated, this, action);
    };
    key(&m_form, Qt::WindowShortcut, QKeySequence::Copy, &GridClipboard::copySelection);
    key(&m_form, Qt::WindowShortcut, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C),
        &GridClipboard::copyWholeMap);
    key(m_form.StringGrid1, Qt::WidgetWithChildrenShortcut, QKeySequence::Paste,
        &GridClipboard::paste);
}

void GridClipboard::copySelection() {
    const MapGrid* grid = m_form.StringGrid1;
    CellPos topLeft = grid->currentCell();
    CellPos bottomRight = topLeft;
    const QItemSelection selection = grid->selectionModel()->selection();
    if (!selection.isEmpty()) {
        const QItemSelectionRange& range = selection.first(); // one rectangle at most
        topLeft = {range.left(), range.top()};
        bottomRight = {range.right(), range.bottom()};
    }
    QGuiApplication::clipboard()->setText(
        mapclipboard::copyText(m_form.table(), topLeft, bottomRight));
}

void GridClipboard::copyWholeMap() {
    const MapTable& table = m_form.table();
    QGuiApplication::clipboard()->setText(
        mapclipboard::copyText(table, {0, 0}, {table.columns() - 1, table.rows() - 1}));
}

void GridClipboard::paste() {
    m_form.session().paste(QGuiApplication::clipboard()->text(), m_form.StringGrid1->currentCell());
}

} // namespace zerwa
