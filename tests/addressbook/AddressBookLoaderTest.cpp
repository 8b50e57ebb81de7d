#include "addressbook/AddressBookLoader.h"
#include "addressbook/LoadedContactRow.h"
#include "model/CustomItemCloudValues.h"
#include "model/LabelTables.h"
#include "model/QNPerson.h"
#include "platform/CloudKeyValueStore.h"
#include "platform/Dispatch.h"
#include "platform/Localizer.h"
#include "platform/LogCapture.h"
#include "platform/StoreBuilder.h"
#include "platform/StoreLabels.h"
#include "platform/UserDefaults.h"
#include "platform/widgets/Alert.h"
#include "platform/widgets/TestMode.h"

#include <QCoreApplication>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

const QString LastContainerKey = QStringLiteral("QN1DlastContainerIdentifier");

QStringList namesOf(const ContainerTable &containers)
{
    QStringList names;
    for (const ContainerDictPtr &container : containers)
        names.append(container->name);
    return names;
}

QStringList uniqueIdsOf(const ContactTable &rows)
{
    QStringList identifiers;
    for (const ContactRowPtr &row : rows)
        identifiers.append(row->uniqueId);
    return identifiers;
}

class AddressBookLoaderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TestMode::reset();
        TestMode::setEnabled(true);
        ASSERT_TRUE(m_builder.ok()) << m_builder.error().toStdString();
    }
    void TearDown() override
    {
        m_builder.store().clearFaults();
        QCoreApplication::processEvents();
        TestMode::reset();
        TestMode::setEnabled(false);
    }

    QString local() const { return m_builder.localContainer(); }

    QTemporaryDir m_folder;
    StoreBuilder m_builder;
    UserDefaults m_defaults{m_folder.filePath(QStringLiteral("defaults.json"))};
    CloudKeyValueStore m_cloud{m_folder.filePath(QStringLiteral("cloud.json"))};
    AddressBookLoader m_loader{ContactStore::defaultPath(), m_defaults, m_cloud};
};

TEST_F(AddressBookLoaderTest, ContainersAreNamedByTypeAndUnshowableOnesLeftOut)
{
    m_builder.addContainer(QStringLiteral("iCloud"), StoreContainerCardDAV);
    m_builder.addContainer(QString(), StoreContainerCardDAV);
    m_builder.addContainer(QStringLiteral("Office"), StoreContainerExchange);
    m_builder.addContainer(QStringLiteral("Odd"), 7);
    m_builder.addContainer(QStringLiteral("Unassigned"), StoreContainerUnassigned);
    const QString work = m_builder.addContainer(QStringLiteral("Work"), StoreContainerCardDAV);
    const QString unnamed = m_builder.addGroup(work, QString());
    const QString team = m_builder.addGroup(work, QStringLiteral("Team"));

    const ContainerTable containers = m_loader.aContainerTable();
    EXPECT_EQ(namesOf(containers), (QStringList{"On This Computer", "iCloud", "Office", "Work"}));
    const QList<GroupDictPtr> groups = containers.last()->groups;
    ASSERT_EQ(groups.size(), 3);
    EXPECT_TRUE(groups[0]->top && !groups[0]->cnGroup && !groups[0]->contactTable);
    EXPECT_EQ(groups[0]->name, "All Contacts");
    EXPECT_EQ(groups[0]->uniqueId, work);
    EXPECT_EQ(groups[1]->uniqueId, unnamed);
    EXPECT_FALSE(groups[1]->name.isNull());
    EXPECT_EQ(groups[1]->name, "");
    EXPECT_EQ(groups[2]->cnGroup->identifier, team);
    EXPECT_EQ(groups[2]->containerName, "Work");

    Localizer::shared().setPreferredLanguages({QStringLiteral("ja")});
    EXPECT_EQ(m_loader.aContainerTable().first()->name, QStringLiteral("このコンピュータ内"));
    Localizer::shared().setPreferredLanguages({QStringLiteral("en")});
}

TEST_F(AddressBookLoaderTest, FailingGroupFetchIsLoggedAndReportedAndTheOthersGoOn)
{
    const QString broken = m_builder.addContainer(QStringLiteral("Broken"), StoreContainerCardDAV);
    const QString work = m_builder.addContainer(QStringLiteral("Work"), StoreContainerCardDAV);
    m_builder.addGroup(broken, QStringLiteral("Lost"));
    m_builder.addGroup(work, QStringLiteral("Team"));
    m_builder.store().failGroupFetchForContainer(broken);
    LogCapture log;
    QSignalSpy failures(&m_loader, &AddressBookLoader::groupFetchDidFail);

    const ContainerTable containers = m_loader.aContainerTable();
    ASSERT_EQ(namesOf(containers), (QStringList{"On This Computer", "Broken", "Work"}));
    EXPECT_EQ(containers.at(1)->groups.size(), 1);
    EXPECT_EQ(containers.at(2)->groups.size(), 2);
    EXPECT_TRUE(log.contains(QStringLiteral("aContainerTable: ERROR can't find groups in Broken")));
    ASSERT_EQ(failures.size(), 1);
    EXPECT_EQ(failures.at(0).at(0).toString(), "Broken");
    EXPECT_TRUE(Alert::shownAlerts().isEmpty()) << "the UI tells the user, not the loader";
}

// A cancel during the conversion ends the load without a tree; so does every later load.
TEST_F(AddressBookLoaderTest, ACancelledLoadPublishesNothing)
{
    for (int i = 0; i < 8; ++i)
        m_builder.addPerson(local(), QStringLiteral("Person %1").arg(i), QStringLiteral("Test"));
    m_loader.setSliceStartHookForTesting([this] { m_loader.cancel(); });
    m_loader.loadAddressBook();
    EXPECT_EQ(m_loader.lastLoadOutcome(), AddressBookLoader::LoadOutcome::Cancelled);
    EXPECT_TRUE(m_loader.containerTable().isEmpty());
    EXPECT_FALSE(m_loader.contactTable());

    m_loader.setSliceStartHookForTesting({});
    m_loader.loadAddressBook();
    EXPECT_EQ(m_loader.lastLoadOutcome(), AddressBookLoader::LoadOutcome::Cancelled);
    EXPECT_FALSE(m_loader.contactTable());
}

struct ChoiceCase
{
    const char *remembered; // a container name, "stale" for a removed one, or none
    const char *defaultContainer;
    const char *expected;
};

class ContainerChoiceTest : public AddressBookLoaderTest, public ::testing::WithParamInterface<ChoiceCase>
{
};

TEST_P(ContainerChoiceTest, LoadsTheTopGroupOfTheChosenContainerOnly)
{
    QHash<QString, QString> ids{{"On This Computer", local()}, {"stale", QStringLiteral("GONE-CONTAINER")}};
    for (const char *name : {"Work", "Home"})
        ids.insert(name, m_builder.addContainer(name, StoreContainerCardDAV));
    QHash<QString, QString> contactOf;
    for (auto it = ids.cbegin(); it != ids.cend(); ++it)
        if (it.key() != "stale")
            contactOf.insert(it.key(), m_builder.addPerson(it.value(), it.key(), QStringLiteral("Person")));
    m_builder.addGroup(ids["Work"], QStringLiteral("Team"));
    ASSERT_TRUE(m_builder.store().setDefaultContainer(ids[GetParam().defaultContainer]).ok());
    if (GetParam().remembered)
        m_defaults.setObject(ids[GetParam().remembered], LastContainerKey);

    m_loader.loadAddressBook();

    EXPECT_EQ(m_loader.lastLoadOutcome(), AddressBookLoader::LoadOutcome::Loaded);
    const GroupDictPtr selected = m_loader.selectedGroupDict();
    ASSERT_TRUE(selected && selected->top && m_loader.contactTable());
    EXPECT_EQ(selected->containerName, GetParam().expected);
    EXPECT_EQ(m_loader.contactTable(), selected->contactTable);
    EXPECT_EQ(uniqueIdsOf(*m_loader.contactTable()), QStringList{contactOf[GetParam().expected]});
    for (const ContainerDictPtr &container : m_loader.containerTable())
        for (const GroupDictPtr &group : container->groups)
            EXPECT_EQ(bool(group->contactTable), group == selected) << group->name.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Choice, ContainerChoiceTest,
                         ::testing::Values(ChoiceCase{"Work", "Home", "Work"},
                                           ChoiceCase{nullptr, "Home", "Home"},
                                           ChoiceCase{"stale", "Home", "On This Computer"},
                                           ChoiceCase{nullptr, "On This Computer", "On This Computer"}));

class SliceTest : public AddressBookLoaderTest, public ::testing::WithParamInterface<int>
{
};

TEST_P(SliceTest, EveryContactBecomesARowInFetchOrder)
{
    StoreSaveRequest request;
    QStringList added;
    for (int i = 0; i < GetParam(); ++i) {
        StoreContact contact;
        contact.givenName = QStringLiteral("Given %1").arg(i);
        contact.organizationName = QStringLiteral("Firm %1").arg(i);
        if (i % 3 == 2)
            contact.setContactType(StoreContactType::Organization);
        request.addContact(contact, local());
        added.append(contact.identifier());
    }
    ASSERT_TRUE(m_builder.store().execute(request).ok());

    m_loader.loadAddressBook();

    ASSERT_TRUE(m_loader.contactTable());
    const ContactTable rows = *m_loader.contactTable();
    EXPECT_EQ(uniqueIdsOf(rows), added);
    for (int i = 0; i < rows.size(); ++i) {
        ASSERT_TRUE(rows[i]->person);
        EXPECT_EQ(rows[i]->person->uniqueId(), added[i]);
        EXPECT_FALSE(rows[i]->isNew || rows[i]->deleted || rows[i]->person->isChanged());
        EXPECT_EQ(rows[i]->uniqueId2,
                  i % 3 == 2 ? std::optional(QStringLiteral("Firm %1").arg(i)) : std::nullopt);
    }
}

INSTANTIATE_TEST_SUITE_P(Counts, SliceTest, ::testing::Values(0, 3, 9, 1000));

// The load fetches whether there is a photo, not its bytes; a record reads them when shown, and
// the save and the export still carry the photo.
TEST_F(AddressBookLoaderTest, LoadedRecordsReadTheirPhotoWhenItIsFirstShown)
{
    StoreContact pictured;
    pictured.givenName = QStringLiteral("Pictured");
    pictured.imageData = QByteArray::fromBase64(
        "iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mP8z8BQDwAEhQGAhKmMIQAAAABJRU5ErkJggg==");
    const QString withPhoto = m_builder.addContact(local(), pictured);
    const QString without = m_builder.addPerson(local(), QStringLiteral("Plain"), QString());
    ASSERT_TRUE(m_builder.ok()) << m_builder.error().toStdString();
    const QByteArray stored =
        m_builder.store().unifiedContact(withPhoto, {StoreKey::ImageData}).value.imageData;

    m_loader.loadAddressBook();

    ASSERT_TRUE(m_loader.contactTable());
    const ContactTable rows = *m_loader.contactTable();
    ASSERT_EQ(uniqueIdsOf(rows), (QStringList{withPhoto, without}));
    const std::optional<StoreContact> loaded = rows[0]->person->cnContact();
    ASSERT_TRUE(loaded);
    EXPECT_TRUE(loaded->imageDataAvailable());
    EXPECT_TRUE(loaded->imageData.isEmpty() && loaded->thumbnailImageData.isEmpty()) << "no bytes at load";
    EXPECT_EQ(rows[0]->person->photoData(), stored);
    EXPECT_FALSE(rows[0]->person->photo().isNull());
    EXPECT_TRUE(rows[1]->person->photoData().isEmpty());
    EXPECT_FALSE(rows[1]->person->isChanged());
}

TEST_F(AddressBookLoaderTest, CustomValuesAreRestoredWithTheirTypesWithoutMarkingAChange)
{
    const QString identifier =
        m_builder.addPerson(local(), QStringLiteral("Custom"), QStringLiteral("Person"));
    const QVariantList phones{QVariantMap{{"label", "home"}, {"value", "111"}},
                              QVariantMap{{"label", "work"}, {"value", "222"}}};
    const QVariantMap place{{"City", "Kyoto"}};
    m_cloud.setObject(QVariantMap{{"Club", "Chess"},
                                  {"Blank", ""},
                                  {"None", QVariantList()},
                                  {"Phones", phones},
                                  {"Place", place},
                                  {"Count", 3}},
                      identifier);

    m_loader.loadAddressBook();

    ASSERT_EQ(m_loader.contactTable()->size(), 1);
    const QNPersonPtr person = m_loader.contactTable()->first()->person;
    QVariantMap definitions;
    for (const QVariant &item : person->ownCustomItems())
        definitions.insert(item.toMap().value("Name").toString(), item);
    EXPECT_EQ(definitions.keys(), (QStringList{"Club", "Phones", "Place"}));
    EXPECT_EQ(person->typeForIdentifier("Club"), "String Value");
    EXPECT_EQ(person->typeForIdentifier("Phones"), "Labeled Value");
    EXPECT_EQ(person->typeForIdentifier("Place"), "Dictionary Value");
    EXPECT_EQ(definitions["Phones"].toMap().value("Labels").toStringList(), (QStringList{"home", "work"}));
    EXPECT_EQ(person->item("Club"), "Chess");
    EXPECT_EQ(person->item("Phones").toList().size(), 2);
    EXPECT_EQ(person->item("Place").toMap(), place);
    EXPECT_FALSE(person->isChanged());
}

// The menus offer a loaded contact's own labels at once, not once a view first reads its values.
TEST_F(AddressBookLoaderTest, StoredLabelsAreOfferedAtLoad)
{
    StoreContact contact;
    contact.emailAddresses = {{QString(), QStringLiteral("Reading group"), QStringLiteral("r@example.com")},
                              {QString(), QString(), QStringLiteral("s@example.com")}};
    const ContactRowPtr row = AddressBookLoader::createContactFromCNContact(contact);
    const QStringList offered =
        QNPerson::customLabelsForIdentifier(QStringLiteral("Email")).value_or(QStringList());
    EXPECT_TRUE(offered.contains(QStringLiteral("Reading group")));
    EXPECT_FALSE(offered.contains(QStringLiteral("No label")));
    EXPECT_FALSE(row->person->heldLabeledValues(QNPerson::LabeledKind::Email));
    QNPerson::removeLabel(QStringLiteral("Reading group"), QStringLiteral("Email"));
}

// The four slices offer their contacts' labels once each, in fetch order; a load that missed its
// deadline offers none (the group's later read does).
TEST_F(AddressBookLoaderTest, TheLoadOffersEachStoredLabelOnceInFetchOrder)
{
    LabelTables::shared().reset();
    const QList<QStringList> phoneLabels{{"Boat"}, {},     {"Attic", "Boat"}, {},
                                         {},       {"Cellar", StoreLabel::Home}, {}, {"Attic", ""}};
    for (const QStringList &labels : phoneLabels) {
        StoreContact contact;
        contact.givenName = QStringLiteral("Given");
        for (const QString &label : labels)
            contact.phoneNumbers.append({QString(), label, QStringLiteral("555")});
        m_builder.addContact(local(), contact);
    }
    m_loader.loadAddressBook();
    ASSERT_EQ(m_loader.contactTable()->size(), phoneLabels.size());
    EXPECT_EQ(QNPerson::customLabelsForIdentifier("Phone"), QStringList({"Boat", "Attic", "Cellar"}));
    EXPECT_EQ(QNPerson::labelsForIdentifier("Phone")->count("Attic"), 1);

    LabelTables::shared().reset();
    QSemaphore gate;
    m_loader.setSliceStartHookForTesting([&gate] { gate.acquire(); });
    m_loader.setSliceTimeout(1ms);
    m_loader.loadAddressBook();
    gate.release(3);
    Dispatch::pool().waitForDone();
    ASSERT_EQ(m_loader.lastLoadOutcome(), AddressBookLoader::LoadOutcome::TimedOut);
    EXPECT_FALSE(QNPerson::labelsForIdentifier("Phone")->contains("Boat"));
    LabelTables::shared().reset();
}

// The slices restore custom values side by side; the labels they bring reach the menus as a
// restore of one row after the other would offer them, after the stored labels.
TEST_F(AddressBookLoaderTest, CustomValuesRestoredInSlicesMatchARestoreRowByRow)
{
    const auto pets = [](const QStringList &labels) {
        QVariantList entries;
        for (const QString &label : labels)
            entries.append(QVariantMap{{"label", label}, {"value", label + " pet"}});
        return entries;
    };
    // Twelve contacts, three a slice; every slice brings a label the earlier ones did not.
    const QMap<int, QVariantMap> entries{
        {1, {{"Pets", pets({"Dog", ""})}, {"Club", "Chess"}}},
        {4, {{"Pets", pets({"Cat", "Dog"})}, {"Tags", pets({"Red"})}}},
        {5, {{"Place", QVariantMap{{"City", "Kyoto"}}}, {"Blank", ""}}},
        {7, {{"Tags", pets({"Blue", "Red"})}, {"Pets", pets({"Bird"})}}},
        {10, {{"Pets", pets({"Ant", "Cat", "Eel"})}, {"Tags", pets({"Green"})}}},
        {11, {{"Pets", pets({"Ant"})}}}};
    QStringList identifiers;
    for (int i = 0; i < 12; ++i) {
        StoreContact contact;
        contact.givenName = QStringLiteral("Given %1").arg(i);
        contact.phoneNumbers.append(
            {QString(), QStringLiteral("Phone %1").arg(i % 5), QStringLiteral("555")});
        identifiers.append(m_builder.addContact(local(), contact));
        if (entries.contains(i))
            m_cloud.setObject(entries[i], identifiers.last());
    }
    ASSERT_TRUE(m_builder.ok()) << m_builder.error().toStdString();

    // What restoring one row after the other, once all rows are made, gives.
    LabelTables::shared().reset();
    ContactTable serial;
    for (const StoreContact &contact : m_loader.cnContactsForGroup(std::nullopt, local()))
        serial.append(AddressBookLoader::createContactFromCNContact(contact));
    for (const ContactRowPtr &row : serial)
        AddressBookLoader::restoreCustomValues(
            *row->person, m_cloud.dictionaryForKey(row->uniqueId).value_or(QVariantMap()));
    const QNPerson::LabelTable serialLabels = LabelTables::shared().labelTable();
    const QNPerson::LabelTable serialCustom = LabelTables::shared().customLabelTable();
    ASSERT_EQ(serialCustom.value("Pets"), QStringList({"Dog", "Cat", "Bird", "Ant", "Eel"}));

    LabelTables::shared().reset();
    m_loader.loadAddressBook();

    EXPECT_EQ(LabelTables::shared().labelTable(), serialLabels);
    EXPECT_EQ(LabelTables::shared().customLabelTable(), serialCustom);
    ASSERT_TRUE(m_loader.contactTable());
    const ContactTable rows = *m_loader.contactTable();
    ASSERT_EQ(uniqueIdsOf(rows), identifiers);
    for (qsizetype i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        QNPerson &person = *rows[i]->person;
        EXPECT_EQ(person.ownCustomItems(), serial[i]->person->ownCustomItems());
        for (const QString &name : person.customIdentifiers())
            EXPECT_EQ(person.item(name), serial[i]->person->item(name)) << name.toStdString();
        EXPECT_EQ(loadedCustomValues(*rows[i]),
                  entries.contains(i) ? CustomItemCloudValues::entryOfPerson(person) : QVariantMap());
        EXPECT_FALSE(person.isChanged());
    }
    EXPECT_EQ(rows[4]->person->customIdentifiers(), (QStringList{"Pets", "Tags"}));
    LabelTables::shared().reset();
}

TEST_F(AddressBookLoaderTest, WithoutContainersTheOldTreeIsNotKept)
{
    m_builder.addPerson(local(), QStringLiteral("Ada"), QStringLiteral("Lovelace"));
    m_loader.loadAddressBook();
    ASSERT_TRUE(m_loader.contactTable());
    ASSERT_TRUE(m_builder.store().removeContainer(local()).ok());

    m_loader.loadAddressBook();

    EXPECT_EQ(m_loader.lastLoadOutcome(), AddressBookLoader::LoadOutcome::NoContainer);
    EXPECT_TRUE(m_loader.containerTable().isEmpty());
    EXPECT_FALSE(m_loader.selectedGroupDict());
    EXPECT_FALSE(m_loader.contactTable());
}

TEST_F(AddressBookLoaderTest, SliceMissingTheDeadlineHandsOverNoRows)
{
    for (int i = 0; i < 9; ++i)
        m_builder.addPerson(local(), QStringLiteral("Given %1").arg(i), QStringLiteral("Family"));
    m_loader.loadAddressBook();
    ASSERT_EQ(m_loader.contactTable()->size(), 9);

    QSemaphore gate;
    m_loader.setSliceStartHookForTesting([&gate] { gate.acquire(); });
    m_loader.setSliceTimeout(1ms);
    LogCapture log;
    m_loader.loadAddressBook();
    gate.release(3);
    Dispatch::pool().waitForDone();

    EXPECT_EQ(m_loader.lastLoadOutcome(), AddressBookLoader::LoadOutcome::TimedOut);
    ASSERT_TRUE(m_loader.selectedGroupDict() && m_loader.selectedGroupDict()->top);
    EXPECT_FALSE(m_loader.selectedGroupDict()->contactTable) << "left for the group selection to read";
    EXPECT_FALSE(m_loader.contactTable());
    EXPECT_TRUE(log.contains(QStringLiteral("were not converted in time")));
}

TEST_F(AddressBookLoaderTest, GroupFetchGivesItsMembersWithTheLoadKeys)
{
    const QString work = m_builder.addContainer(QStringLiteral("Work"), StoreContainerCardDAV);
    const QString team = m_builder.addGroup(work, QStringLiteral("Team"));
    m_builder.addPerson(work, QStringLiteral("Outside"), QStringLiteral("Team"));
    const QString member = m_builder.addPerson(work, QStringLiteral("Inside"), QStringLiteral("Team"));
    m_builder.addMember(member, team);

    const QList<StoreContact> members = m_loader.cnContactsForGroup(StoreGroup{team, "Team"}, work);
    ASSERT_EQ(members.size(), 1);
    EXPECT_EQ(members.first().identifier(), member);
    for (const QString &key : AddressBookLoader::fetchKeys())
        EXPECT_TRUE(members.first().isKeyAvailable(key)) << key.toStdString();
    EXPECT_TRUE(m_loader.cnContactsForGroup(std::nullopt, QStringLiteral("GONE")).isEmpty());
}

} // namespace
