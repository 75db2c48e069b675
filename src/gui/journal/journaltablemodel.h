// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/journal/journalentry.h"

#include <QAbstractTableModel>
#include <QList>

#include <functional>

namespace zerwa {

// The journal's entries as the journal window lists them: time, port, file, outcome, note and
// the first 8 hex digits of the wire image's hash. The note of a whole record can be edited
// in place; files that are not whole records are listed as damaged.
class JournalTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Time, Port, File, Outcome, Note, Hash, ColumnCount };

    // `noteEditor` writes a record's new note and says whether it could.
    explicit JournalTableModel(
        std::function<bool(const QString& id, const QString& note)> noteEditor,
        QObject* parent = nullptr);

    void setEntries(QList<JournalEntry> entries);
    const JournalEntry& entryAt(int row) const { return m_entries.at(row); }
    // The row of the entry with this id, or -1.
    int rowOf(const QString& id) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

private:
    QVariant display(const JournalEntry& entry, int column) const;

    std::function<bool(const QString&, const QString&)> m_noteEditor;
    QList<JournalEntry> m_entries;
};

} // namespace zerwa
