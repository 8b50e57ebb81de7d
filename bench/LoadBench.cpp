// The store load of 20,000 contacts at launch, to the grid's first rows, and its parts.

#include "BenchAddressBook.h"
#include "BenchContacts.h"
#include "BenchData.h"
#include "BenchGrid.h"
#include "BenchMain.h"

#include "platform/ContactStore.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

void checkLoaded(benchmark::State &state, const ContactTablePtr &rows)
{
    if (!rows)
        state.SkipWithError("the load lost contacts");
}

// Lets the 20,000 records go (about 100 ms), which a load to the first rows does not do: the
// window keeps them. The table, the last holder, goes last.
void freeRecords(ContactTablePtr &rows, std::unique_ptr<BenchAddressBook> &addressBook)
{
    addressBook.reset();
    rows.reset();
}

// Containers and groups, the fetch of the container, the four-slice conversion into records, the
// restore of custom values, and the grid's first updateTable, by a new loader and grid each time.
void loadToFirstRows(benchmark::State &state)
{
    for (auto _ : state) {
        auto addressBook = std::make_unique<BenchAddressBook>();
        auto grid = std::make_unique<BenchGrid>();
        ContactTablePtr rows = addressBook->load();
        grid->show(rows);
        state.PauseTiming();
        checkLoaded(state, rows);
        grid.reset();
        freeRecords(rows, addressBook);
        state.ResumeTiming();
    }
    state.counters["contacts"] = BenchContacts::contactCount();
}

// The load alone.
void loadAddressBook(benchmark::State &state)
{
    for (auto _ : state) {
        auto addressBook = std::make_unique<BenchAddressBook>();
        ContactTablePtr rows = addressBook->load();
        state.PauseTiming();
        checkLoaded(state, rows);
        freeRecords(rows, addressBook);
        state.ResumeTiming();
    }
}

// The reload after a save: the previous tree is dropped as the new one is published.
void reloadAddressBook(benchmark::State &state)
{
    BenchAddressBook addressBook;
    addressBook.load();
    for (auto _ : state)
        checkLoaded(state, addressBook.load());
}

QString containerIdentifier()
{
    return ContactStore(BenchData::storePath()).defaultContainerIdentifier().value;
}

// The store fetch with the load's keys.
void fetchContacts(benchmark::State &state)
{
    BenchAddressBook addressBook;
    const QString container = containerIdentifier();
    for (auto _ : state) {
        QList<StoreContact> contacts = addressBook.loader().cnContactsForGroup(std::nullopt, container);
        // The load frees the fetched contacts on the pool; freeing them here is no part of the fetch.
        state.PauseTiming();
        if (contacts.size() != BenchContacts::contactCount())
            state.SkipWithError("the fetch lost contacts");
        contacts.clear();
        state.ResumeTiming();
    }
}

// The conversion of the fetched contacts into records in the load's four slices.
void convertInSlices(benchmark::State &state)
{
    BenchAddressBook addressBook;
    const QList<StoreContact> contacts = addressBook.loader().cnContactsForGroup(std::nullopt, containerIdentifier());
    for (auto _ : state) {
        std::optional<ContactTable> rows = addressBook.loader().convertInSlices(contacts);
        state.PauseTiming();
        if (!rows || rows->size() != BenchContacts::contactCount())
            state.SkipWithError("the slices lost contacts");
        rows.reset();
        state.ResumeTiming();
    }
}

// The grid's first updateTable on freshly loaded records (values read from the store contacts).
void firstUpdateTable(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto addressBook = std::make_unique<BenchAddressBook>();
        auto grid = std::make_unique<BenchGrid>();
        ContactTablePtr rows = addressBook->load();
        checkLoaded(state, rows);
        state.ResumeTiming();
        grid->show(rows);
        state.PauseTiming();
        grid.reset();
        freeRecords(rows, addressBook);
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(loadToFirstRows)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(loadAddressBook)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(reloadAddressBook)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(fetchContacts)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(convertInSlices)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(firstUpdateTable)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    return BenchMain::run(argc, argv, true);
}
