#pragma once

#include "model/maptable.h"
#include "model/numberformat.h"
#include "model/settingsblock.h"
#include "model/variantprofile.h"

namespace zerwa {

// The whole-map check that gates a download: true when every value may be sent, false at
// the first one that may not (rpm cells, data cells row by row, limiting rpm, opening,
// closing, then the three drop-down lists). Numbers are read with the fallback conversion
// and rounded to single precision before they are compared; the headings play no part.
bool ValidateForDownload(const VariantProfile& profile, const MapTable& table,
                         const SettingsBlock& settings, const NumberFormat& numbers);

} // namespace zerwa
