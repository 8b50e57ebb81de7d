// Reads the 20,000-card vCard file into records and writes them back as vCard 3.0; and the same
// for the store's own serialisation, which the record-level reader and writer build on. Two
// malformed texts check that reading stays linear where a naive search would start over.

#include "BenchContacts.h"
#include "BenchData.h"
#include "BenchMain.h"

#include "model/QNvCard.h"
#include "platform/StoreVCardSerialization.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

std::optional<ContainerTable> readFile()
{
    return QNvCard().containersFromVCards(BenchData::readText(BenchData::vCardPath()));
}

ContactTablePtr topRows(const std::optional<ContainerTable> &containers)
{
    return containers && !containers->isEmpty() ? containers->first()->topGroup()->contactTable : nullptr;
}

// The file read and decoded, and its cards made into records with their category groups.
void readVCards(benchmark::State &state)
{
    for (auto _ : state) {
        std::optional<ContainerTable> containers = readFile();
        const ContactTablePtr rows = topRows(containers);
        if (!rows || rows->size() != BenchContacts::ContactCount)
            state.SkipWithError("cards were lost");
        // The importer keeps the records: dropping them is no part of reading.
        state.PauseTiming();
        containers.reset();
        state.ResumeTiming();
    }
    state.counters["cards"] = BenchContacts::ContactCount;
}

// Those records written back with notes, photos, custom items and categories, into a file.
void writeVCards(benchmark::State &state)
{
    const std::optional<ContainerTable> containers = readFile();
    const ContactTablePtr rows = topRows(containers);
    if (!rows) {
        state.SkipWithError("cards were lost");
        return;
    }
    const QStringList options{QNvCardOption::Note, QNvCardOption::Photo, QNvCardOption::Custom};
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("written.vcf"));
    qint64 size = 0;
    for (auto _ : state) {
        const std::optional<QString> cards = QNvCard().vCardsFromContacts(*rows, options, containers->first());
        QFile file(path);
        if (!cards || !file.open(QIODevice::WriteOnly))
            state.SkipWithError("nothing written");
        else
            size = file.write(cards->toUtf8());
    }
    state.counters["cards"] = BenchContacts::ContactCount;
    state.counters["MB"] = double(size) / (1024 * 1024);
}

QList<StoreContact> storeContacts()
{
    QList<StoreContact> made;
    made.reserve(BenchContacts::ContactCount);
    for (int i = 0; i < BenchContacts::ContactCount; ++i)
        made.append(BenchContacts::contact(i));
    return made;
}

void storeWriteVCards(benchmark::State &state)
{
    const QList<StoreContact> contacts = storeContacts();
    for (auto _ : state)
        benchmark::DoNotOptimize(StoreVCardSerialization::dataWithContacts(contacts));
    state.counters["cards"] = BenchContacts::ContactCount;
}

void storeReadVCards(benchmark::State &state)
{
    const QByteArray data = StoreVCardSerialization::dataWithContacts(storeContacts());
    for (auto _ : state) {
        const StoreVCardReadResult result = StoreVCardSerialization::contactsWithData(data);
        if (result.contacts.size() != BenchContacts::ContactCount)
            state.SkipWithError("cards were lost");
    }
    state.counters["cards"] = BenchContacts::ContactCount;
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
    for (auto _ : state) {
        const ContactTablePtr rows = topRows(QNvCard().containersFromVCards(text));
        if (!rows || rows->size() != Cards)
            state.SkipWithError("cards were lost");
    }
    state.counters["cards"] = Cards;
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
    for (auto _ : state) {
        const ContactTablePtr rows = topRows(QNvCard().containersFromVCards(text));
        if (!rows || rows->size() != 1)
            state.SkipWithError("the card was lost");
    }
    state.counters["MB"] = double(text.size()) / (1024 * 1024);
}

} // namespace

// Reading and writing spread the cards over the pool: wall-clock time is what counts.
BENCHMARK(readVCards)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(writeVCards)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(storeWriteVCards)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(storeReadVCards)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(readCardsWithoutEnd)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(readLineWithoutColon)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    return BenchMain::run(argc, argv, false);
}
