#include "panels/MergeTableView.h"

#include "panels/MergeDragHandler.h"

#include <QCursor>
#include <QDrag>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QRubberBand>

namespace {

constexpr int LineIndicatorHeight = 3;

bool isRowDrag(const QMimeData *data)
{
    return !MergeDragAndDrop::originOf(data).isEmpty();
}

} // namespace

MergeTableView::MergeTableView(QWidget *parent)
    : QTableView(parent), m_dropIndicator(new QRubberBand(QRubberBand::Rectangle, viewport()))
{
    setDragEnabled(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    // The cells cover their rows and would hide the view's own indicator, drawn beneath them.
    setDropIndicatorShown(false);
    m_dropIndicator->hide();
}

std::pair<int, MergeDragAndDrop::DropPosition> MergeTableView::dropTarget(const QPoint &point) const
{
    const int row = rowAt(point.y());
    if (row < 0)
        return {-1, MergeDragAndDrop::DropPosition::On};
    const int top = rowViewportPosition(row);
    const bool above = point.y() - top < rowHeight(row) / 4;
    return {row, above ? MergeDragAndDrop::DropPosition::Above : MergeDragAndDrop::DropPosition::On};
}

bool MergeTableView::isCopy(Qt::KeyboardModifiers modifiers)
{
    return modifiers & (Qt::ControlModifier | Qt::MetaModifier);
}

QRect MergeTableView::dropIndicatorRect() const
{
    return m_dropIndicator->isVisible() ? m_dropIndicator->geometry() : QRect();
}

// The row goes out as text or a picture; what leaves the source is up to the drop, which the
// sheet does itself, so nothing is removed here whatever the drag answers.
void MergeTableView::startDrag(Qt::DropActions)
{
    if (!m_handler)
        return;
    const QModelIndexList rows = selectionModel()->selectedRows();
    const int row =
        currentIndex().isValid() ? currentIndex().row() : (rows.isEmpty() ? -1 : rows.first().row());
    if (row < 0)
        return;
    QMimeData *data = m_handler->dragData(this, row);
    if (!data)
        return;
    emit dragStarting(data);
    const QRect rowRect(0, rowViewportPosition(row), viewport()->width(), rowHeight(row));
    auto *drag = new QDrag(this);
    drag->setMimeData(data);
    drag->setPixmap(viewport()->grab(rowRect));
    drag->setHotSpot(viewport()->mapFromGlobal(QCursor::pos()) - rowRect.topLeft());
    drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
}

void MergeTableView::dragOver(QDragMoveEvent *event, const QPoint &at)
{
    const auto [row, position] = dropTarget(at);
    const MergeDragAndDrop::Operation operation =
        m_handler
            ? m_handler->validateDrop(this, event->mimeData(), row, position, isCopy(event->modifiers()))
            : MergeDragAndDrop::Operation::None;
    if (operation == MergeDragAndDrop::Operation::None) {
        hideDropIndicator();
        event->ignore();
        return;
    }
    showDropIndicator(row, position);
    event->setDropAction(operation == MergeDragAndDrop::Operation::Copy ? Qt::CopyAction : Qt::MoveAction);
    event->accept();
}

void MergeTableView::drop(QDropEvent *event, const QPoint &at)
{
    hideDropIndicator();
    const auto [row, position] = dropTarget(at);
    if (!m_handler ||
        !m_handler->acceptDrop(this, event->mimeData(), row, position, isCopy(event->modifiers()))) {
        event->ignore();
        return;
    }
    // The sheet has moved the value already; the source must not remove anything.
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void MergeTableView::showDropIndicator(int row, MergeDragAndDrop::DropPosition position)
{
    const int top = rowViewportPosition(row);
    if (position == MergeDragAndDrop::DropPosition::Above)
        m_dropIndicator->setGeometry(0, std::max(top - LineIndicatorHeight / 2, 0), viewport()->width(),
                                     LineIndicatorHeight);
    else
        m_dropIndicator->setGeometry(0, top, viewport()->width(), rowHeight(row));
    m_dropIndicator->show();
    m_dropIndicator->raise();
}

void MergeTableView::hideDropIndicator()
{
    m_dropIndicator->hide();
}

void MergeTableView::dragEnterEvent(QDragEnterEvent *event)
{
    // Entering says nothing yet: the row under the pointer decides as it moves.
    if (isRowDrag(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void MergeTableView::dragMoveEvent(QDragMoveEvent *event)
{
    dragOver(event, event->position().toPoint());
}

void MergeTableView::dragLeaveEvent(QDragLeaveEvent *event)
{
    hideDropIndicator();
    QTableView::dragLeaveEvent(event);
}

void MergeTableView::dropEvent(QDropEvent *event)
{
    drop(event, event->position().toPoint());
}

// The view filters the events of its cells (Qt installs it on every index widget). A row drag
// over a cell that takes drops of its own (the photo well, the text edited in place) is answered
// as over the row beneath it; the cell's own drops (a picture from another program or from the
// other photo well) stay the cell's.
bool MergeTableView::eventFilter(QObject *watched, QEvent *event)
{
    auto *cell = watched == this || watched == viewport() ? nullptr : qobject_cast<QWidget *>(watched);
    const QEvent::Type type = event->type();
    if (cell && type == QEvent::DragLeave)
        hideDropIndicator();
    if (!cell || (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) ||
        !isRowDrag(static_cast<QDropEvent *>(event)->mimeData()))
        return QTableView::eventFilter(watched, event);
    auto *dropped = static_cast<QDropEvent *>(event);
    const QPoint at = cell->mapTo(viewport(), dropped->position().toPoint());
    if (type == QEvent::Drop)
        drop(dropped, at);
    else
        dragOver(static_cast<QDragMoveEvent *>(event), at);
    return true;
}
