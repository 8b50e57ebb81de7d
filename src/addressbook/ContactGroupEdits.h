#pragma once

#include "model/AddressBookRecords.h"

#include <QList>
#include <QString>
#include <QVariantMap>

class AddressBook;

// The undoable changes of the address book's shape: contacts added to and removed from groups,
// groups added, removed and renamed.
//
// Invariants:
// - Nothing leaves the tree while editing. A removed contact or group is a "deleted" mark; the row
//   stays in its group's table and the group in its container until the store reload after Save,
//   and it is that array that keeps it alive for undo, which clears the mark on the same object.
// - Each method plans its change, registers the inverse, and only then writes. The inverse of
//   adding or removing contacts flips exactly the marks that the change set or cleared, in
//   whichever groups it touched, so an undo never touches a row the change left alone. A group
//   first read after a delete from its top group takes each contact's mark from its top row
//   (GroupLoader), the delete's or its undo's, so the delete's undo and redo set that row too,
//   however many of them came before the read. The delete remembers how many rows each table of
//   the container held: a row read since lies beyond.
// - A contact joins a table as a row of its own holding the same person: two tables never share a
//   row object, so a mark set in one group never shows in another.
// - Outside undo and redo every change marks the document edited.
// - The views learn of a change through the address book's signals: contactRowsChanged when the
//   shown table shows it, groupsChanged and groupShown for the sidebar.
class ContactGroupEdits
{
public:
    explicit ContactGroupEdits(AddressBook &book);

    // Contacts the group lacks join it marked "new"; a contact it holds as deleted is restored. A
    // store group's container's top group receives the contacts it lacks as well. Custom items
    // the contacts bring join the book's definitions (AddressBook::customItemsAdded); an undo
    // leaves them defined.
    void undoAddContacts(const QList<ContactRowPtr> &rows, const GroupDictPtr &group);
    // Marks each contact's first row in the group deleted; from a top group, in every group of the
    // container. doUndo false registers nothing.
    void undoDeleteContacts(const QList<ContactRowPtr> &rows, const GroupDictPtr &group, bool doUndo);
    void undoAddGroup(const GroupDictPtr &group, const ContainerDictPtr &container);
    // The group moves to the end of its container and the container's top group is selected. A
    // top group cannot be deleted.
    void undoDeleteGroup(const GroupDictPtr &group, const ContainerDictPtr &container);
    bool undoChangeGroupName(const QString &name, const GroupDictPtr &group);

private:
    // Marks to flip and rows to append, worked out before anything is written.
    struct Plan
    {
        ContactTable rowsToMark;
        QList<std::pair<ContactTablePtr, ContactRowPtr>> rowsToAppend;
    };

    void planAdd(const ContactTablePtr &table, const QList<ContactRowPtr> &rows, bool restoreDeleted,
                 Plan &plan) const;
    static void planMarks(const GroupDict &group, const QList<ContactRowPtr> &rows, ContactTable &marked);
    // The size of each table of a container when a delete from its top group was done; empty for
    // any other change.
    using TableSizes = QList<std::pair<GroupDictPtr, qsizetype>>;

    // Undo and redo of a change of contacts: sets the marks of exactly those rows, and of the rows
    // read since a delete from a top group.
    void setDeleted(const ContactTable &marked, const TableSizes &found, bool deleted,
                    const QList<ContactRowPtr> &rows, const GroupDictPtr &group);
    ContactTable rowsReadSince(const TableSizes &found, const QList<ContactRowPtr> &rows) const;
    void tellShownRows(const QList<ContactRowPtr> &rows, const GroupDictPtr &group,
                       const ContactTable &affected, bool deleted);
    void showGroups(const GroupDictPtr &selected);
    GroupDictPtr topGroupOf(const GroupDict &group) const;

    AddressBook &m_book;
};
