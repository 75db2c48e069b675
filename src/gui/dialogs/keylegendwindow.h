// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QTableWidget;

namespace zerwa {

// "Billentyűk": every key of the main window and its dialogs, with what it does. A small
// window of its own beside the main window (F1 brings it up); Esc closes it.
class KeyLegendWindow : public QWidget {
    Q_OBJECT
public:
    explicit KeyLegendWindow(bool withSlopeFill, QWidget* parent = nullptr);

    QTableWidget* keyTable;
};

} // namespace zerwa
