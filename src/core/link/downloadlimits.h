// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/decimalnumber.h"
#include "core/model/variantprofile.h"

#include <QString>

namespace zerwa {

// A range with its ends rounded to single precision, as the check compares.
struct SingleRange {
    float low = 0;
    float high = 0;
    // Whether a converted value, rounded to single precision, lies inside (ends included).
    bool containsRounded(double value) const;
};

// A closed range of values the device can take, its ends written as decimal texts with a
// point. The pre-download check compares against these ends and the frame encoder keeps
// every value inside them, so the two can never disagree.
struct DownloadRange {
    QString low;
    QString high;

    DecimalNumber lowNumber() const;
    DecimalNumber highNumber() const;
    SingleRange rounded() const;
};

namespace downloadlimits {

DownloadRange rpm(const VariantProfile& profile); // rpm cells and the limiting rpm
DownloadRange cell();                             // data cells
DownloadRange openingMs();
DownloadRange closingMs();
DownloadRange closingAngle(); // degrees, in control mode

} // namespace downloadlimits

} // namespace zerwa
