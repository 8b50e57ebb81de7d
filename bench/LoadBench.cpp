#include "app/AddressBookLoader.h"
#include "model/QNPerson.h"
#include "platform/CloudKeyValueStore.h"
#include "platform/ContactStore.h"
#include "platform/StoreBuilder.h"
#include "platform/UserDefaults.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImage>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

// Loads a store of 20,000 varied contacts into the address book.

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

// A PNG of about 2 KB.
QByteArray photo(int i)
{
    QImage image(40, 40, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb((x * 7 + i) & 0xff, (y * 13) & 0xff, ((x ^ y) * 5) & 0xff));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

void addNames(StoreContact &c, int i)
{
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
    c.note = i % 3 == 1 ? QStringLiteral("Met at the fair in %1.\nCall back in spring.").arg(1990 + i % 30)
                        : QString();
}

void addLists(StoreContact &c, int i)
{
    for (int p = 0; p <= i % 4; ++p)
        c.phoneNumbers.append({{},
                               phoneLabels.at((i + p) % phoneLabels.size()),
                               QStringLiteral("+1 555 %1").arg(i * 4 + p, 7, 10, QLatin1Char('0'))});
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
}

StoreContact makeContact(int i)
{
    StoreContact c;
    addNames(c, i);
    addLists(c, i);
    if (i % 10 == 3) {
        c.imageData = photo(i);
    }
    return c;
}

// One in twenty contacts has custom values in the cloud store.
QVariantMap customValues(int i)
{
    return {{QStringLiteral("Member No."), QStringLiteral("M-%1").arg(i)},
            {QStringLiteral("Club"),
             QVariantList{QVariantMap{{QStringLiteral("label"), QStringLiteral("home")},
                                      {QStringLiteral("value"), QStringLiteral("Chess")}}}}};
}

// The store, defaults and cloud store of the runs, made once.
struct Fixture
{
    QTemporaryDir folder;
    QString storePath;
    std::unique_ptr<UserDefaults> defaults;
    std::unique_ptr<CloudKeyValueStore> cloud;
    QString error;

    Fixture()
    {
        storePath = folder.filePath(QStringLiteral("Contacts.sqlite"));
        defaults = std::make_unique<UserDefaults>(folder.filePath(QStringLiteral("defaults.json")));
        cloud = std::make_unique<CloudKeyValueStore>(folder.filePath(QStringLiteral("cloud.json")));
        StoreBuilder builder(storePath);
        StoreSaveRequest request;
        for (int i = 0; i < ContactCount; ++i) {
            const StoreContact contact = makeContact(i);
            request.addContact(contact, builder.localContainer());
            if (i % 20 == 0)
                cloud->setObject(customValues(i), contact.identifier());
        }
        error = builder.ok() ? builder.store().execute(request).error : builder.error();
        cloud->synchronize();
    }
};

Fixture &fixture()
{
    static Fixture instance;
    return instance;
}

bool fixtureReady(benchmark::State &state)
{
    if (fixture().error.isEmpty())
        return true;
    state.SkipWithError(fixture().error.toStdString().c_str());
    return false;
}

void checkLoaded(benchmark::State &state, const AddressBookLoader &addressBook)
{
    const ContactTablePtr rows = addressBook.contactTable();
    if (!rows || rows->size() != ContactCount)
        state.SkipWithError("the load lost contacts");
}

// The load at launch: nothing to drop.
void loadAddressBook(benchmark::State &state)
{
    if (!fixtureReady(state))
        return;
    for (auto _ : state) {
        auto addressBook =
            std::make_unique<AddressBookLoader>(fixture().storePath, *fixture().defaults, *fixture().cloud);
        addressBook->loadAddressBook();
        state.PauseTiming();
        checkLoaded(state, *addressBook);
        addressBook.reset();
        state.ResumeTiming();
    }
    state.counters["contacts"] = ContactCount;
}

// The reload after a save: the previous tree is dropped as the new one is published.
void reloadAddressBook(benchmark::State &state)
{
    if (!fixtureReady(state))
        return;
    AddressBookLoader addressBook(fixture().storePath, *fixture().defaults, *fixture().cloud);
    addressBook.loadAddressBook();
    for (auto _ : state) {
        addressBook.loadAddressBook();
        checkLoaded(state, addressBook);
    }
    state.counters["contacts"] = ContactCount;
}

// The parts of the load: the store fetch with the load's keys, and the conversion on one thread.
void fetchContacts(benchmark::State &state)
{
    AddressBookLoader addressBook(fixture().storePath, *fixture().defaults, *fixture().cloud);
    const QString container = ContactStore(fixture().storePath).defaultContainerIdentifier().value;
    for (auto _ : state) {
        const QList<StoreContact> contacts = addressBook.cnContactsForGroup(std::nullopt, container);
        if (contacts.size() != ContactCount)
            state.SkipWithError("the fetch lost contacts");
    }
}

QList<StoreContact> fetchedContacts()
{
    AddressBookLoader addressBook(fixture().storePath, *fixture().defaults, *fixture().cloud);
    const QString container = ContactStore(fixture().storePath).defaultContainerIdentifier().value;
    return addressBook.cnContactsForGroup(std::nullopt, container);
}

void convertOnOneThread(benchmark::State &state)
{
    const QList<StoreContact> contacts = fetchedContacts();
    for (auto _ : state) {
        ContactTable rows;
        rows.reserve(contacts.size());
        for (const StoreContact &contact : contacts)
            rows.append(AddressBookLoader::createContactFromCNContact(contact));
        state.PauseTiming();
        rows.clear();
        state.ResumeTiming();
    }
}

void convertInSlices(benchmark::State &state)
{
    const QList<StoreContact> contacts = fetchedContacts();
    AddressBookLoader addressBook(fixture().storePath, *fixture().defaults, *fixture().cloud);
    for (auto _ : state) {
        std::optional<ContactTable> rows = addressBook.convertInSlices(contacts);
        state.PauseTiming();
        if (!rows || rows->size() != ContactCount)
            state.SkipWithError("the slices lost contacts");
        rows.reset();
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(loadAddressBook)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(reloadAddressBook)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(fetchContacts)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(convertOnOneThread)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(convertInSlices)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
