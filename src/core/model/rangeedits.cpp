// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/model/rangeedits.h"

#include "core/model/cellmessages.h"
#include "core/model/cellrules.h"
#include "core/model/decimalnumber.h"
#include "core/model/exactdecimal.h"
#include "core/model/mapclipboard.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace zerwa::rangeedits {

namespace {

const QString kOperationRefused =
    QStringLiteral("A művelet nem végezhető el, a táblázat nem változott.");
const QString kFillRefused = QStringLiteral("A kitöltés nem lehetséges, a táblázat nem változott.");
const QString kAddRefused = QStringLiteral("A hozzáadás nem lehetséges, a táblázat nem változott.");
const QString kNotANumber = QStringLiteral("A cellában nem szám áll.");

enum class Kind { Data, Rpm, Heading }; // the corner counts as a heading

Kind kindOf(CellPos cell) {
    return cell.row == 0 ? Kind::Heading : cell.column == 0 ? Kind::Rpm : Kind::Data;
}

// A kind's values are computed in whole units of 1 / perOne, within low..high units: data
// values in the device's half units, rpm values in whole revolutions.
struct Units {
    std::uint32_t perOne;
    std::uint32_t low;
    std::uint32_t high;
};

Units unitsOf(Kind kind, const VariantProfile& profile) {
    return kind == Kind::Data ? Units{2, 1, 127} : Units{1, 600, std::uint32_t(profile.rpmCeiling)};
}

// The number a text reads as, by the same rule as the program's conversions.
std::optional<DecimalNumber> numberOf(const QString& text, const NumberFormat& numbers) {
    auto number = parseDecimal(text, numbers.decimalSeparator());
    if (!number || !toDouble(*number))
        return std::nullopt;
    return number;
}

// What a cell gives a computation, in its kind's units: of a data value what the device gets,
// floor(2v) half units; an rpm value as it stands.
std::optional<ExactDecimal> valueOf(Kind kind, const QString& text, const NumberFormat& numbers) {
    const auto number = numberOf(text, numbers);
    if (!number)
        return std::nullopt;
    return kind == Kind::Data ? ExactDecimal::floorOf(*number, 2) : ExactDecimal::of(*number);
}

Plan refused(const QString& header, const QString& problem) {
    Plan plan;
    plan.problem = problem;
    plan.refusal = header + u'\n' + problem;
    return plan;
}

bool actsOn(Operation operation, Kind kind, bool axisEditMode) {
    if (kind == Kind::Data)
        return true;
    if (kind == Kind::Heading || !axisEditMode)
        return false;
    return operation != Operation::Scale && operation != Operation::Smooth;
}

// The part of the range that holds cells of one kind (rpm cells: column 0 below the headings).
std::optional<CellRange> partOf(const CellRange& range, Kind kind) {
    CellRange part = range;
    part.topLeft.row = std::max(part.topLeft.row, 1);
    if (kind == Kind::Data)
        part.topLeft.column = std::max(part.topLeft.column, 1);
    else if (range.topLeft.column == 0)
        part.bottomRight.column = 0;
    else
        return std::nullopt;
    if (part.width() < 1 || part.height() < 1)
        return std::nullopt;
    return part;
}

// The table a command builds, with its counts.
class Results {
public:
    Results(const MapTable& table, const Target& target)
        : m_after(table)
        , m_target(target) {}

    // The cell takes sum / divisor (in its kind's units), rounded and held within its range,
    // unless that comes to the value it gave the computation.
    void put(CellPos cell, const ExactDecimal& sum, std::uint32_t divisor,
             const ExactDecimal& own) {
        const Kind kind = kindOf(cell);
        const Units units = unitsOf(kind, m_target.profile);
        const auto rounded = sum.roundedWithin(divisor, units.low, units.high);
        m_held += rounded.held;
        if (ExactDecimal(rounded.value) == own)
            return;
        putText(cell, m_target.numbers.format(double(rounded.value) / units.perOne));
    }
    void putText(CellPos cell, const QString& text) {
        if (m_after.cell(cell) == text)
            return;
        m_after.setCell(cell, text);
        ++m_changed;
    }
    Plan done() {
        Plan plan;
        plan.after = std::move(m_after);
        plan.changed = m_changed;
        plan.held = m_held;
        return plan;
    }

private:
    MapTable m_after;
    const Target& m_target;
    int m_changed = 0;
    int m_held = 0;
};

// The values of every cell a command reads, by the cell's place in the table.
using Values = std::vector<std::optional<ExactDecimal>>;

void interpolate(const CellRange& part, Operation operation, const Values& values,
                 const MapTable& table, Results& results) {
    const CellPos first = part.topLeft;
    const CellPos last = part.bottomRight;
    auto value = [&](int column, int row) { return *values[table.indexOf({column, row})]; };
    const bool rows = operation != Operation::InterpolateColumns;
    const bool columns = operation != Operation::InterpolateRows;
    // Along a direction that is not interpolated, every cell is its own end.
    const int across = rows ? part.width() - 1 : 0;
    const int down = columns ? part.height() - 1 : 0;
    for (int row = first.row; row <= last.row; ++row) {
        for (int column = first.column; column <= last.column; ++column) {
            const int i = rows ? column - first.column : 0;
            const int j = columns ? row - first.row : 0;
            if ((i == 0 || i == across) && (j == 0 || j == down))
                continue; // an end or a corner keeps its text
            // Bilinear by index between the four ends; one of a pair when that direction is not
            // interpolated or has one cell.
            const int left = rows ? first.column : column;
            const int right = rows ? last.column : column;
            const int top = columns ? first.row : row;
            const int bottom = columns ? last.row : row;
            const int w = std::max(across, 1);
            const int h = std::max(down, 1);
            const ExactDecimal sum = value(left, top) * ExactDecimal((w - i) * (h - j)) +
                                     value(right, top) * ExactDecimal(i * (h - j)) +
                                     value(left, bottom) * ExactDecimal((w - i) * j) +
                                     value(right, bottom) * ExactDecimal(i * j);
            results.put({column, row}, sum, std::uint32_t(w * h), value(column, row));
        }
    }
}

// Each cell the mean of itself and its neighbours inside the part, weighted 1-2-1 x 1-2-1.
void smooth(const CellRange& part, const Values& values, const MapTable& table, Results& results) {
    for (int row = part.topLeft.row; row <= part.bottomRight.row; ++row) {
        for (int column = part.topLeft.column; column <= part.bottomRight.column; ++column) {
            ExactDecimal sum;
            int weights = 0;
            for (int dr = -1; dr <= 1; ++dr) {
                for (int dc = -1; dc <= 1; ++dc) {
                    const CellPos neighbour{column + dc, row + dr};
                    if (!part.contains(neighbour))
                        continue;
                    const int weight = (2 - std::abs(dc)) * (2 - std::abs(dr));
                    sum = sum + *values[table.indexOf(neighbour)] * ExactDecimal(weight);
                    weights += weight;
                }
            }
            results.put({column, row}, sum, std::uint32_t(weights),
                        *values[table.indexOf({column, row})]);
        }
    }
}

// The amount of Add or Scale, or why it cannot be used.
std::optional<QString> amountProblem(const Request& request, const NumberFormat& numbers,
                                     ExactDecimal& amount) {
    if (request.amount.trimmed().isEmpty())
        return QStringLiteral("Adja meg az értéket!");
    const auto number = numberOf(request.amount, numbers);
    if (!number)
        return QStringLiteral("Az érték nem szám!") +
               cellmessages::separatorHint(request.amount, numbers);
    if (request.operation == Operation::Scale && (number->negative || number->isZero()))
        return QStringLiteral("A százalék 0-nál nagyobb szám lehet!");
    amount = ExactDecimal::of(*number);
    return std::nullopt;
}

} // namespace

QString Plan::preview() const {
    return QStringLiteral("%1 cella változik, %2 a határon").arg(changed).arg(held);
}

Plan plan(const MapTable& table, const Target& target, const Request& request) {
    const Operation operation = request.operation;
    ExactDecimal amount;
    if (operation == Operation::Add || operation == Operation::Scale) {
        if (const auto problem = amountProblem(request, target.numbers, amount))
            return refused(kOperationRefused, *problem);
    }
    // Every cell the command acts on must be a number, before anything is computed.
    const CellRange& range = target.range;
    Values values(std::size_t(table.cellCount()));
    for (int row = range.topLeft.row; row <= range.bottomRight.row; ++row) {
        for (int column = range.topLeft.column; column <= range.bottomRight.column; ++column) {
            const CellPos cell{column, row};
            const Kind kind = kindOf(cell);
            if (!actsOn(operation, kind, target.axisEditMode))
                continue;
            auto& value = values[table.indexOf(cell)];
            value = valueOf(kind, table.cell(cell), target.numbers);
            if (!value) {
                return refused(kOperationRefused,
                               cellmessages::about(table, cell, table.cell(cell), kNotANumber));
            }
        }
    }

    Results results(table, target);
    for (const Kind kind : {Kind::Data, Kind::Rpm}) {
        const auto part = partOf(range, kind);
        if (!part || !actsOn(operation, kind, target.axisEditMode))
            continue;
        const ExactDecimal perOne(unitsOf(kind, target.profile).perOne);
        if (operation == Operation::Smooth) {
            smooth(*part, values, table, results);
            continue;
        }
        if (operation != Operation::Add && operation != Operation::Scale) {
            interpolate(*part, operation, values, table, results);
            continue;
        }
        for (int row = part->topLeft.row; row <= part->bottomRight.row; ++row) {
            for (int column = part->topLeft.column; column <= part->bottomRight.column; ++column) {
                const ExactDecimal& own = *values[table.indexOf({column, row})];
                if (operation == Operation::Add)
                    results.put({column, row}, own + amount * perOne, 1, own);
                else
                    results.put({column, row}, own * amount, 100, own);
            }
        }
    }
    return results.done();
}

Plan planFill(const MapTable& table, const Target& target, CellPos source) {
    const QString& text = table.cell(source);
    const CellRange& range = target.range;
    Results results(table, target);
    for (int row = range.topLeft.row; row <= range.bottomRight.row; ++row) {
        for (int column = range.topLeft.column; column <= range.bottomRight.column; ++column) {
            const CellPos cell{column, row};
            if (cell == source || (!target.axisEditMode && kindOf(cell) != Kind::Data))
                continue;
            const auto allowed = cellrules::rangeOf(cell, target.profile);
            if (allowed && !cellrules::accepts(text, *allowed, target.numbers)) {
                const QString why = cellrules::rangeText(cell, target.profile, target.numbers) +
                                    cellmessages::separatorHint(text, target.numbers);
                return refused(kFillRefused, cellmessages::about(table, cell, text, why));
            }
            results.putText(cell, text);
        }
    }
    return results.done();
}

Plan planAddBlock(const MapTable& table, const Target& target, const QString& text) {
    const CellPos anchor = target.range.topLeft;
    mapclipboard::Block block;
    if (const auto problem =
            mapclipboard::blockProblem(table, text, anchor, target.axisEditMode, block))
        return refused(kAddRefused, *problem);
    Results results(table, target);
    for (int r = 0; r < block.size(); ++r) {
        for (int c = 0; c < block.at(r).size(); ++c) {
            const CellPos cell{anchor.column + c, anchor.row + r};
            const QString& addend = block.at(r).at(c);
            const Kind kind = kindOf(cell);
            auto refuse = [&](const QString& shownText, const QString& why) {
                return refused(kAddRefused, cellmessages::about(table, cell, shownText, why));
            };
            if (const auto axes = mapclipboard::axesRefusal(cell, target.axisEditMode))
                return refuse(addend, *axes);
            if (kind == Kind::Heading)
                return refuse(addend, QStringLiteral("Fejléchez nem adható hozzá érték."));
            const auto number = numberOf(addend, target.numbers);
            if (!number) {
                return refuse(addend, QStringLiteral("A hozzáadandó érték nem szám.") +
                                          cellmessages::separatorHint(addend, target.numbers));
            }
            const auto own = valueOf(kind, table.cell(cell), target.numbers);
            if (!own)
                return refuse(table.cell(cell), kNotANumber);
            const ExactDecimal perOne(unitsOf(kind, target.profile).perOne);
            results.put(cell, *own + ExactDecimal::of(*number) * perOne, 1, *own);
        }
    }
    return results.done();
}

} // namespace zerwa::rangeedits
