// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/placenames.h"

#include "cli/console.h"
#include "core/link/downloadmessages.h"
#include "core/model/settingslists.h"

namespace zerwa::cli {

namespace {

// The setting's place in file order (the order of settings::fieldNames()).
int settingIndex(DownloadFault::Field field) {
    using Field = DownloadFault::Field;
    switch (field) {
    case Field::Cylinders:
        return 0;
    case Field::LimitRpm:
        return 1;
    case Field::Opening:
        return 2;
    case Field::Closing:
        return 3;
    case Field::InputPolarity:
        return 4;
    case Field::OutputPolarity:
    case Field::RpmCell: // cells are named by their place instead
    case Field::DataCell:
        break;
    }
    return 5;
}

} // namespace

QString quoted(const QString& text) {
    return u'"' + text + u'"';
}

QString cellPlace(CellPos cell) {
    if (cell.column == 0 && cell.row == 0)
        return QStringLiteral("corner cell");
    if (cell.row == 0)
        return QStringLiteral("heading of map column %1").arg(cell.column);
    if (cell.column == 0)
        return QStringLiteral("rpm of row %1").arg(cell.row);
    return QStringLiteral("map column %1, rpm row %2").arg(cell.column).arg(cell.row);
}

QString faultPlace(const DownloadFault& fault, const MapFileContent& map) {
    const MapTable& table = map.table;
    const CellPos cell = fault.cell;
    switch (fault.field) {
    case DownloadFault::Field::RpmCell:
        return cellPlace(cell) + QStringLiteral(": ") + quoted(table.cell(0, cell.row));
    case DownloadFault::Field::DataCell:
        // Texts are joined, not substituted: a cell may hold a "%1" of its own.
        return QStringLiteral("map column %1 (").arg(cell.column) + table.cell(cell.column, 0) +
               QStringLiteral("), rpm row %1 (").arg(cell.row) + table.cell(0, cell.row) +
               QStringLiteral("): ") + quoted(table.cell(cell.column, cell.row));
    default: {
        const int i = settingIndex(fault.field);
        return settings::fieldNames().at(i) + QStringLiteral(": ") +
               quoted(settings::fieldValues(map.settings).at(i));
    }
    }
}

std::optional<QString> refusalOf(const LoadedMap& map, const NumberFormat& numbers) {
    const MapFileContent& content = map.content;
    const auto fault = FindDownloadFault(*map.profile, content.table, content.settings, numbers);
    if (!fault)
        return std::nullopt;
    QString text = oneLine(downloadmessages::kDataError) + QStringLiteral(" [") +
                   faultPlace(*fault, content) + u']';
    // The other separator judges this value differently only when it reads it as a number.
    for (const QChar separator : {u',', u'.'}) {
        if (separator == numbers.decimalSeparator())
            continue;
        if (FindDownloadFault(*map.profile, content.table, content.settings,
                              NumberFormat(separator)) != fault)
            text += QStringLiteral(" (read with \"%1\" as the decimal separator; the value is "
                                   "valid with --decimal %2)")
                        .arg(numbers.decimalSeparator())
                        .arg(separator);
    }
    return text;
}

} // namespace zerwa::cli
