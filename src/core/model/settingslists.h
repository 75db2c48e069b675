// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/settingsblock.h"
#include "core/model/variantprofile.h"

#include <QString>
#include <QStringList>

namespace zerwa::settings {

// The names of the six settings as their labels show them, in file order (cylinders,
// limiting rpm, opening, closing, input polarity, output polarity).
const QStringList& fieldNames();
// The six texts in the same order.
QStringList fieldValues(const SettingsBlock& block);

// The block as the settings panel would hold it: a drop-down text that is not an item of
// its list (a cylinder count the program does not offer, a polarity spelled any other way)
// reads as no selection, an empty text. The free-text fields are kept as they are.
SettingsBlock normalized(const SettingsBlock& block, const VariantProfile& profile);

} // namespace zerwa::settings
