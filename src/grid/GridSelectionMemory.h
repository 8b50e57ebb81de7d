#pragma once

#include "ui/contracts/SubContactRow.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QVariantList>

// Carries the grid's selection over a rebuild of its rows, which makes every row anew. Under a
// sort by a labelled field a selected row is found again by its contact and its value's own
// "labelIndex", so it follows the value to its new row; under a text field every row of a selected
// contact is selected; otherwise, or when nothing matches, the same row numbers are.
class GridSelectionMemory
{
public:
    GridSelectionMemory(const QList<SubContactRowPtr> &rows, const QList<int> &selectedRows,
                        const QString &sortIdentifier, const QVariantList &customItems);

    // Ascending row numbers in newRows. Only contacts that were selected are looked for, so a
    // contact new to the table is never selected here.
    QList<int> rowsToSelect(const QList<SubContactRowPtr> &newRows) const;
    // For rows rebuilt with other columns or another label filter, where the same values fall on
    // other rows: the selected contacts' rows at the same value positions, and the first row of a
    // selected contact that has none of them any more. Ascending.
    QList<int> rowsOfSelectedContacts(const QList<SubContactRowPtr> &newRows) const;

private:
    // The value's own number, or the row's position when the contact has no value there.
    int valueIndex(const SubContactRow &row) const;
    bool matches(const SubContactRow &row, const QList<int> &indexes) const;

    QList<int> m_selectedRows;
    QString m_sortIdentifier;
    QVariantList m_customItems;
    // Contact to the remembered value numbers of its selected rows.
    QHash<QString, QList<int>> m_remembered;
    // Contact to the value positions ("labelIndex") of its selected rows.
    QHash<QString, QList<int>> m_positions;
};
