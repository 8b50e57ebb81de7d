#pragma once

#include "ui/contracts/DetachedWindowEntry.h"
#include "ui/contracts/DetailEditDelegate.h"
#include "model/AddressBookRecords.h"

#include <QString>
#include <QVariant>
#include <QVariantMap>

class QObject;

// The detail popover's calls to the main view controller: its edits go through the same undoable
// methods as every other view's, with the popover as sender.
class ContactInfoPopoverDelegate : public DetailEditDelegate
{
public:
    virtual void contactDidUpdate(const ContactRowPtr &contact, QObject *sender) = 0;
    virtual void detachedWindowDidClose(const ClosedWindow &closed) = 0;
};
