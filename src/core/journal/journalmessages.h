// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/journal/journalproblem.h"

#include <QDateTime>
#include <QString>

namespace zerwa::journalmessages {

// What the programs tell the user about the journal.

// A record that could not be written (shown after the download's own message, or when a
// note could not be saved): where it should have gone and why.
QString cannotWrite(const JournalProblem& problem);
// The journal or a record that cannot be read or used.
QString cannotRead(const JournalProblem& problem);
// Why: the problem on its own.
QString reason(const JournalProblem& problem);

// A record's time as the programs show it: "2025.03.14. 11:15:02".
QString shownTime(const QDateTime& time);

// A record whose map holds a text that Windows-1250 cannot carry.
inline const QString kNotAMapFile =
    QStringLiteral("Ez a térkép olyan szöveget tartalmaz, amely Windows-1250 kódolással nem "
                   "írható,\nezért nem menthető map állományba.");

} // namespace zerwa::journalmessages
