#include "platform/UserDefaults.h"

#include "LogCapture.h"
#include "platform/FileWriter.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <thread>
#include <vector>

namespace {

class UserDefaultsTest : public ::testing::Test
{
protected:
    QString path() const { return m_dir.filePath(QStringLiteral("prefs/UserDefaults.json")); }
    QVariantMap reread() const { return UserDefaults(path()).dictionaryRepresentation(); }

    static QByteArray readFile(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static void writeFile(const QString &path, const QByteArray &bytes)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(UserDefaultsTest, EveryValueTypeRoundTripsThroughTheFile)
{
    const QByteArray binary("\x00\x01\xff png", 8);
    const QVariantMap nested{{"Name", QVariantList{"Name", "Phone"}},
                             {"lastSortDesc", QVariantMap{{"key", "compositeName"}, {"ascending", true}}},
                             {"photo", binary}};
    const QVariantMap markerShaped{{"$data", "AAAA"}};
    const struct
    {
        const char *key;
        QVariant stored;
        QVariant readBack;
    } rows[] = {
        {"string", QStringLiteral("日本"), QStringLiteral("日本")},
        {"bool", true, true},
        {"integer", 42, qlonglong(42)},
        {"real", 2.5, 2.5},
        {"wholeReal", 12.0, qlonglong(12)},
        {"data", binary, binary},
        {"stringList", QStringList{"All"}, QVariantList{"All"}},
        {"emptyDictionary", QVariantMap(), QVariantMap()},
        {"nested", nested, nested},
        {"markerShaped", markerShaped, markerShaped},
    };
    UserDefaults writer(path());
    for (const auto &row : rows)
        writer.setObject(row.stored, row.key);
    const QVariantMap reread = this->reread();
    for (const auto &row : rows) {
        SCOPED_TRACE(row.key);
        EXPECT_EQ(reread.value(row.key), row.readBack);
        EXPECT_EQ(reread.value(row.key).typeId(), row.readBack.typeId());
        EXPECT_EQ(writer.objectForKey(row.key), row.readBack);
    }
}

TEST_F(UserDefaultsTest, GettersConvertOrFallBackLikeThePlatform)
{
    const struct
    {
        QVariant value; // invalid: the key is absent
        QString string; // null: no string
        bool boolean;
        qint64 integer;
        double real;
    } rows[] = {
        {QVariant(), QString(), false, 0, 0},
        {QStringLiteral("YES"), QStringLiteral("YES"), true, 0, 0},
        {QStringLiteral("no"), QStringLiteral("no"), false, 0, 0},
        {QStringLiteral("12"), QStringLiteral("12"), true, 12, 12},
        {2.7, QStringLiteral("2.7"), true, 2, 2.7},
        {true, QStringLiteral("1"), true, 1, 1},
        {QVariantList{1}, QString(), false, 0, 0},
    };
    UserDefaults defaults(path());
    for (const auto &row : rows) {
        SCOPED_TRACE(row.value.toString().toStdString());
        defaults.setObject(row.value, "key");
        EXPECT_EQ(defaults.objectForKey("key").isValid(), row.value.isValid());
        EXPECT_EQ(defaults.stringForKey("key"), row.string);
        EXPECT_EQ(defaults.stringForKey("key").isNull(), row.string.isNull());
        EXPECT_EQ(defaults.boolForKey("key"), row.boolean);
        EXPECT_EQ(defaults.integerForKey("key"), row.integer);
        EXPECT_DOUBLE_EQ(defaults.doubleForKey("key"), row.real);
        EXPECT_TRUE(defaults.dictionaryForKey("key").isEmpty());
        EXPECT_TRUE(defaults.dataForKey("key").isNull());
    }
    defaults.setDouble(1e300, "huge");
    EXPECT_TRUE(std::isinf(defaults.floatForKey("huge")));
    EXPECT_EQ(defaults.integerForKey("huge"), std::numeric_limits<qint64>::max());
}

TEST_F(UserDefaultsTest, RemovalsReachTheFile)
{
    UserDefaults defaults(path());
    defaults.setBool(true, "QN1DshowGroupView");
    defaults.setInteger(3, "QN1DiconRowCount");
    defaults.removeObjectForKey("QN1DiconRowCount");
    EXPECT_EQ(reread().keys(), QStringList{"QN1DshowGroupView"});
    defaults.removePersistentDomain();
    EXPECT_TRUE(reread().isEmpty());
    EXPECT_TRUE(defaults.dictionaryRepresentation().isEmpty());
}

TEST_F(UserDefaultsTest, RefusesValuesThatAreNoPropertyList)
{
    LogCapture log;
    UserDefaults defaults(path());
    defaults.setObject(QStringLiteral("kept"), "key");
    defaults.setObject(QVariantList{1, QDateTime::currentDateTime()}, "key");
    defaults.setDouble(std::nan(""), "key");
    EXPECT_EQ(reread().value("key"), "kept");
    EXPECT_EQ(log.lines().size(), 2);
}

TEST_F(UserDefaultsTest, CorruptFileReadsEmptyAndSurvivesUntilTheNextWrite)
{
    LogCapture log;
    const QByteArray corrupt = "{\"QN1DshowGroupView\": tru";
    writeFile(path(), corrupt);
    UserDefaults defaults(path());
    EXPECT_TRUE(defaults.dictionaryRepresentation().isEmpty());
    EXPECT_TRUE(log.contains("is not a defaults file"));
    EXPECT_TRUE(defaults.synchronize());
    EXPECT_EQ(readFile(path()), corrupt);

    defaults.setBool(false, "QN1DlastEditState");
    EXPECT_EQ(reread().keys(), QStringList{"QN1DlastEditState"});
    EXPECT_EQ(readFile(path() + ".unreadable"), corrupt);
}

TEST_F(UserDefaultsTest, FailedWriteIsReportedAndKeptInMemory)
{
    LogCapture log;
    writeFile(m_dir.filePath("blocker"), "a file where a folder should be");
    UserDefaults defaults(m_dir.filePath("blocker/UserDefaults.json"));
    defaults.setInteger(7, "QN1DiconRowCount");
    EXPECT_EQ(defaults.integerForKey("QN1DiconRowCount"), 7);
    EXPECT_FALSE(defaults.synchronize());
    EXPECT_TRUE(log.contains("can't write"));
}

// A disk that fills up part way through a write: the old file stays whole, and the value is
// written once there is room.
TEST_F(UserDefaultsTest, AFullDiskKeepsTheOldFileUntilThereIsRoom)
{
    LogCapture log;
    UserDefaults defaults(path());
    defaults.setObject(QString(2000, 'a'), "QN1DlastSortDesc");
    const QByteArray before = readFile(path());
    FileWriter::setSpaceLeftForTesting(100);
    defaults.setObject(QString(4000, 'b'), "QN1DlastSortDesc");
    EXPECT_FALSE(defaults.synchronize());
    FileWriter::setSpaceLeftForTesting(std::nullopt);
    EXPECT_EQ(readFile(path()), before);
    EXPECT_TRUE(log.contains("the disk is full"));

    EXPECT_TRUE(defaults.synchronize());
    EXPECT_EQ(reread().value("QN1DlastSortDesc"), QString(4000, 'b'));
}

TEST_F(UserDefaultsTest, ConcurrentWritersLoseNothing)
{
    constexpr int threadCount = 8;
    constexpr int keysPerThread = 40;
    UserDefaults defaults(path());
    std::vector<std::thread> threads;
    for (int t = 0; t < threadCount; ++t) {
        threads.emplace_back([&defaults, t] {
            for (int i = 0; i < keysPerThread; ++i) {
                const QString key = QStringLiteral("t%1.k%2").arg(t).arg(i);
                defaults.setObject(QVariantMap{{"thread", t}, {"index", i}}, key);
                defaults.setInteger(i, QStringLiteral("shared"));
                (void)defaults.dictionaryRepresentation();
            }
        });
    }
    for (std::thread &thread : threads)
        thread.join();

    const QVariantMap stored = reread();
    EXPECT_EQ(stored.size(), threadCount * keysPerThread + 1);
    for (int t = 0; t < threadCount; ++t) {
        for (int i = 0; i < keysPerThread; ++i) {
            const QVariantMap value = stored.value(QStringLiteral("t%1.k%2").arg(t).arg(i)).toMap();
            ASSERT_EQ(value, (QVariantMap{{"thread", qlonglong(t)}, {"index", qlonglong(i)}}));
        }
    }
}
