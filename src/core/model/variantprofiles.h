// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/variantprofile.h"

#include <QList>
#include <QStringView>

namespace zerwa::profiles {

// The profile table: the one place where the three programs differ.
const VariantProfile& zerwa8();
const VariantProfile& zerwa4();
const VariantProfile& zerwa4_60();

// All three, in the order above (for tests that run once per program).
QList<const VariantProfile*> all();

// The profile whose map files begin with `magic`, or null.
const VariantProfile* forMagic(QStringView magic);
// The profile of the program called `name` ("zerwa8", ...), or null.
const VariantProfile* forProgramName(QStringView name);

} // namespace zerwa::profiles
