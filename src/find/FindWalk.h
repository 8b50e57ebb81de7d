#pragma once

#include "find/FieldSearch.h"
#include "ui/contracts/ItemAndRange.h"
#include "ui/contracts/SubContactRow.h"

#include <QList>
#include <QStringList>

#include <optional>

// The grid as find walks it: its rows in display order times its columns in on-screen order.
struct GridSnapshot
{
    QStringList columns;
    QList<SubContactRowPtr> rows;
};

// The detail table as find walks it: its fields in their order times each field's entries.
struct DetailSnapshot
{
    QStringList rowOrder;
    ContactRowPtr contact;
};

// The walks from the find cursor to the next or previous hit, field by field, wrapping at the end.
// Only the first field searched continues from the cursor's part and range; every later one is
// searched whole. Nothing found answers nothing, and the caller keeps its cursor.
namespace FindWalk {

// Rows times columns from the cursor's row and column. A single-valued field is searched on its
// contact's first row only, a labelled field (and an address part) on every row, at that row's
// entry. The walk goes round once more from the first row, so a hit before the cursor in its own
// field is found again; it stops at the second wrap.
std::optional<ItemAndRange> walkGrid(FindDirection direction, const FieldSearch &search, const FindFields &fields,
                                     const ItemAndRange &cursor, const GridSnapshot &grid);

// The fields in their order from the cursor's field on, each over its real entries (so a deleted
// entry leaves no gap). Forward ends with the cursor's field once more from its first entry;
// backward visits the cursor's field only at the start.
std::optional<ItemAndRange> walkDetail(FindDirection direction, const FieldSearch &search,
                                       const FindFields &fields, const ItemAndRange &cursor,
                                       const DetailSnapshot &detail);

} // namespace FindWalk
