#pragma once

#include "detail/DetailRowDrop.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QWidget>

class DetailTableController;
class DetailTableHost;
class QDropEvent;
class UserDefaults;

// Drags a detail table's rows and takes drops on it (DetailRowDrop): a row dragged within the
// table moves its field in the field order, which is saved for every later detail table; a value
// dropped from another view of the program is written through the host's edit delegate and marks
// the host's window edited.
class DetailRowDragAndDrop : public QObject
{
    Q_OBJECT

public:
    DetailRowDragAndDrop(DetailTableController &table, DetailTableHost &host, UserDefaults &defaults);

    // Where a drop at that point of the table's viewport would land.
    DetailRowDrop::Target targetAt(const QPoint &position) const;
    DetailRowDrop::Source sourceOf(const QObject *draggingSource) const;
    Qt::DropAction validateDrop(const QMimeData *data, const QObject *draggingSource,
                                const DetailRowDrop::Target &target);
    bool acceptDrop(const QMimeData *data, const QObject *draggingSource,
                    const DetailRowDrop::Target &target);

    // Moves the field of the row at draggingSourceIndex just before the field of the row (the
    // last field for the row count); false when the order stays.
    bool reorder(int row);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void startDrag(int row);
    bool mouseEvent(QEvent *event);
    QNPersonPtr droppedPerson(const QMimeData *data);

    DetailTableController &m_table;
    DetailTableHost &m_host;
    UserDefaults &m_defaults;
    // Where the left button went down on a row; -1 when it did not.
    int m_pressedRow = -1;
    QPoint m_pressedAt;
    // The dragged contact of the drag over the table, read once per drag.
    const QMimeData *m_droppedData = nullptr;
    QNPersonPtr m_droppedPerson;
    // Kept apart from the table, which is gone by the time its viewport's last events arrive.
    QPointer<QWidget> m_viewport;
};
