// Loads the shipped postal-code tables (inflate, Shift-JIS decoding, repacking) and searches them
// as the address editor's Lookup does.

#include "editors/JapanPostalCodes.h"
#include "editors/PostalCodeCache.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

namespace {

PostalCodeCache freshCache()
{
    return PostalCodeCache({{QStringLiteral(":/ken_all.gzip"), JapanPostalCodes::ResidentialTable},
                            {QStringLiteral(":/jigyosyo.gzip"), JapanPostalCodes::BusinessTable}});
}

void loadPostalTables(benchmark::State &state)
{
    for (auto _ : state) {
        PostalCodeCache cache = freshCache();
        if (cache.texts().size() != 2 || cache.texts().first().isEmpty())
            state.SkipWithError("a table did not load");
    }
}

void search(benchmark::State &state, const QString &zip, bool found)
{
    const QStringList &tables = PostalCodeCache::shared().texts();
    for (auto _ : state) {
        const QVariantList records = JapanPostalCodes::addressesFromZip(tables, zip);
        if (records.isEmpty() == found)
            state.SkipWithError("unexpected result");
        benchmark::DoNotOptimize(records);
    }
}

// A residential code, a business code (the residential table searched in vain first), a
// three-digit prefix and a code that is nowhere (both tables searched to their ends).
void searchResidential(benchmark::State &state) { search(state, QStringLiteral("100-0001"), true); }
void searchBusiness(benchmark::State &state) { search(state, QStringLiteral("060-8621"), true); }
void searchPrefix(benchmark::State &state) { search(state, QStringLiteral("100"), true); }
void searchMiss(benchmark::State &state) { search(state, QStringLiteral("000-0000"), false); }

} // namespace

BENCHMARK(loadPostalTables)->Unit(benchmark::kMillisecond);
BENCHMARK(searchResidential)->Unit(benchmark::kMillisecond);
BENCHMARK(searchBusiness)->Unit(benchmark::kMillisecond);
BENCHMARK(searchPrefix)->Unit(benchmark::kMillisecond);
BENCHMARK(searchMiss)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
