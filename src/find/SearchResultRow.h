#pragma once

#include "find/MatchScan.h"
#include "model/AddressBookRecords.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

// One row of the find window's results: one text of one contact's field, and every match in it.
// Replacing and editing rewrite value and ranges; the window holds rows by pointer, so that an
// undo finds the row it changed. The contact's name is read from the contact when shown, since
// any write may rename it.
struct SearchResultRow
{
    // "Name", "Phonetic Name", "Address" (also for an address part), "Instant Message", or the
    // searched identifier.
    QString item;
    // The name or phonetic part, the address part, the account's service; empty otherwise.
    QString subItem;
    // The entry's label for list entries; empty otherwise.
    QString label;
    // The entry's position in its list, as the table shows it; none for a single value.
    std::optional<int> index;
    // The entry's own number, which finds it again after the list changed.
    std::optional<qint64> labelIndex;
    QString value;
    QList<MatchScan::TextRange> ranges;
    ContactRowPtr contact;

    bool operator==(const SearchResultRow &) const = default;
};
using SearchResultRowPtr = std::shared_ptr<SearchResultRow>;

// What one search looks for. A first entry "All" in a filter means no filter.
struct FindPanelQuery
{
    QString searchString;
    QStringList items;
    QStringList subItems;
    QStringList labels;
    unsigned compareOptions = MatchScan::CaseInsensitive;
};
