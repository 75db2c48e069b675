// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>

namespace zerwa {

// The picture of the help button: a question mark in a blue disc, drawn at any size.
QIcon helpGlyph();

} // namespace zerwa
