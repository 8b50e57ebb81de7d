#pragma once

#include "grid/GridDropRules.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

class ContactsViewController;
class GridClipboard;
class QDropEvent;
class QMimeData;

// The grid's table as a drag source (the selected rows, GridDragPayload) and a drop target
// (GridDropRules): it watches the table's drag events and hands dropped contacts to the grid's
// delegate.
class GridDragAndDrop : public QObject
{
    Q_OBJECT

public:
    GridDragAndDrop(ContactsViewController &grid, GridClipboard &clipboard);

    // Where a drop at that point of the table's viewport would land.
    GridDropRules::Target targetAt(const QPoint &position) const;
    GridDropRules::Source sourceOf(const QObject *draggingSource) const;
    bool validateDrop(const QMimeData *data, const QObject *draggingSource,
                      const GridDropRules::Target &target) const;
    // Adds the dropped contacts; false when the drop brought none.
    bool acceptDrop(const QMimeData *data, const QObject *draggingSource);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void startDrag();
    void dragOver(QDropEvent *event);

    ContactsViewController &m_grid;
    GridClipboard &m_clipboard;
    // Kept apart from the table, which is gone by the time its viewport's last events arrive.
    QPointer<QWidget> m_viewport;
};
