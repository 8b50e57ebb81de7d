// The find-and-replace window's search over the 20,000 loaded contacts with every item searched:
// the texts taken on the main thread, the scan on the pool, and the whole search from a new query
// to the results in the window.

#include "BenchAddressBook.h"
#include "BenchMain.h"

#include "find/FindPanel.h"
#include "find/FindPanelSearch.h"

#include <QEventLoop>
#include <QLineEdit>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

const QString Common = QStringLiteral("an");

FindPanelQuery query(const QString &string, unsigned options = MatchScan::CaseInsensitive)
{
    const QStringList all{QStringLiteral("All")};
    return {string, all, all, all, options};
}

struct Fixture
{
    BenchAddressBook addressBook;
    ContactTablePtr table;
    FindPanelSearch search{FindFields({})};

    Fixture()
    {
        table = addressBook.load();
        // The records' caches filled once, as any earlier view of them would have.
        if (table)
            search.snapshot(query(Common), *table);
    }
};

std::unique_ptr<Fixture> s_fixture;

Fixture *fixture(benchmark::State &state)
{
    if (!s_fixture)
        s_fixture = std::make_unique<Fixture>();
    if (s_fixture->table)
        return s_fixture.get();
    state.SkipWithError("the load lost contacts");
    return nullptr;
}

// The part that holds the main thread: every text of every contact taken.
void findSnapshot(benchmark::State &state)
{
    Fixture *f = fixture(state);
    if (!f)
        return;
    qsizetype texts = 0;
    for (auto _ : state)
        texts = f->search.snapshot(query(Common), *f->table).texts.size();
    state.counters["texts"] = double(texts);
}

// The first search after a load reads the values out of the store contacts.
void findFirstSnapshot(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        BenchAddressBook addressBook;
        const ContactTablePtr table = addressBook.load();
        const FindPanelSearch search{FindFields({})};
        state.ResumeTiming();
        if (!table) {
            state.SkipWithError("the load lost contacts");
            return;
        }
        benchmark::DoNotOptimize(search.snapshot(query(Common), *table).texts.size());
    }
}

void scan(benchmark::State &state, const FindPanelQuery &q)
{
    Fixture *f = fixture(state);
    if (!f)
        return;
    const FindPanelSearch::Snapshot snapshot = f->search.snapshot(q, *f->table);
    qsizetype results = 0;
    for (auto _ : state) {
        // As the window runs it: looking for a stop and counting.
        FindPanelSearch::Progress progress;
        results = FindPanelSearch::search(snapshot, &progress).rows.size();
    }
    state.counters["results"] = double(results);
}

// The part on the pool: one thread scans every text.
void findScan(benchmark::State &state)
{
    scan(state, query(Common));
}

void findScanRegex(benchmark::State &state)
{
    scan(state, query(QStringLiteral("^[0-9]+-[0-9]+"), MatchScan::RegularExpression));
}

// A new search in the window: snapshot, scan on the pool, results in the table.
void findInWindow(benchmark::State &state)
{
    Fixture *f = fixture(state);
    if (!f)
        return;
    FindPanelSetup setup;
    setup.contacts = f->table;
    FindPanel panel(setup);
    QEventLoop loop;
    QObject::connect(&panel, &FindPanel::searchFinished, &loop, &QEventLoop::quit);
    for (auto _ : state) {
        panel.searchField()->setText(Common);
        panel.textDidEnter();
        // The hand-over comes through the event loop, so it cannot come before the wait.
        while (panel.isSearching())
            loop.exec();
    }
    state.counters["results"] = double(panel.searchResults().size());
}

} // namespace

BENCHMARK(findSnapshot)->Unit(benchmark::kMillisecond);
BENCHMARK(findFirstSnapshot)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(findScan)->Unit(benchmark::kMillisecond);
BENCHMARK(findScanRegex)->Unit(benchmark::kMillisecond);
BENCHMARK(findInWindow)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    return BenchMain::run(argc, argv, true, [] { s_fixture.reset(); });
}
