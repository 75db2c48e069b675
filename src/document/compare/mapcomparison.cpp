// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/compare/mapcomparison.h"

#include "core/link/downloadframe.h"
#include "core/model/decimalnumber.h"
#include "document/model/mapdocument.h"

namespace zerwa {

namespace {

QString signedText(const QString& magnitude, bool positive) {
    return positive ? u'+' + magnitude : magnitude;
}

// a - b in the user's format, when both texts are numbers.
std::optional<QString> numberDifference(const QString& a, const QString& b,
                                        const NumberFormat& numbers) {
    const auto x = parseDecimal(a, numbers.decimalSeparator());
    const auto y = parseDecimal(b, numbers.decimalSeparator());
    const auto xValue = x ? toDouble(*x) : std::nullopt;
    const auto yValue = y ? toDouble(*y) : std::nullopt;
    if (!xValue || !yValue)
        return std::nullopt;
    const double approximate = *xValue - *yValue;
    const auto exact = exactDifference(*x, *y);
    const double value = exact ? toDouble(*exact).value_or(approximate) : approximate;
    return signedText(numbers.format(value), value > 0);
}

QString referenceNote(const QString& map, const QString& reference, bool dataCell,
                      const NumberFormat& numbers) {
    QString note = QStringLiteral("Referencia: ") +
                   (reference.isEmpty() ? QStringLiteral("(üres)") : reference);
    const auto difference = numberDifference(map, reference, numbers);
    if (!difference)
        return note;
    note += QStringLiteral(" (") + *difference;
    const auto mapByte = dataCell ? downloadframe::cellByte(map, numbers) : std::nullopt;
    const auto referenceByte =
        dataCell ? downloadframe::cellByte(reference, numbers) : std::nullopt;
    if (mapByte && referenceByte) {
        const int halves = *mapByte - *referenceByte;
        note += QStringLiteral("; a készülékben %1 fél egység")
                    .arg(signedText(QString::number(halves), halves > 0));
    }
    return note + u')';
}

} // namespace

MapComparison::MapComparison(const MapDocument& document, const NumberFormat& numbers,
                             QObject* parent)
    : QObject(parent)
    , m_document(document)
    , m_numbers(numbers) {
    connect(&document, &MapDocument::cellsChanged, this, &MapComparison::compare);
    connect(&document, &MapDocument::settingsChanged, this, &MapComparison::compare);
    connect(&document, &MapDocument::mapReplaced, this, &MapComparison::end);
}

bool MapComparison::differs(CellPos cell) const {
    return isOn() && m_differingCells.testBit(m_document.table().indexOf(cell));
}

bool MapComparison::differs(SettingField field) const {
    return isOn() && m_differences.settings.contains(field);
}

QString MapComparison::note(CellPos cell) const {
    if (!differs(cell))
        return QString();
    const bool dataCell = cell.column > 0 && cell.row > 0;
    return referenceNote(m_document.cell(cell), m_reference->table.cell(cell), dataCell, m_numbers);
}

QString MapComparison::note(SettingField field) const {
    if (!differs(field))
        return QString();
    return referenceNote(m_document.setting(field), fieldOf(m_reference->settings, field), false,
                         m_numbers);
}

void MapComparison::start(const MapFileContent& reference, const QString& name) {
    Q_ASSERT(reference.table.cellCount() == m_document.table().cellCount());
    m_reference = reference;
    m_name = name;
    m_visited.reset();
    m_differingCells = QBitArray(m_document.table().cellCount());
    m_differences = {};
    compare();
    // A comparison that replaces another changes the tooltips of cells that stay marked too.
    const MapTable& table = m_document.table();
    emit cellMarksChanged({0, 0}, {table.columns() - 1, table.rows() - 1});
    emit settingMarksChanged();
    emit started();
}

void MapComparison::end() {
    if (!isOn())
        return;
    m_reference.reset();
    m_differences = {};
    m_differingCells.fill(false);
    const MapTable& table = m_document.table();
    emit cellMarksChanged({0, 0}, {table.columns() - 1, table.rows() - 1});
    emit settingMarksChanged();
    emit ended();
}

std::optional<DifferencePlace> MapComparison::step(bool forward) {
    if (const auto place = m_differences.step(m_visited, forward))
        m_visited = place;
    return m_differences.isEmpty() ? std::nullopt : m_visited;
}

void MapComparison::compare() {
    if (!isOn())
        return;
    const MapTable& table = m_document.table();
    MapDifferences now = differencesBetween({m_document.settings(), table}, *m_reference);
    QBitArray differing(table.cellCount());
    for (const CellPos& cell : std::as_const(now.cells))
        differing.setBit(table.indexOf(cell));
    // Only what changed is announced: one edit redraws one cell.
    const QBitArray changed = differing ^ m_differingCells;
    const bool settingsChanged = now.settings != m_differences.settings;
    m_differences = std::move(now);
    m_differingCells = differing;
    if (changed.count(true) > 0) {
        CellPos topLeft{table.columns(), table.rows()}, bottomRight{-1, -1};
        for (qsizetype i = 0; i < changed.size(); ++i) {
            if (!changed.testBit(i))
                continue;
            const CellPos cell = table.posOf(int(i));
            topLeft = {qMin(topLeft.column, cell.column), qMin(topLeft.row, cell.row)};
            bottomRight = {qMax(bottomRight.column, cell.column), qMax(bottomRight.row, cell.row)};
        }
        emit cellMarksChanged(topLeft, bottomRight);
    }
    if (settingsChanged)
        emit settingMarksChanged();
}

} // namespace zerwa
