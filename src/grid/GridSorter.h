#pragma once

#include "addressbook/GridSortKey.h"
#include "grid/GridDisplayCache.h"
#include "grid/GridRows.h"

#include <QStringList>
#include <QVariant>
#include <QVariantList>

#include <memory>
#include <optional>
#include <vector>

class QNPerson;

// Sorts the grid's rows by one sort key. Each contact's values under the key are read once and
// kept, with their collation keys, in its display cache entry until it changes; texts compare
// case-insensitively, dates by day. Empty values sort last in both directions, and rows that
// compare equal keep their order (contact order, then position).
class GridSorter
{
public:
    GridSorter(const GridSortKey &key, bool ascending, const QStringList &selectedLabels,
               const QVariantList &customItems, GridDisplayCache &cache);

    // The contact's values under the key, from its cache entry when it holds them; collation makes
    // the keys of values read now.
    std::shared_ptr<const GridSortColumn> sortColumn(QNPerson &person, GridDisplayCache::Contact &cached,
                                                     const CollationKeys &collation) const;
    // Whether the entry holds the contact's values under the key.
    bool holdsSortColumn(const GridDisplayCache::Contact &cached) const;
    // Reads the contact's values into its entry when they are kept there and the record alone gives
    // them (no custom item of the contact's own); safe on a pool thread that has the record and
    // the collation to itself.
    void fillSortColumn(QNPerson &person, GridDisplayCache::Contact &cached,
                        const CollationKeys &collation) const;
    // Takes a contact's rows (from first to the end of rows) into the sort, with its values.
    void addRows(const std::vector<GridRow> &rows, size_t first, const GridSortColumn &column);
    // Orders the rows, which are the ones added, in the order they were added.
    void sort(GridRows &rows);

    // A run of rows in the sort: one row, or every row of a contact sorted by a field with one
    // value. The prefix and the rest are those of the value's collation key.
    struct SortEntry
    {
        quint64 high = 0;
        quint64 low = 0;
        // The whole collation key past the prefix when it runs past it; null otherwise.
        const char *rest = nullptr;
        quint32 first = 0;
        quint32 count = 1;
        bool empty = true;
    };

    // Missing dates sort last in both directions; -1, 0 or 1.
    static int compareDateComponents(const QVariant &first, const QVariant &second, bool ascending);
    // The day of date components as the calendar would date them (absent parts count as 1).
    static std::optional<qint64> dayOfDateComponents(const QVariant &components);

private:
    bool comparesDates() const;
    GridSortColumn readSortColumn(QNPerson &person, bool ownItems, const CollationKeys &collation) const;
    // A list not read yet, by its texts or labels straight from the store contact; false when it
    // cannot be read so.
    bool readUnreadList(GridSortColumn &column, QNPerson &person) const;
    QVariant entrySortValue(const QVariantMap &entry) const;
    QVariant singleSortValue(QNPerson &person) const;
    QVariant nameSortValue(QNPerson &person) const;
    QVariant phoneticSortValue(QNPerson &person) const;
    GridSortColumn::Key keyOf(const QVariant &value, const CollationKeys &collation) const;

    GridSortKey m_key;
    bool m_ascending;
    QStringList m_selectedLabels;
    bool m_noFilter;
    QVariantList m_customItems;
    // The field's type for a contact without custom items of its own.
    QString m_type;
    bool m_dates;
    GridDisplayCache &m_cache;
    int m_slot;
    std::vector<SortEntry> m_entries;
};
