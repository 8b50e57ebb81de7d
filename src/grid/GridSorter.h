#pragma once

#include "ui/contracts/SubContactRow.h"
#include "grid/CollationKeys.h"
#include "addressbook/GridSortKey.h"

#include <QList>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

#include <vector>

class QNPerson;

// Sorts the grid's rows by one sort key. Each row's value under the key is read once and kept in
// its "sortValue"; texts compare case-insensitively through collation keys made once per sort,
// dates by day. Empty values sort last in both directions, and rows that compare equal keep
// their order (contact order, then position).
class GridSorter
{
public:
    GridSorter(const GridSortKey &key, bool ascending, const QStringList &selectedLabels,
               const QVariantList &customItems);

    // Reads the values of rows from `first` on; best called as each contact's rows are made, while
    // its values are still at hand.
    void addRows(const QList<SubContactRowPtr> &rows, qsizetype first);
    // Orders the rows, which are the ones added, in the order they were added.
    void sort(QList<SubContactRowPtr> &rows);
    // The row's value under the key: a text, date components or nil.
    QVariant sortValue(const SubContactRow &row) const;

    // Missing dates sort last in both directions; -1, 0 or 1.
    static int compareDateComponents(const QVariant &first, const QVariant &second, bool ascending);
    // The day of date components as the calendar would date them (absent parts count as 1).
    static std::optional<qint64> dayOfDateComponents(const QVariant &components);

private:
    // What one contact gives every one of its rows, which mostly follow each other.
    struct ContactValues
    {
        const QNPerson *person = nullptr;
        QString type;
        QVariantList values;
        // The value of a field with one value, the same on every row.
        QVariant single;
    };

    bool comparesDates() const;
    QVariant sortValue(const SubContactRow &row, ContactValues &contact) const;
    QVariant labeledSortValue(const QVariantList &values, int position) const;
    QVariant singleSortValue(QNPerson &person) const;
    QVariant nameSortValue(QNPerson &person) const;
    QVariant phoneticSortValue(QNPerson &person) const;

    // One row's place in the sort: an index into the collation keys, or a day, or nothing.
    struct SortEntry
    {
        qsizetype row = 0;
        qsizetype key = -1;
        qint64 day = 0;
        bool empty = true;
    };

    GridSortKey m_key;
    bool m_ascending;
    QStringList m_selectedLabels;
    bool m_noFilter;
    QVariantList m_customItems;
    // The field's type for a contact without custom items of its own.
    QString m_type;
    bool m_dates;
    CollationKeys m_keys;
    std::vector<SortEntry> m_entries;
    QString m_previousText;
    ContactValues m_contact;
};
