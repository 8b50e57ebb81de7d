#include "find/FindPanelCursor.h"

FindPanelCursor FindPanelCursor::firstMatchOf(int row, const QList<SearchResultRowPtr> &results)
{
    if (row < 0 || row >= results.size())
        return {-1, -1};
    return {row, results.at(row)->ranges.isEmpty() ? -1 : 0};
}

void FindPanelCursor::next(int rangeCount, qsizetype resultCount)
{
    if (resultCount <= 0) {
        row = rangeIndex = -1;
        return;
    }
    ++rangeIndex;
    if (rangeIndex >= rangeCount) {
        rangeIndex = 0;
        ++row;
    }
    // A row left behind by a smaller newer search starts over too.
    if (row >= resultCount || row < 0)
        row = 0;
}

void FindPanelCursor::previous(const QList<SearchResultRowPtr> &results)
{
    if (results.isEmpty()) {
        row = rangeIndex = -1;
        return;
    }
    if (rangeIndex > 0 && row >= 0 && row < results.size()) {
        --rangeIndex;
        return;
    }
    row = row <= 0 || row > results.size() ? int(results.size()) - 1 : row - 1;
    rangeIndex = int(results.at(row)->ranges.size()) - 1;
}

const SearchResultRow *FindPanelCursor::currentRow(const QList<SearchResultRowPtr> &results) const
{
    return row >= 0 && row < results.size() ? results.at(row).get() : nullptr;
}

bool FindPanelCursor::designatesRange(const QList<SearchResultRowPtr> &results) const
{
    const SearchResultRow *current = currentRow(results);
    return current && rangeIndex >= 0 && rangeIndex < current->ranges.size();
}
