#pragma once

#include "addressbook/SortDescriptor.h"
#include "model/AddressBookRecords.h"
#include "ui/contracts/SubContactRow.h"

#include <QList>
#include <QString>

// The grid's calls to the controller that holds it.
class ContactsViewControllerDelegate
{
public:
    virtual ~ContactsViewControllerDelegate() = default;

    // Sent when a row is selected, and again after a find selects one.
    virtual void rowSelectionDidChange(const SubContactRowPtr &row) = 0;
    virtual void sortDescriptorsDidChange(const QList<SortDescriptor> &descriptors) = 0;
    // vCard text dropped on the grid.
    virtual void addContactByVCardString(const QString &vCardString) = 0;
    // New contacts made from pasted or dropped text: they join the selected group as one
    // undoable step, and the window is marked edited.
    virtual void addContactRows(const QList<ContactRowPtr> &) {}
    // The group whose contacts the grid shows; its name titles the grid.
    virtual const GroupDictPtr &selectedGroupDict() const = 0;
    // Two or more different contacts to merge, in group order: the holder shows the first two in
    // the merge sheet and applies the sheet's result to the address book.
    virtual void beginMergeSheet(const QList<ContactRowPtr> &) {}
    // "Show QRCode" chose this row (the clicked one, else the selected one): the shell opens the
    // QR-code sheet for it.
    virtual void showQRCodeForContact(const SubContactRowPtr &) {}
};
