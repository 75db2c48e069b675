// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/mapgrid.h"

#include "gui/mainwindow/editorkeys.h"
#include "gui/mainwindow/maptablemodel.h"
#include "gui/mainwindow/markedheader.h"
#include "gui/mainwindow/markoverlay.h"

#include <QApplication>
#include <QBrush>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QProxyStyle>
#include <QShortcut>
#include <QStyleFactory>
#include <QStyledItemDelegate>

namespace zerwa {

namespace {

constexpr int kRowHeight = 20;

// Narrow cell and header margins: the column widths are fixed, and the rpm column must show
// five digits in its header, its cells and its editor.
class NarrowMarginsStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        if (metric == PM_HeaderMargin)
            return 1;
        if (metric == PM_FocusFrameHMargin)
            return 0;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

} // namespace

// The cell editor writes every keystroke into the table at once, so that the table always
// holds what the user sees (a command run from a button or the popup menu reads it), and an
// editor never carries an old text back over a command's result. It leaves its context menu
// to the grid, so that a right click or the menu key on the cell being edited opens the
// grid's popup menu, and its undo keys to the window, which owns the map's history.
class CellEditorDelegate : public QStyledItemDelegate {
public:
    CellEditorDelegate(MapGrid* grid)
        : QStyledItemDelegate(grid)
        , m_grid(grid) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        editor->setContextMenuPolicy(Qt::NoContextMenu);
        decorate(editor, index);
        m_grid->m_editor = editor;
        passUndoKeysToWindow(editor);
        passClipboardKeysToGrid(editor);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            line->setTextMargins(0, 0, 0, 0);
            refuseTabsAndLineBreaks(line);
            auto* self = const_cast<CellEditorDelegate*>(this);
            connect(line, &QLineEdit::textEdited, self,
                    [self, line] { emit self->commitData(line); });
        }
        return editor;
    }

    // The delegate sees the editor's keys before anyone else: Escape gives back the text the
    // cell held when it was entered, and the editor stays open.
    bool eventFilter(QObject* editor, QEvent* event) override {
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            const CellPos cell = m_grid->currentCell();
            emit m_grid->typingRevertRequested(cell.column, cell.row);
            return true;
        }
        return QStyledItemDelegate::eventFilter(editor, event);
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        decorate(editor, index);
        // Rewriting an unchanged text would move the cursor while the user types.
        auto* line = qobject_cast<QLineEdit*>(editor);
        if (line && line->text() == index.data(Qt::EditRole).toString())
            return;
        QStyledItemDelegate::setEditorData(editor, index);
    }

    // The cell's decoration under the selection and the current cell, which are outlines:
    // never a fill that would hide a background of the cell's own.
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem plain = option;
        plain.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
        QStyledItemDelegate::paint(painter, plain, index);
        const CellDecoration decoration =
            m_grid->mapModel()->decoration(index.column(), index.row());
        const QColor ink = decoration.text.value_or(option.palette.color(QPalette::Text));
        celldecoration::paintMarks(*painter, option.rect, decoration, ink);
        const QColor highlight = option.palette.color(QPalette::Highlight);
        if (index == m_grid->currentIndex())
            celldecoration::paintOutline(*painter, option.rect, highlight, ink);
        else if (option.state & QStyle::State_Selected)
            celldecoration::paintOutline(*painter, option.rect, highlight, ink,
                                         selectionSides(index));
    }

private:
    // A block of selected cells is outlined as a whole: no line between two of its cells.
    celldecoration::OutlineSides selectionSides(const QModelIndex& index) const {
        const QItemSelectionModel* selection = m_grid->selectionModel();
        auto open = [&](int rowStep, int columnStep) {
            const QModelIndex next = index.siblingAtRow(index.row() + rowStep)
                                         .siblingAtColumn(index.column() + columnStep);
            return next.isValid() && selection->isSelected(next) && next != m_grid->currentIndex();
        };
        return {!open(0, -1), !open(-1, 0), !open(0, 1), !open(1, 0)};
    }

    // The open editor shows the cell's decoration too, and the current cell's outline.
    void decorate(QWidget* editor, const QModelIndex& index) const {
        const CellDecoration decoration =
            m_grid->mapModel()->decoration(index.column(), index.row());
        const QFont font = index.column() == 0
                               ? m_grid->mapModel()->rpmFonts().editor(decoration.differs)
                               : QFont();
        MarkOverlay::decorate(editor, decoration, font, true);
    }

    MapGrid* m_grid;
};

// Lets the grid check the cell that is left before the selection moves on, whether a click,
// a key or a command moves it.
class GridSelectionModel : public QItemSelectionModel {
public:
    GridSelectionModel(QAbstractItemModel* model, MapGrid* grid)
        : QItemSelectionModel(model, grid)
        , m_grid(grid) {}

    void setCurrentIndex(const QModelIndex& index, SelectionFlags command) override {
        if (index.isValid() && index != currentIndex())
            m_grid->beforeMove(index);
        QItemSelectionModel::setCurrentIndex(index, command);
    }

private:
    MapGrid* m_grid;
};

MapGrid::MapGrid(MapTableModel* model, const VariantProfile& profile, QWidget* parent)
    : QTableView(parent)
    , m_model(model) {
    setObjectName(QStringLiteral("StringGrid1"));
    setHorizontalHeader(new MarkedHeader(Qt::Horizontal, this));
    setVerticalHeader(new MarkedHeader(Qt::Vertical, this));
    setModel(model);
    QItemSelectionModel* defaultSelection = selectionModel();
    setSelectionModel(new GridSelectionModel(model, this));
    delete defaultSelection;
    // A block's outline runs around the block: a cell's sides change with its neighbours'.
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, viewport(),
            qOverload<>(&QWidget::update));
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

    // One style for every grid, alive as long as the program: widgets do not own their style.
    static auto* style =
        new NarrowMarginsStyle(QStyleFactory::create(QApplication::style()->name()));
    QHeaderView* rowHeader = verticalHeader();
    QHeaderView* columnHeader = horizontalHeader();
    for (QWidget* part : {static_cast<QWidget*>(this), static_cast<QWidget*>(rowHeader),
                          static_cast<QWidget*>(columnHeader)})
        part->setStyle(style);

    rowHeader->setMinimumSectionSize(1);
    rowHeader->setDefaultSectionSize(kRowHeight);
    rowHeader->setSectionResizeMode(QHeaderView::Fixed);
    rowHeader->setFixedWidth(profile.gridColumnWidths.value(0));
    rowHeader->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    columnHeader->setMinimumSectionSize(1);
    columnHeader->setFixedHeight(kRowHeight);
    columnHeader->setSectionResizeMode(QHeaderView::Interactive);
    columnHeader->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // The fixed row and column are labels, not cells: a click on them selects nothing.
    for (QHeaderView* header : {rowHeader, columnHeader}) {
        header->setHighlightSections(false);
        header->setSectionsClickable(false);
    }
    for (int column = 0; column < profile.gridColumnWidths.size(); ++column)
        setColumnWidth(column, profile.gridColumnWidths.at(column));
    fitRpmColumnFont(profile);

    // A command that rewrites many cells at once must reach the open editor too.
    connect(model, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& topLeft, const QModelIndex& bottomRight) {
                if (topLeft != bottomRight)
                    updateEditorData();
            });

    setFixedAxes(true);
}

void MapGrid::fitRpmColumnFont(const VariantProfile& profile) {
    m_model->setRpmFonts(RpmFonts(font(), profile.gridColumnWidths.value(0)));
    verticalHeader()->setFont(m_model->rpmFonts().cell());
}

void MapGrid::setFixedAxes(bool fixed) {
    m_fixedAxes = fixed;
    m_model->setAxesEditable(!fixed);
    const CellPos cell = currentCell();
    if (fixed && (cell.column == 0 || cell.row == 0))
        placeCellSilently({qMax(cell.column, 1), qMax(cell.row, 1)});
    setRowHidden(0, fixed);
    setColumnHidden(0, fixed);
    horizontalHeader()->setVisible(fixed);
    verticalHeader()->setVisible(fixed);
    viewport()->update();
}

CellPos MapGrid::currentCell() const {
    const QModelIndex index = currentIndex();
    return index.isValid() ? CellPos{index.column(), index.row()} : CellPos{1, 1};
}

CellRange MapGrid::markedRange() const {
    const QItemSelection selection = selectionModel()->selection();
    if (selection.isEmpty())
        return {currentCell(), currentCell()};
    CellRange range{{selection.first().left(), selection.first().top()},
                    {selection.first().right(), selection.first().bottom()}};
    for (const QItemSelectionRange& part : selection) {
        range.topLeft = {qMin(range.topLeft.column, part.left()),
                         qMin(range.topLeft.row, part.top())};
        range.bottomRight = {qMax(range.bottomRight.column, part.right()),
                             qMax(range.bottomRight.row, part.bottom())};
    }
    return range;
}

void MapGrid::moveToCell(CellPos cell) {
    setCurrentIndex(m_model->index(cell.row, cell.column));
}

void MapGrid::placeCellSilently(CellPos cell) {
    m_silent = true;
    setCurrentIndex(m_model->index(cell.row, cell.column));
    m_silent = false;
}

void MapGrid::beforeMove(const QModelIndex& next) {
    if (!m_silent)
        emit cellAboutToChange(next.column(), next.row());
}

void MapGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    // The base class first commits and closes the editor of the cell that was left.
    QTableView::currentChanged(current, previous);
    if (!current.isValid())
        return;
    if (!m_silent)
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
