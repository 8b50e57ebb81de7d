#include "addressbook/PendingCloudWrites.h"
#include "platform/CloudKeyValueStore.h"
#include "platform/FileWriter.h"
#include "platform/LogCapture.h"
#include "platform/StoreBuilder.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QSysInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

StoreSaveRequest noteUpdate(const QString &contactIdentifier)
{
    StoreContact contact = StoreContact::fetched(contactIdentifier, {StoreKey::Note});
    contact.note = QStringLiteral("saved");
    StoreSaveRequest request;
    request.updateContact(contact);
    return request;
}

// Whether the store committed the save before the program ended.
class JournalLeftBehind : public ::testing::TestWithParam<bool>
{
};

TEST_P(JournalLeftBehind, IsFinishedWhenItsSaveReachedTheStoreAndDroppedOtherwise)
{
    const bool committed = GetParam();
    QTemporaryDir folder;
    StoreBuilder builder;
    const QString ann = builder.addPerson(builder.localContainer(), "Ann", "Lee");
    ASSERT_TRUE(builder.ok());
    CloudKeyValueStore cloud(folder.filePath("cloud.json"));
    cloud.setObject(QVariantMap{{"Hobby", "golf"}}, "gone");
    ASSERT_TRUE(cloud.synchronize());
    const QString token = QStringLiteral("T1");
    {
        PendingCloudWrites journal(cloud);
        ASSERT_TRUE(journal
                        .record(token, {PendingCloudWrites::Write::set(ann, QVariantMap{{"Hobby", "chess"}}),
                                        PendingCloudWrites::Write::removal("gone")})
                        .ok());
        if (committed) {
            StoreSaveRequest request = noteUpdate(ann);
            request.setCommitToken(token);
            ASSERT_TRUE(builder.store().execute(request).ok());
        }
        // Nobody touches a journal while its save is under way.
        EXPECT_TRUE(PendingCloudWrites(cloud).finishPending(builder.store()).value.isEmpty());
        EXPECT_EQ(QDir(journal.folderPath()).entryList({"*.json"}, QDir::Files).size(), 1);
    } // the program ends without writing the cloud file

    LogCapture log;
    PendingCloudWrites later(cloud);
    const QStringList finished = later.finishPending(builder.store()).value;
    EXPECT_EQ(finished, committed ? QStringList{token} : QStringList());
    EXPECT_EQ(cloud.dictionaryForKey(ann).has_value(), committed);
    EXPECT_EQ(cloud.dictionaryForKey("gone").has_value(), !committed);
    EXPECT_TRUE(QDir(later.folderPath()).entryList({"*.json"}, QDir::Files).isEmpty());

    // The next save drops the tokens of finished saves.
    StoreSaveRequest next = noteUpdate(ann);
    next.forgetCommitTokens(finished);
    ASSERT_TRUE(builder.store().execute(next).ok());
    EXPECT_TRUE(builder.store().commitTokens().value.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Commit, JournalLeftBehind, ::testing::Bool(),
                         [](const auto &info) { return info.param ? "Committed" : "NotCommitted"; });

// A save killed before its journal was written leaves its lock alone; a lock still held stays.
TEST(PendingLocks, ALockNoProgramHoldsIsRemovedAndAHeldOneStays)
{
    QTemporaryDir folder;
    StoreBuilder builder;
    ASSERT_TRUE(builder.ok());
    CloudKeyValueStore cloud(folder.filePath("cloud.json"));
    PendingCloudWrites pending(cloud);
    ASSERT_TRUE(QDir().mkpath(pending.folderPath()));
    const QString stale = pending.folderPath() + "/killed.json.lock";
    QFile file(stale);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    // What a lock of a process that is gone holds: its id, its name and this host.
    file.write(QByteArray("2147483646\nContactsTable\n") + QSysInfo::machineHostName().toUtf8() + "\n");
    file.close();
    QLockFile held(pending.folderPath() + "/running.json.lock");
    ASSERT_TRUE(held.tryLock(0));

    pending.finishPending(builder.store());
    EXPECT_FALSE(QFileInfo::exists(stale));
    EXPECT_TRUE(QFileInfo::exists(pending.folderPath() + "/running.json.lock"));

    // A journal that cannot be locked names the reason, not only that it is locked.
    const StoreStatus refused = pending.record("running", {});
    ASSERT_FALSE(refused.ok());
    EXPECT_TRUE(refused.error.contains("another save is using it")) << refused.error.toStdString();
}

// A finished save's journal waits beside the cloud file: a save killed between making its lock and
// writing it, or a disk that was full, left it there.
class JournalOfAFinishedSave : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ann = builder.addPerson(builder.localContainer(), "Ann", "Lee");
        ASSERT_TRUE(builder.ok());
        cloud.setObject(QVariantMap{{"Hobby", "old"}}, ann);
        ASSERT_TRUE(cloud.synchronize());
        PendingCloudWrites journal(cloud);
        ASSERT_TRUE(
            journal.record(token, {PendingCloudWrites::Write::ofItems(ann, {{"Hobby", QVariant("new")}})})
                .ok());
        StoreSaveRequest request = noteUpdate(ann);
        request.setCommitToken(token);
        ASSERT_TRUE(builder.store().execute(request).ok());
    } // ends without writing the cloud file

    QString journalFile() { return PendingCloudWrites(cloud).folderPath() + "/" + token + ".json"; }

    QTemporaryDir folder;
    StoreBuilder builder;
    CloudKeyValueStore cloud{folder.filePath("cloud.json")};
    QString ann;
    const QString token = QStringLiteral("T1");
    LogCapture log;
};

TEST_F(JournalOfAFinishedSave, IsFinishedBesideALockThatNamesNoProgram)
{
    QFile lock(journalFile() + ".lock");
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    ASSERT_TRUE(
        lock.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime));
    lock.close();

    EXPECT_EQ(PendingCloudWrites(cloud).finishPending(builder.store()).value, QStringList{token});
    EXPECT_EQ(CloudKeyValueStore(cloud.filePath()).dictionaryForKey(ann), (QVariantMap{{"Hobby", "new"}}));
    EXPECT_FALSE(QFileInfo::exists(journalFile()));
    EXPECT_FALSE(QFileInfo::exists(journalFile() + ".lock"));
}

TEST_F(JournalOfAFinishedSave, StaysWhileTheDiskIsFullAndSaysSo)
{
    const QByteArray before = [this] {
        QFile file(cloud.filePath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    FileWriter::setSpaceLeftForTesting(0);
    const StoreResult<QStringList> refused = PendingCloudWrites(cloud).finishPending(builder.store());
    FileWriter::setSpaceLeftForTesting(std::nullopt);
    EXPECT_TRUE(refused.error.contains("the disk is full")) << refused.error.toStdString();
    EXPECT_TRUE(QFileInfo::exists(journalFile()));
    QFile file(cloud.filePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);

    EXPECT_EQ(PendingCloudWrites(cloud).finishPending(builder.store()).value, QStringList{token});
    EXPECT_EQ(CloudKeyValueStore(cloud.filePath()).dictionaryForKey(ann), (QVariantMap{{"Hobby", "new"}}));
}

} // namespace
