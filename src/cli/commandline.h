// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace zerwa::cli {

// The zerwa tool: finds the subcommand, reads its options and runs it. Returns the exit
// code.
int run(int argc, char** argv);

} // namespace zerwa::cli
