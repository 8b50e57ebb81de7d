#include "panels/MergeTableView.h"

#include "panels/MergeDragHandler.h"

#include <QDrag>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>

namespace {

Qt::DropAction dropAction(MergeDragAndDrop::Operation operation)
{
    return operation == MergeDragAndDrop::Operation::Copy ? Qt::CopyAction : Qt::MoveAction;
}

} // namespace

MergeTableView::MergeTableView(QWidget *parent) : QTableView(parent)
{
    setDragEnabled(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDropIndicatorShown(true);
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

// The row goes out as text or a picture; what leaves the source is up to the drop, which the
// sheet does itself, so nothing is removed here whatever the drag answers.
void MergeTableView::startDrag(Qt::DropActions)
{
    if (!m_handler)
        return;
    const QModelIndexList rows = selectionModel()->selectedRows();
    const int row = currentIndex().isValid() ? currentIndex().row() : (rows.isEmpty() ? -1 : rows.first().row());
    if (row < 0)
        return;
    QMimeData *data = m_handler->dragData(this, row);
    if (!data)
        return;
    auto *drag = new QDrag(this);
    drag->setMimeData(data);
    drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
}

MergeDragAndDrop::Operation MergeTableView::validate(QDropEvent *event) const
{
    if (!m_handler)
        return MergeDragAndDrop::Operation::None;
    const auto [row, position] = dropTarget(event->position().toPoint());
    return m_handler->validateDrop(const_cast<MergeTableView *>(this), event->source(), row, position,
                                   isCopy(event->modifiers()));
}

void MergeTableView::dragEnterEvent(QDragEnterEvent *event)
{
    // Entering says nothing yet: the row under the pointer decides as it moves.
    if (event->source())
        event->acceptProposedAction();
    else
        event->ignore();
}

void MergeTableView::dragMoveEvent(QDragMoveEvent *event)
{
    const MergeDragAndDrop::Operation operation = validate(event);
    if (operation == MergeDragAndDrop::Operation::None) {
        event->ignore();
        return;
    }
    event->setDropAction(dropAction(operation));
    event->accept();
}

void MergeTableView::dropEvent(QDropEvent *event)
{
    const MergeDragAndDrop::Operation operation = validate(event);
    const auto [row, position] = dropTarget(event->position().toPoint());
    if (operation == MergeDragAndDrop::Operation::None ||
        !m_handler->acceptDrop(this, event->source(), row, position, operation == MergeDragAndDrop::Operation::Copy)) {
        event->ignore();
        return;
    }
    // The sheet has moved the value already; the source must not remove anything.
    event->setDropAction(Qt::CopyAction);
    event->accept();
}
