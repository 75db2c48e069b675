// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/variantprofile.h"

#include <QObject>

namespace zerwa {

class TForm1;

// Copy and paste between the grid and spreadsheets, by keys: Ctrl+C copies the grid's selected
// cells (or the current one) wherever the focus is in the window, except in a settings text
// field, which copies its own selected text; a copy is tab-separated text and an HTML table;
// Ctrl+Shift+C copies the whole map with its rpm column and headings wherever the focus is; Ctrl+V
// in the grid pastes a block at the current cell. The grid's menu and the window stay as they are.
class GridClipboard : public QObject {
    Q_OBJECT
public:
    explicit GridClipboard(TForm1& form);

    void copySelection();
    void copyWholeMap();
    void paste();

private:
    void putOnClipboard(CellPos topLeft, CellPos bottomRight);

    TForm1& m_form;
};

} // namespace zerwa
