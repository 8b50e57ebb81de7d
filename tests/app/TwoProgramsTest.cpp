// Two programs on one store: another program (a child process: this test program run with one
// test selected) saves while this window holds unsaved edits of the same and of other contacts.
// Nothing is lost silently: the window asks about the change, and each field keeps the change of
// the program that made it.

#include "SaveFixture.h"

#include "addressbook/AddressBookLoader.h"
#include "addressbook/AddressBookSaver.h"
#include "platform/UserDefaults.h"

#include <QCoreApplication>
#include <QProcess>

namespace {

const char *const StoreVariable = "CT_OTHER_PROGRAM_STORE";
const char *const CloudVariable = "CT_OTHER_PROGRAM_CLOUD";

ContactRowPtr rowNamed(const ContainerTable &table, const QString &givenName)
{
    for (const ContactRowPtr &row : std::as_const(*table.first()->topGroup()->contactTable))
        if (row->person->nameValue().value(PersonKey::FirstName) == givenName)
            return row;
    return nullptr;
}

class TwoPrograms : public SaveFixture
{
protected:
    StoreContact stored(const QString &givenName) const
    {
        for (const StoreContact &contact :
             ContactStore()
                 .contactsInContainer(builder->localContainer(),
                                      {StoreKey::GivenName, StoreKey::OrganizationName, StoreKey::JobTitle,
                                       StoreKey::Note})
                 .value)
            if (contact.givenName == givenName)
                return contact;
        return {};
    }
};

} // namespace

// The other program: changes Ann's job title and Bob's note, and saves.
TEST(OtherProgram, Saves)
{
    const QString storePath = qEnvironmentVariable(StoreVariable);
    if (storePath.isEmpty())
        GTEST_SKIP() << "run by TwoPrograms";
    CloudKeyValueStore cloud(qEnvironmentVariable(CloudVariable));
    QNPerson::setCloudKeyValueStore(&cloud);
    UserDefaults defaults(storePath + QStringLiteral(".defaults.json"));
    AddressBookLoader loader(storePath, defaults, cloud);
    loader.loadAddressBook();
    const ContainerTable table = loader.containerTable();
    rowNamed(table, QStringLiteral("Ann"))->person->setValue(QStringLiteral("Pilot"), QStringLiteral("Job Title"));
    rowNamed(table, QStringLiteral("Bob"))->person->setValue(QStringLiteral("from the other"), QStringLiteral("Note"));
    ContactStore store(storePath);
    EXPECT_TRUE(AddressBookSaver(store, cloud).saveAddressBook(table).ok());
    QNPerson::setCloudKeyValueStore(nullptr);
}

TEST_F(TwoPrograms, EachFieldKeepsTheChangeOfTheProgramThatMadeItAndTheWindowAsks)
{
    ASSERT_TRUE(view()->undoReplaceValue("Globex", "Company", row(top(), "Ann"), nullptr));
    ASSERT_TRUE(view()->undoReplaceValue("from the window", "Note", row(top(), "Carl"), nullptr));

    QProcess other;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(StoreVariable), ContactStore::defaultPath());
    environment.insert(QString::fromLatin1(CloudVariable), cloud->filePath());
    environment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    other.setProcessEnvironment(environment);
    other.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=OtherProgram.Saves")});
    ASSERT_TRUE(other.waitForFinished(60000));
    const QByteArray output = other.readAllStandardOutput();
    ASSERT_EQ(other.exitCode(), 0) << output.constData();
    ASSERT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.constData();
    EXPECT_EQ(stored("Bob").note, "from the other");

    // Ignore keeps the window's edits; the question is not left out.
    Alert::setNextAnswer(Alert::SecondButton);
    ASSERT_TRUE(spinUntil([] { return Alert::lastShown().messageText == "Contacts have been changed."; }));
    EXPECT_TRUE(view()->isDocumentEdited());

    ASSERT_TRUE(delegate->saveDocument());
    EXPECT_EQ(stored("Ann").organizationName, "Globex");
    EXPECT_EQ(stored("Ann").jobTitle, "Pilot");
    EXPECT_EQ(stored("Bob").note, "from the other");
    EXPECT_EQ(stored("Carl").note, "from the window");
}
