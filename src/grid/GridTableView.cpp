#include "grid/GridTableView.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QShowEvent>

#include <algorithm>

GridTableView::GridTableView(QWidget *parent) : QTableView(parent)
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    setWordWrap(false);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setSectionsMovable(true);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setSortIndicatorShown(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // The last column fills the rest of the table, never narrower than its own width.
    horizontalHeader()->setStretchLastSection(true);
    setContextMenuPolicy(Qt::DefaultContextMenu);
    m_collapseTimer.setSingleShot(true);
    connect(&m_collapseTimer, &QTimer::timeout, this, &GridTableView::collapseSelection);
}

// Read from the ranges, a step per row: the selection model's selectedRows() asks again about
// every row of every range, which takes tens of milliseconds over a whole column of 26,000 rows,
// several times per reload.
QList<int> GridTableView::selectedRowIndexes() const
{
    QList<int> rows;
    if (!selectionModel() || !model())
        return rows;
    const int lastColumn = model()->columnCount() - 1;
    for (const QItemSelectionRange &range : selectionModel()->selection()) {
        const bool wholeRows = range.left() == 0 && range.right() == lastColumn;
        for (int row = range.top(); row <= range.bottom(); ++row) {
            if (wholeRows || selectionModel()->isRowSelected(row))
                rows.append(row);
        }
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

void GridTableView::selectRows(const QList<int> &rows)
{
    if (!model() || !selectionModel())
        return;
    const int lastColumn = model()->columnCount() - 1;
    QList<int> sorted = rows;
    std::sort(sorted.begin(), sorted.end());
    QItemSelection selection;
    // One range per run of adjacent rows.
    for (qsizetype i = 0; i < sorted.size();) {
        qsizetype end = i;
        while (end + 1 < sorted.size() && sorted.at(end + 1) == sorted.at(end) + 1)
            ++end;
        selection.select(model()->index(sorted.at(i), 0), model()->index(sorted.at(end), lastColumn));
        i = end + 1;
    }
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

int GridTableView::selectedRow() const
{
    const QList<int> rows = selectedRowIndexes();
    if (rows.isEmpty())
        return -1;
    const int current = currentIndex().row();
    return rows.contains(current) ? current : rows.last();
}

bool GridTableView::isFillingColumn(int column) const
{
    const QHeaderView *header = horizontalHeader();
    if (!header->stretchLastSection() && !m_refitting)
        return false;
    for (int visual = header->count() - 1; visual >= 0; --visual) {
        const int logical = header->logicalIndex(visual);
        if (!header->isSectionHidden(logical))
            return logical == column;
    }
    return false;
}

bool GridTableView::isSelectableRow(int row) const
{
    return model() && row >= 0 && (model()->flags(model()->index(row, 0)) & Qt::ItemIsSelectable);
}

void GridTableView::showEvent(QShowEvent *event)
{
    QTableView::showEvent(event);
    if (!m_appeared && !event->spontaneous()) {
        m_appeared = true;
        emit willAppear();
    }
}

// The header leaves a stretched column as wide as it was when the others fill the table alone;
// turning the stretch off and on gives it back its own width.
void GridTableView::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    if (event->size().width() >= event->oldSize().width())
        return;
    QHeaderView *header = horizontalHeader();
    m_refitting = true;
    header->setStretchLastSection(false);
    header->setStretchLastSection(true);
    m_refitting = false;
}

void GridTableView::mousePressEvent(QMouseEvent *event)
{
    collapseSelection();
    noteClickAt(event->position().toPoint());
    if (event->button() == Qt::RightButton)
        selectRightClickedRow();
    // A right-click never extends or drags the selection; a click beside the rows or on the footer
    // keeps it.
    if (event->button() == Qt::RightButton || !isSelectableRow(m_clickedRow)) {
        event->accept();
        return;
    }
    QTableView::mousePressEvent(event);
}

void GridTableView::noteClickAt(const QPoint &position)
{
    const QModelIndex index = indexAt(position);
    m_clickedRow = index.isValid() ? index.row() : -1;
    m_clickedColumn = index.isValid() ? index.column() : -1;
}

void GridTableView::selectRightClickedRow()
{
    if (!isSelectableRow(m_clickedRow) || !selectionModel() ||
        selectionModel()->isRowSelected(m_clickedRow, QModelIndex()))
        return;
    const QModelIndex index = model()->index(m_clickedRow, 0);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    selectionModel()->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void GridTableView::mouseReleaseEvent(QMouseEvent *event)
{
    m_collapseTo = QPersistentModelIndex();
    QTableView::mouseReleaseEvent(event);
    if (m_collapseTo.isValid())
        m_collapseTimer.start(QApplication::doubleClickInterval());
}

// The second click of a double-click on the selection: the selection stays for it.
void GridTableView::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (indexAt(event->position().toPoint()) == QModelIndex(m_collapseTo)) {
        m_collapseTimer.stop();
        m_collapseTo = QPersistentModelIndex();
    }
    QTableView::mouseDoubleClickEvent(event);
}

void GridTableView::collapseSelection()
{
    m_collapseTimer.stop();
    const QModelIndex row = m_collapseTo;
    m_collapseTo = QPersistentModelIndex();
    if (row.isValid() && selectionModel() && selectionModel()->isRowSelected(row.row(), QModelIndex()))
        selectionModel()->select(row, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

// Once the keyboard moves the selection, a row clicked earlier is no longer what the user means.
void GridTableView::keyPressEvent(QKeyEvent *event)
{
    collapseSelection();
    m_clickedRow = -1;
    m_clickedColumn = -1;
    QTableView::keyPressEvent(event);
}

void GridTableView::contextMenuEvent(QContextMenuEvent *event)
{
    // The menu's row is where the pointer is, whether or not a press came first.
    if (event->reason() == QContextMenuEvent::Mouse) {
        noteClickAt(event->pos());
        selectRightClickedRow();
    } else {
        m_clickedRow = -1;
        m_clickedColumn = -1;
    }
    emit contextMenuRequested(event->globalPos());
    event->accept();
}

QItemSelectionModel::SelectionFlags GridTableView::selectionCommand(const QModelIndex &index,
                                                                    const QEvent *event) const
{
    QItemSelectionModel::SelectionFlags command = QTableView::selectionCommand(index, event);
    // The selection never becomes empty by a click: toggling the only selected row keeps it.
    if ((command & (QItemSelectionModel::Toggle | QItemSelectionModel::Deselect)) && index.isValid() &&
        selectionModel() && selectionModel()->isRowSelected(index.row(), QModelIndex()) &&
        selectionModel()->selectedRows().size() == 1)
        return QItemSelectionModel::NoUpdate;
    // A release on one of several selected rows would select it alone at once; that waits for a
    // double-click that may follow.
    if (event && event->type() == QEvent::MouseButtonRelease && (command & QItemSelectionModel::Clear) &&
        index.isValid() && selectionModel() && selectionModel()->isRowSelected(index.row(), QModelIndex()) &&
        selectionModel()->selectedRows().size() > 1) {
        m_collapseTo = index;
        return QItemSelectionModel::NoUpdate;
    }
    return command;
}
