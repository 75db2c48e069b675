// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace zerwa::cli {

// Why a command may not write its output: standard output or the file named by `output`
// (empty: none) is one of the `inputs` it reads, the same file after every link is followed,
// a hard link included. Empty when none is.
QString outputOverInput(const QStringList& inputs, const QString& output);

} // namespace zerwa::cli
