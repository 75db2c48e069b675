// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/journal/journalproblem.h"

#include <QString>

#include <functional>
#include <optional>

namespace zerwa::journalfolder {

// Where the records go: $ZERWA_JOURNAL_DIR when set, else $XDG_DATA_HOME/zerwa/journal, else
// $HOME/.local/share/zerwa/journal; empty when none of them is set. These three are the only
// variables the programs read. A relative ZERWA_JOURNAL_DIR is taken from `currentFolder`;
// a relative XDG_DATA_HOME is not a base folder and is passed over, as the XDG rules say.
// `variable` gives a variable's value (empty when unset).
QString locate(const std::function<QString(const char* name)>& variable,
               const QString& currentFolder);
// locate() with the process's own environment and current folder.
QString fromEnvironment();

// The folder is there to be written (made, with its parents, when missing), or why not.
std::optional<JournalProblem> prepare(const QString& folder);
// The folder can be read, or does not exist yet (no records), or why neither.
std::optional<JournalProblem> checkReadable(const QString& folder);

} // namespace zerwa::journalfolder
