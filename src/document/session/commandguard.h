// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

namespace zerwa {

class Prompter;

// Runs one user command. An error that escapes it is shown in the error box with its own
// text, and the program goes on with the next event: no exception may unwind through Qt's
// event loop. Effects the command made before the error stay.
void runGuarded(Prompter& prompter, const std::function<void()>& command);

} // namespace zerwa
