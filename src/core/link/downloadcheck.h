// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/maptable.h"
#include "core/model/numberformat.h"
#include "core/model/settingsblock.h"
#include "core/model/variantprofile.h"

#include <optional>

namespace zerwa {

// The value a download is refused for.
struct DownloadFault {
    enum class Field {
        RpmCell,
        DataCell,
        LimitRpm,
        Opening,
        Closing,
        Cylinders,
        InputPolarity,
        OutputPolarity
    };
    Field field;
    CellPos cell; // for RpmCell and DataCell

    friend bool operator==(const DownloadFault&, const DownloadFault&) = default;
};

// The first value the whole-map check refuses, in the check's order (rpm cells, data cells
// row by row, limiting rpm, opening, closing, then the three drop-down lists); nothing when
// every value may be sent. Numbers are read with the fallback conversion and rounded to
// single precision before they are compared; the headings play no part. The table has the
// profile's shape.
std::optional<DownloadFault> FindDownloadFault(const VariantProfile& profile, const MapTable& table,
                                               const SettingsBlock& settings,
                                               const NumberFormat& numbers);

// The check that gates a download: true when every value may be sent. A table of another
// shape never may.
bool ValidateForDownload(const VariantProfile& profile, const MapTable& table,
                         const SettingsBlock& settings, const NumberFormat& numbers);

} // namespace zerwa
