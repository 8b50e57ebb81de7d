#pragma once

#include "model/AddressBookRecords.h"
#include "ui/contracts/ValueEditDelegate.h"

#include <QList>

class QObject;
class UndoManager;

// What the grid's commands ask of the main view controller beside the value edits (whose sender
// is the grid): the undoable edits of contacts, the undo manager their groups go on, and the
// window's edited mark.
class GridEditDelegate : public ValueEditDelegate
{
public:
    // Refresh the grid and select the added rows; neither marks the window edited.
    virtual void undoAddContacts(const QList<ContactRowPtr> &rows, const GroupDictPtr &group) = 0;
    virtual void undoDeleteContacts(const QList<ContactRowPtr> &rows, const GroupDictPtr &group,
                                    bool doUndo) = 0;

    // "Add New Contact" of the cell menu: the window's own command.
    virtual void addContact(QObject *sender) = 0;

    virtual const GroupDictPtr &selectedGroupDict() const = 0;
    virtual UndoManager *undoManager() const = 0;
    virtual void setDocumentEdited(bool edited) = 0;
};
