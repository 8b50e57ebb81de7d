#include "editors/ListEditorTableView.h"

#include <QDropEvent>

namespace {

// The band at a row's top and bottom edge that counts as between rows.
constexpr int GapMargin = 4;

} // namespace

ListEditorTableView::ListEditorTableView(QWidget *parent) : QTableWidget(parent)
{
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::InternalMove);
}

void ListEditorTableView::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    const bool tab = hint == QAbstractItemDelegate::EditNextItem;
    const bool enter = hint == QAbstractItemDelegate::SubmitModelCache;
    if (!tab && !enter) {
        QTableWidget::closeEditor(editor, hint);
        return;
    }
    const QModelIndex index = currentIndex();
    QTableWidget::closeEditor(editor, QAbstractItemDelegate::NoHint);
    emit cellEditEnded(index.row(), index.column(), enter);
}

void ListEditorTableView::startDrag(Qt::DropActions supportedActions)
{
    m_draggingSourceIndex = currentRow();
    QTableWidget::startDrag(supportedActions);
    m_draggingSourceIndex = -1;
}

int ListEditorTableView::dropRowAt(const QPoint &pos) const
{
    const QModelIndex index = indexAt(pos);
    if (!index.isValid())
        return rowCount();
    const QRect rect = visualRect(index);
    if (pos.y() - rect.top() < GapMargin)
        return index.row();
    if (rect.bottom() - pos.y() < GapMargin)
        return index.row() + 1;
    return -1;
}

void ListEditorTableView::dragMoveEvent(QDragMoveEvent *event)
{
    if (event->source() != this || !isEnabled() || dropRowAt(event->position().toPoint()) < 0) {
        event->ignore();
        return;
    }
    QTableWidget::dragMoveEvent(event);
}

void ListEditorTableView::dropEvent(QDropEvent *event)
{
    const int target = dropRowAt(event->position().toPoint());
    // The editor moves its entry; the view must not move or remove anything itself.
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
    if (event->source() == this && target >= 0 && m_draggingSourceIndex >= 0)
        emit rowDropped(m_draggingSourceIndex, target);
}
