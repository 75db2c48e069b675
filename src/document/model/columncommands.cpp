// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/model/columncommands.h"

#include "core/model/columnedits.h"
#include "document/model/editcontext.h"

namespace zerwa {

ColumnCommands::ColumnCommands(EditContext& context)
    : m_context(context) {}

void ColumnCommands::step(double amount) {
    MapDocument& document = m_context.document;
    // The whole map column of the remembered cell; the grid's range selection plays no part.
    MapTable table = document.table();
    const int column = document.rememberedCell().column;
    const QString description = QStringLiteral("step");
    try {
        columnedits::bulkStep(table, column, {amount}, m_context.numbers);
    } catch (const ConversionError&) {
        document.changeTable(table, description); // the rows above the bad cell keep their step
        throw;
    }
    document.changeTable(table, description);
    m_context.chart.refreshValues(document.table(), m_context.numbers);
}

void ColumnCommands::clear() {
    if (!m_context.prompter.askYesNo(QStringLiteral("Biztosan törölni szeretnéd a bejegyzéseket?")))
        return;
    MapDocument& document = m_context.document;
    const VariantProfile& profile = m_context.profile();
    const bool withAxes = document.axisEditMode();
    document.clearMap(withAxes ? ResetScope::WithAxes : ResetScope::DataOnly);
    if (withAxes) {
        for (int c = 1; c <= profile.mapColumns; ++c)
            m_context.chart.setTitle(c, profile.defaultHeadings.at(c - 1));
    }
    // The reset has just written the column numbers: the lines are flat at them.
    for (int c = 1; c <= profile.mapColumns; ++c)
        m_context.chart.setAllValues(c, c);
}

void ColumnCommands::slopeFill() {
    MapDocument& document = m_context.document;
    const int startRow = document.rememberedCell().row;
    const auto entries = m_context.prompter.askSlopeFill();
    if (!entries)
        return;
    const int column = document.rememberedCell().column;
    MapTable table = document.table();
    columnedits::slopeFill(
        table, column, startRow,
        columnedits::readSlopeFill(entries->slope, entries->steps, m_context.numbers),
        m_context.numbers);
    document.changeTable(table, QStringLiteral("slope fill"));
    m_context.chart.refreshValues(document.table(), m_context.numbers);
}

} // namespace zerwa
