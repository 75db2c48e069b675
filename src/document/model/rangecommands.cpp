// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/model/rangecommands.h"

#include "document/model/editcontext.h"

namespace zerwa {

RangeCommands::RangeCommands(EditContext& context)
    : m_context(context)
    , m_check(context) {}

rangeedits::Target RangeCommands::target(const CellRange& range) const {
    return {range, m_context.document.axisEditMode(), m_context.profile(), m_context.numbers};
}

void RangeCommands::fill(const CellRange& range, CellPos current) {
    m_check.correct(current);
    MapDocument& document = m_context.document;
    const rangeedits::Plan plan = rangeedits::planFill(document.table(), target(range), current);
    make(plan, QStringLiteral("fill"), CellCheck::refreshAfterCheck(current));
    // The cell has been checked as if it were left: typing in it now is a new step.
    document.closeEdit();
}

void RangeCommands::apply(const CellRange& range, const rangeedits::Request& request) {
    make(rangeedits::plan(m_context.document.table(), target(range), request),
         QStringLiteral("range"));
}

void RangeCommands::askAndApply(const CellRange& range) {
    const auto request =
        m_context.prompter.askRangeOperation([this, &range](const rangeedits::Request& choice) {
            return rangeedits::plan(m_context.document.table(), target(range), choice);
        });
    if (request)
        apply(range, *request);
}

void RangeCommands::addBlock(const QString& text, CellPos anchor) {
    make(rangeedits::planAddBlock(m_context.document.table(), target({anchor, anchor}), text),
         QStringLiteral("add"));
}

void RangeCommands::make(const rangeedits::Plan& plan, const QString& description,
                         ChartRefresh alsoRefresh) {
    if (!plan.after) {
        m_context.prompter.showMessage(plan.refusal);
        return;
    }
    ChartRefresh refresh = m_context.document.changeTable(*plan.after, description);
    refresh |= alsoRefresh;
    m_context.chart.refresh(refresh, m_context.document.table(), m_context.numbers);
}

} // namespace zerwa
