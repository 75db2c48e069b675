// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/journal/journalwindow.h"

#include "core/journal/journalmessages.h"
#include "document/journal/journalcommands.h"
#include "document/session/mapsession.h"
#include "gui/journal/journaltablemodel.h"

#include <QAbstractItemDelegate>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace zerwa {

namespace {

constexpr int kWidth = 760;
constexpr int kHeight = 420;
// Time, port, file, outcome, note, hash.
constexpr int kColumnWidths[] = {150, 70, 220, 150, 160, 70};

} // namespace

// The list, which says whether a note is being typed.
class JournalWindow::JournalTable : public QTableView {
public:
    using QTableView::QTableView;
    bool isEditing() const { return state() == EditingState; }
};

JournalWindow::JournalWindow(MapSession& session, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_session(session) {
    setWindowTitle(QStringLiteral("Letöltési napló"));
    m_model = new JournalTableModel(
        [this](const QString& id, const QString& note) {
            bool written = false;
            m_session.run([&] { written = m_session.journal().setNote(id, note); });
            return written;
        },
        this);
    m_table = new JournalTable(this);
    table = m_table;
    table->setModel(m_model);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    for (int column = 0; column < JournalTableModel::ColumnCount; ++column)
        table->setColumnWidth(column, kColumnWidths[column]);
    connect(table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &JournalWindow::updateButtons);

    status = new QLabel(this);
    status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_buttons = new QHBoxLayout;
    m_buttons->addWidget(status, 1);
    loadButton = addRecordButton(QStringLiteral("Betöltés"),
                                 [this](const QString& id) { m_session.journal().load(id); });
    saveAsButton = addRecordButton(QStringLiteral("Mentés másként…"),
                                   [this](const QString& id) { m_session.journal().saveAs(id); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table);
    layout->addLayout(m_buttons);
    resize(kWidth, kHeight);

    // A note being typed is not thrown away by a download that ends meanwhile: the list is
    // read again once the note is saved.
    connect(&m_session, &MapSession::downloadEnded, this, [this] {
        m_refreshPending = m_table->isEditing();
        if (isVisible() && !m_refreshPending)
            refresh();
    });
    connect(table->itemDelegate(), &QAbstractItemDelegate::closeEditor, this, [this] {
        if (std::exchange(m_refreshPending, false))
            QTimer::singleShot(0, this, &JournalWindow::refresh);
    });
}

QPushButton* JournalWindow::addRecordButton(const QString& caption,
                                            std::function<void(const QString& id)> action) {
    auto* button = new QPushButton(caption, this);
    m_buttons->addWidget(button);
    m_recordButtons << button;
    connect(button, &QPushButton::clicked, this, [this, action = std::move(action)] {
        if (const auto id = selectedId())
            m_session.run([&] { action(*id); });
    });
    updateButtons();
    return button;
}

void JournalWindow::refresh() {
    const std::optional<QString> selected = selectedId();
    Journal::Listing listing = m_session.journal().list();
    m_model->setEntries(std::move(listing.entries));
    status->setText(listing.problem
                        ? journalmessages::cannotRead(*listing.problem)
                        : QStringLiteral("A napló helye: ") + m_session.journal().folder());
    const int row = selected ? m_model->rowOf(*selected) : -1;
    if (row >= 0)
        table->selectRow(row);
    updateButtons();
}

std::optional<QString> JournalWindow::selectedId() const {
    const QModelIndexList rows = table->selectionModel()->selectedRows();
    if (rows.isEmpty() || m_model->entryAt(rows.first().row()).isDamaged())
        return std::nullopt;
    return m_model->entryAt(rows.first().row()).id;
}

void JournalWindow::updateButtons() {
    const bool usable = selectedId().has_value();
    for (QPushButton* button : std::as_const(m_recordButtons))
        button->setEnabled(usable);
}

} // namespace zerwa
