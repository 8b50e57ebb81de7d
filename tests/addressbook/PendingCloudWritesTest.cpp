#include "addressbook/PendingCloudWrites.h"
#include "platform/CloudKeyValueStore.h"
#include "platform/LogCapture.h"
#include "platform/StoreBuilder.h"

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
        ASSERT_TRUE(
            journal.record(token, {{ann, QVariantMap{{"Hobby", "chess"}}}, {"gone", std::nullopt}}).ok());
        if (committed) {
            StoreSaveRequest request = noteUpdate(ann);
            request.setCommitToken(token);
            ASSERT_TRUE(builder.store().execute(request).ok());
        }
        // Nobody touches a journal while its save is under way.
        EXPECT_TRUE(PendingCloudWrites(cloud).finishPending(builder.store()).isEmpty());
        EXPECT_EQ(QDir(journal.folderPath()).entryList({"*.json"}, QDir::Files).size(), 1);
    } // the program ends without writing the cloud file

    LogCapture log;
    PendingCloudWrites later(cloud);
    const QStringList finished = later.finishPending(builder.store());
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

} // namespace
