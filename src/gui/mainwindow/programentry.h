// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace zerwa {

struct VariantProfile;

// Runs one program with its profile: creates the windows, runs the event loop, and ends
// with exit code 0.
int runProgram(const VariantProfile& profile, int argc, char** argv);

} // namespace zerwa
