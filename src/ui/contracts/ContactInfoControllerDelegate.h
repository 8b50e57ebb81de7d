#pragma once

#include "model/AddressBookRecords.h"

class QObject;

// The detail pane's call to the controller that holds it.
class ContactInfoControllerDelegate
{
public:
    virtual ~ContactInfoControllerDelegate() = default;

    // A contact row (a ContactRow or a grid row) changed; sender is the view that changed it, or
    // null. Every view that shows the contact refreshes, and the window is marked edited.
    virtual void contactDidUpdate(const ContactRowPtr &contact, QObject *sender) = 0;
};
