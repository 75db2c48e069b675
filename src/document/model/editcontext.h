// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/numberformat.h"
#include "document/model/chartsink.h"
#include "document/model/mapdocument.h"
#include "document/model/prompter.h"

namespace zerwa {

// What the commands act on: the map document, the user's number format, the questions to
// the user, and the chart.
struct EditContext {
    MapDocument& document;
    const NumberFormat& numbers;
    Prompter& prompter;
    ChartSink& chart;

    const VariantProfile& profile() const { return document.profile(); }
};

} // namespace zerwa
