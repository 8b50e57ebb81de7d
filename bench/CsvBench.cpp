#include "BenchContacts.h"

#include "model/QNvCard.h"

// Writes 20,000 records as the 32-column CSV export and reads that text back into new records.

namespace {

const ContactTable &rows()
{
    static const ContactTable made =
        *QNvCard().containersFromVCards(BenchContacts::vCardText())->first()->topGroup()->contactTable;
    return made;
}

void writeCsv(benchmark::State &state)
{
    const ContactTable &all = rows();
    qsizetype size = 0;
    for (auto _ : state) {
        const QString csv = QNvCard().csvFromSubContacts(all);
        size = csv.size();
        benchmark::DoNotOptimize(csv.constData());
    }
    state.counters["rows"] = BenchContacts::CardCount;
    state.counters["MB"] = double(size) / (1024 * 1024);
}

void readCsv(benchmark::State &state)
{
    const QString csv = QNvCard().csvFromSubContacts(rows());
    for (auto _ : state) {
        std::optional<ContactTable> read = QNvCard().contactsFromCSV(csv);
        if (!read || read->size() != BenchContacts::CardCount)
            state.SkipWithError("rows were lost");
        benchmark::DoNotOptimize(read);
        state.PauseTiming();
        read.reset();
        state.ResumeTiming();
    }
    state.counters["rows"] = BenchContacts::CardCount;
}

} // namespace

BENCHMARK(writeCsv)->Unit(benchmark::kMillisecond);
BENCHMARK(readCsv)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return BenchContacts::run(argc, argv);
}
