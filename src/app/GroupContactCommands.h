#pragma once

#include "model/AddressBookRecords.h"

#include <QString>
#include <QStringList>

class ViewController;

// The commands that add and remove groups and contacts: Add Group, Delete Group, Add Contact,
// Delete Contacts and Duplicate Contacts. Each builds the records it needs and hands them to the
// view controller's undoable edits, so every one of them can be undone; each that changes the
// address book marks the window edited.
class GroupContactCommands
{
public:
    explicit GroupContactCommands(ViewController &owner);

    // A new group "New" (or "New0", "New1", ...) in the selected group's container; not selected.
    void addGroup();
    // Asks first; a top group is never deleted.
    void deleteGroup();
    // A new contact "New" in the selected group, in edit state, its name being edited in the
    // grid's contact popover.
    void addContact();
    // The grid's selected contacts, from the selected group; nothing without a selection.
    void deleteContacts();
    // A created copy of each of the grid's selected contacts, every value included, in the
    // selected group.
    void duplicateContacts();

    // "New" when names lacks it, else the first of "New0", "New1", ... that it lacks.
    static QString newGroupName(const QStringList &names);

private:
    static ContactRowPtr newRowFor(const QNPersonPtr &person);

    ViewController &m_owner;
};
