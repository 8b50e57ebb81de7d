#include "platform/CloudKeyValueStore.h"
#include "platform/CloudStoreWatcher.h"
#include "platform/FileWriter.h"
#include "platform/LogCapture.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

class CloudKeyValueStoreTest : public testing::Test
{
protected:
    QString path() const { return m_dir.filePath(QStringLiteral("nested/CloudKeyValueStore.json")); }

    static QByteArray contents(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static void writeFile(const QString &path, const QByteArray &data)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(data);
    }

    QTemporaryDir m_dir;
};

QVariantMap customValues()
{
    const QVariantMap entry{{"label", "home"}, {"value", "東京都"}, {"labelIndex", 2}};
    return {{"Memo", "メモ"},
            {"Visits", QVariantList{entry, QVariantMap{{"label", "work"}, {"labelIndex", 0}}}},
            {"Anniversary", QVariantMap{{"year", 2020}, {"leap", true}, {"ratio", 2.5}}},
            {"Nothing", QVariantList{}}};
}

TEST_F(CloudKeyValueStoreTest, NestedValuesSurviveTheFile)
{
    {
        CloudKeyValueStore store(path());
        store.setObject(customValues(), "contact-1");
        store.setObject(QVariantList{"a", 1, false}, "list");
        store.setObject("text", "string");
        EXPECT_TRUE(store.synchronize());
    }
    CloudKeyValueStore reader(path());
    EXPECT_EQ(reader.dictionaryForKey("contact-1"), customValues());
    EXPECT_EQ(reader.arrayForKey("list"), (QVariantList{"a", 1, false}));
    EXPECT_EQ(reader.stringForKey("string"), QString("text"));
    EXPECT_EQ(reader.dictionaryRepresentation().keys(), (QStringList{"contact-1", "list", "string"}));
}

TEST_F(CloudKeyValueStoreTest, TypedReadsTellMissingFromOtherTypes)
{
    CloudKeyValueStore store(path());
    store.setObject("text", "string");
    store.setObject(QVariantMap{}, "empty");
    EXPECT_EQ(store.dictionaryForKey("empty"), QVariantMap{});
    EXPECT_FALSE(store.dictionaryForKey("string"));
    EXPECT_FALSE(store.arrayForKey("empty"));
    EXPECT_FALSE(store.stringForKey("missing"));
    EXPECT_FALSE(store.objectForKey("missing").isValid());
}

TEST_F(CloudKeyValueStoreTest, RemovalsReachTheFile)
{
    {
        CloudKeyValueStore store(path());
        store.setObject("a", "gone");
        store.setObject("b", "nulled");
        store.setObject("c", "kept");
        store.synchronize();
        store.removeObjectForKey("gone");
        store.setObject(QVariant(), "nulled");
        store.setObject("x", "neverWritten");
        store.removeObjectForKey("neverWritten");
        EXPECT_FALSE(store.objectForKey("gone").isValid());
    }
    EXPECT_EQ(CloudKeyValueStore(path()).dictionaryRepresentation(), (QVariantMap{{"kept", "c"}}));
}

TEST_F(CloudKeyValueStoreTest, ValueJsonCannotHoldIsRefused)
{
    CloudKeyValueStore store(path());
    store.setObject("before", "key");
    store.setObject(QVariant::fromValue(nullptr), "key");
    EXPECT_EQ(store.stringForKey("key"), QString("before"));
}

TEST_F(CloudKeyValueStoreTest, CorruptFileReadsAsEmptyAndIsKeptAside)
{
    const QByteArray broken = "{\"contact-1\": {\"Memo\": ";
    writeFile(path(), broken);
    CloudKeyValueStore store(path());
    EXPECT_TRUE(store.dictionaryRepresentation().isEmpty());
    EXPECT_EQ(contents(path() + ".corrupt"), broken);

    store.setObject("new", "key");
    ASSERT_TRUE(store.synchronize());
    EXPECT_EQ(CloudKeyValueStore(path()).dictionaryRepresentation(), (QVariantMap{{"key", "new"}}));
    EXPECT_EQ(contents(path() + ".corrupt"), broken);

    writeFile(path(), "[1, 2]");
    EXPECT_TRUE(store.dictionaryRepresentation().isEmpty());
    EXPECT_EQ(contents(path() + ".corrupt.1"), "[1, 2]");
    EXPECT_EQ(contents(path() + ".corrupt"), broken);
}

TEST_F(CloudKeyValueStoreTest, FileThatCannotBeOpenedIsNotWrittenOver)
{
    ASSERT_TRUE(QDir().mkpath(path()));
    CloudKeyValueStore store(path());
    store.setObject("pending", "key");
    EXPECT_FALSE(store.synchronize());
    EXPECT_TRUE(QFileInfo(path()).isDir());
    EXPECT_EQ(store.stringForKey("key"), QString("pending"));

    ASSERT_TRUE(QDir(path()).removeRecursively());
    EXPECT_TRUE(store.synchronize());
    EXPECT_EQ(CloudKeyValueStore(path()).stringForKey("key"), QString("pending"));
}

TEST_F(CloudKeyValueStoreTest, AnotherInstanceSeesWrittenChanges)
{
    CloudKeyValueStore writer(path());
    CloudKeyValueStore reader(path());
    EXPECT_FALSE(reader.objectForKey("key").isValid());

    writer.setObject("v", "key");
    writer.synchronize();
    EXPECT_EQ(reader.stringForKey("key"), QString("v"));

    // Same size, probably the same millisecond: still seen.
    writer.setObject("w", "key");
    writer.synchronize();
    EXPECT_EQ(reader.stringForKey("key"), QString("w"));

    writer.removeObjectForKey("key");
    writer.synchronize();
    EXPECT_FALSE(reader.objectForKey("key").isValid());
}

TEST_F(CloudKeyValueStoreTest, ChangesReachTheFileAtTheNextEventLoopPass)
{
    CloudKeyValueStore writer(path());
    CloudKeyValueStore reader(path());
    writer.setObject("v", "key");
    EXPECT_FALSE(reader.objectForKey("key").isValid());
    QCoreApplication::processEvents();
    EXPECT_EQ(reader.stringForKey("key"), QString("v"));
}

TEST_F(CloudKeyValueStoreTest, WriterKeepsKeysThatAnotherWroteMeanwhile)
{
    CloudKeyValueStore first(path());
    CloudKeyValueStore second(path());
    first.setObject("1", "shared");
    second.setObject("2", "own");
    EXPECT_FALSE(second.objectForKey("shared").isValid());
    first.synchronize();
    second.synchronize();
    first.setObject("3", "later");
    first.synchronize();
    EXPECT_EQ(CloudKeyValueStore(path()).dictionaryRepresentation(),
              (QVariantMap{{"shared", "1"}, {"own", "2"}, {"later", "3"}}));
}

TEST_F(CloudKeyValueStoreTest, ConcurrentWritersLoseNothing)
{
    constexpr int Threads = 6;
    constexpr int KeysPerThread = 40;
    CloudKeyValueStore shared(path());
    std::vector<std::thread> threads;
    for (int t = 0; t < Threads; ++t) {
        threads.emplace_back([&shared, t, this] {
            // Half the threads share one store object, the others each play a separate program.
            CloudKeyValueStore own(path());
            CloudKeyValueStore &store = t % 2 ? own : shared;
            for (int k = 0; k < KeysPerThread; ++k) {
                store.setObject(k, QStringLiteral("t%1-k%2").arg(t).arg(k));
                if (k % 10 == 9)
                    store.synchronize();
            }
        });
    }
    for (std::thread &thread : threads)
        thread.join();
    shared.synchronize();

    const QVariantMap values = CloudKeyValueStore(path()).dictionaryRepresentation();
    EXPECT_EQ(values.size(), Threads * KeysPerThread);
    EXPECT_EQ(values.value("t5-k39").toInt(), 39);
}

TEST_F(CloudKeyValueStoreTest, AFullDiskKeepsTheOldFileAndTheChangesPending)
{
    CloudKeyValueStore store(path());
    store.setObject(customValues(), "contact-1");
    ASSERT_TRUE(store.synchronize());
    const QByteArray before = contents(path());
    {
        LogCapture log;
        FileWriter::setSpaceLeftForTesting(before.size() / 2);
        store.setObject("more", "contact-2");
        EXPECT_FALSE(store.synchronize());
        FileWriter::setSpaceLeftForTesting(std::nullopt);
    }
    EXPECT_EQ(store.lastWriteError(), "the disk is full");
    EXPECT_EQ(contents(path()), before);
    EXPECT_EQ(store.stringForKey("contact-2"), QString("more"));

    ASSERT_TRUE(store.synchronize());
    EXPECT_TRUE(store.lastWriteError().isEmpty());
    EXPECT_EQ(CloudKeyValueStore(path()).dictionaryRepresentation(),
              (QVariantMap{{"contact-1", customValues()}, {"contact-2", "more"}}));
}

// Two programs change items of the same entry: each keeps the other's items, and where both
// changed one, the later write wins.
TEST_F(CloudKeyValueStoreTest, ItemChangesMergeIntoTheEntryAsTheFileHoldsIt)
{
    using Change = CloudKeyValueStore::Change;
    CloudKeyValueStore first(path());
    first.setObject(QVariantMap{{"Hobby", "chess"}, {"Sport", "golf"}, {"Pet", "cat"}}, "ann");
    ASSERT_TRUE(first.synchronize());
    CloudKeyValueStore second(path());
    EXPECT_EQ(second.dictionaryForKey("ann")->value("Sport"), "golf");

    first.apply({Change::ofItems("ann", {{"Hobby", QVariant("poker")}, {"Pet", std::nullopt}})});
    second.apply({Change::ofItems("ann", {{"Sport", QVariant("tennis")}, {"Hobby", QVariant("go")}})});
    EXPECT_EQ(first.dictionaryForKey("ann"), (QVariantMap{{"Hobby", "poker"}, {"Sport", "golf"}}));
    ASSERT_TRUE(second.synchronize());
    ASSERT_TRUE(first.synchronize());
    EXPECT_EQ(CloudKeyValueStore(path()).dictionaryForKey("ann"),
              (QVariantMap{{"Hobby", "poker"}, {"Sport", "tennis"}}));

    // Items of an entry that is not there yet start it; a whole value set later replaces them.
    first.apply({Change::ofItems("bob", {{"Hobby", QVariant("golf")}})});
    EXPECT_EQ(first.dictionaryForKey("bob"), (QVariantMap{{"Hobby", "golf"}}));
    first.apply({Change::set("bob", QVariantMap{{"Sport", "polo"}})});
    ASSERT_TRUE(first.synchronize());
    EXPECT_EQ(CloudKeyValueStore(path()).dictionaryForKey("bob"), (QVariantMap{{"Sport", "polo"}}));
}

TEST_F(CloudKeyValueStoreTest, TheWatcherTellsOfAnotherProgramsWriteOnly)
{
    CloudKeyValueStore own(path());
    own.setObject("first", "a");
    ASSERT_TRUE(own.synchronize());
    CloudStoreWatcher watcher(own);
    int told = 0;
    QObject::connect(&watcher, &CloudStoreWatcher::changedElsewhere, [&told] { ++told; });
    const auto spinFor = [](int milliseconds) {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < milliseconds)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    };

    own.setObject("mine", "a");
    ASSERT_TRUE(own.synchronize());
    spinFor(300);
    EXPECT_EQ(told, 0);

    // Our next write takes the other's change in before the watcher looks; it is still theirs.
    CloudKeyValueStore other(path());
    other.setObject("theirs", "b");
    ASSERT_TRUE(other.synchronize());
    own.setObject("mine again", "a");
    ASSERT_TRUE(own.synchronize());
    QElapsedTimer waited;
    waited.start();
    while (told == 0 && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(told, 1);
}

TEST(CloudKeyValueStoreLocation, SharedFolderUnderTheDataLocation)
{
    const QString root = qEnvironmentVariable("XDG_DATA_HOME") + "/ContactsTable";
    EXPECT_EQ(CloudKeyValueStore::defaultFilePath(), root + "/CloudKeyValueStore.json");
    EXPECT_EQ(CloudKeyValueStore::documentsPath(), root + "/Documents");
    EXPECT_EQ(CloudKeyValueStore::defaultStore().filePath(), root + "/CloudKeyValueStore.json");
    EXPECT_EQ(&CloudKeyValueStore::defaultStore(), &CloudKeyValueStore::defaultStore());
}

} // namespace
