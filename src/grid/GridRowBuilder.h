#pragma once

#include "grid/GridDisplayCache.h"
#include "grid/GridRows.h"
#include "grid/GridSorter.h"

#include <QList>
#include <QStringList>
#include <QVariantList>

#include <optional>
#include <vector>

// Builds the grid's rows: one per contact and value position of the shown multi-valued columns
// (the row with "labelIndex" n shows the value at position n in each of them), at least one per
// contact, with the label filter able to leave positions out. Each row gets its "numLines", the
// most text lines of any value it shows, notes counting at most five. What it reads of each
// contact is kept in the display cache until the contact changes; when many contacts have nothing
// kept (a first build, a reload), they are read on the thread pool before the rows are built.
class GridRowBuilder
{
public:
    // identifiers: the shown columns in on-screen order; with showCompanyInNameCell the name cell
    // shows the company (or a company card's person) on a second line.
    GridRowBuilder(const QStringList &identifiers, const QStringList &selectedLabels,
                   const QVariantList &customItems, bool showCompanyInNameCell, GridDisplayCache &cache);

    // The rows of every contact of the table not marked deleted, in table order; the sorter, when
    // given, takes each contact's values and rows while they are at hand.
    GridRows rowsForContactTable(const ContactTable &contactTable, GridSorter *sorter = nullptr) const;

    // From this many contacts without what the rows need in the display cache (a first build, a
    // reload), their entries are filled on the thread pool before the rows are built; null goes
    // back to the usual number.
    static void setParallelFillThresholdForTesting(std::optional<qsizetype> threshold);

    // With the company shown under the name, a contact's first row needs two lines when it has
    // both a name and a company; to be run once the rows are in display order and marked.
    void addNameCellLines(GridRows &rows) const;

private:
    struct Column
    {
        QString identifier;
        // The value type for a contact without custom items of its own.
        QString type;
        int slot = 0;
        bool addressPart = false;
        bool note = false;
        bool name = false;
    };
    // One contact's address entries, read once for all address parts.
    struct Addresses
    {
        QVariantList entries;
        bool read = false;
    };

    struct Entries
    {
        // By table position; null for rows that show no contact.
        std::vector<GridDisplayCache::Contact *> byPosition;
        // Those that lack something the rows read.
        std::vector<GridDisplayCache::Contact *> unfilled;
    };
    // Whether about as many contacts as make it worth the pool lack their entries, judged from a
    // sample.
    bool hasManyUnfilled(const ContactTable &contactTable, const GridSorter *sorter) const;
    Entries cacheEntries(const ContactTable &contactTable, const GridSorter *sorter) const;
    bool isFilled(const GridDisplayCache::Contact &cached, const GridSorter *sorter) const;
    // Fills the entries on the pool when there are many; a few are left to the rows' build.
    void fillEntries(std::vector<GridDisplayCache::Contact *> &missing, const GridSorter *sorter) const;
    // What a pool thread may read of one contact: the kept fields and sort values that the record
    // alone gives.
    void fillEntry(GridDisplayCache::Contact &cached, const GridSorter *sorter,
                   const CollationKeys *collation) const;
    void appendRows(const ContactRowPtr &contact, GridDisplayCache::Contact &cached, GridRows &rows,
                    GridSorter *sorter) const;
    const GridFieldDisplay &fieldDisplay(const Column &column, QNPerson &person,
                                         GridDisplayCache::Contact &cached, Addresses &addresses) const;
    GridFieldDisplay readFieldDisplay(const Column &column, QNPerson &person, bool ownItems,
                                      Addresses &addresses) const;
    bool showsNameAndCompany(QNPerson &person, GridDisplayCache::Contact &cached) const;

    QList<Column> m_columns;
    QStringList m_selectedLabels;
    bool m_noFilter;
    QVariantList m_customItems;
    bool m_showCompanyInNameCell;
    GridDisplayCache &m_cache;
    // One more than the largest field slot of the columns.
    size_t m_slotCount = 0;
    // Per contact of the last rows built: both a name and a company.
    mutable std::vector<bool> m_twoLineNames;
    // The displays of the contact being built, one per column.
    mutable std::vector<const GridFieldDisplay *> m_displays;
};
