// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QWidget>

#include <functional>
#include <optional>

class QHBoxLayout;
class QLabel;
class QPushButton;
class QTableView;

namespace zerwa {

class JournalTableModel;
class MapSession;

// "Letöltési napló": the records of this program's downloads, newest first, beside the main
// window (not modal). It reads the journal when it is opened and again when a download ends
// while it is open. The selected record's map can be loaded into the editor or saved to a
// file, and its note edited in place.
class JournalWindow : public QWidget {
    Q_OBJECT
public:
    JournalWindow(MapSession& session, QWidget* parent);

    // Reads the journal again; the selected record stays selected.
    void refresh();
    // The selected whole record's id.
    std::optional<QString> selectedId() const;
    // A button under the list that acts on the selected record, run as a command; it can be
    // clicked only while a whole record is selected.
    QPushButton* addRecordButton(const QString& caption,
                                 std::function<void(const QString& id)> action);

    QTableView* table;
    QPushButton* loadButton;   // "Betöltés"
    QPushButton* saveAsButton; // "Mentés másként…"
    QLabel* status;            // where the journal is, or why it cannot be read

private:
    class JournalTable;
    void updateButtons();

    MapSession& m_session;
    JournalTable* m_table;
    JournalTableModel* m_model;
    QHBoxLayout* m_buttons;
    QList<QPushButton*> m_recordButtons;
    bool m_refreshPending = false; // a download ended while a note was being typed
};

} // namespace zerwa
