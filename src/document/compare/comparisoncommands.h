// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace zerwa {

struct EditContext;
class JournalCommands;
class MapComparison;
class MapFileCommands;

// What starts a comparison: a map file chosen in a dialog of its own, a download record, or
// the newest download this program delivered. A reference that cannot be used is told in one
// message and changes nothing: neither the map nor a comparison already on.
class ComparisonCommands {
public:
    ComparisonCommands(EditContext& context, MapComparison& comparison, MapFileCommands& mapFiles,
                       JournalCommands& journal);

    // Ctrl+D: the dialog proposes the current map file ("what changed since I saved" is one
    // Enter); Load's dialog keeps its own folder.
    void compareWithFile();
    // The journal window's "Összehasonlítás".
    void compareWithRecord(const QString& id);
    // Ctrl+Shift+D.
    void compareWithLastDelivery();

private:
    EditContext& m_context;
    MapComparison& m_comparison;
    MapFileCommands& m_mapFiles;
    JournalCommands& m_journal;
};

} // namespace zerwa
