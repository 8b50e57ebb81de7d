// Reads the 20,000-row CSV file into new records, writes the loaded address book as the 32-column
// CSV export, and reads a file whose first line is 4 MB of one-letter headers.

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

// A first line of one-letter headers ("a,a,a,..."; 4 MB: 2,097,152 of them), none of which names a
// column, and one data line: the reader finds no column to read. With the argument's second
// value 1 every header is another ("a1,a2,..."), so each is matched against the table.
void readHugeHeaderLine(benchmark::State &state)
{
    const qsizetype size = state.range(0) * 1024 * 1024;
    const bool distinct = state.range(1) != 0;
    QString text;
    text.reserve(size + 16);
    for (qsizetype i = 0; text.size() < size; ++i) {
        if (i > 0)
            text.append(QLatin1Char(','));
        text.append(QLatin1Char('a'));
        if (distinct)
            text.append(QString::number(i));
    }
    text.append(QStringLiteral("\nAnn\n"));
    for (auto _ : state) {
        const QNvCard::CsvImport csv = QNvCard().contactsFromCSV(text);
        if (csv.error.isEmpty())
            state.SkipWithError("the headers were read as columns");
    }
    state.counters["MB"] = double(text.size()) / (1024 * 1024);
}

} // namespace

BENCHMARK(readCsv)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(writeCsv)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(readHugeHeaderLine)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Args({4, 0})
    ->Args({50, 0})
    ->Args({4, 1});

int main(int argc, char **argv)
{
    return BenchMain::run(argc, argv, false);
}
