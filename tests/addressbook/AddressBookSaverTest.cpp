#include "addressbook/AddressBookLoader.h"
#include "addressbook/AddressBookSaver.h"
#include "addressbook/GroupLoader.h"
#include "addressbook/PendingCloudWrites.h"
#include "model/CustomItemCloudValues.h"
#include "model/LabelTables.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/CloudKeyValueStore.h"
#include "platform/FileWriter.h"
#include "platform/LogCapture.h"
#include "platform/StoreBuilder.h"
#include "platform/StoreLabels.h"
#include "platform/UserDefaults.h"
#include "platform/widgets/TestMode.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The local container: Ann and Bob; "Friends" holds Ann. Custom values go to a cloud store of
// the test's own.
class SaverTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TestMode::reset();
        TestMode::setEnabled(true);
        ann = builder.addPerson(builder.localContainer(), "Ann", "Lee");
        bob = builder.addPerson(builder.localContainer(), "Bob", "Roe");
        friends = builder.addGroup(builder.localContainer(), "Friends");
        builder.addMember(ann, friends);
        ASSERT_TRUE(builder.ok());
        QNPerson::setCloudKeyValueStore(cloud.get());
    }
    void TearDown() override
    {
        QNPerson::setCloudKeyValueStore(nullptr);
        QCoreApplication::processEvents();
        TestMode::reset();
        TestMode::setEnabled(false);
    }
    ContainerTable load()
    {
        AddressBookLoader loader{ContactStore::defaultPath(), defaults, *cloud};
        loader.loadAddressBook();
        ContainerTable table = loader.containerTable();
        GroupLoader groups([&loader](const std::optional<StoreGroup> &group, const QString &container) {
            return loader.cnContactsForGroup(group, container);
        });
        groups.loadContainer(*table.first());
        return table;
    }
    StoreStatus save(const ContainerTable &table)
    {
        ContactStore store;
        return AddressBookSaver(store, *cloud).saveAddressBook(table);
    }
    static ContactRowPtr rowOf(const GroupDictPtr &group, const QString &identifier)
    {
        for (const ContactRowPtr &row : std::as_const(*group->contactTable))
            if (row->uniqueId == identifier)
                return row;
        return nullptr;
    }
    QString cloudPath() const { return folder.filePath("cloud.json"); }

    QTemporaryDir folder;
    StoreBuilder builder;
    UserDefaults defaults{folder.filePath("defaults.json")};
    std::unique_ptr<CloudKeyValueStore> cloud = std::make_unique<CloudKeyValueStore>(cloudPath());
    QString ann, bob, friends;
};

// --- another program saved the same contact first -----------------------------------------------

TEST_F(SaverTest, OnlyTheValuesEditedHereOverwriteAnotherProgramsSave)
{
    ContainerTable table = load();
    QNPerson &person = *rowOf(table.first()->topGroup(), ann)->person;
    // Everything read, as when the contact was on screen.
    for (const QString &identifier : QNPerson::allIdentifiers())
        person.valueForIdentifier(identifier);

    StoreContact theirs = StoreContact::fetched(
        ann, {StoreKey::GivenName, StoreKey::Note, StoreKey::EmailAddresses, StoreKey::JobTitle});
    theirs.givenName = QStringLiteral("Anne");
    theirs.note = QStringLiteral("theirs");
    theirs.jobTitle = QStringLiteral("Chair");
    theirs.emailAddresses = {{QString(), StoreLabel::Work, QStringLiteral("anne@example.org")}};
    StoreSaveRequest other;
    other.updateContact(theirs);
    ASSERT_TRUE(builder.otherApplication()->execute(other).ok());

    person.setValue(QStringLiteral("Li"), PersonKey::LastName);
    person.setValue(QStringLiteral("ours"), QStringLiteral("Note"));
    person.addLabeledValue(
        QVariantMap{{PersonKey::Label, QStringLiteral("mobile")}, {PersonKey::Value, QStringLiteral("090")}},
        QStringLiteral("Phone"));
    ASSERT_TRUE(save(table).ok());

    const StoreContact saved = ContactStore().unifiedContact(ann, StoreKey::allKeys()).value;
    EXPECT_EQ(saved.givenName, "Anne");
    EXPECT_EQ(saved.familyName, "Li");
    EXPECT_EQ(saved.jobTitle, "Chair");
    EXPECT_EQ(saved.emailAddresses.size(), 1);
    ASSERT_EQ(saved.phoneNumbers.size(), 1);
    EXPECT_EQ(saved.phoneNumbers.first().value, "090");
    // Both changed the note: the later save wins.
    EXPECT_EQ(saved.note, "ours");
}

// --- custom values follow the store's commit ------------------------------------------------------

TEST_F(SaverTest, CustomValuesLostOnTheWayToTheCloudArriveAtTheNextStart)
{
    ContainerTable table = load();
    QNPerson &person = *rowOf(table.first()->topGroup(), ann)->person;
    person.addCustomItem(PersonValueType::String, QStringLiteral("Hobby"), {}, std::nullopt);
    person.setValue(QStringLiteral("chess"), QStringLiteral("Hobby"));
    person.setValue(QStringLiteral("edited"), QStringLiteral("Note"));
    // The cloud file cannot be put in place, as when the program is killed before it does so.
    FileWriter::setFailingCommitForTesting(cloudPath());
    {
        LogCapture log;
        const StoreStatus saved = save(table);
        EXPECT_TRUE(saved.error.startsWith("The custom values could not be put in place"))
            << saved.error.toStdString();
        cloud.reset();
    }
    FileWriter::setFailingCommitForTesting(std::nullopt);
    EXPECT_EQ(ContactStore().unifiedContact(ann, {StoreKey::Note}).value.note, "edited");

    cloud = std::make_unique<CloudKeyValueStore>(cloudPath());
    QNPerson::setCloudKeyValueStore(cloud.get());
    table = load();
    EXPECT_EQ(cloud->dictionaryForKey(ann), QVariantMap({{"Hobby", "chess"}}));
    EXPECT_EQ(rowOf(table.first()->topGroup(), ann)->person->valueForIdentifier("Hobby"), "chess");
    EXPECT_TRUE(QDir(PendingCloudWrites(*cloud).folderPath()).isEmpty());
}

TEST_F(SaverTest, ASaveWhoseCustomValuesCannotBeJournalledIsRefused)
{
    ContainerTable table = load();
    QNPerson &person = *rowOf(table.first()->topGroup(), ann)->person;
    person.addCustomItem(PersonValueType::String, QStringLiteral("Hobby"), {}, std::nullopt);
    person.setValue(QStringLiteral("chess"), QStringLiteral("Hobby"));
    person.setValue(QStringLiteral("edited"), QStringLiteral("Note"));
    QFile blocker(PendingCloudWrites(*cloud).folderPath());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));

    const StoreStatus status = save(table);
    EXPECT_FALSE(status.ok());
    EXPECT_TRUE(status.error.contains(blocker.fileName())) << status.error.toStdString();
    EXPECT_EQ(ContactStore().unifiedContact(ann, {StoreKey::Note}).value.note, "");
    EXPECT_TRUE(person.isChanged());
}

// A label of a labelled item that no contact uses yet can still be chosen after a restart.
TEST_F(SaverTest, TheDefinedLabelsOfACustomItemAreOfferedAfterALoad)
{
    ContainerTable table = load();
    const QStringList labels{"member", "staff"};
    CustomItemCloudValues::saveCustomItemDefinitions(
        {QVariantMap{{"Name", "Codes"}, {"Type", "Labeled Value"}, {"Labels", labels}}}, *cloud);
    QNPerson &person = *rowOf(table.first()->topGroup(), ann)->person;
    person.addCustomItem(PersonValueType::Labeled, "Codes", labels, std::nullopt);
    person.addLabeledValue(QVariantMap{{PersonKey::Label, "staff"}, {PersonKey::Value, "S1"}}, "Codes");
    ASSERT_TRUE(save(table).ok());
    LabelTables::shared().reset();
    load();
    EXPECT_EQ(QNPerson::labelsForIdentifier("Codes"), labels);
}

// --- another program removed a group the window changed -------------------------------------------

// What the window did to "Friends" before another program removed that group.
enum class GroupEdit
{
    Dropped,
    Removed,
    Renamed,
    Deleted
};

struct GroupEditRow
{
    const char *name;
    GroupEdit edit;
};

class GroupRemovedElsewhere : public SaverTest, public ::testing::WithParamInterface<GroupEditRow>
{
};

TEST_P(GroupRemovedElsewhere, TheRestOfTheSaveGoesThrough)
{
    ContainerTable table = load();
    const GroupDictPtr top = table.first()->topGroup();
    const GroupDictPtr group = table.first()->groups.at(1);
    switch (GetParam().edit) {
    case GroupEdit::Dropped: {
        auto row = std::make_shared<ContactRow>(*rowOf(top, bob));
        row->isNew = true;
        group->contactTable->append(row);
        break;
    }
    case GroupEdit::Removed:
        rowOf(group, ann)->deleted = true;
        break;
    case GroupEdit::Renamed:
        group->name = QStringLiteral("Pals");
        group->groupNameChanged = true;
        break;
    case GroupEdit::Deleted:
        group->deleted = true;
        break;
    }
    rowOf(top, ann)->person->setValue(QStringLiteral("Annie"), PersonKey::FirstName);
    StoreSaveRequest other;
    other.deleteGroup(friends);
    ASSERT_TRUE(builder.otherApplication()->execute(other).ok());

    LogCapture log;
    const StoreStatus status = save(table);
    EXPECT_TRUE(status.ok()) << status.error.toStdString();
    ContactStore store;
    EXPECT_EQ(store.unifiedContact(ann, {StoreKey::GivenName}).value.givenName, "Annie");
    EXPECT_TRUE(store.groupsInContainer(builder.localContainer()).value.isEmpty());
    EXPECT_TRUE(log.contains(friends));
}

INSTANTIATE_TEST_SUITE_P(Edits, GroupRemovedElsewhere,
                         ::testing::Values(GroupEditRow{"Dropped", GroupEdit::Dropped},
                                           GroupEditRow{"Removed", GroupEdit::Removed},
                                           GroupEditRow{"Renamed", GroupEdit::Renamed},
                                           GroupEditRow{"Deleted", GroupEdit::Deleted}),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
