// Two programs on one store and one custom values' file: the window holds unsaved edits while
// another program (a second store object and cloud store on the same files) saves custom values.
// Each item keeps the change of the program that made it, and the window is told of the other's.

#include "app/WindowSaveFixture.h"

#include "addressbook/AddressBookLoader.h"
#include "addressbook/AddressBookSaver.h"
#include "platform/UserDefaults.h"

namespace {

const QVariantMap External{{"CNNotificationOriginationExternally", 1}};

class TwoProgramsCustomValues : public WindowSaveFixture
{
protected:
    // Ann and Bob have a hobby and a sport when the window starts.
    void SetUp() override
    {
        WindowSaveFixture::SetUp();
        defineHobbyAndSport();
        cloud->setObject(QVariantMap{{"Hobby", "chess"}, {"Sport", "golf"}}, ann);
        bob = row(top(), "Bob")->uniqueId;
        cloud->setObject(QVariantMap{{"Hobby", "go"}, {"Sport", "polo"}}, bob);
        restartWindow();
    }

    // The other program loads, sets the values and saves.
    void otherProgramSaves(const QString &givenName, const QVariantMap &values)
    {
        CloudKeyValueStore otherCloud(cloud->filePath());
        UserDefaults defaults(QDir(TestEnvironment::homePath()).filePath("other-defaults.json"));
        AddressBookLoader loader(ContactStore::defaultPath(), defaults, otherCloud);
        loader.loadAddressBook();
        const ContainerTable table = loader.containerTable();
        QNPerson &person = *row(table.first()->topGroup(), givenName)->person;
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            person.setValue(*it, it.key());
        const std::unique_ptr<ContactStore> otherStore = builder->otherApplication();
        ASSERT_TRUE(AddressBookSaver(*otherStore, otherCloud).saveAddressBook(table).ok());
    }
    static std::optional<QVariantMap> fileEntry(const QString &path, const QString &key)
    {
        return CloudKeyValueStore(path).dictionaryForKey(key);
    }
    QString bob;
};

} // namespace

TEST_F(TwoProgramsCustomValues, EachItemKeepsTheChangeOfTheProgramThatMadeItAndTheWindowIsTold)
{
    ASSERT_TRUE(view()->undoReplaceValue("poker", "Hobby", row(top(), "Ann"), nullptr));
    ASSERT_TRUE(view()->undoReplaceValue("from the window", "Note", row(top(), "Bob"), nullptr));

    // Custom values only: the store is not touched, the custom values' file is.
    otherProgramSaves("Ann", {{"Sport", "tennis"}});
    otherProgramSaves("Bob", {{"Hobby", "shogi"}});
    Alert::setNextAnswer(Alert::SecondButton); // Ignore
    ASSERT_TRUE(spinUntil([] { return Alert::lastShown().messageText == "Contacts have been changed."; }));
    EXPECT_TRUE(view()->isDocumentEdited());

    save();
    ASSERT_FALSE(view()->isDocumentEdited());
    EXPECT_EQ(fileEntry(cloud->filePath(), ann), (QVariantMap{{"Hobby", "poker"}, {"Sport", "tennis"}}));
    // Bob's note was saved; his custom values, which the window did not change, are the other's.
    EXPECT_EQ(fileEntry(cloud->filePath(), bob), (QVariantMap{{"Hobby", "shogi"}, {"Sport", "polo"}}));
    EXPECT_EQ(ContactStore().unifiedContact(bob, {StoreKey::Note}).value.note, "from the window");
}

// One program deletes an item while the other saves a value between the deletion's read of the
// file and its write: the deletion takes only its item out of the entries as the file has them then.
TEST_F(TwoProgramsCustomValues, ADeletedItemLeavesAnotherProgramsValueWrittenMeanwhile)
{
    const QVariantMap hobby{{"Name", "Hobby"}, {"Type", "String Value"}};
    CloudKeyValueStore deleterCloud(cloud->filePath());
    AddressBookLoader loader(ContactStore::defaultPath(), UserDefaults::standard(), deleterCloud);
    loader.loadAddressBook();
    ContactStore store;
    AddressBookSaver saver(store, deleterCloud);
    saver.setDeletedCustomItems({hobby});
    ASSERT_TRUE(saver.prepare(loader.containerTable()).ok());
    otherProgramSaves("Ann", {{"Sport", "tennis"}});
    ASSERT_TRUE(saver.write().ok());
    EXPECT_EQ(fileEntry(cloud->filePath(), ann), (QVariantMap{{"Sport", "tennis"}}));
}
