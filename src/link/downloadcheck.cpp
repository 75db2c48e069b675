#include "link/downloadcheck.h"

#include "link/downloadlimits.h"

namespace zerwa {

bool ValidateForDownload(const VariantProfile& profile, const MapTable& table,
                         const SettingsBlock& settings, const NumberFormat& numbers) {
    if (table.columns() != profile.gridColumns() || table.rows() != profile.gridRows())
        return false;
    auto inRange = [&numbers](const QString& text, const SingleRange& range) {
        return range.containsRounded(numbers.fallback(text));
    };

    const SingleRange rpm = downloadlimits::rpm(profile).rounded();
    for (int row = 1; row <= profile.rpmRows; ++row) {
        if (!inRange(table.cell(0, row), rpm))
            return false;
    }
    const SingleRange cell = downloadlimits::cell().rounded();
    for (int row = 1; row <= profile.rpmRows; ++row) {
        for (int column = 1; column <= profile.mapColumns; ++column) {
            if (!inRange(table.cell(column, row), cell))
                return false;
        }
    }
    if (!inRange(settings.limitRpm, rpm))
        return false;
    const bool controlMode = settings::isControlMode(settings);
    if (!controlMode && !inRange(settings.opening, downloadlimits::openingMs().rounded()))
        return false;
    const SingleRange closing =
        (controlMode ? downloadlimits::closingAngle() : downloadlimits::closingMs()).rounded();
    if (!inRange(settings.closing, closing))
        return false;
    return !settings.cylinders.isEmpty() && !settings.inputPolarity.isEmpty() &&
           !settings.outputPolarity.isEmpty();
}

} // namespace zerwa
