// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/numberformat.h"
#include "core/model/settingsblock.h"

#include <QString>

#include <optional>

namespace zerwa::settingsrules {

// What leaving a settings field does: an optional message (shown first), then optional new
// texts for the field itself and for the closing field.
struct FieldVerdict {
    std::optional<QString> message;
    std::optional<QString> replacement;
    std::optional<QString> closingReplacement;

    bool changesNothing() const { return !message && !replacement && !closingReplacement; }
};

// True when the text reads as a number within [minimum, maximum] compared in single precision
// (so a typed 0,2 meets the bound 0.2). Text that is not a number never does.
bool withinSingle(const QString& text, double minimum, double maximum, const NumberFormat& numbers);

// Leaving the limiting rpm field (Edit1).
FieldVerdict leaveLimitRpm(const QString& text, int rpmCeiling, const NumberFormat& numbers);
// Leaving the opening field (Edit2): checks the opening, then brings the closing into the range
// of the mode the opening selects, silently.
FieldVerdict leaveOpening(const QString& opening, const QString& closing,
                          const NumberFormat& numbers);
// Leaving the closing field (Edit3): milliseconds, or degrees in control mode.
FieldVerdict leaveClosing(const QString& opening, const QString& closing,
                          const NumberFormat& numbers);

} // namespace zerwa::settingsrules
