#pragma once

#include "panels/MergeDragAndDrop.h"

class QMimeData;
class QTableView;

// What a merge table asks of its sheet while a row is dragged from it or onto it.
class MergeDragHandler
{
public:
    virtual ~MergeDragHandler() = default;

    // The data a drag of that row carries; null when the row carries nothing (no drag starts).
    virtual QMimeData *dragData(QTableView *table, int row) = 0;
    // data: what the drag carries; only a row of the other table of this sheet is taken.
    virtual MergeDragAndDrop::Operation validateDrop(QTableView *table, const QMimeData *data, int row,
                                                     MergeDragAndDrop::DropPosition position, bool copy) = 0;
    virtual bool acceptDrop(QTableView *table, const QMimeData *data, int row,
                            MergeDragAndDrop::DropPosition position, bool copy) = 0;
};
