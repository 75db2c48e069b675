// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/rangekeys.h"

#include "document/session/mapsession.h"
#include "gui/mainwindow/mapgrid.h"
#include "gui/mainwindow/tform1.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeySequence>
#include <QShortcut>

namespace zerwa {

RangeKeys::RangeKeys(TForm1& form)
    : QObject(&form)
    , m_form(form) {
    // Shortcuts reach the keys before the cell editor, which would take Ctrl+Return for a plain
    // Return and close. The keypad's Enter matches Qt::Key_Enter.
    auto key = [this](const QKeySequence& keys, void (RangeKeys::*action)()) {
        auto* shortcut = new QShortcut(keys, m_form.StringGrid1);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, action);
    };
    key(QKeySequence(Qt::CTRL | Qt::Key_Return), &RangeKeys::fill);
    key(QKeySequence(Qt::CTRL | Qt::Key_Enter), &RangeKeys::fill);
    key(QKeySequence(Qt::CTRL | Qt::Key_I), &RangeKeys::interpolate);
    key(QKeySequence(Qt::CTRL | Qt::Key_M), &RangeKeys::askOperation);
    key(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V), &RangeKeys::addFromClipboard);
}

void RangeKeys::fill() {
    const MapGrid* grid = m_form.StringGrid1;
    m_form.session().fillRange(grid->markedRange(), grid->currentCell());
}

void RangeKeys::interpolate() {
    m_form.session().applyToRange(m_form.StringGrid1->markedRange(),
                                  {rangeedits::Operation::InterpolateBoth, QString()});
}

void RangeKeys::askOperation() {
    m_form.session().askRangeOperation(m_form.StringGrid1->markedRange());
}

void RangeKeys::addFromClipboard() {
    m_form.session().addBlock(QGuiApplication::clipboard()->text(),
                              m_form.StringGrid1->currentCell());
}

} // namespace zerwa
