// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gui/mainwindow/celldecoration.h"

#include <QWidget>

namespace zerwa {

// Shows a cell's decoration on a widget that draws its own background and text: the open
// cell editor, a settings field. The widget takes the background, the text colour, bold text
// and the tooltip; the marks (and the current cell's outline) are drawn over it by a child
// that follows its size and lets every mouse event through.
class MarkOverlay : public QWidget {
    Q_OBJECT
public:
    // `font` is the widget's own font (an empty font: the one it inherits); `outline` draws
    // the current cell's outline around it.
    static void decorate(QWidget* widget, const CellDecoration& decoration, const QFont& font,
                         bool outline);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit MarkOverlay(QWidget* host);

    CellDecoration m_decoration;
    QFont m_font;
    bool m_outline = false;
};

} // namespace zerwa
