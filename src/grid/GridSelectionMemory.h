#pragma once

#include "grid/GridRows.h"

#include <QList>
#include <QString>
#include <QVariantList>

#include <optional>
#include <vector>

// Carries the grid's selection over a rebuild of its rows, which makes every row anew, so that an
// edit that re-sorts the grid leaves the user on the contact they were editing. A selected row is
// found again by its contact and, under a sort by a labelled field, its value's own "labelIndex"
// (the value may now sort elsewhere); under any other sort by its position in the contact. A
// contact none of whose rows match has its first row selected. Only when no selected contact is
// left (they were deleted) are the same row numbers selected.
class GridSelectionMemory
{
public:
    GridSelectionMemory(const GridRows &rows, const QList<int> &selectedRows, const QString &sortIdentifier,
                        const QVariantList &customItems);

    // Ascending row numbers in newRows. Only contacts that were selected are looked for, so a
    // contact new to the table is never selected here.
    QList<int> rowsToSelect(const GridRows &newRows) const;
    // For rows rebuilt with other columns or another label filter, where the same values fall on
    // other rows: the selected contacts' rows at the same value positions, and the first row of a
    // selected contact that has none of them any more; no row numbers. Ascending.
    QList<int> rowsOfSelectedContacts(const GridRows &newRows) const;

private:
    // A selected contact: the sorted values' numbers and the positions of its selected rows.
    struct Remembered
    {
        QString uniqueId;
        QList<int> valueKeys;
        QList<int> positions;
    };

    // Under a labelled sort field the number of the row's value there, or -1 - position for a row
    // without one; nullopt under other fields.
    std::optional<int> valueKey(QNPerson &person, int position) const;
    // The selected contacts' rows in newRows, by value where byValue and the sort field is
    // labelled, else by position.
    QList<int> rowsOfRemembered(const GridRows &newRows, bool byValue) const;
    // Per contact of the rows, its remembered entry or -1; contacts are few next to rows, and
    // the selected ones fewer still, so no row's uniqueId is hashed.
    std::vector<int> rememberedPerContact(const GridRows &rows) const;

    QList<int> m_selectedRows;
    QString m_sortIdentifier;
    QVariantList m_customItems;
    // The sort field's type for the records without custom items of their own, found once.
    QString m_sharedType;
    std::vector<Remembered> m_remembered;
};
