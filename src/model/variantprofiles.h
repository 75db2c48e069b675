#pragma once

#include "model/variantprofile.h"

#include <QList>

namespace zerwa::profiles {

// The profile table: the one place where the three programs differ.
const VariantProfile& zerwa8();
const VariantProfile& zerwa4();
const VariantProfile& zerwa4_60();

// All three, in the order above (for tests that run once per program).
QList<const VariantProfile*> all();

} // namespace zerwa::profiles
