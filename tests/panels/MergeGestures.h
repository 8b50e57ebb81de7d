#pragma once

#include "panels/MergeTable.h"
#include "panels/MergeTableView.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTest>

#include <memory>

// A hand on the merge tables: presses, moves and keys sent to the real widgets, and the events
// the window system sends a drop target. Offscreen, a drag ends at once without a drop; the data
// it carried is kept so that a test can bring it over the other table.
namespace MergeGestures {

inline QPoint cellCentre(const MergeTable *table, int row, int column)
{
    const QTableView *view = table->tableView();
    return view->visualRect(view->model()->index(row, column)).center();
}

inline std::unique_ptr<QMimeData> copyOf(const QMimeData &data)
{
    auto copy = std::make_unique<QMimeData>();
    for (const QString &format : data.formats())
        copy->setData(format, data.data(format));
    if (data.hasImage())
        copy->setImageData(data.imageData());
    return copy;
}

// Presses on a point of the widget, moves away with the button held and lets go; answers what
// the drag that the source (the widget or its view) told of carried, null when none started.
template <typename Source>
std::unique_ptr<QMimeData> pressAndDragOn(QWidget *widget, const QPoint &at, Source *source)
{
    std::unique_ptr<QMimeData> carried;
    const QMetaObject::Connection hook = QObject::connect(
        source, &Source::dragStarting, [&carried](const QMimeData *data) { carried = copyOf(*data); });
    const QPoint away = at + QPoint(QApplication::startDragDistance() + 10, 2);
    QTest::mousePress(widget, Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseMove(widget, at + QPoint(1, 1));
    QTest::mouseMove(widget, away);
    QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, away);
    QObject::disconnect(hook);
    return carried;
}

// A row's drag, from the press on its cell.
inline std::unique_ptr<QMimeData> pressAndDrag(const MergeTable *table, int row, int column = 0)
{
    auto *view = qobject_cast<MergeTableView *>(table->tableView());
    return pressAndDragOn(view->viewport(), cellCentre(table, row, column), view);
}

// The drag comes over a point of a widget: answers whether the widget would take it there.
inline bool dragOver(QWidget *target, const QPoint &at, const QMimeData *data,
                     Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, modifiers);
    QCoreApplication::sendEvent(target, &enter);
    QDragMoveEvent move(at, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, modifiers);
    QCoreApplication::sendEvent(target, &move);
    return move.isAccepted();
}

// Comes over the point and lets go there: answers whether the drop was taken.
inline bool dropOn(QWidget *target, const QPoint &at, const QMimeData *data,
                   Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    dragOver(target, at, data, modifiers);
    QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, modifiers);
    QCoreApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

// Clicks, then double-clicks a cell, as the first click of a double-click comes as a press of
// its own.
inline void doubleClick(const MergeTable *table, int row, int column = 1)
{
    QWidget *viewport = table->tableView()->viewport();
    const QPoint at = cellCentre(table, row, column);
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(viewport, Qt::LeftButton, Qt::NoModifier, at);
}

} // namespace MergeGestures
