#pragma once

#include "model/maptable.h"
#include "model/settingsblock.h"
#include "model/variantprofile.h"

namespace zerwa::test {

// A map that may be sent, in the shape of the profile: the default table, every data cell
// of map column c holding c, and the worked example's settings (4 cylinders, 12000 rpm,
// 1,5 ms, 3 ms, rising input, falling output), written with a comma.
struct SampleMap {
    MapTable table;
    SettingsBlock settings;
};

SampleMap validSampleMap(const VariantProfile& profile);

// Every data cell set to the same text.
void fillDataCells(MapTable& table, const QString& text);

} // namespace zerwa::test
