#include "app/GridWidthFloor.h"

#include "ui/contracts/ContactsGridInterface.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>

#include <algorithm>

GridWidthFloor::GridWidthFloor(QWidget *gridPane, ContactsGridInterface &grid, QTableView *table, int floor)
    : QObject(gridPane), m_gridPane(gridPane), m_grid(grid), m_table(table), m_floor(floor)
{
    // Queued: the grid takes a column's new width from the same signals.
    QHeaderView *header = table->horizontalHeader();
    connect(header, &QHeaderView::geometriesChanged, this, &GridWidthFloor::update, Qt::QueuedConnection);
    connect(header, &QHeaderView::sectionCountChanged, this, &GridWidthFloor::update, Qt::QueuedConnection);
    connect(header, &QHeaderView::sectionResized, this, &GridWidthFloor::update, Qt::QueuedConnection);
    connect(header, &QHeaderView::sectionMoved, this, &GridWidthFloor::update, Qt::QueuedConnection);
    update();
}

void GridWidthFloor::update()
{
    if (!m_gridPane || !m_table)
        return;
    const int columns = m_grid.leadingColumnsWidth();
    const int chrome = 2 * m_table->frameWidth() + m_table->verticalScrollBar()->sizeHint().width();
    const int width = std::max(m_floor, columns > 0 ? columns + chrome : 0);
    if (m_gridPane->minimumWidth() != width)
        m_gridPane->setMinimumWidth(width);
}
