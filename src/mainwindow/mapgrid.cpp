#include "mainwindow/mapgrid.h"

#include "mainwindow/maptablemodel.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QShortcut>
#include <QStyledItemDelegate>

namespace zerwa {

namespace {

constexpr int kRowHeight = 20;

// The cell editor writes every keystroke into the table at once, so that the table always
// holds what the user sees (a command run from a button or the popup menu reads it), and an
// editor never carries an old text back over a command's result. It leaves its context menu
// to the grid, so that a right click or the menu key on the cell being edited opens the
// grid's popup menu.
class CellEditorDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        editor->setContextMenuPolicy(Qt::NoContextMenu);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            auto* self = const_cast<CellEditorDelegate*>(this);
            connect(line, &QLineEdit::textEdited, self,
                    [self, line] { emit self->commitData(line); });
        }
        return editor;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        // Rewriting an unchanged text would move the cursor while the user types.
        auto* line = qobject_cast<QLineEdit*>(editor);
        if (line && line->text() == index.data(Qt::EditRole).toString())
            return;
        QStyledItemDelegate::setEditorData(editor, index);
    }
};

} // namespace

MapGrid::MapGrid(MapTableModel* model, const VariantProfile& profile, QWidget* parent)
    : QTableView(parent)
    , m_model(model) {
    setObjectName(QStringLiteral("StringGrid1"));
    setModel(model);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::AllEditTriggers);
    setTabKeyNavigation(false); // Tab leaves the grid for the next control
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setItemDelegate(new CellEditorDelegate(this));
    auto* menuKey = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), this);
    menuKey->setContext(Qt::WidgetWithChildrenShortcut);
    connect(menuKey, &QShortcut::activated, this, [this] { openPopupAtCurrentCell(); });

    QHeaderView* rowHeader = verticalHeader();
    rowHeader->setMinimumSectionSize(1);
    rowHeader->setDefaultSectionSize(kRowHeight);
    rowHeader->setSectionResizeMode(QHeaderView::Fixed);
    rowHeader->setFixedWidth(profile.gridColumnWidths.value(0));
    rowHeader->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    QHeaderView* columnHeader = horizontalHeader();
    columnHeader->setMinimumSectionSize(1);
    columnHeader->setFixedHeight(kRowHeight);
    columnHeader->setSectionResizeMode(QHeaderView::Interactive);
    columnHeader->setHighlightSections(false);
    rowHeader->setHighlightSections(false);
    columnHeader->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int column = 0; column < profile.gridColumnWidths.size(); ++column)
        setColumnWidth(column, profile.gridColumnWidths.at(column));

    // A command that rewrites many cells at once must reach the open editor too.
    connect(model, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& topLeft, const QModelIndex& bottomRight) {
                if (topLeft != bottomRight)
                    updateEditorData();
            });

    setFixedAxes(true);
}

void MapGrid::setFixedAxes(bool fixed) {
    m_fixedAxes = fixed;
    m_model->setAxesEditable(!fixed);
    setRowHidden(0, fixed);
    setColumnHidden(0, fixed);
    horizontalHeader()->setVisible(fixed);
    verticalHeader()->setVisible(fixed);

    // A selection on an axis that has just become fixed moves to the nearest data cell.
    const CellPos cell = currentCell();
    if (fixed && (cell.column == 0 || cell.row == 0))
        moveToCell({qMax(cell.column, 1), qMax(cell.row, 1)});
    viewport()->update();
}

CellPos MapGrid::currentCell() const {
    const QModelIndex index = currentIndex();
    return index.isValid() ? CellPos{index.column(), index.row()} : CellPos{1, 1};
}

void MapGrid::moveToCell(CellPos cell) {
    setCurrentIndex(m_model->index(cell.row, cell.column));
}

void MapGrid::placeCellSilently(CellPos cell) {
    m_silent = true;
    setCurrentIndex(m_model->index(cell.row, cell.column));
    m_silent = false;
}

void MapGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    // The base class first commits and closes the editor of the cell that was left.
    QTableView::currentChanged(current, previous);
    if (m_silent || !current.isValid())
        return;
    emit cellSelected(current.column(), current.row());
    openEditorOnCurrent();
}

void MapGrid::contextMenuEvent(QContextMenuEvent* event) {
    event->accept();
    if (event->reason() == QContextMenuEvent::Keyboard)
        openPopupAtCurrentCell();
    else
        openPopup(event->globalPos());
}

bool MapGrid::openPopup(const QPoint& globalPosition) {
    if (!m_autoPopup || !m_popupMenu)
        return false;
    emit aboutToPopup();
    m_popupMenu->popup(globalPosition);
    return true;
}

bool MapGrid::openPopupAtCurrentCell() {
    const QRect cellRect = visualRect(currentIndex());
    return openPopup(
        viewport()->mapToGlobal(cellRect.isValid() ? cellRect.bottomLeft() : QPoint()));
}

void MapGrid::mousePressEvent(QMouseEvent* event) {
    // A right click opens the popup menu without moving the selection.
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QTableView::mousePressEvent(event);
}

void MapGrid::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    openEditorOnCurrent();
}

void MapGrid::openEditorOnCurrent() {
    const QModelIndex index = currentIndex();
    if (index.isValid() && state() != QAbstractItemView::EditingState &&
        (m_model->flags(index) & Qt::ItemIsEditable))
        edit(index);
}

} // namespace zerwa
