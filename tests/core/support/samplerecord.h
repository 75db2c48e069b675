// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/journal/downloadrecorder.h"
#include "core/journal/journalformat.h"
#include "core/support/programtable.h"

namespace zerwa::test {

// The worked example (every cell 10) sent through COM1 on 14 March 2025 and delivered; the
// note holds what a value's escapes are for. A first heading that Windows-1250 cannot carry
// makes the record keep its map in UTF-8.
inline JournalRecord sampleRecord(const VariantProfile& profile,
                                  const QString& firstHeading = QStringLiteral("0.00")) {
    SampleMap map = SampleMap(profile).fill(QStringLiteral("10"));
    map.table.setCell(1, 0, firstHeading);
    JournalRecord record = newDownloadRecord(profile, {map.settings, map.table},
                                             workedExampleFrame(profile.frameLength), u',');
    JournalSummary& s = record.summary;
    s.time = *journalformat::parseTime(u"2025-03-14T11:15:02.123+01:00");
    s.port = QStringLiteral("COM1");
    s.device = QStringLiteral("/dev/ttyUSB0");
    s.file = QStringLiteral("/home/kati/elso.qmt");
    s.outcome = JournalOutcome::Delivered;
    s.units = profile.frameLength;
    s.note = QStringLiteral("Kovács úr\\ABC-123\nkék");
    return record;
}

} // namespace zerwa::test
