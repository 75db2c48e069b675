// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/model/mapclipboard.h"

#include "core/model/cellrules.h"
#include "core/storage/mapfile.h"

#include <algorithm>

namespace zerwa::mapclipboard {

namespace {

const QString kRefused = QStringLiteral("A beillesztés nem lehetséges, a táblázat nem változott.");
constexpr qsizetype kShownTextLength = 60;

bool needsQuotes(const QString& text) {
    return text.contains(u'\t') || text.contains(u'\n') || text.contains(u'\r') ||
           text.startsWith(u'"');
}

QString quotedForCopy(const QString& text) {
    if (!needsQuotes(text))
        return text;
    QString escaped = text;
    escaped.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + escaped + u'"';
}

bool isLineEnd(QChar c) {
    return c == u'\n' || c == u'\r';
}

// Reads a quoted cell starting at `i` (on the opening quote). Returns the position after the
// closing quote when that quote ends the cell, or nothing for a cell that is not quoted as a
// whole (it is then taken as it stands).
std::optional<qsizetype> readQuoted(const QString& text, qsizetype i, QString& cell) {
    QString content;
    for (qsizetype k = i + 1; k < text.size(); ++k) {
        if (text.at(k) != u'"') {
            content += text.at(k);
            continue;
        }
        if (k + 1 < text.size() && text.at(k + 1) == u'"') {
            content += u'"';
            ++k;
            continue;
        }
        if (k + 1 == text.size() || text.at(k + 1) == u'\t' || isLineEnd(text.at(k + 1))) {
            cell = content;
            return k + 1;
        }
        return std::nullopt;
    }
    return std::nullopt;
}

QString shown(const QString& text) {
    if (text.isEmpty())
        return QStringLiteral("üres");
    const QString cut = text.size() > kShownTextLength ? text.left(kShownTextLength) + u'…' : text;
    return QStringLiteral("„") + cut + QStringLiteral("”");
}

QString placeOf(const MapTable& table, CellPos cell) {
    if (cell.row == 0 && cell.column == 0)
        return QStringLiteral("Cella: bal felső sarok");
    if (cell.row == 0)
        return QStringLiteral("Cella: fejléc, %1. oszlop").arg(cell.column);
    if (cell.column == 0)
        return QStringLiteral("Cella: %1. sor, fordulatszám oszlop").arg(cell.row);
    return QStringLiteral("Cella: %1. sor (%2), %3. oszlop (%4)")
        .arg(cell.row)
        .arg(table.cell(0, cell.row))
        .arg(cell.column)
        .arg(table.cell(cell.column, 0));
}

QString refusal(const MapTable& table, CellPos cell, const QString& text, const QString& why) {
    return kRefused + u'\n' + placeOf(table, cell) + QStringLiteral("\nÉrték: ") + shown(text) +
           u'\n' + why;
}

// A hint when the text is a number written with the other decimal separator.
QString separatorHint(const QString& text, const NumberFormat& numbers) {
    const QChar other = numbers.decimalSeparator() == u',' ? u'.' : u',';
    if (numbers.parse(text) || !NumberFormat(other).parse(text))
        return QString();
    return numbers.decimalSeparator() == u','
               ? QStringLiteral("\nA tizedesjel a vessző („,”), nem a pont.")
               : QStringLiteral("\nA tizedesjel a pont („.”), nem a vessző.");
}

} // namespace

QString copyText(const MapTable& table, CellPos topLeft, CellPos bottomRight) {
    QString text;
    for (int row = topLeft.row; row <= bottomRight.row; ++row) {
        for (int column = topLeft.column; column <= bottomRight.column; ++column) {
            if (column > topLeft.column)
                text += u'\t';
            text += quotedForCopy(table.cell(column, row));
        }
        text += u'\n';
    }
    return text;
}

Block parse(const QString& text) {
    Block rows;
    QStringList row;
    QString cell;
    bool lineOpen = false;
    bool cellStart = true;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'"' && cellStart) {
            if (const auto end = readQuoted(text, i, cell)) {
                lineOpen = true;
                cellStart = false;
                i = *end - 1;
                continue;
            }
        }
        cellStart = c == u'\t' || isLineEnd(c);
        if (c == u'\t') {
            row << cell;
            cell.clear();
            lineOpen = true;
        } else if (isLineEnd(c)) {
            row << cell;
            rows << row;
            row.clear();
            cell.clear();
            lineOpen = false;
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
        } else {
            cell += c;
            lineOpen = true;
        }
    }
    if (lineOpen) {
        row << cell;
        rows << row;
    }
    // The empty line a spreadsheet leaves after its last row is no row of the block.
    if (!rows.isEmpty() && rows.constLast() == QStringList{QString()})
        rows.removeLast();
    return rows;
}

PastePlan planPaste(const MapTable& table, const QString& text, CellPos anchor, bool axisEditMode,
                    const VariantProfile& profile, const NumberFormat& numbers) {
    if (text.size() > kMaxTextLength) {
        return {std::nullopt,
                kRefused + QStringLiteral("\nA vágólapon túl sok adat van: legfeljebb 1 MB "
                                          "szöveg illeszthető be.")};
    }
    const Block block = parse(text);
    if (block.isEmpty())
        return {std::nullopt, kRefused + QStringLiteral("\nA vágólapon nincs beilleszthető adat.")};

    const int rows = int(block.size());
    int columns = 0;
    for (const QStringList& row : block)
        columns = std::max(columns, int(row.size()));
    if (!axisEditMode && rows <= table.rows() && columns <= table.columns() &&
        (rows >= table.rows() || columns >= table.columns())) {
        // Only the axes give the block room: a copy of the whole map, for example.
        return {std::nullopt,
                kRefused + QStringLiteral("\nA blokk %1 sor × %2 oszlop, a tengelyek nélkül "
                                          "%3 sor × %4 oszlop fér el.\nA tengelyekkel együtt "
                                          "csak szerkesztő módban (Edit) illeszthető be.")
                               .arg(rows)
                               .arg(columns)
                               .arg(table.rows() - 1)
                               .arg(table.columns() - 1)};
    }
    if (anchor.row + rows > table.rows() || anchor.column + columns > table.columns()) {
        QString outside;
        for (int r = 0; r < rows && outside.isNull(); ++r) {
            for (int c = 0; c < block.at(r).size(); ++c) {
                if (!table.contains(anchor.column + c, anchor.row + r)) {
                    outside = block.at(r).at(c);
                    break;
                }
            }
        }
        return {std::nullopt,
                kRefused + QStringLiteral("\nA blokk %1 sor × %2 oszlop, a kijelölt cellától "
                                          "%3 sor × %4 oszlop fér el.\nAz első kilógó érték: %5")
                               .arg(rows)
                               .arg(columns)
                               .arg(table.rows() - anchor.row)
                               .arg(table.columns() - anchor.column)
                               .arg(shown(outside))};
    }

    MapTable after = table;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < block.at(r).size(); ++c) {
            const CellPos cell{anchor.column + c, anchor.row + r};
            const QString& value = block.at(r).at(c);
            if (value.size() > mapfile::maxLineLength) {
                return {std::nullopt,
                        refusal(table, cell, value,
                                QStringLiteral("Egy cella legfeljebb %1 karaktert tartalmazhat.")
                                    .arg(mapfile::maxLineLength))};
            }
            if (value.contains(u'\t') || value.contains(u'\n') || value.contains(u'\r')) {
                return {std::nullopt,
                        refusal(table, cell, value,
                                QStringLiteral("Egy cella nem tartalmazhat tabulátort vagy "
                                               "sortörést."))};
            }
            if ((cell.row == 0 || cell.column == 0) && !axisEditMode) {
                return {std::nullopt,
                        refusal(table, cell, value,
                                QStringLiteral("A tengelyek csak szerkesztő módban (Edit) "
                                               "írhatók."))};
            }
            const auto range = cellrules::rangeOf(cell, profile);
            if (range && !cellrules::accepts(value, *range, numbers)) {
                return {std::nullopt, refusal(table, cell, value,
                                              cellrules::rangeText(cell, profile, numbers) +
                                                  separatorHint(value, numbers))};
            }
            after.setCell(cell, value);
        }
    }
    return {std::move(after), QString()};
}

} // namespace zerwa::mapclipboard
