// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/link/downloadcheck.h"

#include "core/link/downloadlimits.h"

namespace zerwa {

std::optional<DownloadFault> FindDownloadFault(const VariantProfile& profile, const MapTable& table,
                                               const SettingsBlock& settings,
                                               const NumberFormat& numbers) {
    Q_ASSERT(table.columns() == profile.gridColumns() && table.rows() == profile.gridRows());
    using Field = DownloadFault::Field;
    auto inRange = [&numbers](const QString& text, const SingleRange& range) {
        return range.containsRounded(numbers.fallback(text));
    };

    const SingleRange rpm = downloadlimits::rpm(profile).rounded();
    for (int row = 1; row <= profile.rpmRows; ++row) {
        if (!inRange(table.cell(0, row), rpm))
            return DownloadFault{Field::RpmCell, {0, row}};
    }
    const SingleRange cell = downloadlimits::cell().rounded();
    for (int row = 1; row <= profile.rpmRows; ++row) {
        for (int column = 1; column <= profile.mapColumns; ++column) {
            if (!inRange(table.cell(column, row), cell))
                return DownloadFault{Field::DataCell, {column, row}};
        }
    }
    if (!inRange(settings.limitRpm, rpm))
        return DownloadFault{Field::LimitRpm, {}};
    const bool controlMode = settings::isControlMode(settings);
    if (!controlMode && !inRange(settings.opening, downloadlimits::openingMs().rounded()))
        return DownloadFault{Field::Opening, {}};
    const SingleRange closing =
        (controlMode ? downloadlimits::closingAngle() : downloadlimits::closingMs()).rounded();
    if (!inRange(settings.closing, closing))
        return DownloadFault{Field::Closing, {}};
    if (settings.cylinders.isEmpty())
        return DownloadFault{Field::Cylinders, {}};
    if (settings.inputPolarity.isEmpty())
        return DownloadFault{Field::InputPolarity, {}};
    if (settings.outputPolarity.isEmpty())
        return DownloadFault{Field::OutputPolarity, {}};
    return std::nullopt;
}

bool ValidateForDownload(const VariantProfile& profile, const MapTable& table,
                         const SettingsBlock& settings, const NumberFormat& numbers) {
    if (table.columns() != profile.gridColumns() || table.rows() != profile.gridRows())
        return false;
    return !FindDownloadFault(profile, table, settings, numbers);
}

} // namespace zerwa
