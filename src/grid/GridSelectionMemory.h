#pragma once

#include "grid/GridRows.h"

#include <QList>
#include <QString>
#include <QVariantList>

#include <vector>

// Carries the grid's selection over a rebuild of its rows, which makes every row anew. Under a
// sort by a labelled field a selected row is found again by its contact and its value's own
// "labelIndex", so it follows the value to its new row; under a text field every row of a selected
// contact is selected; otherwise, or when nothing matches, the same row numbers are.
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
    // selected contact that has none of them any more. Ascending.
    QList<int> rowsOfSelectedContacts(const GridRows &newRows) const;

private:
    // A selected contact: the value numbers and positions of its selected rows.
    struct Remembered
    {
        QString uniqueId;
        QList<int> valueIndexes;
        QList<int> positions;
    };

    // The value's own number, or the row's position when the contact has no value there.
    int valueIndex(QNPerson &person, int labelIndex) const;
    bool matches(QNPerson &person, int labelIndex, const QList<int> &indexes) const;
    // Per contact of the rows, its remembered entry or -1; contacts are few next to rows, and
    // the selected ones fewer still, so no row's uniqueId is hashed.
    std::vector<int> rememberedPerContact(const GridRows &rows) const;

    QList<int> m_selectedRows;
    QString m_sortIdentifier;
    QVariantList m_customItems;
    std::vector<Remembered> m_remembered;
};
