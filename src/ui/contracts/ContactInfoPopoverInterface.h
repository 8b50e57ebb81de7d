#pragma once

#include "model/AddressBookRecords.h"

// What the main view controller needs of the detail table shown in the grid's contact popover or
// in a torn-off detail window.
class ContactInfoPopoverInterface
{
public:
    virtual ~ContactInfoPopoverInterface() = default;

    // The row shown, with its "uniqueId".
    virtual ContactRowPtr contact() const = 0;
    // Rebuilds the rows from the shown contact's person.
    virtual void updateTable() = 0;
};
