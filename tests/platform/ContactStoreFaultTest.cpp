#include "StoreDamage.h"
#include "StoreTestSupport.h"

#include "platform/StoreConnection.h"

#include <QFile>
#include <QRandomGenerator>
#include <atomic>
#include <cerrno>
#include <sqlite3.h>
#include <thread>
#include <unistd.h>

namespace {

// A connection outside the store, playing a program that uses the file by its own means.
class RawDatabase
{
public:
    explicit RawDatabase(const QString &path) { sqlite3_open(QFile::encodeName(path).constData(), &m_db); }
    ~RawDatabase() { sqlite3_close(m_db); }
    bool exec(const char *sql) { return sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }
    QString text(const char *sql)
    {
        sqlite3_stmt *statement = nullptr;
        QString result;
        if (sqlite3_prepare_v2(m_db, sql, -1, &statement, nullptr) == SQLITE_OK &&
            sqlite3_step(statement) == SQLITE_ROW)
            result = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, 0)));
        sqlite3_finalize(statement);
        return result;
    }

private:
    sqlite3 *m_db = nullptr;
};

void writeFile(const QString &path, const QByteArray &data, qint64 offset = 0)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.seek(offset);
    file.write(data);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

StoreSaveRequest addingPeople(const QString &container, int count, const QByteArray &imageData = {})
{
    StoreSaveRequest request;
    for (int i = 0; i < count; ++i) {
        StoreContact contact;
        contact.givenName = QStringLiteral("Person %1").arg(i);
        contact.imageData = imageData;
        request.addContact(contact, container);
    }
    return request;
}

// Every operation of the store on a bad file answers with an error; none may crash.
void expectEveryOperationFails(ContactStore &store, const QString &mentioned)
{
    const QList<StoreStatus> answers{
        StoreStatus::failure(store.containers().error),
        StoreStatus::failure(store.defaultContainerIdentifier().error),
        StoreStatus::failure(store.contactsInContainer(QStringLiteral("x"), StoreKey::allKeys()).error),
        StoreStatus::failure(store.unifiedContact(QStringLiteral("x"), StoreKey::allKeys()).error),
        store.execute(addingPeople(QStringLiteral("x"), 1)),
        store.requestAccess(),
    };
    for (const StoreStatus &answer : answers) {
        EXPECT_FALSE(answer.ok());
        EXPECT_TRUE(answer.error.contains(mentioned)) << answer.error.toStdString();
    }
}

} // namespace

TEST_F(StoreTest, FileOfGarbageIsAnErrorNotACrash)
{
    const QString path = folderPath() + QStringLiteral("/garbage.sqlite");
    QByteArray garbage(64 * 1024, '\0');
    QRandomGenerator generator(7);
    for (char &byte : garbage)
        byte = char(generator.bounded(256));
    writeFile(path, garbage);

    ContactStore damaged(path);
    EXPECT_EQ(damaged.authorizationStatus(), StoreAuthorizationStatus::Authorized);
    expectEveryOperationFails(damaged, QStringLiteral("damaged"));
    EXPECT_EQ(readFile(path), garbage);
}

TEST_F(StoreTest, ForeignDatabaseIsRefusedAndLeftAlone)
{
    const QString path = folderPath() + QStringLiteral("/foreign.sqlite");
    {
        RawDatabase foreign(path);
        ASSERT_TRUE(foreign.exec("CREATE TABLE recipe (name TEXT); INSERT INTO recipe VALUES ('soup')"));
    }
    ContactStore store(path);
    expectEveryOperationFails(store, QStringLiteral("not a contacts store"));
    RawDatabase check(path);
    EXPECT_EQ(check.text("SELECT name FROM recipe"), QStringLiteral("soup"));
    EXPECT_EQ(check.text("PRAGMA journal_mode"), QStringLiteral("delete"));
}

TEST_F(StoreTest, StoreOfANewerVersionIsRefused)
{
    {
        RawDatabase raw(storePath());
        ASSERT_TRUE(raw.exec("PRAGMA user_version = 99"));
    }
    ContactStore::releaseThreadConnections();
    ContactStore again(storePath());
    EXPECT_FALSE(again.containers().ok());
    EXPECT_TRUE(again.containers().error.contains(QStringLiteral("newer version")))
        << again.containers().error.toStdString();
}

TEST_F(StoreTest, DamagedPagesGiveErrorsNotCrashes)
{
    ASSERT_TRUE(store().execute(addingPeople(local(), 40, pngImage(300, 300))).ok());
    {
        RawDatabase raw(storePath());
        ASSERT_TRUE(raw.exec("PRAGMA wal_checkpoint(TRUNCATE)"));
    }
    ContactStore::releaseThreadConnections();
    const qint64 size = QFileInfo(storePath()).size();
    ASSERT_GT(size, 3 * 4096);
    // Page 1 holds the schema; every table's pages after it are overwritten.
    writeFile(storePath(), QByteArray(int(size - 4096), 'Z'), 4096);

    ContactStore damaged(storePath());
    const auto contacts = damaged.contactsInContainer(local(), StoreKey::allKeys());
    EXPECT_FALSE(contacts.ok());
    EXPECT_TRUE(contacts.error.contains(QStringLiteral("damaged"))) << contacts.error.toStdString();
    EXPECT_FALSE(damaged.containers().ok());
    EXPECT_FALSE(damaged.execute(addingPeople(local(), 1)).ok());
}

// The contacts' identifier index scribbled over: the contacts can still be listed, but look-ups by
// identifier that the damage hits fail with an error (some may just miss), and the file's check
// names the damage.
TEST_F(StoreTest, ADamagedIdentifierIndexIsAnErrorNotAMissingContact)
{
    QStringList identifiers;
    for (int i = 0; i < 1000; ++i)
        identifiers.append(builder().addPerson(local(), QStringLiteral("P%1").arg(i), QStringLiteral("Lee")));
    ASSERT_TRUE(builder().ok());
    ASSERT_TRUE(store().containsContact(identifiers.first()).value);
    EXPECT_FALSE(store().containsContact(QStringLiteral("never")).value);
    scribbleOverIndexPage(storePath(), QStringLiteral("sqlite_autoindex_contact_1"));

    ContactStore damaged(storePath());
    EXPECT_EQ(damaged.contactsInContainer(local(), {}).value.size(), 1000);
    int errors = 0;
    for (const QString &identifier : std::as_const(identifiers)) {
        const StoreResult<bool> found = damaged.containsContact(identifier);
        if (!found.ok()) {
            EXPECT_TRUE(found.error.contains(QStringLiteral("damaged"))) << found.error.toStdString();
            ++errors;
        }
    }
    EXPECT_GT(errors, 0);
    const StoreResult<bool> check = damaged.checkIntegrity();
    EXPECT_FALSE(check.ok());
    EXPECT_TRUE(check.error.contains(QStringLiteral("damaged"))) << check.error.toStdString();
    EXPECT_TRUE(check.error.contains(QStringLiteral("Page"), Qt::CaseInsensitive))
        << check.error.toStdString();
    EXPECT_FALSE(check.error.contains(QStringLiteral("***"))) << check.error.toStdString();
}

// SQLite calls a full disk met while opening or reading "disk I/O error"; the system's error says
// what it is.
TEST(StoreErrors, AFullDiskIsNamedAsSuch)
{
    for (const int code : {SQLITE_IOERR_SHMSIZE, SQLITE_CANTOPEN}) {
        EXPECT_EQ(StoreConnection::describe(code, QStringLiteral("disk I/O error"), ENOSPC),
                  QStringLiteral("The disk holding the contacts store is full."));
    }
    // The system's error of an earlier failure does not belong to one of another kind.
    EXPECT_EQ(StoreConnection::describe(SQLITE_CONSTRAINT, QString(), ENOSPC),
              QStringLiteral("The change breaks a rule of the contacts store."));
}

TEST_F(StoreTest, LockedStoreRefusesTheSaveAfterTheBusyTimeout)
{
    const QString before = storeSnapshot(store());
    RawDatabase other(storePath());
    ASSERT_TRUE(other.exec("BEGIN IMMEDIATE; INSERT INTO setting VALUES ('lock', 'held')"));

    store().setBusyTimeout(50);
    StoreStatus refused = store().execute(addingPeople(local(), 3));
    EXPECT_FALSE(refused.ok());
    EXPECT_TRUE(refused.error.contains(QStringLiteral("in use"))) << refused.error.toStdString();
    EXPECT_EQ(storeSnapshot(store()), before); // readers do not wait for the writer

    ASSERT_TRUE(other.exec("ROLLBACK"));
    EXPECT_TRUE(store().execute(addingPeople(local(), 3)).ok());
    EXPECT_EQ(store().contactsInContainer(local(), {}).value.size(), 3);
}

TEST_F(StoreTest, FullDiskRefusesTheWholeSave)
{
    builder().addPerson(local(), QStringLiteral("Before"), QString());
    const QString before = storeSnapshot(store());
    const qint64 pages = RawDatabase(storePath()).text("PRAGMA page_count").toLongLong();
    QByteArray bulky(2 * 1024 * 1024, 'x');

    store().setMaximumPageCount(pages + 4);
    StoreSaveRequest request = addingPeople(local(), 2);
    StoreContact big;
    big.imageData = bulky;
    request.addContact(big, local());
    StoreStatus refused = store().execute(request);
    EXPECT_FALSE(refused.ok());
    EXPECT_TRUE(refused.error.contains(QStringLiteral("full"))) << refused.error.toStdString();
    EXPECT_EQ(storeSnapshot(store()), before);

    store().setMaximumPageCount(0);
    StoreStatus accepted = store().execute(request);
    EXPECT_TRUE(accepted.ok()) << accepted.error.toStdString();
    EXPECT_EQ(store().contactsInContainer(local(), {}).value.size(), 4);
}

TEST_F(StoreTest, StoreRemovedAndMadeAgainIsNotReadThroughTheOldFile)
{
    builder().addPerson(local(), QStringLiteral("Old"), QString());
    ASSERT_EQ(store().contactsInContainer(local(), {}).value.size(), 1);

    // Another program removes the files while this thread still has its connection open.
    for (const QString &suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
        QFile::remove(storePath() + suffix);
    ContactStore gone(storePath());
    EXPECT_EQ(gone.authorizationStatus(), StoreAuthorizationStatus::NotDetermined);
    EXPECT_FALSE(gone.containers().ok());

    ASSERT_TRUE(gone.requestAccess().ok());
    const QString fresh = gone.defaultContainerIdentifier().value;
    EXPECT_NE(fresh, local());
    EXPECT_TRUE(gone.contactsInContainer(fresh, {}).value.isEmpty());
}

TEST_F(StoreTest, AccessRequestMakesTheStoreOnce)
{
    ContactStore fresh(folderPath() + QStringLiteral("/new/deeper/Contacts.sqlite"));
    EXPECT_EQ(fresh.authorizationStatus(), StoreAuthorizationStatus::NotDetermined);
    ASSERT_TRUE(fresh.requestAccess().ok());
    EXPECT_EQ(fresh.authorizationStatus(), StoreAuthorizationStatus::Authorized);
    const QList<StoreContainer> containers = fresh.containers().value;
    ASSERT_EQ(containers.size(), 1);
    EXPECT_EQ(containers[0].type, StoreContainerLocal);

    StoreSaveRequest request = addingPeople(containers[0].identifier, 1);
    ASSERT_TRUE(fresh.execute(request).ok());
    ASSERT_TRUE(fresh.requestAccess().ok()); // asking again keeps what is there
    EXPECT_EQ(fresh.containers().value, containers);
    EXPECT_EQ(fresh.contactsInContainer(containers[0].identifier, {}).value.size(), 1);
}

TEST_F(StoreTest, RefusedAccessMakesNoStore)
{
    const QString path = folderPath() + QStringLiteral("/refused/Contacts.sqlite");
    ContactStore store(path);

    ContactStore::setAccessAnswerForTesting(false);
    EXPECT_FALSE(store.requestAccess().ok());
    ContactStore::setAccessAnswerForTesting(std::nullopt);

    for (StoreAuthorizationStatus status :
         {StoreAuthorizationStatus::Restricted, StoreAuthorizationStatus::Denied}) {
        ContactStore::setAuthorizationStatusForTesting(status);
        EXPECT_EQ(store.authorizationStatus(), status);
        EXPECT_FALSE(store.requestAccess().ok());
    }
    EXPECT_FALSE(QFile::exists(path));

    ContactStore::setAuthorizationStatusForTesting(std::nullopt);
    EXPECT_EQ(store.authorizationStatus(), StoreAuthorizationStatus::NotDetermined);
}

TEST_F(StoreTest, StoreThatCannotBeMadeIsRefused)
{
    writeFile(folderPath() + QStringLiteral("/plainfile"), "not a folder");
    ContactStore store(folderPath() + QStringLiteral("/plainfile/Contacts.sqlite"));
    StoreStatus answer = store.requestAccess();
    EXPECT_FALSE(answer.ok());
    EXPECT_FALSE(answer.error.isEmpty());
}

TEST_F(StoreTest, WriteProtectedStoreIsDenied)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "file permissions do not bind root";
    ContactStore::releaseThreadConnections();
    QFile::setPermissions(storePath(), QFileDevice::ReadOwner);
    ContactStore protectedStore(storePath());
    EXPECT_EQ(protectedStore.authorizationStatus(), StoreAuthorizationStatus::Denied);
    EXPECT_FALSE(protectedStore.execute(addingPeople(local(), 1)).ok());
    QFile::setPermissions(storePath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

// Readers on four threads while this thread saves: every read succeeds and sees whole saves only,
// in insertion order.
TEST_F(StoreTest, FourThreadsReadWhileOneWrites)
{
    constexpr int Initial = 200;
    constexpr int Batch = 5;
    ASSERT_TRUE(store().execute(addingPeople(local(), Initial)).ok());
    QStringList initialOrder;
    for (const StoreContact &contact : store().contactsInContainer(local(), {}).value)
        initialOrder.append(contact.identifier());

    std::atomic<int> failures{0};
    std::atomic<bool> writing{true};
    auto reader = [&] {
        ContactStore handle(storePath());
        for (int round = 0; round < 25 || writing; ++round) {
            const auto contacts = handle.contactsInContainer(local(), StoreKey::allKeys());
            bool good =
                contacts.ok() && contacts.value.size() >= Initial && contacts.value.size() % Batch == 0;
            for (int i = 0; good && i < Initial; ++i)
                good = contacts.value[i].identifier() == initialOrder[i];
            good = good && handle.unifiedContact(initialOrder[round % Initial], {StoreKey::GivenName}).ok();
            if (!good)
                ++failures;
        }
        ContactStore::releaseThreadConnections();
    };
    std::vector<std::thread> readers;
    for (int i = 0; i < 4; ++i)
        readers.emplace_back(reader);
    for (int i = 0; i < 10; ++i)
        EXPECT_TRUE(store().execute(addingPeople(local(), Batch)).ok());
    writing = false;
    for (std::thread &thread : readers)
        thread.join();
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(store().contactsInContainer(local(), {}).value.size(), Initial + 10 * Batch);
}
