// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/model/mapclipboard.h"

#include "core/model/cellmessages.h"
#include "core/model/cellrules.h"
#include "core/storage/mapfile.h"

#include <algorithm>

namespace zerwa::mapclipboard {

namespace {

const QString kRefused = QStringLiteral("A beillesztés nem lehetséges, a táblázat nem változott.");

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

// Digits with an optional minus and one decimal separator: a number a spreadsheet shows the
// same way. Anything else ("1e3", " 5", "05,") goes over as text.
bool isPlainNumber(const QString& text, QChar separator) {
    const qsizetype start = text.startsWith(u'-') ? 1 : 0;
    const qsizetype point = text.indexOf(separator, start);
    auto digits = [&text](qsizetype from, qsizetype to) {
        return from < to && std::all_of(text.begin() + from, text.begin() + to,
                                        [](QChar c) { return c >= u'0' && c <= u'9'; });
    };
    return point < 0 ? digits(start, text.size())
                     : digits(start, point) && digits(point + 1, text.size());
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

QString copyHtml(const MapTable& table, CellPos topLeft, CellPos bottomRight,
                 const NumberFormat& numbers) {
    // LibreOffice reads a value from sdval (in the C locale, as sdnum's first language says)
    // and keeps a cell of the text format "@" as text; Excel reads mso-number-format.
    const QChar separator = numbers.decimalSeparator();
    QString html = QStringLiteral("<html><head><meta charset=\"utf-8\"></head><body><table>\n");
    for (int row = topLeft.row; row <= bottomRight.row; ++row) {
        html += QStringLiteral("<tr>");
        for (int column = topLeft.column; column <= bottomRight.column; ++column) {
            const QString& text = table.cell(column, row);
            const bool axis = row == 0 || column == 0;
            if (!axis && isPlainNumber(text, separator)) {
                html += QStringLiteral("<td sdval=\"%1\" sdnum=\"1033;\">%2</td>")
                            .arg(QString(text).replace(separator, u'.'), text);
            } else {
                html += QStringLiteral("<td sdnum=\"1033;1033;@\" "
                                       "style=\"mso-number-format:'\\@'\">%1</td>")
                            .arg(text.toHtmlEscaped());
            }
        }
        html += QStringLiteral("</tr>\n");
    }
    return html + QStringLiteral("</table></body></html>\n");
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

std::optional<QString> blockProblem(const MapTable& table, const QString& text, CellPos anchor,
                                    bool axisEditMode, Block& block) {
    if (text.size() > kMaxTextLength)
        return QStringLiteral(
            "A vágólapon túl sok adat van: legfeljebb 1 MB szöveg illeszthető be.");
    block = parse(text);
    if (block.isEmpty())
        return QStringLiteral("A vágólapon nincs beilleszthető adat.");

    const int rows = int(block.size());
    int columns = 0;
    for (const QStringList& row : block)
        columns = std::max(columns, int(row.size()));
    if (!axisEditMode && rows <= table.rows() && columns <= table.columns() &&
        (rows >= table.rows() || columns >= table.columns())) {
        // Only the axes give the block room: a copy of the whole map, for example.
        return QStringLiteral("A blokk %1 sor × %2 oszlop, a tengelyek nélkül %3 sor × %4 "
                              "oszlop fér el.\nA tengelyekkel együtt csak szerkesztő módban "
                              "(Edit) illeszthető be.")
            .arg(rows)
            .arg(columns)
            .arg(table.rows() - 1)
            .arg(table.columns() - 1);
    }
    if (anchor.row + rows <= table.rows() && anchor.column + columns <= table.columns())
        return std::nullopt;
    QString outside;
    for (int r = 0; r < rows && outside.isNull(); ++r) {
        for (int c = 0; c < block.at(r).size(); ++c) {
            if (!table.contains(anchor.column + c, anchor.row + r)) {
                outside = block.at(r).at(c);
                break;
            }
        }
    }
    return QStringLiteral("A blokk %1 sor × %2 oszlop, a kijelölt cellától %3 sor × %4 oszlop "
                          "fér el.\nAz első kilógó érték: %5")
        .arg(rows)
        .arg(columns)
        .arg(table.rows() - anchor.row)
        .arg(table.columns() - anchor.column)
        .arg(cellmessages::shown(outside));
}

PastePlan planPaste(const MapTable& table, const QString& text, CellPos anchor, bool axisEditMode,
                    const VariantProfile& profile, const NumberFormat& numbers) {
    Block block;
    if (const auto problem = blockProblem(table, text, anchor, axisEditMode, block))
        return {std::nullopt, kRefused + u'\n' + *problem};

    MapTable after = table;
    for (int r = 0; r < block.size(); ++r) {
        for (int c = 0; c < block.at(r).size(); ++c) {
            const CellPos cell{anchor.column + c, anchor.row + r};
            const QString& value = block.at(r).at(c);
            auto refused = [&](const QString& why) {
                return PastePlan{std::nullopt,
                                 kRefused + u'\n' + cellmessages::about(table, cell, value, why)};
            };
            if (value.size() > mapfile::maxLineLength) {
                return refused(QStringLiteral("Egy cella legfeljebb %1 karaktert tartalmazhat.")
                                   .arg(mapfile::maxLineLength));
            }
            if (value.contains(u'\t') || value.contains(u'\n') || value.contains(u'\r'))
                return refused(
                    QStringLiteral("Egy cella nem tartalmazhat tabulátort vagy sortörést."));
            if (const auto axes = axesRefusal(cell, axisEditMode))
                return refused(*axes);
            const auto range = cellrules::rangeOf(cell, profile);
            if (range && !cellrules::accepts(value, *range, numbers)) {
                return refused(cellrules::rangeText(cell, profile, numbers) +
                               cellmessages::separatorHint(value, numbers));
            }
            after.setCell(cell, value);
        }
    }
    return {std::move(after), QString()};
}

std::optional<QString> axesRefusal(CellPos cell, bool axisEditMode) {
    if ((cell.row == 0 || cell.column == 0) && !axisEditMode)
        return QStringLiteral("A tengelyek csak szerkesztő módban (Edit) írhatók.");
    return std::nullopt;
}

} // namespace zerwa::mapclipboard
