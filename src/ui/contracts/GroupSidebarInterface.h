#pragma once

#include "model/AddressBookRecords.h"

class GroupViewControllerDelegate;
class QAbstractItemView;
class QFont;
class QWidget;

// What the main view controller needs of the group sidebar: an outline of the containers and
// their groups of the address book it is given, reporting to its delegate.
class GroupSidebarInterface
{
public:
    virtual ~GroupSidebarInterface() = default;

    // The sidebar's widget, still owned by the controller.
    virtual QWidget *view() = 0;
    // The same widget handed over to the caller, who places it in a layout.
    virtual QWidget *takeView() = 0;
    virtual QAbstractItemView *outlineView() = 0;

    // Held as a plain pointer; the delegate outlives the sidebar.
    virtual void setDelegate(GroupViewControllerDelegate *delegate) = 0;
    // The same table the view controller holds, not a copy.
    virtual void setContainerTable(const ContainerTable &containerTable) = 0;
    virtual void setSelectedGroupDict(const GroupDictPtr &group) = 0;
    virtual void setEditState(bool editState) = 0;
    // Sets the row font and height and reloads.
    virtual void setSelectedFont(const QFont &font) = 0;
    // Reloads the outline and selects the selected group again.
    virtual void updateTable() = 0;
};
