// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/frameexplanation.h"

#include "cli/exactvalue.h"
#include "cli/hexdump.h"
#include "cli/placenames.h"
#include "core/link/downloadframe.h"
#include "core/link/downloadframelayout.h"
#include "core/link/exactscaling.h"
#include "core/model/decimalnumber.h"

namespace zerwa::cli {

namespace {

using downloadframe::FrameField;
using downloadframe::Scaling;

struct Explanation {
    QString field;
    QString source;
    QString scaled;
};

class Explainer {
public:
    Explainer(const MapFileContent& map, const QByteArray& frame, const NumberFormat& numbers)
        : m_map(map)
        , m_frame(frame)
        , m_separator(numbers.decimalSeparator()) {}

    Explanation explain(int index, const FrameField& field) const {
        const SettingsBlock& s = m_map.settings;
        const bool controlMode = settings::isControlMode(s);
        switch (field.kind) {
        case FrameField::Kind::Mode:
            return {QStringLiteral("mode"),
                    quoted(s.inputPolarity) + u' ' + quoted(s.outputPolarity), mode()};
        case FrameField::Kind::Closing:
            return controlMode ? scaled(QStringLiteral("closing angle (degrees)"), s.closing,
                                        downloadframe::kClosingAngleScaling, index)
                               : scaled(QStringLiteral("closing (ms)"), s.closing,
                                        downloadframe::kClosingMsScaling, index);
        case FrameField::Kind::LimitLow:
            return limit(QStringLiteral("limit period, low byte"));
        case FrameField::Kind::Cell:
            return scaled(QStringLiteral("cell %1, map column %2, rpm row %3")
                              .arg(QChar::fromLatin1(downloadframe::cellBlock(index)))
                              .arg(field.cell.column)
                              .arg(field.cell.row),
                          m_map.table.cell(field.cell.column, field.cell.row),
                          downloadframe::kCellScaling, index);
        case FrameField::Kind::Constant:
            return {QStringLiteral("constant"), QString(), QString()};
        case FrameField::Kind::Opening:
            if (controlMode)
                return {QStringLiteral("opening"), quoted(s.opening),
                        QStringLiteral("control mode")};
            return scaled(QStringLiteral("opening (ms)"), s.opening,
                          downloadframe::kOpeningMsScaling, index);
        case FrameField::Kind::LimitHigh:
            return limit(QStringLiteral("limit period, high byte"));
        case FrameField::Kind::Cylinders: {
            const auto count = exact::scaledFloor(read(s.cylinders), 1, 1);
            return {QStringLiteral("cylinders"), quoted(s.cylinders),
                    QStringLiteral("%1 × 16 + 15 = %2").arg(count).arg(count * 16 + 15)};
        }
        }
        return {};
    }

private:
    DecimalNumber read(const QString& text) const {
        return parseDecimal(text, m_separator).value_or(DecimalNumber());
    }

    QString mode() const {
        const int input = m_map.settings.inputPolarity == settings::rising ? 0x80 : 0;
        const int output = m_map.settings.outputPolarity == settings::rising ? 0x40 : 0;
        return QStringLiteral("3 + %1 + %2 = %3").arg(input).arg(output).arg(3 + input + output);
    }

    Explanation scaled(const QString& field, const QString& text, const Scaling& scaling,
                       int index) const {
        const DecimalNumber value = read(text);
        QString result = QStringLiteral("× %1").arg(scaling.numerator);
        if (scaling.denominator != 1)
            result += QStringLiteral("/%1").arg(scaling.denominator);
        result += QStringLiteral(" = ") +
                  exactvalue::product(value, scaling.numerator, scaling.denominator, m_separator);
        const auto floor = exact::scaledFloor(value, scaling.numerator, scaling.denominator);
        return {field, quoted(text), result + heldNote(floor, quint8(m_frame.at(index)))};
    }

    Explanation limit(const QString& field) const {
        const DecimalNumber rpm = read(m_map.settings.limitRpm);
        const auto floor = exact::quotientFloor(downloadframe::kLimitPeriodDividend, rpm);
        const int period = quint8(m_frame.at(2)) | quint8(m_frame.at(65)) << 8;
        return {field, quoted(m_map.settings.limitRpm),
                QStringLiteral("%1 / rpm = ").arg(downloadframe::kLimitPeriodDividend) +
                    exactvalue::quotient(downloadframe::kLimitPeriodDividend, rpm, m_separator) +
                    heldNote(floor, period)};
    }

    // A value the check let through because it rounds to a range end is sent as that end.
    static QString heldNote(std::uint64_t floor, int sent) {
        if (floor == std::uint64_t(sent))
            return QString();
        return QStringLiteral(", held at the range end: %1").arg(sent);
    }

    const MapFileContent& m_map;
    const QByteArray& m_frame;
    QChar m_separator;
};

} // namespace

QStringList explainFrame(const VariantProfile& profile, const MapFileContent& map,
                         const QByteArray& frame, const NumberFormat& numbers) {
    const QList<FrameField> fields = downloadframe::layout(profile);
    Q_ASSERT(fields.size() == frame.size());
    const Explainer explainer(map, frame, numbers);
    QStringList lines;
    for (int i = 0; i < fields.size(); ++i) {
        const Explanation e = explainer.explain(i, fields.at(i));
        // Joined, not substituted: a source text may hold a "%1" of its own.
        lines << QString::number(i).rightJustified(3) + QStringLiteral("  ") +
                     e.field.leftJustified(32) + QStringLiteral("  ") + e.source.leftJustified(18) +
                     QStringLiteral("  ") + e.scaled.leftJustified(40) + QStringLiteral("  ") +
                     hexByte(frame.at(i));
    }
    return lines;
}

} // namespace zerwa::cli
