// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/csvtable.h"

#include "core/model/settingslists.h"

namespace zerwa::cli {

namespace {

QString field(const QString& text) {
    if (!text.contains(u';') && !text.contains(u'"') && !text.contains(u'\n') &&
        !text.contains(u'\r'))
        return text;
    return u'"' + QString(text).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

} // namespace

QStringList csvLines(const MapFileContent& map) {
    QStringList lines;
    const QStringList& names = settings::fieldNames();
    const QStringList values = settings::fieldValues(map.settings);
    for (qsizetype i = 0; i < names.size(); ++i)
        lines << field(names.at(i)) + u';' + field(values.at(i));
    lines << QString();
    for (int row = 0; row < map.table.rows(); ++row) {
        QStringList fields;
        for (int column = 0; column < map.table.columns(); ++column)
            fields << field(map.table.cell(column, row));
        lines << fields.join(u';');
    }
    return lines;
}

} // namespace zerwa::cli
