// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/variantprofile.h"

#include <QByteArray>
#include <QChar>

namespace zerwa::cli {

// Prints what a captured wire image or bare frame gave the device, and the offset of its
// first fault. Returns the exit code: 0 for a well-formed frame, 1 for a broken one, 2 when
// the program cannot be told from the length alone.
int reportCapture(const QByteArray& bytes, const VariantProfile* variant, QChar separator);

} // namespace zerwa::cli
