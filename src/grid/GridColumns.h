#pragma once

#include "grid/GridColumn.h"

#include <QList>
#include <QStringList>
#include <QVariantMap>

// The columns of a view type, described once: "Name" first, then the view type's other fields in
// their stored order, each with its header, sort key and remembered width.
class GridColumns
{
public:
    // The "Name" column, which every view type shows first and which is never re-created.
    static GridColumn nameColumn();
    // The given "Name" column (its sort key taken from the options) followed by a new column for
    // every other identifier. widths maps identifiers to remembered widths.
    static QList<GridColumn> columnsForIdentifiers(const GridColumn &name, const QStringList &identifiers,
                                                   const QVariantMap &sortOptionsDict,
                                                   const QVariantMap &widths);
    // The chosen option of the column's SortOptionsDict entry ("Email domain" for the option
    // "domain"), or the identifier itself when it has none.
    static QString sortKeyForColumn(const QString &identifier, const QVariantMap &sortOptionsDict);
    // The key of a changed sort option, by the same rule as sortKeyForColumn.
    static QString sortKeyForOptions(const QVariantMap &options);
    // The option itself for the name columns and for the field's own option; otherwise the
    // field's name, a blank and the option ("Email domain", "Hobby label").
    static QString sortKey(const QString &identifier, const QString &option);
};
