#pragma once

#include "grid/GridCommand.h"
#include "grid/GridCommandHost.h"

#include <QMenu>
#include <QObject>
#include <QPointer>

class GridCommands;
class QPoint;

// The grid's two pop-up menus, built afresh each time one opens: the cell menu, whose items follow
// the clicked column's kind, whether the clicked row holds a value there and the edit state; and
// the header menu, which chooses the sort option of the column under the pointer. Items carry a
// GridCommand; an item shown disabled has no command to run (a locked grid's edit items, a link
// without a value).
class GridMenus : public QObject
{
    Q_OBJECT

public:
    GridMenus(GridCommandHost &host, GridCommands &commands);

    // The menu of the table's clicked cell; null when none shows (no cell, the footer row, a
    // column without items). The caller owns it.
    QMenu *makeCellMenu();
    // The sort options of the column; null when the column has none.
    QMenu *makeHeaderMenu(int column);
    // Stores the option as the column's choice (only when it changed) and sorts by it.
    void sortOptionSelected(const QString &identifier, const QString &option);

    // The menu shown last, while it is open.
    QMenu *shownMenu() const { return m_shown; }

signals:
    void sortOptionsDictChanged();

private:
    struct Item
    {
        GridCommand command = GridCommand::None; // None: a separator
        bool hasAction = true;
    };

    QList<Item> cellItems(const GridClickedCell &cell) const;
    bool valuePresent(const GridClickedCell &cell, const QString &type) const;
    void addItem(QMenu *menu, const Item &item) const;
    void showCellMenu(const QPoint &globalPosition);
    void showHeaderMenu(const QPoint &position);
    void popup(QMenu *menu, const QPoint &globalPosition);

    GridCommandHost &m_host;
    GridCommands &m_commands;
    QPointer<QMenu> m_shown;
};
