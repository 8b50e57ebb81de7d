#include "SaveFixture.h"

namespace {

using SaveTest = SaveFixture;

TEST_F(SaveTest, NothingHappensWhileTheWindowIsNotMarkedEdited)
{
    QAction *save = window->menuItem(MenuCommand::SaveDocument);
    EXPECT_FALSE(window->validateMenuItem(save));
    EXPECT_FALSE(window->validateMenuItem(window->menuItem(MenuCommand::RevertAddressBookToSaved)));
    const ContainerTable before = view()->containerTable();
    delegate->saveDocument();
    EXPECT_EQ(view()->containerTable(), before);
    EXPECT_FALSE(delegate->isChangedAlertShowing());

    view()->undoReplaceValue(QStringLiteral("note"), QStringLiteral("Note"), row(top(), "Bob"), nullptr);
    EXPECT_TRUE(window->validateMenuItem(save));
    EXPECT_TRUE(window->validateMenuItem(window->menuItem(MenuCommand::RevertAddressBookToSaved)));
}

TEST_F(SaveTest, ContactsCreatedChangedAndDeletedReachTheStoreAndTheCloud)
{
    cloud->setObject(QVariantMap{{"Hobby", "golf"}}, ann);
    view()->undoReplaceValue(QStringLiteral("edited"), QStringLiteral("Note"), row(top(), "Ann"), nullptr);
    view()->undoDeleteContacts({row(top(), "Ann")}, top(), true);
    view()->undoAddContacts({created("Zed"), created("Dora", "chess")}, top());
    view()->undoDeleteContacts({row(top(), "Zed")}, top(), true);
    const QString dora = row(top(), "Dora")->uniqueId;
    const ContainerTable before = view()->containerTable();

    window->validateMenuItems();
    window->menuItem(MenuCommand::SaveDocument)->trigger();
    EXPECT_EQ(storeNames(), QStringList({"Bob", "Carl", "Dora"}));
    EXPECT_FALSE(cloudEntry(ann));
    EXPECT_EQ(cloudEntry(dora), QVariantMap({{"Hobby", "chess"}}));
    // A fresh tree, in which the new contact is known by the key of its custom values.
    EXPECT_NE(view()->containerTable(), before);
    EXPECT_EQ(row(top(), "Dora")->uniqueId, dora);
    EXPECT_FALSE(view()->undoManager()->canUndo());
    EXPECT_FALSE(view()->isDocumentEdited());
    EXPECT_TRUE(delegate->isChangedAlertShowing());
}

TEST_F(SaveTest, GroupsAndMembershipsReachTheStore)
{
    view()->groupSelectionDidChange(group("Friends"));
    const ContactRowPtr dora = created("Dora");
    view()->undoAddContacts({dora, row(top(), "Bob")}, group("Friends"));
    view()->undoDeleteContacts({row(group("Friends"), "Carl"), row(group("Friends"), "Dora")},
                               group("Friends"), true);
    view()->undoAddContacts({row(top(), "Dora")}, group("Work"));
    view()->undoChangeGroupName(QStringLiteral("Office"), group("Work"));
    view()->addGroup();
    view()->undoAddContacts({row(top(), "Dora"), row(top(), "Ann")}, group("New"));
    view()->addGroup();
    view()->undoDeleteGroup(group("New0"), container());

    delegate->saveDocument();
    EXPECT_EQ(storeGroupNames(), QStringList({"Friends", "New", "Office"}));
    EXPECT_EQ(storeNames("Friends"), QStringList({"Ann", "Bob"}));
    EXPECT_EQ(storeNames("Office"), QStringList({"Dora"}));
    EXPECT_EQ(storeNames("New"), QStringList({"Ann", "Dora"}));
}

TEST_F(SaveTest, ARefusedSaveKeepsEverythingInMemoryAndSaysWhy)
{
    view()->undoReplaceValue(QStringLiteral("edited"), QStringLiteral("Note"), row(top(), "Bob"), nullptr);
    view()->undoAddContacts({created("Dora", "chess")}, top());
    const ContactRowPtr dora = row(top(), "Dora");
    const ContainerTable before = view()->containerTable();
    ContactStore().failNextSave();

    delegate->saveDocument();
    EXPECT_TRUE(Alert::lastShown().informativeText.contains(QStringLiteral("injected fault")));
    EXPECT_EQ(view()->containerTable(), before);
    EXPECT_TRUE(row(top(), "Bob")->person->isChanged());
    EXPECT_TRUE(dora->person->isCreated() && dora->isNew);
    EXPECT_TRUE(view()->undoManager()->canUndo());
    EXPECT_TRUE(view()->isDocumentEdited());
    EXPECT_FALSE(delegate->isChangedAlertShowing());
    EXPECT_EQ(storeNames(), QStringList({"Ann", "Bob", "Carl"}));
    EXPECT_FALSE(cloudEntry(dora->uniqueId));

    // Nothing was lost: the next save writes it all.
    delegate->saveDocument();
    EXPECT_EQ(storeNames(), QStringList({"Ann", "Bob", "Carl", "Dora"}));
    EXPECT_EQ(row(top(), "Bob")->person->stringFieldForIdentifier(QStringLiteral("Note")), "edited");
}

TEST_F(SaveTest, RevertAsksAndReadsAFreshTree)
{
    view()->undoDeleteContacts({row(top(), "Bob")}, top(), true);
    const ContainerTable before = view()->containerTable();
    Alert::setNextAnswer(Alert::SecondButton);
    delegate->revertAddressBookToSaved();
    QCoreApplication::processEvents();
    EXPECT_EQ(view()->containerTable(), before);

    delegate->revertAddressBookToSaved();
    QCoreApplication::processEvents();
    EXPECT_EQ(Alert::lastShown().messageText, "Do you want to revert Pemberlin2?");
    EXPECT_NE(view()->containerTable(), before);
    EXPECT_FALSE(row(top(), "Bob")->deleted);
    EXPECT_FALSE(view()->undoManager()->canUndo());
    EXPECT_FALSE(view()->isDocumentEdited());
}

// A thousand new contacts at once, as an import brings them: the save looks their identifiers up
// in the store all at once, and each is stored under its own, with its custom value.
TEST_F(SaveTest, AThousandNewContactsAreStoredUnderTheirOwnIdentifiers)
{
    QList<ContactRowPtr> rows;
    for (int i = 0; i < 1000; ++i)
        rows.append(created(QStringLiteral("New %1").arg(i), i == 500 ? QStringLiteral("golf") : QString()));
    const QString identifier = rows.at(500)->uniqueId;
    view()->undoAddContacts(rows, top());
    window->validateMenuItems();
    window->menuItem(MenuCommand::SaveDocument)->trigger();
    EXPECT_EQ(storeNames().size(), 1003);
    EXPECT_EQ(ContactStore().unifiedContact(identifier, {StoreKey::GivenName}).value.givenName, "New 500");
    EXPECT_EQ(cloudEntry(identifier), QVariantMap({{"Hobby", "golf"}}));
    EXPECT_EQ(row(top(), "New 500")->uniqueId, identifier);
}

// Ann is deleted from All Contacts before Friends is first read (shown, or read with Work to delete
// it), maybe after undos and redos; the undo brings her back to Friends, its redo takes her out
// again, and Save stores that.
struct ReadWhileDeleted
{
    const char *name;
    const char *shown;
    int undos;
    bool redo;
    QStringList friends;
    // Undo, Redo, Undo... before the read.
    int turnsBeforeRead = 0;
};

class ReadWhileDeletedTest : public SaveFixture, public ::testing::WithParamInterface<ReadWhileDeleted>
{
protected:
    void trigger(MenuCommand command)
    {
        window->validateMenuItems();
        window->menuItem(command)->trigger();
        QCoreApplication::processEvents();
    }
};

TEST_P(ReadWhileDeletedTest, TheGroupFollowsTheUndoAndTheSave)
{
    ASSERT_FALSE(group("Friends")->contactTable);
    view()->setEditState(true);
    view()->contactsViewController()->selectRowIndexesWithContacts({row(top(), "Ann")});
    trigger(MenuCommand::DeleteContacts);
    for (int i = 0; i < GetParam().turnsBeforeRead; ++i)
        trigger(i % 2 ? MenuCommand::Redo : MenuCommand::Undo);
    view()->groupSelectionDidChange(group(GetParam().shown));
    if (GetParam().undos > 1)
        trigger(MenuCommand::DeleteGroup);
    view()->groupSelectionDidChange(top());
    for (int i = 0; i < GetParam().undos; ++i)
        trigger(MenuCommand::Undo);
    if (GetParam().redo)
        trigger(MenuCommand::Redo);
    view()->groupSelectionDidChange(group("Friends"));
    QStringList shown;
    for (const SubContactRowPtr &row : view()->contactsViewController()->subContactTable())
        shown.append(row->person->nameValue().value(PersonKey::FirstName).toString());
    EXPECT_EQ(shown, GetParam().friends);
    trigger(MenuCommand::SaveDocument);
    EXPECT_EQ(storeNames("Friends"), GetParam().friends);
    EXPECT_EQ(storeNames().contains("Ann"), GetParam().friends.contains("Ann"));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadWhileDeletedTest,
    ::testing::Values(ReadWhileDeleted{"Undone", "Friends", 1, false, {"Ann", "Carl"}},
                      ReadWhileDeleted{"Redone", "Friends", 1, true, {"Carl"}},
                      ReadWhileDeleted{"GroupDeleted", "Work", 2, false, {"Ann", "Carl"}},
                      ReadWhileDeleted{"ReadAfterUndo", "Friends", 0, true, {"Carl"}, 1},
                      ReadWhileDeleted{"ReadAfterRedo", "Friends", 1, false, {"Ann", "Carl"}, 2},
                      ReadWhileDeleted{"ReadAfterUndoRedoUndo", "Friends", 0, true, {"Carl"}, 3}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
