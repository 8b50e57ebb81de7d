#include "FunnelFixture.h"

#include "app/ContactDrops.h"
#include "platform/CloudKeyValueStore.h"

#include <QTemporaryDir>

namespace {

StoreContact member(const QString &identifier, const QString &name)
{
    StoreContact contact = StoreContact::fetched(identifier, StoreKey::allKeys());
    contact.givenName = name;
    return contact;
}

} // namespace

// Container "c1" with Ann, Bob and Cid shown in the grid from the top group; "Friends" is a store
// group whose members were never read and whose container's top group may be unread too.
class ContactDropsTest : public FunnelFixture
{
protected:
    void SetUp() override
    {
        FunnelFixture::SetUp();
        QNPerson::setCloudKeyValueStore(&m_cloud);
        top = std::make_shared<GroupDict>();
        top->top = true;
        top->containerIdentifier = QStringLiteral("c1");
        friends = std::make_shared<GroupDict>();
        friends->name = QStringLiteral("Friends");
        friends->containerIdentifier = QStringLiteral("c1");
        friends->cnGroup = StoreGroup{QStringLiteral("friends"), QStringLiteral("Friends")};
        container = std::make_shared<ContainerDict>();
        container->identifier = QStringLiteral("c1");
        container->groups = {top, friends};
        view->setContainerTable({container});
        view->addressBook().setGroupFetch([this](const std::optional<StoreGroup> &group, const QString &) {
            ++fetches;
            return group ? QList<StoreContact>{member("dee", "Dee")}
                         : QList<StoreContact>{member("ann", "Ann"), member("dee", "Dee")};
        });
        shown = std::make_shared<ContactTable>(
            ContactTable{rowOf(member("ann", "Ann")), rowOf(member("bob", "Bob")), rowOf(member("cid", "Cid"))});
        panes.grid->PlaceholderGrid::setContactTable(shown);
        panes.grid->PlaceholderGrid::updateTable();
    }

    void TearDown() override
    {
        QNPerson::setCloudKeyValueStore(nullptr);
        FunnelFixture::TearDown();
    }

    static QStringList ids(const ContactTablePtr &table)
    {
        QStringList result;
        for (const ContactRowPtr &row : *table)
            result.append(row->deleted ? "-" + row->uniqueId : row->uniqueId);
        return result;
    }

    QTemporaryDir m_dir;
    CloudKeyValueStore m_cloud{m_dir.filePath("cloud.json")};
    GroupDictPtr top, friends;
    ContainerDictPtr container;
    ContactTablePtr shown;
    int fetches = 0;
};

TEST(ContactDropsIndexes, ListsAreReadAsDistinctSortedPositions)
{
    EXPECT_EQ(ContactDrops::indexesFromString("2,2"), QList<int>({2}));
    EXPECT_EQ(ContactDrops::indexesFromString("8,3,5"), QList<int>({3, 5, 8}));
    EXPECT_EQ(ContactDrops::indexesFromString("x,4"), QList<int>({0, 4}));
    EXPECT_TRUE(ContactDrops::indexesFromString("").isEmpty());
}

TEST_F(ContactDropsTest, ADropOnAnUnreadGroupReadsItsContainerFirst)
{
    view->addContactByStringIndexes("2,2", friends);

    EXPECT_EQ(fetches, 2);
    EXPECT_EQ(ids(top->contactTable), QStringList({"ann", "dee", "cid"}));
    EXPECT_EQ(ids(friends->contactTable), QStringList({"dee", "cid"}));
    // The members share the top group's persons; the dropped row joins both tables.
    EXPECT_EQ(friends->contactTable->at(0)->person, top->contactTable->at(1)->person);
    EXPECT_TRUE(friends->contactTable->at(1)->isNew);
    EXPECT_TRUE(top->changed);
    EXPECT_TRUE(view->isDocumentEdited());

    nextEvent();
    view->undo();
    EXPECT_EQ(ids(friends->contactTable), QStringList({"dee", "-cid"}));
}

TEST_F(ContactDropsTest, PositionsBeyondTheGridAreIgnored)
{
    top->contactTable = std::make_shared<ContactTable>();
    friends->contactTable = std::make_shared<ContactTable>();
    view->addContactByStringIndexes("-1,1,99", friends);
    EXPECT_EQ(ids(friends->contactTable), QStringList({"bob"}));

    view->setDocumentEdited(false);
    view->addContactByStringIndexes("7,42", friends);
    EXPECT_EQ(ids(friends->contactTable), QStringList({"bob"}));
    EXPECT_FALSE(view->isDocumentEdited());
    EXPECT_EQ(fetches, 0);
}

TEST_F(ContactDropsTest, DroppedVCardTextAddsEveryCardInOneStepWithoutGroups)
{
    top->contactTable = std::make_shared<ContactTable>();
    view->setSelectedGroupDict(top);
    view->addContactByVCardString("BEGIN:VCARD\r\nVERSION:3.0\r\nN:Poe;Eve;;;\r\nCATEGORIES:Work\r\nEND:VCARD\r\n"
                                  "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Roe;Fay;;;\r\nCATEGORIES:Club\r\nEND:VCARD\r\n");
    ASSERT_EQ(top->contactTable->size(), 2);
    EXPECT_EQ(top->contactTable->at(1)->person->nameValue().value(PersonKey::FirstName), "Fay");
    EXPECT_EQ(container->groups.size(), 2);
    EXPECT_TRUE(view->isDocumentEdited());
    nextEvent();
    view->undo();
    EXPECT_TRUE(top->contactTable->at(0)->deleted && top->contactTable->at(1)->deleted);

    view->setDocumentEdited(false);
    view->addContactByVCardString("no card at all");
    EXPECT_EQ(top->contactTable->size(), 2);
    EXPECT_FALSE(view->isDocumentEdited());
}
