// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/numberformat.h"
#include "core/storage/mapfilecontent.h"

#include <QByteArray>
#include <QStringList>

namespace zerwa::cli {

// One line per frame byte of a map that passes the check: its index, its field, the text it
// comes from, the exact scaled value and the byte. A value held at its range end says so.
QStringList explainFrame(const VariantProfile& profile, const MapFileContent& map,
                         const QByteArray& frame, const NumberFormat& numbers);

} // namespace zerwa::cli
