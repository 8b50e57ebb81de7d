#pragma once

#include "model/AddressBookRecords.h"

#include <QString>

// A find position: a range in one value of one contact.
struct ItemAndRange
{
    static constexpr qsizetype NotFound = -1;

    // The row of the contact the hit lies in.
    ContactRowPtr contact;
    QString uniqueId;
    // The field, compared with a detail row's "Type".
    QString identifier;
    // A name part for "Name" and "Phonetic Name"; empty otherwise.
    QString subIdentifier;
    // The hit's entry of a labelled field.
    int labelIndex = 0;
    qsizetype location = NotFound;
    qsizetype length = 0;
};
