// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/cellrange.h"
#include "core/model/rangeedits.h"
#include "document/model/cellcheck.h"
#include "document/model/chartrefresh.h"

#include <QString>

namespace zerwa {

struct EditContext;

// The commands on the grid's marked range (the current cell alone is a range too). Each is
// one step of the history, made whole or not at all, with one refresh of the chart for what
// it changed; typing it interrupts belongs to its step. A refused command shows one message
// and changes nothing.
class RangeCommands {
public:
    explicit RangeCommands(EditContext& context);

    // The current cell is checked as if it were left (through the correction dialog when its
    // value is out of range); then every other marked cell takes its text.
    void fill(const CellRange& range, CellPos current);
    // One operation of the range dialog, without the dialog (the interpolation key).
    void apply(const CellRange& range, const rangeedits::Request& request);
    // Asks for the operation in the range dialog, then makes it.
    void askAndApply(const CellRange& range);
    // Adds a copied block's values to the cells from `anchor`.
    void addBlock(const QString& text, CellPos anchor);

private:
    rangeedits::Target target(const CellRange& range) const;
    void make(const rangeedits::Plan& plan, const QString& description,
              ChartRefresh alsoRefresh = {});

    EditContext& m_context;
    CellCheck m_check;
};

} // namespace zerwa
