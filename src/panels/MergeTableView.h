#pragma once

#include "panels/MergeDragAndDrop.h"

#include <QTableView>

#include <utility>

class MergeDragHandler;

// The view of one merge table: turns drag and drop events into the sheet's questions, and
// draws nothing of its own.
class MergeTableView : public QTableView
{
    Q_OBJECT

public:
    explicit MergeTableView(QWidget *parent = nullptr);

    // Held as a plain pointer; the sheet outlives its tables.
    void setDragHandler(MergeDragHandler *handler) { m_handler = handler; }

    // The row and position a drop at that viewport point proposes: above a row in its top
    // quarter, on it otherwise; row -1 below the last row.
    std::pair<int, MergeDragAndDrop::DropPosition> dropTarget(const QPoint &point) const;
    // The copy modifier: Ctrl (Meta where the platform swaps them).
    static bool isCopy(Qt::KeyboardModifiers modifiers);

protected:
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    MergeDragAndDrop::Operation validate(QDropEvent *event) const;

    MergeDragHandler *m_handler = nullptr;
};
