// Reads the 20,000-row CSV file into new records, and writes the loaded address book as the
// 32-column CSV export.

#include "BenchAddressBook.h"
#include "BenchContacts.h"
#include "BenchData.h"
#include "BenchMain.h"

#include "model/QNvCard.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {

// CPU time of the whole process, in milliseconds.
double processCpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval &t) { return double(t.tv_sec) * 1000.0 + double(t.tv_usec) / 1000.0; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

void readCsv(benchmark::State &state)
{
    double cpuMs = 0;
    for (auto _ : state) {
        const double before = processCpuMs();
        QNvCard::CsvImport csv = QNvCard().contactsFromCSV(BenchData::readText(BenchData::csvPath()));
        cpuMs += processCpuMs() - before;
        if (csv.rows.size() != BenchContacts::contactCount())
            state.SkipWithError("rows were lost");
        state.PauseTiming();
        csv.rows.clear();
        state.ResumeTiming();
    }
    state.counters["rows"] = BenchContacts::contactCount();
    state.counters["cpu_ms"] = cpuMs / double(state.iterations());
}

// The records of the store load, their values read once already (as after the grid has shown
// them), written into a file.
void writeCsv(benchmark::State &state)
{
    BenchAddressBook addressBook;
    const ContactTablePtr rows = addressBook.load();
    if (!rows) {
        state.SkipWithError("the load lost contacts");
        return;
    }
    QNvCard().csvFromSubContacts(*rows);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("written.csv"));
    qint64 size = 0;
    for (auto _ : state) {
        const QString csv = QNvCard().csvFromSubContacts(*rows);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            state.SkipWithError("nothing written");
        size = file.write(csv.toUtf8());
    }
    state.counters["rows"] = BenchContacts::contactCount();
    state.counters["MB"] = double(size) / (1024 * 1024);
}

} // namespace

BENCHMARK(readCsv)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(writeCsv)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    return BenchMain::run(argc, argv, false);
}
