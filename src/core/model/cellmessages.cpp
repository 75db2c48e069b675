// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/model/cellmessages.h"

namespace zerwa::cellmessages {

namespace {
constexpr qsizetype kShownTextLength = 60;
}

QString place(const MapTable& table, CellPos cell) {
    if (cell.row == 0 && cell.column == 0)
        return QStringLiteral("Cella: bal felső sarok");
    if (cell.row == 0)
        return QStringLiteral("Cella: fejléc, %1. oszlop").arg(cell.column);
    if (cell.column == 0)
        return QStringLiteral("Cella: %1. sor, fordulatszám oszlop").arg(cell.row);
    // One substitution for all four: an rpm text or a heading may hold a "%3" of its own.
    return QStringLiteral("Cella: %1. sor (%2), %3. oszlop (%4)")
        .arg(QString::number(cell.row), table.cell(0, cell.row), QString::number(cell.column),
             table.cell(cell.column, 0));
}

QString shown(const QString& text) {
    if (text.isEmpty())
        return QStringLiteral("üres");
    const QString cut = text.size() > kShownTextLength ? text.left(kShownTextLength) + u'…' : text;
    return QStringLiteral("„") + cut + QStringLiteral("”");
}

QString about(const MapTable& table, CellPos cell, const QString& text, const QString& why) {
    return place(table, cell) + QStringLiteral("\nÉrték: ") + shown(text) + u'\n' + why;
}

QString separatorHint(const QString& text, const NumberFormat& numbers) {
    const QChar other = numbers.decimalSeparator() == u',' ? u'.' : u',';
    if (numbers.parse(text) || !NumberFormat(other).parse(text))
        return QString();
    return numbers.decimalSeparator() == u','
               ? QStringLiteral("\nA tizedesjel a vessző („,”), nem a pont.")
               : QStringLiteral("\nA tizedesjel a pont („.”), nem a vessző.");
}

} // namespace zerwa::cellmessages
