#pragma once

#include <QString>

// One sort key of the grid: a column identifier, optionally followed by a blank and a sort option
// ("Phone label").
struct SortDescriptor
{
    QString key;
    bool ascending = true;

    bool operator==(const SortDescriptor &) const = default;
};
