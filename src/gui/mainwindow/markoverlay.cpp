// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/markoverlay.h"

#include <QEvent>
#include <QPainter>

namespace zerwa {

MarkOverlay::MarkOverlay(QWidget* host)
    : QWidget(host) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(host->rect());
    host->installEventFilter(this);
}

void MarkOverlay::decorate(QWidget* widget, const CellDecoration& decoration, const QFont& font,
                           bool outline) {
    auto* overlay = widget->findChild<MarkOverlay*>(QString(), Qt::FindDirectChildrenOnly);
    if (!overlay)
        overlay = new MarkOverlay(widget);
    else if (overlay->m_decoration == decoration && overlay->m_font == font &&
             overlay->m_outline == outline)
        return; // a widget told again what it shows changes nothing
    overlay->m_decoration = decoration;
    overlay->m_font = font;
    overlay->m_outline = outline;

    QPalette palette; // nothing of its own: the widget's usual colours
    if (decoration.background || decoration.text) {
        palette = widget->parentWidget() ? widget->parentWidget()->palette() : widget->palette();
        if (decoration.background) {
            palette.setColor(QPalette::Base, *decoration.background);
            palette.setColor(QPalette::Button, *decoration.background);
        }
        if (decoration.text) {
            palette.setColor(QPalette::Text, *decoration.text);
            palette.setColor(QPalette::ButtonText, *decoration.text);
        }
    }
    widget->setPalette(palette);
    QFont shown = font;
    if (decoration.differs)
        shown.setBold(true);
    widget->setFont(shown);
    widget->setToolTip(decoration.toolTip);
    overlay->setVisible(decoration.differs || decoration.refused || outline);
    overlay->raise();
    overlay->update();
}

void MarkOverlay::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& shown = parentWidget()->palette();
    const QColor ink = m_decoration.text.value_or(shown.color(QPalette::Text));
    if (m_outline)
        celldecoration::paintOutline(painter, rect(), shown.color(QPalette::Highlight), ink);
    celldecoration::paintMarks(painter, rect(), m_decoration, ink);
}

bool MarkOverlay::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, event);
}

} // namespace zerwa
