#include "detail/DetailRowDragAndDrop.h"

#include "addressbook/DetailFieldOrder.h"
#include "detail/DetailDragPayload.h"
#include "detail/DetailTableController.h"
#include "detail/DetailTableHost.h"
#include "ui/contracts/DetailEditDelegate.h"
#include "ui/widgets/TableDropTarget.h"

#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>

#include <utility>

DetailRowDragAndDrop::DetailRowDragAndDrop(DetailTableController &table, DetailTableHost &host,
                                           UserDefaults &defaults)
    : QObject(&table), m_table(table), m_host(host), m_defaults(defaults)
{
    QTableView *view = table.tableView();
    view->viewport()->setAcceptDrops(true);
    view->viewport()->installEventFilter(this);
    m_viewport = view->viewport();
}

// --- dragging -------------------------------------------------------------------------------

void DetailRowDragAndDrop::startDrag(int row)
{
    const ContactRowPtr contact = m_table.contact();
    if (!contact || row < 0 || row >= m_table.table().size())
        return;
    const DetailRowPtr dragged = m_table.table().at(row);
    std::unique_ptr<QMimeData> data =
        DetailDragPayload::mimeData(*contact, *dragged, m_table.valueTypeForRow(*dragged));
    m_table.setDraggingSourceIndex(row);
    auto *drag = new QDrag(m_table.tableView());
    drag->setMimeData(data.release());
    drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::CopyAction);
    m_table.setDraggingSourceIndex(-1);
}

bool DetailRowDragAndDrop::mouseEvent(QEvent *event)
{
    auto *mouse = static_cast<QMouseEvent *>(event);
    const QPoint at = mouse->position().toPoint();
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        m_pressedRow = mouse->button() == Qt::LeftButton ? m_table.tableView()->rowAt(at.y()) : -1;
        m_pressedAt = at;
        return false;
    case QEvent::MouseMove:
        if (m_pressedRow < 0 || !(mouse->buttons() & Qt::LeftButton) ||
            (at - m_pressedAt).manhattanLength() < QApplication::startDragDistance())
            return false;
        startDrag(std::exchange(m_pressedRow, -1));
        return true;
    default:
        m_pressedRow = -1;
        return false;
    }
}

// --- dropping -------------------------------------------------------------------------------

DetailRowDrop::Target DetailRowDragAndDrop::targetAt(const QPoint &position) const
{
    const TableDropTarget target = tableDropTargetAt(*m_table.tableView(), int(m_table.table().size()), position);
    return {target.row, target.onRow};
}

DetailRowDrop::Source DetailRowDragAndDrop::sourceOf(const QObject *draggingSource) const
{
    if (!draggingSource)
        return DetailRowDrop::Source::OtherApplication;
    return isDragFromView(*m_table.tableView(), draggingSource) ? DetailRowDrop::Source::ThisTable
                                                               : DetailRowDrop::Source::Application;
}

QNPersonPtr DetailRowDragAndDrop::droppedPerson(const QMimeData *data)
{
    if (data != m_droppedData) {
        m_droppedData = data;
        m_droppedPerson = DetailRowDrop::droppedPerson(data);
    }
    return m_droppedPerson;
}

Qt::DropAction DetailRowDragAndDrop::validateDrop(const QMimeData *data, const QObject *draggingSource,
                                                  const DetailRowDrop::Target &target)
{
    const DetailRowDrop drop(m_table.table(), m_table.rowBuilder());
    const ContactRowPtr contact = m_table.contact();
    switch (sourceOf(draggingSource)) {
    case DetailRowDrop::Source::OtherApplication:
        return Qt::IgnoreAction;
    case DetailRowDrop::Source::ThisTable:
        return drop.validateReorder(m_table.draggingSourceIndex(), target);
    case DetailRowDrop::Source::Application:
        if (!contact || !contact->person || !m_host.editDelegate())
            return Qt::IgnoreAction;
        return drop.validateCopy(data, droppedPerson(data), *contact->person, target, m_table.editState());
    }
    return Qt::IgnoreAction;
}

bool DetailRowDragAndDrop::reorder(int row)
{
    const DetailRowDrop drop(m_table.table(), m_table.rowBuilder());
    const std::optional<QStringList> order = m_table.rowOrderTable();
    if (!order)
        return false;
    const std::optional<QStringList> moved = drop.reorderedFields(*order, m_table.draggingSourceIndex(), row);
    if (!moved)
        return false;
    m_table.rowBuilder().setRowOrderTable(*moved);
    m_table.reloadDataKeepingSelection();
    DetailFieldOrder::save(*moved, m_defaults);
    return true;
}

bool DetailRowDragAndDrop::acceptDrop(const QMimeData *data, const QObject *draggingSource,
                                      const DetailRowDrop::Target &target)
{
    if (validateDrop(data, draggingSource, target) == Qt::IgnoreAction)
        return false;
    if (sourceOf(draggingSource) == DetailRowDrop::Source::ThisTable)
        return reorder(target.row);
    const DetailRowDrop drop(m_table.table(), m_table.rowBuilder());
    DetailEditDelegate *delegate = m_host.editDelegate();
    const ContactRowPtr contact = m_table.contact();
    if (!delegate ||
        !drop.acceptCopy(data, droppedPerson(data), contact, target, *delegate, m_host.editSender()))
        return false;
    m_host.sendContactDidUpdate();
    m_table.updateTable();
    m_table.selectRow(target.row);
    return true;
}

bool DetailRowDragAndDrop::eventFilter(QObject *watched, QEvent *event)
{
    if (!m_viewport || watched != m_viewport)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
        return mouseEvent(event) || QObject::eventFilter(watched, event);
    case QEvent::DragEnter: {
        m_droppedData = nullptr;
        m_droppedPerson.reset();
        // Another program's drag is never taken, here or over a cell that turned it down (the
        // photo well while locked). Others are taken wherever they may land later, so that moves
        // over the rows keep arriving.
        auto *enter = static_cast<QDragEnterEvent *>(event);
        if (sourceOf(enter->source()) == DetailRowDrop::Source::OtherApplication)
            enter->ignore();
        else
            enter->acceptProposedAction();
        return true;
    }
    case QEvent::DragMove: {
        auto *move = static_cast<QDragMoveEvent *>(event);
        const Qt::DropAction action =
            validateDrop(move->mimeData(), move->source(), targetAt(move->position().toPoint()));
        if (action == Qt::IgnoreAction) {
            move->ignore();
        } else {
            move->setDropAction(action);
            move->accept();
        }
        return true;
    }
    case QEvent::DragLeave:
        m_droppedData = nullptr;
        m_droppedPerson.reset();
        return true;
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        if (acceptDrop(drop->mimeData(), drop->source(), targetAt(drop->position().toPoint())))
            drop->accept();
        else
            drop->ignore();
        m_droppedData = nullptr;
        m_droppedPerson.reset();
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}
