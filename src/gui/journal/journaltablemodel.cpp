// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/journal/journaltablemodel.h"

#include "core/journal/journalmessages.h"
#include "core/link/downloadframe.h"

namespace zerwa {

namespace {

QString outcomeText(const JournalSummary& s) {
    switch (s.outcome) {
    case JournalOutcome::Delivered:
        return QStringLiteral("befejezve");
    case JournalOutcome::CloseTimedOut:
        return QStringLiteral("nem fejeződött be időben");
    case JournalOutcome::Failed:
        return QStringLiteral("sikertelen (%1/%2 egység)")
            .arg(s.units)
            .arg(s.wireBytes / downloadframe::kUnitSize);
    case JournalOutcome::Unknown:
        break;
    }
    return QStringLiteral("ismeretlen");
}

} // namespace

JournalTableModel::JournalTableModel(
    std::function<bool(const QString& id, const QString& note)> noteEditor, QObject* parent)
    : QAbstractTableModel(parent)
    , m_noteEditor(std::move(noteEditor)) {}

void JournalTableModel::setEntries(QList<JournalEntry> entries) {
    beginResetModel();
    m_entries = std::move(entries);
    endResetModel();
}

int JournalTableModel::rowOf(const QString& id) const {
    for (int row = 0; row < m_entries.size(); ++row) {
        if (m_entries.at(row).id == id)
            return row;
    }
    return -1;
}

int JournalTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_entries.size());
}

int JournalTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant JournalTableModel::display(const JournalEntry& entry, int column) const {
    if (!entry.summary) // a file that is not a whole record: only its name is known
        return column == File      ? QVariant(entry.id)
               : column == Outcome ? QVariant(QStringLiteral("sérült állomány"))
                                   : QVariant();
    const JournalSummary& s = *entry.summary;
    switch (column) {
    case Time:
        return journalmessages::shownTime(s.time);
    case Port:
        return s.port;
    case File:
        return s.file;
    case Outcome:
        return outcomeText(s);
    case Note:
        return s.note;
    case Hash:
        return s.sha256.left(8);
    }
    return QVariant();
}

QVariant JournalTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_entries.size())
        return QVariant();
    const JournalEntry& entry = m_entries.at(index.row());
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return display(entry, index.column());
    if (role == Qt::ToolTipRole && entry.summary) {
        const JournalSummary& s = *entry.summary;
        switch (index.column()) {
        case Port:
            return s.device;
        case File:
            return s.caption.isEmpty() ? s.file : s.caption;
        case Outcome:
            return s.error;
        case Hash:
            return s.sha256;
        default:
            break;
        }
    }
    return QVariant();
}

QVariant JournalTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const QStringList titles = {QStringLiteral("Idő"),        QStringLiteral("Port"),
                                       QStringLiteral("Állomány"),   QStringLiteral("Eredmény"),
                                       QStringLiteral("Megjegyzés"), QStringLiteral("SHA-256")};
    return titles.value(section);
}

Qt::ItemFlags JournalTableModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == Note && !m_entries.at(index.row()).isDamaged())
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool JournalTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const QString id = m_entries.at(index.row()).id;
    const QString note = value.toString();
    if (note == m_entries.at(index.row()).summary->note || !m_noteEditor(id, note))
        return false;
    // A message box may have run meanwhile, and the list may have been read again.
    const int row = rowOf(id);
    if (row >= 0 && m_entries.at(row).summary) {
        m_entries[row].summary->note = note;
        emit dataChanged(this->index(row, Note), this->index(row, Note));
    }
    return true;
}

} // namespace zerwa
