// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/placenames.h"

#include "cli/console.h"
#include "core/link/downloadlimits.h"
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

// The text the check refused.
QString refusedText(const DownloadFault& fault, const MapFileContent& map) {
    using Field = DownloadFault::Field;
    if (fault.field == Field::RpmCell || fault.field == Field::DataCell)
        return map.table.cell(fault.cell.column, fault.cell.row);
    return settings::fieldValues(map.settings).at(settingIndex(fault.field));
}

// The range a refused number must lie in; nothing for a drop-down list.
std::optional<DownloadRange> rangeOf(const DownloadFault& fault, const LoadedMap& map) {
    using Field = DownloadFault::Field;
    switch (fault.field) {
    case Field::RpmCell:
    case Field::LimitRpm:
        return downloadlimits::rpm(*map.profile);
    case Field::DataCell:
        return downloadlimits::cell();
    case Field::Opening:
        return downloadlimits::openingMs();
    case Field::Closing:
        return settings::isControlMode(map.content.settings) ? downloadlimits::closingAngle()
                                                             : downloadlimits::closingMs();
    default:
        return std::nullopt;
    }
}

// " (read with ...)" when the refused number lies in its range with the other separator.
QString separatorHint(const DownloadFault& fault, const LoadedMap& map,
                      const NumberFormat& numbers) {
    const std::optional<DownloadRange> range = rangeOf(fault, map);
    const QChar other = numbers.decimalSeparator() == u',' ? u'.' : u',';
    if (!range || !range->rounded().containsRounded(
                      NumberFormat(other).fallback(refusedText(fault, map.content))))
        return {};
    return QStringLiteral(" (read with \"%1\" as the decimal separator; the value is valid with "
                          "--decimal %2)")
        .arg(numbers.decimalSeparator())
        .arg(other);
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
    default:
        return settings::fieldNames().at(settingIndex(fault.field)) + QStringLiteral(": ") +
               quoted(refusedText(fault, map));
    }
}

std::optional<QString> refusalOf(const LoadedMap& map, const NumberFormat& numbers) {
    const MapFileContent& content = map.content;
    const auto fault = FindDownloadFault(*map.profile, content.table, content.settings, numbers);
    if (!fault)
        return std::nullopt;
    return oneLine(downloadmessages::kDataError) + QStringLiteral(" [") +
           faultPlace(*fault, content) + u']' + separatorHint(*fault, map, numbers);
}

} // namespace zerwa::cli
