// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/journal/journalrecord.h"

#include <QString>

#include <optional>

namespace zerwa {

// One file of the journal folder as a listing shows it: a record's summary, or why the file
// is not a record.
struct JournalEntry {
    QString id; // a record's file name without ".record"; another file's whole name
    std::optional<JournalSummary> summary;
    QString damage; // set when there is no summary

    bool isDamaged() const { return !summary.has_value(); }
    friend bool operator==(const JournalEntry&, const JournalEntry&) = default;
};

} // namespace zerwa
