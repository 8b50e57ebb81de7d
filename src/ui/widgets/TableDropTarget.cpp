#include "ui/widgets/TableDropTarget.h"

#include <QPoint>
#include <QTableView>

#include <algorithm>

TableDropTarget tableDropTargetAt(const QTableView &view, int rowCount, const QPoint &position)
{
    const int row = view.rowAt(position.y());
    if (row < 0 || row >= rowCount)
        return {rowCount, false};
    const int top = view.rowViewportPosition(row);
    const int height = view.rowHeight(row);
    const int margin = std::clamp(int(height / 5.5), 2, 12);
    if (position.y() - top < margin)
        return {row, false};
    if (top + height - position.y() <= margin)
        return {row + 1, false};
    return {row, true};
}

bool isDragFromView(const QAbstractItemView &view, const QObject *draggingSource)
{
    return draggingSource && (draggingSource == &view || draggingSource == view.viewport());
}
