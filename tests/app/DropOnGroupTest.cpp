#include "FunnelFixture.h"

#include "platform/UndoManager.h"

namespace {

StoreContact person(const QString &identifier)
{
    StoreContact contact = StoreContact::fetched(identifier, StoreKey::allKeys());
    contact.givenName = identifier;
    return contact;
}

// The grid shows the top group's Ann, Bob and Cy; the store group "Club", never read, holds Bob.
class DropOnGroupTest : public FunnelFixture
{
protected:
    void SetUp() override
    {
        FunnelFixture::SetUp();
        top = std::make_shared<GroupDict>();
        top->top = true;
        top->containerIdentifier = "c1";
        top->contactTable = std::make_shared<ContactTable>();
        for (const char *name : {"Ann", "Bob", "Cy"}) {
            top->contactTable->append(rowOf(person(name)));
            auto shown = std::make_shared<SubContactRow>();
            static_cast<ContactRow &>(*shown) = *top->contactTable->last();
            panes.grid->shownRows.append(shown);
        }
        club = std::make_shared<GroupDict>();
        club->name = "Club";
        club->containerIdentifier = "c1";
        club->cnGroup = StoreGroup{"club", "Club"};
        auto container = std::make_shared<ContainerDict>();
        container->identifier = "c1";
        container->groups = {top, club};
        view->setContainerTable({container});
        view->setSelectedGroupDict(top);
        view->setContactTable(top->contactTable);
        view->addressBook().setGroupFetch([](const std::optional<StoreGroup> &group, const QString &) {
            return group ? QList<StoreContact>{person("Bob")} : QList<StoreContact>{};
        });
    }

    QStringList clubRows() const
    {
        QStringList rows;
        for (const ContactRowPtr &row : std::as_const(*club->contactTable))
            rows.append(row->uniqueId + (row->deleted ? " deleted" : ""));
        return rows;
    }

    GroupDictPtr top;
    GroupDictPtr club;
};

TEST_F(DropOnGroupTest, DroppedRowsJoinTheGroupAfterItsStoredMembers)
{
    view->addContactByStringIndexes("2,0,2,x", club);
    ASSERT_TRUE(club->contactTable);
    EXPECT_EQ(clubRows(), QStringList({"Bob", "Ann", "Cy"}));
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(club->contactTable->at(row)->person->uniqueId(), clubRows().at(row));
    EXPECT_EQ(club->contactTable->first()->person, top->contactTable->at(1)->person)
        << "one person per contact";
    EXPECT_TRUE(view->isDocumentEdited());

    nextEvent();
    view->undo();
    EXPECT_EQ(clubRows(), QStringList({"Bob", "Ann deleted", "Cy deleted"}));
}

// The views of a contact redraw its Groups row after a drop, its undo and a deleted group; a
// deleted group or membership is no longer named.
TEST_F(DropOnGroupTest, TheGroupsOfAContactFollowDropsUndoAndDeletedGroups)
{
    const ContactRowPtr ann = top->contactTable->at(0);
    view->addContactByStringIndexes("0", club);
    EXPECT_EQ(log.calls.count("groups"), 1);
    EXPECT_TRUE(view->addressBook().groupNamesOfContact(ann).contains("Club"));
    nextEvent();
    view->undo();
    EXPECT_EQ(log.calls.count("groups"), 2);
    EXPECT_FALSE(view->addressBook().groupNamesOfContact(ann).contains("Club"));
    view->redo();
    view->undoDeleteGroup(club, view->containerTable().first());
    EXPECT_EQ(log.calls.count("groups"), 4);
    EXPECT_FALSE(view->addressBook().groupNamesOfContact(ann).contains("Club"));
}

TEST_F(DropOnGroupTest, PositionsOutsideTheGridAddNothing)
{
    view->addContactByStringIndexes("7,-1", club);
    view->addContactByStringIndexes("", club);
    EXPECT_FALSE(undoManager().canUndo());
    EXPECT_FALSE(view->isDocumentEdited());
}

} // namespace
