#pragma once

#include "find/FindFields.h"
#include "find/SearchResultRow.h"

#include <QList>

#include <atomic>
#include <stop_token>
#include <vector>

class QNPerson;

// The find window's search. The records fill their caches when first read, so their texts are
// taken on the main thread (snapshot); the scan for matches reads only that snapshot and runs on
// the pool (search).
class FindPanelSearch
{
public:
    // Every text the query searches, as rows without ranges.
    struct Snapshot
    {
        QString searchString;
        unsigned compareOptions = MatchScan::CaseInsensitive;
        // A vector, which moves its rows when it grows.
        std::vector<SearchResultRow> texts;
    };

    struct Outcome
    {
        // The texts with at least one match, with their ranges, in snapshot order.
        QList<SearchResultRowPtr> rows;
        // Texts a pattern took too long on: none of their matches is among the rows.
        qsizetype givenUp = 0;
    };

    // Shared by a search on the pool and the window that waits for it: the search looks for a stop
    // between texts and counts the texts it has searched.
    struct Progress
    {
        std::stop_source stop;
        std::atomic<size_t> searched{0};
    };

    explicit FindPanelSearch(FindFields fields) : m_fields(std::move(fields)) {}

    // Main thread. Contacts marked deleted and empty texts are left out.
    Snapshot snapshot(const FindPanelQuery &query, const ContactTable &contacts) const;
    // Any thread. A search told to stop returns what it has found so far.
    static Outcome search(const Snapshot &snapshot, Progress *progress = nullptr);
    // Both halves for one contact.
    QList<SearchResultRowPtr> searchContact(const FindPanelQuery &query, const ContactRowPtr &contact) const;

    // The item list a query searches: every standard identifier for "All", else the filter.
    static QStringList searchedItems(const QStringList &items);

private:
    struct Filters
    {
        const FindPanelQuery &query;
        bool allSubItems;
        bool allLabels;
        bool subItemPasses(const QString &part) const { return allSubItems || query.subItems.contains(part); }
        bool labelPasses(const QString &label) const { return allLabels || query.labels.contains(label); }
    };
    class Collector;

    void collect(const Filters &filters, const QStringList &items, const ContactRowPtr &contact,
                 std::vector<SearchResultRow> &texts) const;
    void collectItem(Collector &collector, const Filters &filters, const QString &item) const;

    FindFields m_fields;
};
