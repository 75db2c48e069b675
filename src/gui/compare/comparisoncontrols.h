// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/mapdifferences.h"
#include "gui/compare/comparisonwindow.h"

#include <QObject>
#include <QPointer>

namespace zerwa {

class JournalWindow;
class TForm1;

// The comparison in the main window: its keys (Ctrl+D, Ctrl+Shift+D, F3, Shift+F3, anywhere
// in the window), the "Összehasonlítás" window, the reference's lines in the chart, and the
// visit of a difference. The marks themselves come from the grid's model and the settings
// panel, which follow the comparison.
class ComparisonControls : public QObject {
    Q_OBJECT
public:
    explicit ComparisonControls(TForm1& form);
    ~ComparisonControls() override;

    // The window, while it exists (made when the first comparison starts).
    ComparisonWindow* window() const { return m_window; }
    // Adds "Összehasonlítás" under the journal window's list.
    void addTo(JournalWindow& journal);
    // F3 (forward) and Shift+F3.
    void step(bool forward);

private:
    void started();
    void ended();
    // A data cell is selected as a click selects it; an rpm cell or a heading outside
    // axis-edit mode is only scrolled into view; a setting gets the focus.
    void visit(const DifferencePlace& place);

    TForm1& m_form;
    QPointer<ComparisonWindow> m_window;
};

} // namespace zerwa
