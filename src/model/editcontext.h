#pragma once

#include "model/chartsink.h"
#include "model/mapdocument.h"
#include "model/numberformat.h"
#include "model/prompter.h"

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
