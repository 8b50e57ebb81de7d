#pragma once

#include "model/AddressBookRecords.h"

#include <QStringList>
#include <QVariant>

#include <memory>
#include <optional>

// One row of the grid: a contact and one of its shown values. Rows are rebuilt with every update
// of the grid; each holds the same person as the ContactRow it comes from, so anything that takes
// a contact row ("person", "uniqueId", "labelIndex") takes a grid row too.
struct SubContactRow : ContactRow
{
    // Not the contact's first row in the grid (its name is not repeated).
    bool notFirstRow = false;
    // What the row sorts by, in the grid's sort role.
    QVariant sortValue;
    int numLines = 1;
    // Names of the contact's groups, added when the row is shown in the detail pane.
    std::optional<QStringList> groupNames;
};
using SubContactRowPtr = std::shared_ptr<SubContactRow>;
