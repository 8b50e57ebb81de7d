#pragma once

#include "model/AddressBookRecords.h"

#include <QString>

// The group sidebar's calls to the controller that holds it.
class GroupViewControllerDelegate
{
public:
    virtual ~GroupViewControllerDelegate() = default;

    virtual void groupSelectionDidChange(const GroupDictPtr &group) = 0;
    // Grid rows dropped on a group: their positions in the grid as "3,5,8".
    virtual void addContactByStringIndexes(const QString &stringIndexes, const GroupDictPtr &group) = 0;
    // The selected group is being renamed to name.
    virtual void groupNameWillChange(const QString &name) = 0;
};
