#include "FunnelFixture.h"

namespace {

ContactRowPtr memberOf(const ContactRowPtr &top)
{
    auto row = std::make_shared<ContactRow>();
    row->person = top->person;
    row->uniqueId = top->uniqueId;
    return row;
}

GroupDictPtr group(const QString &name, const ContactTable &rows, bool top = false)
{
    auto dict = std::make_shared<GroupDict>();
    dict->top = top;
    dict->name = name;
    dict->containerIdentifier = QStringLiteral("c1");
    dict->contactTable = std::make_shared<ContactTable>(rows);
    if (!top)
        dict->cnGroup = StoreGroup{name, name};
    return dict;
}

QList<bool> deletedMarks(const GroupDictPtr &group)
{
    QList<bool> marks;
    for (const ContactRowPtr &row : std::as_const(*group->contactTable))
        marks.append(row->deleted);
    return marks;
}

// One container: the top group holds A, B and C; "Friends" holds A and B; "Club" holds B.
class ContactGroupEditsTest : public FunnelFixture
{
protected:
    void SetUp() override
    {
        FunnelFixture::SetUp();
        a = rowOf(sampleContact("A"));
        b = rowOf(sampleContact("B"));
        c = rowOf(sampleContact("C"));
        top = group("All Contacts", {a, b, c}, true);
        friends = group("Friends", {memberOf(a), memberOf(b)});
        club = group("Club", {memberOf(b)});
        container = std::make_shared<ContainerDict>();
        container->identifier = QStringLiteral("c1");
        container->groups = {top, friends, club};
        view->setContainerTable({container});
        view->setSelectedGroupDict(top);
        view->setContactTable(top->contactTable);
    }

    ContactRowPtr a, b, c;
    GroupDictPtr top, friends, club;
    ContainerDictPtr container;
};

TEST_F(ContactGroupEditsTest, DeletingFromAStoreGroupMarksThatGroupOnly)
{
    view->undoDeleteContacts({friends->contactTable->at(0)}, friends, true);
    EXPECT_EQ(deletedMarks(friends), QList<bool>({true, false}));
    EXPECT_EQ(deletedMarks(top), QList<bool>({false, false, false}));
    EXPECT_TRUE(friends->changed);
    EXPECT_FALSE(top->changed);
    EXPECT_TRUE(view->isDocumentEdited());
    view->undo();
    EXPECT_EQ(deletedMarks(friends), QList<bool>({false, false}));
}

TEST_F(ContactGroupEditsTest, UndoingADeletionFromTheTopGroupClearsExactlyTheMarksItSet)
{
    view->undoDeleteContacts({club->contactTable->at(0)}, club, true);
    nextEvent();
    friends->changed = false;
    view->undoDeleteContacts({b}, top, true);
    EXPECT_EQ(deletedMarks(top), QList<bool>({false, true, false}));
    EXPECT_EQ(deletedMarks(friends), QList<bool>({false, true}));
    EXPECT_TRUE(top->changed && friends->changed && club->changed);
    EXPECT_EQ(panes.grid->contactTable, top->contactTable);
    EXPECT_EQ(panes.grid->selectedRows, QList<ContactRowPtr>{b});

    view->undo();
    EXPECT_EQ(deletedMarks(top), QList<bool>({false, false, false}));
    EXPECT_EQ(deletedMarks(friends), QList<bool>({false, false}));
    EXPECT_EQ(deletedMarks(club), QList<bool>{true});
    view->redo();
    EXPECT_EQ(deletedMarks(friends), QList<bool>({false, true}));
}

// A Select All of many contacts, one of them given twice (two grid rows), is looked up by index.
TEST_F(ContactGroupEditsTest, DeletingManyContactsAtOnceMarksEachOnceInEveryGroup)
{
    QList<ContactRowPtr> given{b, a, b};
    for (int i = 0; i < 12; ++i) {
        const ContactRowPtr extra = rowOf(sampleContact(QStringLiteral("X%1").arg(i)));
        top->contactTable->append(extra);
        given.append(extra);
    }
    friends->contactTable->append(memberOf(top->contactTable->last()));
    view->undoDeleteContacts(given, top, true);
    QList<bool> allButC(15, true);
    allButC[2] = false;
    EXPECT_EQ(deletedMarks(top), allButC);
    EXPECT_EQ(deletedMarks(friends), QList<bool>({true, true, true}));
    EXPECT_EQ(deletedMarks(club), QList<bool>{true});

    view->undo();
    EXPECT_EQ(deletedMarks(top), QList<bool>(15, false));
    EXPECT_EQ(deletedMarks(friends), QList<bool>({false, false, false}));
    view->undoAddContacts(given, friends);
    EXPECT_EQ(friends->contactTable->size(), 14);
}

TEST_F(ContactGroupEditsTest, DeletingClosesTheContactsPopoverAndWindowsOnly)
{
    Popover popover;
    auto *content = new FakeContactPopover(log, "popover", b);
    content->onLeave = [this] { panes.grid->currentPopover = nullptr; };
    popover.setContentWidget(content);
    panes.grid->currentPopover = &popover;
    FakeDetachedWindow windowOfA(log, *panes.grid, a, "window A");
    FakeDetachedWindow windowOfB(log, *panes.grid, b, "window B");
    view->undoDeleteContacts({b}, top, true);
    EXPECT_EQ(panes.grid->currentPopover, nullptr);
    EXPECT_TRUE(log.calls.contains("close " + b->uniqueId));
    EXPECT_FALSE(log.calls.contains("close " + a->uniqueId));

    Popover editor;
    editor.setContentWidget(new QWidget);
    panes.grid->currentPopover = &editor;
    view->undoDeleteContacts({a}, top, true);
    EXPECT_EQ(panes.grid->currentPopover, &editor);
}

TEST_F(ContactGroupEditsTest, AddingToAStoreGroupAddsToTheTopGroupAndUndoTakesBothBack)
{
    const ContactRowPtr d = rowOf(sampleContact("D"));
    view->undoAddContacts({d}, club);
    ASSERT_EQ(club->contactTable->size(), 2);
    ASSERT_EQ(top->contactTable->size(), 4);
    const ContactRowPtr inClub = club->contactTable->last();
    const ContactRowPtr inTop = top->contactTable->last();
    EXPECT_TRUE(inClub->isNew && inTop->isNew);
    EXPECT_NE(inClub, inTop);
    EXPECT_EQ(inTop->person, d->person);
    EXPECT_TRUE(top->changed && club->changed);
    EXPECT_TRUE(view->isDocumentEdited());

    view->undo();
    EXPECT_TRUE(inClub->deleted && inTop->deleted);
    EXPECT_FALSE(view->isDocumentEdited());
    view->redo();
    EXPECT_FALSE(inClub->deleted || inTop->deleted);
}

// Contacts that join the book (imported, pasted, dropped) offer their labels as loaded ones do.
TEST_F(ContactGroupEditsTest, AddedContactsOfferTheirLabels)
{
    auto row = std::make_shared<ContactRow>();
    row->person = std::make_shared<QNPerson>();
    row->person->setValue(QVariantList{QVariantMap{{"label", "Choir"}, {"value", "c@example.com"}},
                                       QVariantMap{{"label", ""}, {"value", "d@example.com"}}},
                          "Email");
    row->uniqueId = row->person->uniqueId();
    view->undoAddContacts({row}, top);
    const QStringList offered = QNPerson::customLabelsForIdentifier("Email").value_or(QStringList());
    EXPECT_TRUE(offered.contains("Choir"));
    EXPECT_FALSE(offered.contains("No label"));
    QNPerson::removeLabel("Choir", "Email");
}

TEST_F(ContactGroupEditsTest, AddingAContactTheGroupHoldsChangesNothingToUndo)
{
    view->undoAddContacts({a}, friends);
    EXPECT_EQ(friends->contactTable->size(), 2);
    EXPECT_EQ(top->contactTable->size(), 3);
    view->undo();
    EXPECT_EQ(deletedMarks(friends), QList<bool>({false, false}));
}

TEST_F(ContactGroupEditsTest, ADeletedGroupMovesToTheEndAndTheTopGroupIsSelected)
{
    view->undoDeleteGroup(friends, container);
    EXPECT_EQ(container->groups, QList<GroupDictPtr>({top, club, friends}));
    EXPECT_TRUE(friends->deleted);
    EXPECT_EQ(view->selectedGroupDict(), top);
    EXPECT_EQ(panes.sidebar->selected, top);
    EXPECT_EQ(panes.grid->contactTable, top->contactTable);

    view->undo();
    EXPECT_FALSE(friends->deleted);
    EXPECT_EQ(container->groups.last(), friends);

    view->undoDeleteGroup(top, container);
    EXPECT_FALSE(top->deleted);
    EXPECT_EQ(container->groups.first(), top);
}

TEST_F(ContactGroupEditsTest, ARenameSelectsTheGroupAndItsUndoKeepsTheMark)
{
    view->groupNameWillChange(QString());
    EXPECT_FALSE(undoManager().canUndo());

    view->setSelectedGroupDict(club);
    view->groupNameWillChange(QStringLiteral("Chess Club"));
    EXPECT_EQ(club->name, "Chess Club");
    EXPECT_TRUE(club->groupNameChanged);
    EXPECT_EQ(panes.sidebar->selected, club);
    view->undo();
    EXPECT_EQ(club->name, "Club");
    EXPECT_TRUE(club->groupNameChanged);
}

} // namespace
