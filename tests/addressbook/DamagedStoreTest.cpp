// A store whose file is damaged after the window read it: a contact the store can no longer look up
// is not one another program deleted. The save stops, keeps every change and names the damage.

#include "app/WindowSaveFixture.h"

#include "addressbook/AddressBookLoader.h"
#include "addressbook/AddressBookSaver.h"
#include "platform/StoreDamage.h"
#include "platform/UserDefaults.h"

#include <sqlite3.h>

namespace {

const QString IdentifierIndex = QStringLiteral("sqlite_autoindex_contact_1");

class DamagedIndex : public WindowSaveFixture
{
protected:
    void SetUp() override
    {
        WindowSaveFixture::SetUp();
        cloud->setObject(QVariantMap{{"Hobby", "chess"}}, ann);
        ASSERT_TRUE(cloud->synchronize());
        cloudBefore = cloud->dictionaryRepresentation();
    }
    QString storedCompany(const QString &givenName) const
    {
        for (const StoreContact &contact :
             ContactStore()
                 .contactsInContainer(builder->localContainer(),
                                      {StoreKey::GivenName, StoreKey::OrganizationName})
                 .value)
            if (contact.givenName == givenName)
                return contact.organizationName;
        return {};
    }

    QVariantMap cloudBefore;
};

} // namespace

TEST_F(DamagedIndex, TheSaveStopsKeepsTheChangesAndNamesTheDamage)
{
    ASSERT_TRUE(view()->undoReplaceValue("Globex", "Company", row(top(), "Ann"), nullptr));
    ASSERT_TRUE(view()->undoReplaceValue("Initech", "Company", row(top(), "Bob"), nullptr));
    scribbleOverIndexPage(ContactStore::defaultPath(), IdentifierIndex);

    save();
    QStringList asked;
    for (const Alert::Record &alert : Alert::shownAlerts())
        asked.append(alert.messageText);
    EXPECT_FALSE(asked.contains("Another program deleted contacts you changed."));
    EXPECT_EQ(Alert::lastShown().messageText, "The contacts could not be saved.");
    EXPECT_TRUE(Alert::lastShown().informativeText.contains("damaged"))
        << Alert::lastShown().informativeText.toStdString();
    EXPECT_TRUE(view()->isDocumentEdited());
    EXPECT_EQ(row(top(), "Ann")->person->stringValueForIdentifier("Company"), "Globex");
    EXPECT_TRUE(row(top(), "Ann")->person->isChanged());
    EXPECT_EQ(storedCompany("Ann"), "");
}

// Without the window's question before it: the saver itself writes nothing, custom values included.
TEST_F(DamagedIndex, TheSaverAloneWritesNothing)
{
    UserDefaults defaults(QDir(TestEnvironment::homePath()).filePath("saver-defaults.json"));
    AddressBookLoader loader(ContactStore::defaultPath(), defaults, *cloud);
    loader.loadAddressBook();
    const ContainerTable table = loader.containerTable();
    QNPerson &person = *row(table.first()->topGroup(), "Ann")->person;
    person.setValue("Globex", "Company");
    person.setValue("poker", "Hobby");
    scribbleOverIndexPage(ContactStore::defaultPath(), IdentifierIndex);

    ContactStore store;
    const StoreStatus refused = AddressBookSaver(store, *cloud).saveAddressBook(table);
    EXPECT_TRUE(refused.error.contains("damaged")) << refused.error.toStdString();
    EXPECT_TRUE(person.isChanged());
    EXPECT_EQ(CloudKeyValueStore(cloud->filePath()).dictionaryRepresentation(), cloudBefore);
    EXPECT_EQ(storedCompany("Ann"), "");
}

// --- the store cannot be read at the start ------------------------------------------------------

using UnreadableAtStart = WindowSaveFixture;

// The reason is a sentence of its own; the alert does not end it twice.
TEST_F(UnreadableAtStart, TheReasonEndsInOneFullStop)
{
    delegate.reset();
    ContactStore::releaseThreadConnections();
    sqlite3 *db = nullptr;
    sqlite3_open(QFile::encodeName(ContactStore::defaultPath()).constData(), &db);
    ASSERT_EQ(sqlite3_exec(db, "PRAGMA user_version = 99", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    // A file of its own, so that no loading thread goes on with a connection opened before.
    const QString path = ContactStore::defaultPath();
    ASSERT_TRUE(QFile::copy(path, path + ".copy"));
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QFile::rename(path + ".copy", path));

    restartWindow();
    ASSERT_EQ(Alert::lastShown().messageText, "The contacts store cannot be read.");
    const QString told = Alert::lastShown().informativeText;
    EXPECT_TRUE(told.contains("newer version")) << told.toStdString();
    EXPECT_FALSE(told.contains("..")) << told.toStdString();
}
