#include "SaveFixture.h"

#include "addressbook/EditFunnel.h"
#include "model/LabelTables.h"
#include "ui/widgets/ProgressIndicator.h"

#include <QFileInfo>

namespace {

const QString SaveQuestion = QStringLiteral("Do you want to save the changes you made?");

class CloseQuestion : public SaveFixture
{
protected:
    void editCompany()
    {
        ASSERT_TRUE(view()->undoReplaceValue("Globex", "Company", row(top(), "Ann"), nullptr));
        ASSERT_TRUE(view()->isDocumentEdited());
    }
    QString storedCompany() const
    {
        return ContactStore().contactsInContainer(builder->localContainer(), {StoreKey::GivenName,
                                                                              StoreKey::OrganizationName})
            .value.first()
            .organizationName;
    }
};

TEST_F(CloseQuestion, IsAskedOnlyWithUnsavedChangesAndEachAnswerDoesWhatItSays)
{
    window->show();
    EXPECT_TRUE(window->windowShouldClose());
    EXPECT_TRUE(Alert::shownAlerts().isEmpty());

    editCompany();
    Alert::setNextAnswer(Alert::ThirdButton); // Cancel
    EXPECT_FALSE(window->windowShouldClose());
    EXPECT_EQ(Alert::lastShown().messageText, SaveQuestion);
    EXPECT_EQ(Alert::lastShown().buttons, QStringList({"Save", "Don't Save", "Cancel"}));
    EXPECT_TRUE(view()->isDocumentEdited());

    Alert::setNextAnswer(Alert::SecondButton); // Don't Save
    EXPECT_TRUE(window->windowShouldClose());
    EXPECT_NE(storedCompany(), "Globex");
}

TEST_F(CloseQuestion, SaveWritesTheChangesBeforeClosingAndAFailedSaveKeepsTheWindow)
{
    editCompany();
    builder->store().failNextSave();
    Alert::setNextAnswer(Alert::FirstButton);
    EXPECT_FALSE(window->windowShouldClose());
    EXPECT_TRUE(view()->isDocumentEdited());

    Alert::setNextAnswer(Alert::FirstButton);
    EXPECT_TRUE(window->windowShouldClose());
    EXPECT_EQ(storedCompany(), "Globex");
}

TEST_F(CloseQuestion, RevertTakesTheLabelsOfTheDiscardedDataAway)
{
    ASSERT_TRUE(QNPerson::setLabel(QString(), "gym", "Phone"));
    ASSERT_TRUE(LabelTables::shared().labels("Phone")->contains("gym"));
    editCompany();
    delegate->revertAddressBookToSaved();
    ASSERT_TRUE(spinUntil([this] { return !view()->isDocumentEdited(); }));
    EXPECT_FALSE(LabelTables::shared().labels("Phone").value_or(QStringList()).contains("gym"));
    EXPECT_TRUE(LabelTables::shared().labels("Phone").value_or(QStringList()).contains("mobile"));
}

// --- a store that cannot be read -------------------------------------------------------------

struct Damage
{
    const char *name;
    std::function<QByteArray(const QByteArray &)> damage;
};

class UnreadableStore : public AppFixture, public ::testing::WithParamInterface<Damage>
{
protected:
    void TearDown() override
    {
        delegate.reset();
        window.reset();
        Alert::resetTestState();
        AppFixture::TearDown();
    }
    std::unique_ptr<WindowController> window;
    std::unique_ptr<AppDelegate> delegate;
};

TEST_P(UnreadableStore, IsNamedInAnAlertAndNeitherShownNorWrittenOver)
{
    QByteArray bytes;
    {
        StoreBuilder builder;
        for (int i = 0; i < 200; ++i)
            builder.addPerson(builder.localContainer(), QStringLiteral("Person%1").arg(i), "Lee");
        ASSERT_TRUE(builder.ok());
    }
    ContactStore::releaseThreadConnections();
    QFile file(ContactStore::defaultPath());
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    bytes = GetParam().damage(file.readAll());
    file.resize(0);
    file.seek(0);
    file.write(bytes);
    file.close();

    window = std::make_unique<WindowController>();
    delegate = std::make_unique<AppDelegate>();
    delegate->applicationDidFinishLaunching();
    ASSERT_TRUE(spinUntil([this] { return delegate->isObservingStore(); }));
    ASSERT_FALSE(Alert::shownAlerts().isEmpty());
    EXPECT_EQ(Alert::lastShown().messageText, "The contacts store cannot be read.");
    EXPECT_TRUE(Alert::lastShown().informativeText.contains(QDir::toNativeSeparators(ContactStore::defaultPath())));
    EXPECT_TRUE(window->mainViewController()->containerTable().isEmpty());

    // Nothing is saved over it.
    window->mainViewController()->setDocumentEdited(true);
    EXPECT_FALSE(delegate->saveDocument());
    ContactStore::releaseThreadConnections();
    QFile after(ContactStore::defaultPath());
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), bytes);
}

// Offsets past the first page: the schema page stays, the rows' pages are garbage.
QByteArray zeroedRows(const QByteArray &bytes)
{
    QByteArray damaged = bytes;
    for (qsizetype i = 4096; i < damaged.size(); ++i)
        damaged[i] = char(0x5a);
    return damaged;
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, UnreadableStore,
    ::testing::Values(Damage{"ZeroLength", [](const QByteArray &) { return QByteArray(); }},
                      Damage{"TextFile", [](const QByteArray &) { return QByteArray("name,phone\nAnn,1\n"); }},
                      Damage{"Truncated", [](const QByteArray &b) { return b.left(b.size() / 3); }},
                      Damage{"DamagedPages", zeroedRows}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(UnreadableStore, AFolderThatCannotBeWrittenIsNamedInsteadOfAskingForAccess)
{
    ContactStore::setAuthorizationStatusForTesting(StoreAuthorizationStatus::Denied);
    ContactStore::setUnwritablePathForTesting(QStringLiteral("/data/ContactsTable"));
    int terminations = 0;
    window = std::make_unique<WindowController>();
    delegate = std::make_unique<AppDelegate>();
    delegate->setTerminator([&] { ++terminations; });
    delegate->applicationDidFinishLaunching();
    ASSERT_TRUE(spinUntil([&] { return terminations > 0; }));
    ContactStore::setUnwritablePathForTesting(std::nullopt);
    EXPECT_EQ(Alert::lastShown().messageText, "The contacts cannot be opened for editing.");
    EXPECT_TRUE(Alert::lastShown().informativeText.contains("/data/ContactsTable"));
}

TEST_F(UnreadableStore, ACustomValuesFileKeptAsideIsToldOfOnce)
{
    StoreBuilder builder;
    ASSERT_TRUE(builder.ok());
    QDir().mkpath(QFileInfo(CloudKeyValueStore::defaultFilePath()).absolutePath());
    QFile cloudFile(CloudKeyValueStore::defaultFilePath());
    ASSERT_TRUE(cloudFile.open(QIODevice::WriteOnly));
    cloudFile.write("{ not json");
    cloudFile.close();
    CloudKeyValueStore::takeKeptAsideFiles();
    window = std::make_unique<WindowController>();
    delegate = std::make_unique<AppDelegate>();
    delegate->applicationDidFinishLaunching();
    ASSERT_TRUE(spinUntil([this] { return delegate->isObservingStore(); }));
    QStringList told;
    for (const Alert::Record &alert : Alert::shownAlerts())
        told.append(alert.messageText);
    EXPECT_EQ(told.count("The custom fields could not be read."), 1);
    EXPECT_TRUE(QFileInfo::exists(CloudKeyValueStore::defaultFilePath() + ".corrupt"));
}

} // namespace

// --- a changed contact that another program deleted -----------------------------------------

class GoneFromStore : public SaveFixture
{
protected:
    void SetUp() override
    {
        SaveFixture::SetUp();
        beforeDeletion();
        ASSERT_TRUE(view()->undoReplaceValue("Globex", "Company", row(top(), "Ann"), nullptr));
        ASSERT_TRUE(view()->undoReplaceValue("Initech", "Company", row(top(), "Bob"), nullptr));
        StoreSaveRequest deletion;
        deletion.deleteContact(ann);
        ASSERT_TRUE(builder->otherApplication()->execute(deletion).ok());
    }
    virtual void beforeDeletion() {}
    QStringList storedCompanies() const
    {
        QStringList companies;
        for (const StoreContact &contact : ContactStore()
                 .contactsInContainer(builder->localContainer(), {StoreKey::GivenName, StoreKey::OrganizationName})
                 .value)
            companies.append(contact.givenName + ":" + contact.organizationName);
        companies.sort();
        return companies;
    }
};

TEST_F(GoneFromStore, TheUserIsToldWhoseChangesHaveNoContactAndCancelSavesNothing)
{
    Alert::setNextAnswer(Alert::ThirdButton);
    EXPECT_FALSE(delegate->saveDocument());
    EXPECT_EQ(Alert::lastShown().messageText, "Another program deleted contacts you changed.");
    EXPECT_TRUE(Alert::lastShown().informativeText.contains("Ann Lee"));
    EXPECT_FALSE(Alert::lastShown().informativeText.contains("Bob"));
    EXPECT_TRUE(view()->isDocumentEdited());
    EXPECT_EQ(storedCompanies(), QStringList({"Bob:", "Carl:"}));
}

TEST_F(GoneFromStore, SavedAsNewContactsKeepsTheChanges)
{
    Alert::setNextAnswer(Alert::FirstButton);
    EXPECT_TRUE(delegate->saveDocument());
    EXPECT_EQ(storedCompanies(), QStringList({"Ann:Globex", "Bob:Initech", "Carl:"}));
}

// The group was shown, so its rows were read, before the other program deleted Ann.
class GoneFromShownGroup : public GoneFromStore
{
protected:
    void beforeDeletion() override { view()->groupSelectionDidChange(group("Friends")); }
};

TEST_F(GoneFromShownGroup, ContactsSavedAnewRejoinTheGroupsTheyWereShownIn)
{
    ASSERT_TRUE(row(group("Friends"), "Ann"));
    Alert::setNextAnswer(Alert::FirstButton);
    EXPECT_TRUE(delegate->saveDocument());
    EXPECT_EQ(storeNames("Friends"), QStringList({"Ann", "Carl"}));
    EXPECT_EQ(storeNames("Work"), QStringList());
}

TEST_F(GoneFromStore, DiscardDropsOnlyTheChangesWithoutAContact)
{
    Alert::setNextAnswer(Alert::SecondButton);
    EXPECT_TRUE(delegate->saveDocument());
    EXPECT_EQ(storedCompanies(), QStringList({"Bob:Initech", "Carl:"}));
}
