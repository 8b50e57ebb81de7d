#include "platform/StoreVCardSerialization.h"

#include <benchmark/benchmark.h>

// Writes 20,000 varied contacts as vCard 3.0 and reads them back.

namespace {

constexpr int ContactCount = 20000;

const QStringList givenNames{"Elise", "Jonas", "Maria", "Pat", "Ingrid",
                             "Kofi",  "Ana",   "Liam",  "Zoë", "Émile"};
const QStringList familyNames{"Hartmann", "O'Brien", "García", "Nakamura",
                              "Olsen",    "Mensah",  "Silva",  "Novak"};
const QStringList japaneseGiven{"太郎", "花子", "健一", "さくら", "翔太"};
const QStringList japaneseFamily{"山田", "佐藤", "鈴木", "高橋", "田中"};
const QStringList phoneLabels{"_$!<Mobile>!$_", "_$!<Home>!$_",    "_$!<Work>!$_",
                              "iPhone",         "_$!<WorkFAX>!$_", "Boat"};

StoreContact makeContact(int i)
{
    StoreContact c;
    if (i % 5 == 0) {
        c.givenName = japaneseGiven.at(i % japaneseGiven.size());
        c.familyName = japaneseFamily.at((i / 5) % japaneseFamily.size());
        c.phoneticGivenName = QStringLiteral("たろう");
        c.phoneticFamilyName = QStringLiteral("やまだ");
    } else {
        c.givenName = givenNames.at(i % givenNames.size());
        c.familyName = familyNames.at((i / 3) % familyNames.size());
        c.middleName = i % 4 == 0 ? QStringLiteral("Q.") : QString();
    }
    if (i % 7 == 0)
        c.setContactType(StoreContactType::Organization);
    c.organizationName = QStringLiteral("Company %1, Ltd.").arg(i % 500);
    c.departmentName = i % 3 == 0 ? QStringLiteral("Sales; Region %1").arg(i % 9) : QString();
    c.jobTitle = i % 2 == 0 ? QStringLiteral("Manager") : QString();
    for (int p = 0; p <= i % 3; ++p)
        c.phoneNumbers.append({{},
                               phoneLabels.at((i + p) % phoneLabels.size()),
                               QStringLiteral("+1 555 %1").arg(i * 3 + p, 7, 10, QLatin1Char('0'))});
    for (int e = 0; e < i % 3; ++e)
        c.emailAddresses.append({{},
                                 e == 0 ? QStringLiteral("_$!<Work>!$_") : QStringLiteral("_$!<Home>!$_"),
                                 QStringLiteral("person%1.%2@example.com").arg(i).arg(e)});
    if (i % 2 == 0)
        c.postalAddresses.append(
            {{},
             QStringLiteral("_$!<Home>!$_"),
             {QStringLiteral("%1 Long Street Name Avenue\nApartment %2").arg(i).arg(i % 40),
              QStringLiteral("Springfield"), QStringLiteral("IL"), QStringLiteral("62701"),
              QStringLiteral("USA"), QStringLiteral("us")}});
    if (i % 4 == 0)
        c.urlAddresses.append(
            {{}, QStringLiteral("_$!<HomePage>!$_"), QStringLiteral("https://example.com/~%1").arg(i)});
    if (i % 6 == 0)
        c.dates.append({{}, QStringLiteral("_$!<Anniversary>!$_"), {2000 + i % 20, 1 + i % 12, 1 + i % 28}});
    if (i % 8 == 0)
        c.contactRelations.append(
            {{}, QStringLiteral("_$!<Spouse>!$_"), givenNames.at((i + 3) % givenNames.size())});
    if (i % 3 != 0)
        c.birthday =
            DateComponents{i % 2 ? std::optional<int>(1950 + i % 50) : std::nullopt, 1 + i % 12, 1 + i % 28};
    if (i % 10 == 0)
        c.socialProfiles.append({{},
                                 QStringLiteral("Twitter"),
                                 {QStringLiteral("https://twitter.com/user%1").arg(i),
                                  QStringLiteral("user%1").arg(i),
                                  {},
                                  "Twitter"}});
    if (i % 9 == 0)
        c.instantMessageAddresses.append(
            {{}, QStringLiteral("_$!<Work>!$_"), {QStringLiteral("im%1").arg(i), "Skype"}});
    return c;
}

const QList<StoreContact> &contacts()
{
    static const QList<StoreContact> list = [] {
        QList<StoreContact> made;
        made.reserve(ContactCount);
        for (int i = 0; i < ContactCount; ++i)
            made.append(makeContact(i));
        return made;
    }();
    return list;
}

void writeVCards(benchmark::State &state)
{
    const QList<StoreContact> &list = contacts();
    qsizetype bytes = 0;
    for (auto _ : state) {
        const QByteArray data = StoreVCardSerialization::dataWithContacts(list);
        bytes = data.size();
        benchmark::DoNotOptimize(data.constData());
    }
    state.counters["contacts"] = ContactCount;
    state.counters["MB"] = double(bytes) / (1024 * 1024);
}

void readVCards(benchmark::State &state)
{
    const QByteArray data = StoreVCardSerialization::dataWithContacts(contacts());
    for (auto _ : state) {
        const StoreVCardReadResult result = StoreVCardSerialization::contactsWithData(data);
        if (result.contacts.size() != ContactCount)
            state.SkipWithError("the round trip lost contacts");
        benchmark::DoNotOptimize(result.contacts.constData());
    }
    state.counters["contacts"] = ContactCount;
}

} // namespace

BENCHMARK(writeVCards)->Unit(benchmark::kMillisecond);
BENCHMARK(readVCards)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
