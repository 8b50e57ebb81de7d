#pragma once

#include <QString>

#include <optional>

// A sort key of the grid ("Phone", "Email domain", "Address ZIP", a custom field's name followed
// by " label") split into the field it sorts by and the part of the value that is compared.
struct GridSortKey
{
    QString identifier;
    QString valueKey;

    bool operator==(const GridSortKey &) const = default;

    // nullopt for a null key. Keys outside the fixed table: "<field> label" sorts by the label,
    // anything else by the field's text.
    static std::optional<GridSortKey> separateSortKeyIntoIdentifierAndKey(const QString &key);
};
