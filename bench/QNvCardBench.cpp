#include "BenchContacts.h"

#include "model/QNvCard.h"

// Reads a 20,000-card vCard file into records and writes them back as vCard 3.0.

namespace {

const QString &text()
{
    static const QString made = BenchContacts::vCardText();
    return made;
}

void readVCards(benchmark::State &state)
{
    for (auto _ : state) {
        std::optional<ContainerTable> containers = QNvCard().containersFromVCards(text());
        if (!containers || containers->first()->topGroup()->contactTable->size() != BenchContacts::CardCount)
            state.SkipWithError("cards were lost");
        benchmark::DoNotOptimize(containers);
        // The records are kept by the importer: dropping them is no part of reading.
        state.PauseTiming();
        containers.reset();
        state.ResumeTiming();
    }
    state.counters["cards"] = BenchContacts::CardCount;
    state.counters["MB"] = double(text().toUtf8().size()) / (1024 * 1024);
}

void writeVCards(benchmark::State &state)
{
    const ContainerDictPtr container = QNvCard().containersFromVCards(text())->first();
    const ContactTable rows = *container->topGroup()->contactTable;
    qsizetype size = 0;
    for (auto _ : state) {
        const std::optional<QString> cards =
            QNvCard().vCardsFromContacts(rows, {"Note", "Photo", "Custom"}, container);
        size = cards ? cards->size() : 0;
        benchmark::DoNotOptimize(cards);
    }
    state.counters["cards"] = BenchContacts::CardCount;
    state.counters["MB"] = double(size) / (1024 * 1024);
}

} // namespace

BENCHMARK(readVCards)->Unit(benchmark::kMillisecond);
BENCHMARK(writeVCards)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return BenchContacts::run(argc, argv);
}
