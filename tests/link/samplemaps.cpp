#include "samplemaps.h"

namespace zerwa::test {

SampleMap validSampleMap(const VariantProfile& profile) {
    SampleMap map{MapTable::forProfile(profile), {}};
    resetMapTable(map.table, profile, ResetScope::WithAxes);
    map.settings = {QStringLiteral("4"), QStringLiteral("12000"),   QStringLiteral("1,5"),
                    QStringLiteral("3"), QStringLiteral("Felfutó"), QStringLiteral("Lefutó")};
    return map;
}

void fillDataCells(MapTable& table, const QString& text) {
    for (int row = 1; row < table.rows(); ++row) {
        for (int column = 1; column < table.columns(); ++column)
            table.setCell(column, row, text);
    }
}

} // namespace zerwa::test
