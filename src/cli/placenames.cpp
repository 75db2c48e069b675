#include "cli/placenames.h"

#include "cli/console.h"
#include "link/downloadmessages.h"
#include "model/settingslists.h"

namespace zerwa::cli {

namespace {

QString settingName(DownloadFault::Field field) {
    using Field = DownloadFault::Field;
    const QStringList& names = settings::fieldNames(); // file order
    switch (field) {
    case Field::Cylinders:
        return names.at(0);
    case Field::LimitRpm:
        return names.at(1);
    case Field::Opening:
        return names.at(2);
    case Field::Closing:
        return names.at(3);
    case Field::InputPolarity:
        return names.at(4);
    case Field::OutputPolarity:
        return names.at(5);
    case Field::RpmCell:
    case Field::DataCell:
        break;
    }
    return QString();
}

QString settingText(DownloadFault::Field field, const SettingsBlock& block) {
    using Field = DownloadFault::Field;
    switch (field) {
    case Field::Cylinders:
        return block.cylinders;
    case Field::LimitRpm:
        return block.limitRpm;
    case Field::Opening:
        return block.opening;
    case Field::Closing:
        return block.closing;
    case Field::InputPolarity:
        return block.inputPolarity;
    case Field::OutputPolarity:
        return block.outputPolarity;
    case Field::RpmCell:
    case Field::DataCell:
        break;
    }
    return QString();
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
        return settingName(fault.field) + QStringLiteral(": ") +
               quoted(settingText(fault.field, map.settings));
    }
}

QString refusal(const DownloadFault& fault, const MapFileContent& map) {
    return oneLine(downloadmessages::kDataError) + QStringLiteral(" [") + faultPlace(fault, map) +
           u']';
}

} // namespace zerwa::cli
