#pragma once

#include "find/SearchResultRow.h"

#include <QList>

// The find window's current match: a result row and the index of one of its ranges; -1 for none.
// Steps wrap around the results and always end inside them (or at -1 when there are none).
struct FindPanelCursor
{
    int row = 0;
    int rangeIndex = 0;

    // The row's first range; a row outside the results, or one without ranges, designates none.
    static FindPanelCursor firstMatchOf(int row, const QList<SearchResultRowPtr> &results);

    // Forward over the ranges of the row the table shows selected (rangeCount of them), then on
    // to the next row's first range.
    void next(int rangeCount, qsizetype resultCount);
    // Back to the previous range, else to the previous row's last range.
    void previous(const QList<SearchResultRowPtr> &results);
    // The range the cursor designates in the results; none when it designates none.
    const SearchResultRow *currentRow(const QList<SearchResultRowPtr> &results) const;
    bool designatesRange(const QList<SearchResultRowPtr> &results) const;
};
