#pragma once

class QAbstractItemView;
class QObject;
class QPoint;
class QTableView;

// Where a drag over a table's viewport would land: between two rows near a row's edge (a fifth of
// its height, 2 to 12 pixels), else on the row; below the rows, after the last of them.
struct TableDropTarget
{
    int row = 0;
    bool onRow = false;
};

// rowCount: the rows a drop may land among (a footer below them counts as below the rows).
TableDropTarget tableDropTargetAt(const QTableView &view, int rowCount, const QPoint &position);

// Whether a drag comes from this view (Qt names the view or its viewport as the source).
bool isDragFromView(const QAbstractItemView &view, const QObject *draggingSource);
