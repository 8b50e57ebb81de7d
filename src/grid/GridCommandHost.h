#pragma once

#include "ui/contracts/SubContactRow.h"

#include <QList>
#include <QRect>
#include <QString>

#include <functional>

class ContactsViewController;
class GridEditDelegate;
class QNPerson;
class QWidget;

// The cell a context menu was opened on: the table's clicked row and column, when both name a
// grid row (not the footer) and a shown column.
struct GridClickedCell
{
    int row = -1;
    int column = -1;
    SubContactRowPtr subContact;
    QString identifier;

    bool isValid() const { return subContact && !identifier.isEmpty(); }
};

// What the grid's commands share: the grid they act on, the view controller's undoable edits, and
// the few table operations every command needs.
class GridCommandHost
{
public:
    explicit GridCommandHost(ContactsViewController &grid) : m_grid(grid) {}

    ContactsViewController &grid() const { return m_grid; }
    // Null until the view controller is wired; commands that change contacts do nothing then.
    GridEditDelegate *edits() const { return m_edits; }
    void setEdits(GridEditDelegate *edits) { m_edits = edits; }
    // The window sheets and alerts are shown on.
    QWidget *window() const;

    GridClickedCell clickedCell() const;
    SubContactRowPtr rowAt(int row) const;
    QString identifierOfColumn(int column) const;
    QRect cellRect(int row, int column) const;
    // The selected rows when they hold the clicked row, else the clicked row alone.
    QList<int> targetRows(int clickedRow) const;
    // The selected rows plus the clicked row, in row order.
    QList<int> selectedRowsWithClickedRow(int clickedRow) const;
    void selectRowAlone(int row) const;
    // A command on a row outside the selection selects that row alone; a selection that holds it
    // stays, as the rows the command acts on.
    void selectTargetRows(int clickedRow) const;
    // The person's type of the field, else the "Type" of the grid's custom item of that name.
    QString valueType(const QString &identifier, const QNPerson &person) const;
    // After a command's last change: the window is marked edited and the grid reloaded, only
    // when something changed.
    void finishChanges(bool changed) const;

private:
    ContactsViewController &m_grid;
    GridEditDelegate *m_edits = nullptr;
};
