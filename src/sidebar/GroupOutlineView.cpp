#include "sidebar/GroupOutlineView.h"

#include <QDragEnterEvent>
#include <QHeaderView>

GroupOutlineView::GroupOutlineView(QWidget *parent) : QTreeView(parent)
{
    setHeaderHidden(true);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    // Editing starts only from the double action, which checks the edit state.
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragDropMode(QAbstractItemView::DropOnly);
    setDefaultDropAction(Qt::CopyAction);
    setDropIndicatorShown(true);
    setAcceptDrops(true);
    setExpandsOnDoubleClick(true);
}

QItemSelectionModel::SelectionFlags GroupOutlineView::selectionCommand(const QModelIndex &index,
                                                                       const QEvent *event) const
{
    if (index.isValid() && !(index.flags() & Qt::ItemIsSelectable))
        return QItemSelectionModel::NoUpdate;
    return QTreeView::selectionCommand(index, event);
}

void GroupOutlineView::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        emit viewWillAppear();
    QTreeView::showEvent(event);
}

void GroupOutlineView::dragEnterEvent(QDragEnterEvent *event)
{
    m_draggingSource = event->source();
    QTreeView::dragEnterEvent(event);
}

void GroupOutlineView::dragMoveEvent(QDragMoveEvent *event)
{
    m_draggingSource = event->source();
    QTreeView::dragMoveEvent(event);
}

void GroupOutlineView::dragLeaveEvent(QDragLeaveEvent *event)
{
    m_draggingSource = nullptr;
    QTreeView::dragLeaveEvent(event);
}

void GroupOutlineView::dropEvent(QDropEvent *event)
{
    m_draggingSource = event->source();
    QTreeView::dropEvent(event);
    m_draggingSource = nullptr;
}
