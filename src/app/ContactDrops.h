#pragma once

#include "model/AddressBookRecords.h"

#include <QList>
#include <QString>

class ViewController;

// Contacts added to a group from what a drag carries: grid rows dropped on a sidebar group (their
// positions in the grid, "3,5,8") and vCard text dropped on the grid. Each drop is one undoable
// addition and marks the window edited; a drop that names no contact changes nothing.
class ContactDrops
{
public:
    explicit ContactDrops(ViewController &owner);

    // A group whose members were never read gets its container read first, as selecting it
    // would, so that the dropped rows join the same persons and the top group too. Positions
    // outside the grid are ignored.
    void addContactByStringIndexes(const QString &stringIndexes, const GroupDictPtr &group);
    // Every card of the text joins the selected group; CATEGORIES make no groups here.
    void addContactByVCardString(const QString &vCardString);
    // New contacts (pasted or dropped text) join the selected group in one undo step.
    void addContactRows(const QList<ContactRowPtr> &rows);

    // The distinct positions of the list in ascending order; a piece that is no number counts as
    // 0, an empty piece as nothing.
    static QList<int> indexesFromString(const QString &stringIndexes);

private:
    void loadMembers(const GroupDictPtr &group);

    ViewController &m_owner;
};
