#pragma once

#include "panels/MergeDragAndDrop.h"

class QMimeData;
class QObject;
class QTableView;

// What a merge table asks of its sheet while a row is dragged from it or onto it.
class MergeDragHandler
{
public:
    virtual ~MergeDragHandler() = default;

    // The data a drag of that row carries; null when the row carries nothing (no drag starts).
    virtual QMimeData *dragData(QTableView *table, int row) = 0;
    // source: the widget the drag came from, null for another application.
    virtual MergeDragAndDrop::Operation validateDrop(QTableView *table, const QObject *source, int row,
                                                     MergeDragAndDrop::DropPosition position, bool copy) = 0;
    virtual bool acceptDrop(QTableView *table, const QObject *source, int row,
                            MergeDragAndDrop::DropPosition position, bool copy) = 0;
};
