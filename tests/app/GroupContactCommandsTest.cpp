#include "FunnelFixture.h"

#include "app/GroupContactCommands.h"
#include "platform/widgets/Alert.h"

namespace {

// A grid whose selection a test chooses and whose popover requests are noted.
class CommandGrid : public FakeGrid
{
public:
    using FakeGrid::FakeGrid;
    QList<ContactRowPtr> selectedContacts() override { return chosen; }
    void showContactInfoPopoverWithOption(bool editName) override { popoverOptions.append(editName); }

    QList<ContactRowPtr> chosen;
    QList<bool> popoverOptions;
};

GroupDictPtr groupOf(const QString &name, const ContactTable &rows, bool top = false)
{
    auto group = std::make_shared<GroupDict>();
    group->top = top;
    group->name = name;
    group->containerIdentifier = QStringLiteral("c1");
    group->contactTable = std::make_shared<ContactTable>(rows);
    if (!top)
        group->cnGroup = StoreGroup{name, name};
    return group;
}

// One container: the top group holds A; "Friends" holds A too; "New" was deleted.
class GroupContactCommandsTest : public AppFixture
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        SplitPanes split = panes.make(log);
        auto grid = std::make_unique<CommandGrid>(log);
        this->grid = grid.get();
        split.contactsViewController = std::move(grid);
        view = std::make_unique<ViewController>(defaults(), std::move(split));
        view->setWindowTitle(QStringLiteral("Contacts[*]"));
        a = rowOf(sampleContact("A"));
        top = groupOf("All Contacts", {a}, true);
        friends = groupOf("Friends", {std::make_shared<ContactRow>(*a)});
        deleted = groupOf("New", {});
        deleted->deleted = true;
        container = std::make_shared<ContainerDict>();
        container->identifier = QStringLiteral("c1");
        container->groups = {top, friends, deleted};
        view->setContainerTable({container});
        select(friends);
    }
    void TearDown() override
    {
        view.reset();
        Alert::resetTestState();
        AppFixture::TearDown();
    }
    void select(const GroupDictPtr &group)
    {
        view->setSelectedGroupDict(group);
        view->setContactTable(group->contactTable);
    }
    bool untouched() const { return !view->isDocumentEdited() && !view->undoManager()->canUndo(); }

    CallLog log;
    FakePanes panes;
    CommandGrid *grid = nullptr;
    std::unique_ptr<ViewController> view;
    ContactRowPtr a;
    GroupDictPtr top, friends, deleted;
    ContainerDictPtr container;
};

struct NameCase
{
    QStringList names;
    const char *expected;
};

class NewGroupNameTest : public ::testing::TestWithParam<NameCase>
{
};

TEST_P(NewGroupNameTest, TheFirstFreeNameOfTheSeries)
{
    EXPECT_EQ(GroupContactCommands::newGroupName(GetParam().names), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Names, NewGroupNameTest,
                         ::testing::Values(NameCase{{}, "New"}, NameCase{{"Friends", "New0"}, "New"},
                                           NameCase{{"New"}, "New0"}, NameCase{{"New", "New0"}, "New1"},
                                           NameCase{{"New", "New1"}, "New0"}));

TEST_F(GroupContactCommandsTest, AddGroupCountsDeletedNamesAndLeavesTheSelection)
{
    view->addGroup();
    ASSERT_EQ(container->groups.size(), 4);
    const GroupDictPtr added = container->groups.last();
    EXPECT_EQ(added->name, "New0");
    EXPECT_TRUE(added->isNew && added->contactTable && !added->cnGroup);
    EXPECT_EQ(added->containerIdentifier, "c1");
    EXPECT_EQ(view->selectedGroupDict(), friends);
    EXPECT_TRUE(view->isDocumentEdited());
    view->undo();
    EXPECT_TRUE(added->deleted);
}

TEST_F(GroupContactCommandsTest, DeleteGroupAsksAndCanBeUndone)
{
    Alert::setNextAnswer(Alert::SecondButton);
    view->deleteGroup();
    EXPECT_FALSE(friends->deleted);
    EXPECT_TRUE(untouched());

    view->deleteGroup();
    EXPECT_EQ(Alert::lastShown().messageText, "Do you want to remove the group?");
    EXPECT_EQ(Alert::lastShown().buttons, QStringList({"OK", "Cancel"}));
    EXPECT_TRUE(friends->deleted);
    EXPECT_EQ(view->selectedGroupDict(), top);
    view->undo();
    EXPECT_FALSE(friends->deleted);
}

TEST_F(GroupContactCommandsTest, AddContactEditsANewContactInTheGroupAndTheTopGroup)
{
    view->setEditState(false);
    view->addContact();
    EXPECT_TRUE(view->editState());
    ASSERT_EQ(friends->contactTable->size(), 2);
    const ContactRowPtr added = friends->contactTable->last();
    EXPECT_TRUE(added->isNew && added->person->isCreated());
    EXPECT_EQ(added->person->nameValue().value("FirstName"), "New");
    EXPECT_EQ(top->contactTable->last()->person, added->person);
    EXPECT_EQ(grid->selectedRows.first()->person, added->person);
    EXPECT_EQ(grid->popoverOptions, QList<bool>({true}));
    EXPECT_TRUE(view->isDocumentEdited());
}

TEST_F(GroupContactCommandsTest, DeleteAndDuplicateDoNothingWithoutASelection)
{
    view->deleteContacts();
    view->duplicateContacts();
    EXPECT_EQ(friends->contactTable->size(), 1);
    EXPECT_TRUE(untouched());

    grid->chosen = {friends->contactTable->first()};
    view->deleteContacts();
    EXPECT_TRUE(friends->contactTable->first()->deleted);
    EXPECT_FALSE(a->deleted);
}

TEST_F(GroupContactCommandsTest, ADuplicateIsCreatedWithItsOwnIdAndEveryValue)
{
    grid->chosen = {friends->contactTable->first()};
    view->duplicateContacts();
    ASSERT_EQ(friends->contactTable->size(), 2);
    const ContactRowPtr copy = friends->contactTable->last();
    EXPECT_NE(copy->uniqueId, a->uniqueId);
    EXPECT_EQ(copy->uniqueId, copy->person->uniqueId());
    EXPECT_TRUE(copy->isNew && copy->person->isCreated());
    EXPECT_EQ(top->contactTable->last()->person, copy->person);
    // Values the source never showed reach the store contact that the save makes of the copy.
    const StoreContact written = copy->person->contactFromCache(std::nullopt);
    EXPECT_EQ(written.phoneNumbers.size(), 2);
    EXPECT_EQ(written.organizationName, "Acme");
    EXPECT_EQ(written.birthday, (DateComponents{1980, 5, 17}));
    view->undo();
    EXPECT_TRUE(copy->deleted);
}

} // namespace
