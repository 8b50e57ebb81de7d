#pragma once

#include "grid/GridCommand.h"
#include "grid/GridCommandHost.h"
#include "grid/GridEditorRequest.h"
#include "ui/contracts/PhoneLayout.h"

#include <QObject>

class ContactsViewController;
class GridContactCommands;
class GridItemCommands;
class GridKeyNavigation;
class GridMenus;
class GridPopoverWrapper;
class QAction;

// The grid's commands in one place: the cell and header menus, the item and contact commands,
// the editor items and the keys of the cells' editors. Menu items carry a GridCommand; perform()
// runs one and validateMenuItem() enables and checks its item. The grid owns it and destroys it
// before its table.
class GridCommands : public QObject
{
    Q_OBJECT

public:
    explicit GridCommands(ContactsViewController &grid);
    ~GridCommands() override;

    void setEditDelegate(GridEditDelegate *edits) { m_host.setEdits(edits); }
    const GridCommandHost &host() const { return m_host; }

    void perform(GridCommand command);
    // False to show the item disabled; also sets the company item's check mark.
    bool validateMenuItem(QAction *item) const;

    void normalizePhoneNumber(PhoneLayout layout);
    bool canNormalizePhoneNumber() const;

    GridMenus &menus() const { return *m_menus; }
    GridItemCommands &itemCommands() const { return *m_items; }
    GridContactCommands &contactCommands() const { return *m_contacts; }
    GridPopoverWrapper &popoverWrapper() const { return *m_wrapper; }
    // Install on each cell editor (and the popover's editors) with installEventFilter.
    GridKeyNavigation &keyNavigation() const { return *m_keys; }

signals:
    // An editor over a cell, for the presenter: from the editor items, Add Item and the keys.
    void editorRequested(const GridEditorRequest &request);
    // The header menu chose a sort option and stored it in the defaults.
    void sortOptionsDictChanged();

private:
    GridCommandHost m_host;
    GridItemCommands *m_items;
    GridContactCommands *m_contacts;
    GridPopoverWrapper *m_wrapper;
    GridKeyNavigation *m_keys;
    GridMenus *m_menus;
};
