// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/maptable.h"
#include "core/model/settingsblock.h"

namespace zerwa {

// One map as a map file holds it: the settings texts and every cell text, axes included.
struct MapFileContent {
    SettingsBlock settings;
    MapTable table;

    friend bool operator==(const MapFileContent&, const MapFileContent&) = default;
};

} // namespace zerwa
