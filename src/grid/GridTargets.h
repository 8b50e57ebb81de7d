#pragma once

#include "grid/GridRows.h"
#include "model/AddressBookRecords.h"
#include "ui/contracts/SubContactRow.h"

#include <QList>

// Grid rows chosen for an edit, held as their records from the choice to the write. In between
// the grid may be rebuilt and re-sorted (under an open editor, or while a question waits for its
// answer: a store change, a find-and-replace), and row numbers taken at the choice would then
// name other contacts. A record keeps its contact and value position; a target whose contact was
// deleted meanwhile is left out when the targets are taken.
class GridTargets
{
public:
    GridTargets() = default;
    // The rows' records, top to bottom; numbers outside the rows are left out.
    GridTargets(const GridRows &rows, QList<int> indexes);

    const QList<SubContactRowPtr> &records() const { return m_records; }
    qsizetype size() const { return m_records.size(); }

    // The first target of each contact, in order: for editors that write a contact's whole field.
    GridTargets distinctContacts() const;
    // The targets whose contacts the table still holds undeleted.
    GridTargets remaining(const ContactTablePtr &table) const;

    // The row now showing the record's contact and value position; -1 for none.
    static int rowOf(const GridRows &rows, const SubContactRow &record);

private:
    explicit GridTargets(QList<SubContactRowPtr> records) : m_records(std::move(records)) {}

    QList<SubContactRowPtr> m_records;
};
