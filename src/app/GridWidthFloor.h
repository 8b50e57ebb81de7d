#pragma once

#include <QObject>
#include <QPointer>

class ContactsGridInterface;
class QTableView;
class QWidget;

// Keeps the grid's part of the split view at least as wide as the grid's name column and first
// value column at their current widths, so that the side panes give way to it rather than
// squeezing it: the split view honours its children's minimum widths.
class GridWidthFloor : public QObject
{
public:
    // floor: the least width, whatever the columns.
    GridWidthFloor(QWidget *gridPane, ContactsGridInterface &grid, QTableView *table, int floor);

private:
    void update();

    QPointer<QWidget> m_gridPane;
    ContactsGridInterface &m_grid;
    QPointer<QTableView> m_table;
    int m_floor;
};
