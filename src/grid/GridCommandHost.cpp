#include "grid/GridCommandHost.h"

#include "grid/ContactsViewController.h"
#include "grid/GridField.h"
#include "grid/GridModel.h"
#include "ui/contracts/GridEditDelegate.h"

#include <QItemSelectionModel>

#include <algorithm>

QWidget *GridCommandHost::window() const
{
    GridTableView *table = m_grid.gridTableView();
    return table ? table->window() : nullptr;
}

SubContactRowPtr GridCommandHost::rowAt(int row) const
{
    const GridRows &rows = m_grid.gridRows();
    return row >= 0 && row < rows.size() ? rows.at(row) : nullptr;
}

QString GridCommandHost::identifierOfColumn(int column) const
{
    const QList<GridColumn> &columns = m_grid.columns();
    return column >= 0 && column < columns.size() ? columns.at(column).identifier : QString();
}

GridClickedCell GridCommandHost::clickedCell() const
{
    GridClickedCell cell;
    const GridTableView *table = m_grid.gridTableView();
    if (!table)
        return cell;
    cell.row = table->clickedRow();
    cell.column = table->clickedColumn();
    cell.subContact = rowAt(cell.row);
    cell.identifier = identifierOfColumn(cell.column);
    return cell;
}

QRect GridCommandHost::cellRect(int row, int column) const
{
    const GridTableView *table = m_grid.gridTableView();
    return table ? table->visualRect(m_grid.model()->index(row, column)) : QRect();
}

QList<int> GridCommandHost::targetRows(int clickedRow) const
{
    const QList<int> selected = m_grid.gridTableView()->selectedRowIndexes();
    if (selected.contains(clickedRow))
        return selected;
    return {clickedRow};
}

QList<int> GridCommandHost::selectedRowsWithClickedRow(int clickedRow) const
{
    QList<int> rows = m_grid.gridTableView()->selectedRowIndexes();
    if (clickedRow >= 0 && !rows.contains(clickedRow))
        rows.append(clickedRow);
    std::sort(rows.begin(), rows.end());
    return rows;
}

void GridCommandHost::selectRowAlone(int row) const
{
    GridTableView *table = m_grid.gridTableView();
    if (!rowAt(row))
        return;
    const QModelIndex index = m_grid.model()->index(row, 0);
    table->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    table->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void GridCommandHost::selectTargetRows(int clickedRow) const
{
    if (!m_grid.gridTableView()->selectedRowIndexes().contains(clickedRow))
        selectRowAlone(clickedRow);
}

QString GridCommandHost::valueType(const QString &identifier, const QNPerson &person) const
{
    return GridField::valueType(identifier, person, m_grid.customItems());
}

void GridCommandHost::finishChanges(bool changed) const
{
    if (!changed)
        return;
    if (m_edits)
        m_edits->setDocumentEdited(true);
    m_grid.updateTable();
}
