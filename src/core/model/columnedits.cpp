// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/model/columnedits.h"

#include "core/model/cellrules.h"

#include <QStringView>

#include <algorithm>
#include <cmath>
#include <limits>

namespace zerwa::columnedits {

namespace {
constexpr int kSlopeLimit = 8;
}

void bulkStep(MapTable& table, int column, Step step, const NumberFormat& numbers) {
    for (int row = 1; row < table.rows(); ++row) {
        double value = numbers.strict(table.cell(column, row)) + step.amount;
        if (step.amount > 0 && value > cellrules::dataMaximum)
            value = cellrules::dataMaximum;
        if (step.amount < 0 && value < cellrules::dataMinimum)
            value = cellrules::dataMinimum;
        table.setCell(column, row, numbers.format(value));
    }
}

std::optional<int> parseWholeNumber(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    qsizetype i = 0;
    bool negative = false;
    if (trimmed.at(0) == u'+' || trimmed.at(0) == u'-') {
        negative = trimmed.at(0) == u'-';
        ++i;
    }
    if (i == trimmed.size())
        return std::nullopt;
    long long value = 0;
    for (; i < trimmed.size(); ++i) {
        const QChar c = trimmed.at(i);
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
        if (value > std::numeric_limits<int>::max())
            return std::nullopt;
    }
    return int(negative ? -value : value);
}

bool acceptsSlopeFill(const QString& slopeText, const QString& stepsText,
                      const NumberFormat& numbers) {
    if (parseWholeNumber(stepsText).value_or(0) <= 0)
        return false;
    // Text that is not a number counts as 9, which is refused.
    const double whole = std::trunc(numbers.parse(slopeText).value_or(9));
    return whole >= -kSlopeLimit && whole <= kSlopeLimit;
}

QString slopeFillRefusal() {
    return QStringLiteral("Hibás értéket adott meg, az emelkedés -") +
           QString::number(kSlopeLimit) + QStringLiteral(" -tól +") + QString::number(kSlopeLimit) +
           QStringLiteral("-ig, \n a lépés 1 - 60 -ig elfogadott.");
}

SlopeFill readSlopeFill(const QString& slopeText, const QString& stepsText,
                        const NumberFormat& numbers) {
    return {numbers.strict(slopeText), parseWholeNumber(stepsText).value_or(0)};
}

void slopeFill(MapTable& table, int column, int startRow, SlopeFill fill,
               const NumberFormat& numbers) {
    double value = numbers.strict(table.cell(column, startRow));
    const int lastRow = table.rows() - 1;
    for (int row = startRow + 1; row <= lastRow && row - startRow <= fill.steps; ++row) {
        value += fill.slope;
        value = std::clamp(value, cellrules::dataMinimum, cellrules::dataMaximum);
        table.setCell(column, row, numbers.format(value));
    }
}

} // namespace zerwa::columnedits
