// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/gridclipboard.h"

#include "core/model/mapclipboard.h"
#include "document/model/mapdocument.h"
#include "document/session/mapsession.h"
#include "gui/mainwindow/mapgrid.h"
#include "gui/mainwindow/tform1.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeySequence>
#include <QMimeData>
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
    const CellRange range = m_form.StringGrid1->markedRange();
    putOnClipboard(range.topLeft, range.bottomRight);
}

void GridClipboard::copyWholeMap() {
    const MapTable& table = m_form.table();
    putOnClipboard({0, 0}, {table.columns() - 1, table.rows() - 1});
}

void GridClipboard::putOnClipboard(CellPos topLeft, CellPos bottomRight) {
    // The text for our own paste and for spreadsheets that read text; the HTML table for those
    // that read it first, so that headings and rpm labels stay text.
    auto* data = new QMimeData;
    data->setText(mapclipboard::copyText(m_form.table(), topLeft, bottomRight));
    data->setHtml(mapclipboard::copyHtml(m_form.table(), topLeft, bottomRight, m_form.numbers()));
    QGuiApplication::clipboard()->setMimeData(data);
}

void GridClipboard::paste() {
    m_form.session().paste(QGuiApplication::clipboard()->text(), m_form.StringGrid1->currentCell());
}

} // namespace zerwa
