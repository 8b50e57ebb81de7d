#pragma once

#include "model/AddressBookRecords.h"

#include <QString>

#include <optional>

// A find position: a range in one value of one contact.
struct ItemAndRange
{
    static constexpr qsizetype NotFound = -1;

    struct TextRange
    {
        qsizetype location = NotFound;
        qsizetype length = 0;

        bool operator==(const TextRange &) const = default;
    };

    // The row of the contact the hit lies in.
    ContactRowPtr contact;
    QString uniqueId;
    // The field, compared with a detail row's "Type".
    QString identifier;
    // The part that holds the hit: a name or phonetic part, an address part, or the "service" or
    // "username" of an instant message; empty otherwise.
    QString subIdentifier;
    // A labelled field's entry by its own "labelIndex", as the detail rows number them. The grid
    // numbers its rows by position instead: the find code converts when it hands a hit to the grid.
    // A single-valued field has one entry, 0; a cursor set from a grid row keeps the row's
    // position here.
    int labelIndex = 0;
    // The hit in the text the view shows for the field.
    qsizetype location = NotFound;
    qsizetype length = 0;
    // The hit in the part's own text, when it lies in a part.
    std::optional<TextRange> itemRange;

    TextRange range() const { return {location, length}; }
    void setRange(const TextRange &range)
    {
        location = range.location;
        length = range.length;
    }
};
