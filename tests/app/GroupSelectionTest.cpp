#include "FunnelFixture.h"

#include "addressbook/DefaultsKey.h"
#include "platform/CloudKeyValueStore.h"

#include <QTemporaryDir>

namespace {

StoreContact storeContact(const QString &identifier, const QString &name, bool organization = false)
{
    StoreContact contact = StoreContact::fetched(identifier, StoreKey::allKeys());
    contact.givenName = organization ? QString() : name;
    contact.organizationName = organization ? name : QString();
    contact.setContactType(organization ? StoreContactType::Organization : StoreContactType::Person);
    return contact;
}

// Container "c1": Ann, two organisations named "Acme" and one named "Beta". "Friends" holds Ann,
// the second "Acme", "Beta" under another identifier and someone the container lacks; "Club"
// already holds a row dropped on it.
class GroupSelectionTest : public FunnelFixture
{
protected:
    void SetUp() override
    {
        FunnelFixture::SetUp();
        QNPerson::setCloudKeyValueStore(&m_cloud);
        top = makeGroup(QStringLiteral("All"), true);
        friends = makeGroup(QStringLiteral("Friends"));
        club = makeGroup(QStringLiteral("Club"));
        pending = rowOf(sampleContact("Dropped"));
        pending->isNew = true;
        club->contactTable = std::make_shared<ContactTable>(ContactTable{pending});
        container = std::make_shared<ContainerDict>();
        container->identifier = QStringLiteral("c1");
        container->groups = {top, friends, club};
        view->setContainerTable({container});
        view->addressBook().setGroupFetch(
            [this](const std::optional<StoreGroup> &group, const QString &containerIdentifier) {
                ++fetches;
                EXPECT_EQ(containerIdentifier, "c1");
                return members.value(group ? group->identifier : QString());
            });
        members.insert(QString(), {storeContact("ann", "Ann"), storeContact("acme1", "Acme", true),
                                   storeContact("acme2", "Acme", true), storeContact("beta", "Beta", true)});
        members.insert("friends",
                       {storeContact("ann", "Ann"), storeContact("acme2", "Acme", true),
                        storeContact("beta-unified", "Beta", true), storeContact("stranger", "Sam")});
        members.insert("club", {storeContact("ann", "Ann")});
    }

    void TearDown() override
    {
        QNPerson::setCloudKeyValueStore(nullptr);
        FunnelFixture::TearDown();
    }

    GroupDictPtr makeGroup(const QString &name, bool isTop = false)
    {
        auto group = std::make_shared<GroupDict>();
        group->top = isTop;
        group->name = name;
        group->containerIdentifier = QStringLiteral("c1");
        if (!isTop)
            group->cnGroup = StoreGroup{name.toLower(), name};
        return group;
    }

    QNPersonPtr topPerson(const QString &uniqueId) const
    {
        for (const ContactRowPtr &row : std::as_const(*top->contactTable)) {
            if (row->uniqueId == uniqueId)
                return row->person;
        }
        return nullptr;
    }

    QTemporaryDir m_dir;
    CloudKeyValueStore m_cloud{m_dir.filePath("cloud.json")};
    QHash<QString, QList<StoreContact>> members;
    int fetches = 0;
    GroupDictPtr top, friends, club;
    ContainerDictPtr container;
    ContactRowPtr pending;
};

TEST_F(GroupSelectionTest, LoadingAContainerSharesOnePersonPerContact)
{
    FakeDetachedWindow window(log, *panes.grid, rowOf(sampleContact("Ann")), "window");
    view->groupSelectionDidChange(friends);

    ASSERT_TRUE(top->contactTable);
    EXPECT_EQ(top->contactTable->size(), 4);
    ASSERT_EQ(friends->contactTable->size(), 3);
    EXPECT_EQ(friends->contactTable->at(0)->person, topPerson("ann"));
    EXPECT_EQ(friends->contactTable->at(1)->person, topPerson("acme2"));
    EXPECT_EQ(friends->contactTable->at(2)->person, topPerson("beta"));
    EXPECT_EQ(view->contactTable(), friends->contactTable);
    EXPECT_EQ(panes.grid->contactTable, friends->contactTable);
    EXPECT_TRUE(panes.grid->windows.isEmpty());
    EXPECT_EQ(defaults().stringForKey(DefaultsKey::LastContainerIdentifier), "c1");

    const int fetched = fetches;
    view->groupSelectionDidChange(top);
    EXPECT_EQ(fetches, fetched);
    EXPECT_EQ(panes.grid->contactTable, top->contactTable);
}

// A group read while the delete stands holds the contact marked deleted, and the delete's undo
// brings it back there too.
TEST_F(GroupSelectionTest, AContactDeletedBeforeItsGroupsAreReadIsMarkedDeletedInThem)
{
    top->contactTable = std::make_shared<ContactTable>();
    for (const StoreContact &contact : members.value(QString()))
        top->contactTable->append(rowOf(contact));
    const ContactRowPtr ann = top->contactTable->first();
    view->undoDeleteContacts({ann}, top, true);
    nextEvent();

    view->groupSelectionDidChange(friends);
    ASSERT_TRUE(friends->contactTable && club->contactTable);
    for (const GroupDictPtr &group : {friends, club}) {
        for (const ContactRowPtr &row : std::as_const(*group->contactTable))
            EXPECT_EQ(row->deleted, row->uniqueId == "ann") << group->name.toStdString();
    }
    view->undo();
    for (const GroupDictPtr &group : std::as_const(container->groups)) {
        for (const ContactRowPtr &row : std::as_const(*group->contactTable))
            EXPECT_FALSE(row->deleted) << group->name.toStdString() << " " << row->uniqueId.toStdString();
    }
}

TEST_F(GroupSelectionTest, AGroupKeepsItsTableWithItsPendingRows)
{
    const ContactTablePtr table = club->contactTable;
    view->groupSelectionDidChange(top);
    EXPECT_EQ(club->contactTable, table);
    ASSERT_EQ(table->size(), 2);
    EXPECT_EQ(table->at(0), pending);
    EXPECT_EQ(table->at(1)->person, topPerson("ann"));
}

TEST_F(GroupSelectionTest, CustomValuesComeBackWithoutMarkingThePersonChanged)
{
    m_cloud.setObject(QVariantMap{{"Hobby", "Chess"}, {"Empty", ""}}, "ann");
    view->groupSelectionDidChange(top);
    QNPerson &ann = *topPerson("ann");
    EXPECT_EQ(ann.stringValueForIdentifier("Hobby"), "Chess");
    EXPECT_EQ(ann.customIdentifiers(), QStringList{"Hobby"});
    EXPECT_FALSE(ann.isChanged());
}

TEST_F(GroupSelectionTest, ASelectionDuringALoadWaitsForIt)
{
    view->setIsAddressBookLoading(true);
    view->groupSelectionDidChange(friends);
    EXPECT_EQ(view->selectedGroupDict(), nullptr);
    view->setIsAddressBookLoading(false);
    EXPECT_TRUE(spinUntil([&] { return view->selectedGroupDict() == friends; }));
}

// --- row selection and the find cursor ----------------------------------------------------------

SubContactRowPtr gridRow(const ContactRowPtr &contact, int labelIndex)
{
    auto row = std::make_shared<SubContactRow>();
    row->person = contact->person;
    row->uniqueId = contact->uniqueId;
    row->labelIndex = labelIndex;
    return row;
}

TEST_F(GroupSelectionTest, TheDetailPaneShowsTheReportedRowAndTheCursorTheFirstSelected)
{
    view->groupSelectionDidChange(top);
    view->setEditState(false);
    log.calls.clear();
    const SubContactRowPtr first = gridRow(top->contactTable->at(1), 0);
    const SubContactRowPtr reported = gridRow(top->contactTable->at(0), 2);
    panes.grid->selection = {first, reported};

    view->rowSelectionDidChange(reported);
    EXPECT_EQ(panes.detail->contact(), reported);
    EXPECT_EQ(reported->groupNames, QStringList({"All", "Friends", "Club"}));
    EXPECT_TRUE(log.calls.contains("card"));
    const ItemAndRange cursor = view->selectedItemAndRange().value_or(ItemAndRange());
    EXPECT_EQ(cursor.contact, first);
    EXPECT_EQ(cursor.uniqueId, first->uniqueId);
    EXPECT_EQ(cursor.identifier, "Name");
    EXPECT_EQ(cursor.labelIndex, 0);
    EXPECT_EQ(cursor.location, 0);
    EXPECT_EQ(cursor.length, 0);
}

TEST_F(GroupSelectionTest, ADetailRowMovesTheCursorWithinTheContact)
{
    struct Case
    {
        DetailRow row;
        int labelIndex;
        QString subIdentifier;
    };
    const auto makeRow = [](const QString &type, std::optional<QString> label,
                            std::optional<int> labelIndex) {
        DetailRow row;
        row.type = type;
        row.label = label;
        row.labelIndex = labelIndex;
        return row;
    };
    const QList<Case> cases = {{makeRow("Note", std::nullopt, std::nullopt), 0, QString()},
                               {makeRow("Phone", "home", 0), 0, QString()},
                               {makeRow("Phone", "work", 2), 2, QString()}};
    for (const Case &detailRow : cases) {
        ItemAndRange before;
        before.uniqueId = "ann";
        before.subIdentifier = "old";
        before.location = 3;
        before.length = 2;
        view->setSelectedItemAndRange(before);
        view->rowSelectionDidChange(panes.detail->view(), detailRow.row);
        const ItemAndRange cursor = view->selectedItemAndRange().value_or(ItemAndRange());
        EXPECT_EQ(cursor.uniqueId, "ann");
        EXPECT_EQ(cursor.identifier, detailRow.row.type);
        EXPECT_EQ(cursor.labelIndex, detailRow.labelIndex);
        EXPECT_EQ(cursor.subIdentifier, detailRow.subIdentifier);
        EXPECT_EQ(cursor.location, 0);
        EXPECT_EQ(cursor.length, 0);
    }
}

} // namespace
