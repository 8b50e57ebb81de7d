#pragma once

#include "panels/MergeDragAndDrop.h"

#include <QTableView>

#include <utility>

class MergeDragHandler;
class QRubberBand;

// The view of one merge table: turns drag and drop events into the sheet's questions, and shows
// where a drop would land.
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
    // Where the mark of a drop's landing place shows: over the row, or on the line above it;
    // empty while no drop would land.
    QRect dropIndicatorRect() const;

signals:
    // A row's drag starts with this data; the drag owns it.
    void dragStarting(const QMimeData *data);

protected:
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The answers to a drag at that viewport point.
    void dragOver(QDragMoveEvent *event, const QPoint &at);
    void drop(QDropEvent *event, const QPoint &at);
    void showDropIndicator(int row, MergeDragAndDrop::DropPosition position);
    void hideDropIndicator();

    MergeDragHandler *m_handler = nullptr;
    QRubberBand *m_dropIndicator;
};
