#include "grid/GridDragAndDrop.h"

#include "grid/ContactsViewController.h"
#include "grid/GridClipboard.h"
#include "grid/GridDragPayload.h"
#include "grid/GridModel.h"
#include "grid/GridTableView.h"
#include "ui/contracts/ContactsViewControllerDelegate.h"
#include "ui/widgets/TableDropTarget.h"

#include <QDrag>
#include <QDropEvent>
#include <QMimeData>


GridDragAndDrop::GridDragAndDrop(ContactsViewController &grid, GridClipboard &clipboard)
    : QObject(&grid), m_grid(grid), m_clipboard(clipboard)
{
    GridTableView *table = grid.gridTableView();
    table->setDragEnabled(true);
    table->viewport()->setAcceptDrops(true);
    table->viewport()->installEventFilter(this);
    m_viewport = table->viewport();
    connect(table, &GridTableView::dragRequested, this, &GridDragAndDrop::startDrag);
}

void GridDragAndDrop::startDrag()
{
    GridTableView *table = m_grid.gridTableView();
    const ContactTablePtr contacts = m_grid.contactTable();
    std::unique_ptr<QMimeData> data = GridDragPayload::mimeData(
        table->selectedRowIndexes(), m_grid.subContactTable(), contacts ? *contacts : ContactTable());
    if (!data)
        return;
    auto *drag = new QDrag(table);
    drag->setMimeData(data.release());
    drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::CopyAction);
}

// Below the rows, and on the footer, a drop lands after the last grid row.
GridDropRules::Target GridDragAndDrop::targetAt(const QPoint &position) const
{
    const TableDropTarget target =
        tableDropTargetAt(*m_grid.gridTableView(), int(m_grid.gridRows().size()), position);
    return {target.row, target.onRow};
}

GridDropRules::Source GridDragAndDrop::sourceOf(const QObject *draggingSource) const
{
    if (!draggingSource)
        return GridDropRules::Source::OtherApplication;
    return isDragFromView(*m_grid.gridTableView(), draggingSource) ? GridDropRules::Source::Grid
                                                                   : GridDropRules::Source::Application;
}

bool GridDragAndDrop::validateDrop(const QMimeData *data, const QObject *draggingSource,
                                   const GridDropRules::Target &target) const
{
    return GridDropRules::validateDrop(data, sourceOf(draggingSource), target, int(m_grid.gridRows().size()),
                                       m_grid.editState());
}

bool GridDragAndDrop::acceptDrop(const QMimeData *data, const QObject *draggingSource)
{
    ContactsViewControllerDelegate *delegate = m_grid.delegate();
    const GridDropRules::Drop drop = GridDropRules::acceptDrop(data, sourceOf(draggingSource));
    if (!delegate)
        return false;
    switch (drop.kind) {
    case GridDropRules::Drop::Kind::VCardText:
        delegate->addContactByVCardString(drop.text);
        return true;
    case GridDropRules::Drop::Kind::Text:
        return m_clipboard.addContactsFromText(drop.text);
    case GridDropRules::Drop::Kind::None:
        break;
    }
    return false;
}

void GridDragAndDrop::dragOver(QDropEvent *event)
{
    if (validateDrop(event->mimeData(), event->source(), targetAt(event->position().toPoint())))
        event->acceptProposedAction();
    else
        event->ignore();
}

bool GridDragAndDrop::eventFilter(QObject *watched, QEvent *event)
{
    if (!m_viewport || watched != m_viewport)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::DragEnter: {
        // Taken wherever it may land later, so that moves over the rows keep arriving.
        auto *enter = static_cast<QDragEnterEvent *>(event);
        if (GridDropRules::mayDrop(enter->mimeData(), sourceOf(enter->source()), m_grid.editState()))
            enter->acceptProposedAction();
        else
            enter->ignore();
        return true;
    }
    case QEvent::DragMove:
        dragOver(static_cast<QDragMoveEvent *>(event));
        return true;
    case QEvent::DragLeave:
        return true;
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        const bool valid =
            validateDrop(drop->mimeData(), drop->source(), targetAt(drop->position().toPoint()));
        if (valid && acceptDrop(drop->mimeData(), drop->source()))
            drop->acceptProposedAction();
        else
            drop->ignore();
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}
