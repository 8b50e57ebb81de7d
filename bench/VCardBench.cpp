// Reads the 20,000-card vCard file into records and writes them back as vCard 3.0; and the same
// for the store's own serialisation, which the record-level reader and writer build on. Two
// malformed texts check that reading stays linear where a naive search would start over.

#include "BenchContacts.h"
#include "BenchData.h"
#include "BenchImport.h"
#include "BenchMain.h"

#include "model/QNvCard.h"
#include "platform/StoreVCardSerialization.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <sys/resource.h>

namespace {

// CPU time of the whole process (every thread of the pool), in milliseconds.
double processCpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval &t) { return double(t.tv_sec) * 1000.0 + double(t.tv_usec) / 1000.0; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// Adds the process's CPU time of one timed step to a total, so that the counters can report the
// CPU time per iteration beside the wall-clock time.
template <typename Step> auto cpuTimed(double &totalMs, Step step)
{
    const double before = processCpuMs();
    auto result = step();
    totalMs += processCpuMs() - before;
    return result;
}

using BenchImport::topRows;

std::optional<ContainerTable> readFile()
{
    return BenchImport::readVCardFile(BenchData::vCardPath());
}

// The file read and decoded, and its cards made into records with their category groups.
void readVCards(benchmark::State &state)
{
    double cpuMs = 0;
    for (auto _ : state) {
        std::optional<ContainerTable> containers = cpuTimed(cpuMs, [] { return readFile(); });
        const ContactTablePtr rows = topRows(containers);
        if (!rows || rows->size() != BenchContacts::contactCount())
            state.SkipWithError("cards were lost");
        // The importer keeps the records: dropping them is no part of reading.
        state.PauseTiming();
        containers.reset();
        state.ResumeTiming();
    }
    state.counters["cards"] = BenchContacts::contactCount();
    state.counters["cpu_ms"] = cpuMs / double(state.iterations());
}

// The records written as vCard 3.0 with notes, photos, custom items and categories, into a file,
// as the export writes them.
void writeRecords(benchmark::State &state, const ContactTable &rows, const ContainerDictPtr &container)
{
    const QStringList options{QNvCardOption::Note, QNvCardOption::Photo, QNvCardOption::Custom};
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("written.vcf"));
    qint64 size = 0;
    double cpuMs = 0;
    for (auto _ : state) {
        size = cpuTimed(cpuMs, [&]() -> qint64 {
            const std::optional<QByteArray> cards = QNvCard().vCardDataFromContacts(rows, options, container);
            QFile file(path);
            if (!cards || !file.open(QIODevice::WriteOnly)) {
                state.SkipWithError("nothing written");
                return 0;
            }
            return file.write(*cards);
        });
    }
    state.counters["cpu_ms"] = cpuMs / double(state.iterations());
    state.counters["cards"] = BenchContacts::contactCount();
    state.counters["MB"] = double(size) / (1024 * 1024);
}

// The records read from the file written back; with edited, after an edit of every record that
// leaves its values as they were, so that each is written from its values, which the first write
// reads.
void writeReadRecords(benchmark::State &state, bool edited)
{
    const std::optional<ContainerTable> containers = readFile();
    const ContactTablePtr rows = topRows(containers);
    if (!rows) {
        state.SkipWithError("cards were lost");
        return;
    }
    for (const ContactRowPtr &row : std::as_const(*rows)) {
        if (edited)
            row->person->setValue(row->person->stringValueForIdentifier(QStringLiteral("Nickname")),
                                  QStringLiteral("Nickname"));
    }
    writeRecords(state, *rows, containers->first());
}

void writeVCards(benchmark::State &state)
{
    writeReadRecords(state, false);
}

void writeEditedVCards(benchmark::State &state)
{
    writeReadRecords(state, true);
}

QList<StoreContact> storeContacts()
{
    QList<StoreContact> made;
    made.reserve(BenchContacts::contactCount());
    for (int i = 0; i < BenchContacts::contactCount(); ++i)
        made.append(BenchContacts::contact(i));
    return made;
}

void storeWriteVCards(benchmark::State &state)
{
    const QList<StoreContact> contacts = storeContacts();
    double cpuMs = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(
            cpuTimed(cpuMs, [&] { return StoreVCardSerialization::dataWithContacts(contacts); }));
    state.counters["cards"] = BenchContacts::contactCount();
    state.counters["cpu_ms"] = cpuMs / double(state.iterations());
}

void storeReadVCards(benchmark::State &state)
{
    const QByteArray data = StoreVCardSerialization::dataWithContacts(storeContacts());
    double cpuMs = 0;
    for (auto _ : state) {
        const StoreVCardReadResult result =
            cpuTimed(cpuMs, [&] { return StoreVCardSerialization::contactsWithData(data); });
        if (result.contacts.size() != BenchContacts::contactCount())
            state.SkipWithError("cards were lost");
    }
    state.counters["cards"] = BenchContacts::contactCount();
    state.counters["cpu_ms"] = cpuMs / double(state.iterations());
}

// 20,000 cards, none of them ended by END:VCARD.
void readCardsWithoutEnd(benchmark::State &state)
{
    constexpr int Cards = 20000;
    QString text;
    for (int i = 0; i < Cards; ++i)
        text +=
            QStringLiteral("BEGIN:VCARD\r\nVERSION:3.0\r\nN:Name %1;Given;;;\r\nTEL;TYPE=CELL:+1 555 %1\r\n")
                .arg(i);
    double cpuMs = 0;
    for (auto _ : state) {
        const ContactTablePtr rows =
            topRows(cpuTimed(cpuMs, [&] { return QNvCard().containersFromVCards(text); }));
        if (!rows || rows->size() != Cards)
            state.SkipWithError("cards were lost");
    }
    state.counters["cards"] = Cards;
    state.counters["cpu_ms"] = cpuMs / double(state.iterations());
}

// A card with a line that has no colon, followed by 20,000 folded lines (1.5 MB) that look like
// quoted-printable soft breaks: each joins a line whose head has not ended yet.
void readLineWithoutColon(benchmark::State &state)
{
    constexpr int Lines = 20000;
    QString text = QStringLiteral("BEGIN:VCARD\r\nVERSION:2.1\r\nN:Long;Line;;;\r\nX-BLOB;ENCODING=8BIT\r\n");
    const QString folded = QLatin1Char(' ') + QStringLiteral("=41").repeated(25) + QLatin1Char('=');
    for (int i = 0; i < Lines; ++i)
        text += folded + QLatin1String("\r\n");
    text += QStringLiteral("TEL:1\r\nEND:VCARD\r\n");
    double cpuMs = 0;
    for (auto _ : state) {
        const ContactTablePtr rows =
            topRows(cpuTimed(cpuMs, [&] { return QNvCard().containersFromVCards(text); }));
        if (!rows || rows->size() != 1)
            state.SkipWithError("the card was lost");
    }
    state.counters["cpu_ms"] = cpuMs / double(state.iterations());
    state.counters["MB"] = double(text.size()) / (1024 * 1024);
}

// 300,000 tiny cards (34 MB): the import keeps no more than one stage at a time.
constexpr int TinyCards = 300000;

QString writeTinyCards(const QTemporaryDir &folder)
{
    const QString path = folder.filePath(QStringLiteral("tiny.vcf"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    for (int i = 0; i < TinyCards; ++i)
        file.write(QStringLiteral("BEGIN:VCARD\r\nVERSION:3.0\r\nN:Name %1;Given;;;\r\nFN:Given Name %1\r\n"
                                  "TEL;TYPE=CELL:+1 555 %1\r\nEND:VCARD\r\n")
                       .arg(i)
                       .toUtf8());
    return path;
}

// The import path on a file of many tiny cards: read, detect, decode, parse, records.
void readTinyCards300k(benchmark::State &state)
{
    QTemporaryDir folder;
    const QString path = writeTinyCards(folder);
    double cpuMs = 0;
    for (auto _ : state) {
        const ContactTablePtr rows =
            topRows(cpuTimed(cpuMs, [&] { return BenchImport::readVCardFile(path); }));
        if (!rows || rows->size() != TinyCards)
            state.SkipWithError("cards were lost");
    }
    state.counters["cards"] = TinyCards;
    state.counters["cpu_ms"] = cpuMs / double(state.iterations());
}

// Bytes the heap hands out now (small blocks and mapped ones), after giving back what it can.
double heapInUse()
{
    malloc_trim(0);
    const struct mallinfo2 info = mallinfo2();
    return double(info.uordblks + info.hblkhd);
}

// What the records of 300,000 tiny cards hold once imported, per card: right after the import,
// then after the grid's first view read each name and phone list.
void heldTinyCards300k(benchmark::State &state)
{
    QTemporaryDir folder;
    const QString path = writeTinyCards(folder);
    for (auto _ : state) {
        const double before = heapInUse();
        std::optional<ContainerTable> containers = BenchImport::readVCardFile(path);
        const ContactTablePtr rows = topRows(containers);
        if (!rows || rows->size() != TinyCards) {
            state.SkipWithError("cards were lost");
            break;
        }
        state.counters["bytes_per_card"] = (heapInUse() - before) / TinyCards;
        for (const ContactRowPtr &row : *rows) {
            const QNPersonPtr &person = row->person;
            benchmark::DoNotOptimize(person->stringValueForIdentifier(QStringLiteral("Name")));
            benchmark::DoNotOptimize(person->labeledValueForIdentifier(QStringLiteral("Phone")));
        }
        state.counters["bytes_per_card_read"] = (heapInUse() - before) / TinyCards;
    }
}

} // namespace

// Reading and writing spread the cards over the pool: wall-clock time is what counts.
BENCHMARK(readVCards)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(writeVCards)->Unit(benchmark::kMillisecond)->UseRealTime();
// Once per repetition: later iterations would find the values read.
BENCHMARK(writeEditedVCards)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(storeWriteVCards)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(storeReadVCards)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(readCardsWithoutEnd)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(readLineWithoutColon)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(readTinyCards300k)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(heldTinyCards300k)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

int main(int argc, char **argv)
{
    return BenchMain::run(argc, argv, false);
}
