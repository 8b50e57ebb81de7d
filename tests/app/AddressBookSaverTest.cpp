#include "app/AddressBookLoader.h"
#include "app/AddressBookSaver.h"
#include "app/GroupLoader.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/CloudKeyValueStore.h"
#include "platform/LogCapture.h"
#include "platform/StoreBuilder.h"
#include "platform/UserDefaults.h"
#include "platform/widgets/TestMode.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

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

// The local container: Ann and Bob; "Friends" holds Ann.
class GroupRemovedElsewhere : public ::testing::TestWithParam<GroupEditRow>
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
        QNPerson::setCloudKeyValueStore(&cloud);
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
        loader.loadAddressBook();
        ContainerTable table = loader.containerTable();
        GroupLoader groups([this](const std::optional<StoreGroup> &group, const QString &container) {
            return loader.cnContactsForGroup(group, container);
        });
        groups.loadContainer(*table.first());
        return table;
    }
    static ContactRowPtr rowOf(const GroupDictPtr &group, const QString &identifier)
    {
        for (const ContactRowPtr &row : std::as_const(*group->contactTable))
            if (row->uniqueId == identifier)
                return row;
        return nullptr;
    }

    QTemporaryDir folder;
    StoreBuilder builder;
    UserDefaults defaults{folder.filePath("defaults.json")};
    CloudKeyValueStore cloud{folder.filePath("cloud.json")};
    AddressBookLoader loader{ContactStore::defaultPath(), defaults, cloud};
    QString ann, bob, friends;
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
    ContactStore store;
    const StoreStatus status = AddressBookSaver(store, cloud).saveAddressBook(table);
    EXPECT_TRUE(status.ok()) << status.error.toStdString();
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
