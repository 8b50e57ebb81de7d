#pragma once

#include "ui/widgets/DetailRowMenu.h"

#include <QObject>
#include <QRect>

class DetailEditorPresenter;
class DetailTableController;
class DetailTableHost;
class QMenu;
struct DetailRow;

// The row menu of the contact detail table and what its items do: open the value in another
// application, open the kind's editors, add an entry, delete the clicked entry after asking, and
// the photo commands. The items act on the row the menu was opened over, not on the selection.
class DetailItemCommands : public QObject
{
    Q_OBJECT

public:
    DetailItemCommands(DetailTableController &table, DetailTableHost &host, DetailEditorPresenter &presenter,
                       QObject *parent = nullptr);

    // Empties the menu and fills it for the clicked cell: nothing away from a row, without an edit
    // delegate, or (except in the popover) over the label column.
    void menuNeedsUpdate(QMenu *menu, int clickedRow, int clickedColumn);
    // What the menu offers over that row.
    DetailRowMenu::Subject subjectOfRow(const DetailRow &row) const;

    // The clicked cell the items act on; menuNeedsUpdate sets it.
    void setClickedCell(int row, int column);
    int clickedRow() const { return m_clickedRow; }

    void perform(DetailRowMenu::Command command);
    // A new entry with a default for phones, e-mails, URLs and relations, or the kind's editor for
    // a new value.
    void insertItem();
    // Asks in a sheet on the table's window; OK deletes the entry and keeps the selection.
    void deleteItem();
    void doWorkspaceAction(DetailRowMenu::Command command);
    void showPopoverWrapper(DetailRowMenu::Command command);

private:
    bool hasClickedRow() const;
    QRect clickedRect() const;
    bool deleteRow(const DetailRow &row);

    DetailTableController &m_table;
    DetailTableHost &m_host;
    DetailEditorPresenter &m_presenter;
    int m_clickedRow = -1;
    int m_clickedColumn = -1;
};
