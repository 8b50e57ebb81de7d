#pragma once

#include "model/AddressBookRecords.h"

#include <QSet>
#include <QString>

// Which contacts find sees. A contact deleted from the shown group stays in its table, marked,
// until Save; meanwhile no search lists it, no step stops on it and no replacement writes it.
namespace FindScope {

// An address-book row that find may search and write.
inline bool holds(const ContactRowPtr &row)
{
    return row && row->person && !row->deleted;
}

// The uniqueIds of the table's rows marked deleted: the rows a view builds of its own (the
// grid's) carry no mark and are told apart by their contact.
inline QSet<QString> deletedIds(const ContactTable &contacts)
{
    QSet<QString> deleted;
    for (const ContactRowPtr &row : contacts) {
        if (row && row->deleted)
            deleted.insert(row->uniqueId);
    }
    return deleted;
}

} // namespace FindScope
