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

} // namespace
