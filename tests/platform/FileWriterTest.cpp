#include "platform/FileWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class FileWriterTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(old);
    }
    void TearDown() override { FileWriter::setSpaceLeftForTesting(std::nullopt); }

    QString path() const { return m_folder.filePath(QStringLiteral("values.json")); }
    // Only the file itself: no temporary file is left beside it.
    QStringList files() const { return QDir(m_folder.path()).entryList(QDir::Files); }

    const QByteArray old = QByteArray("{\"old\": true}");
    const QByteArray bigger = QByteArray(100 * 1024, 'n');

private:
    QTemporaryDir m_folder;
};

} // namespace

TEST_F(FileWriterTest, ADiskFullPartWayLeavesTheOldFileAndSaysSo)
{
    for (const qint64 room : {qint64(0), qint64(4096), qint64(100 * 1024 - 1)}) {
        FileWriter::setSpaceLeftForTesting(room);
        const StoreStatus written = FileWriter::write(path(), bigger);
        EXPECT_EQ(written.error, "the disk is full") << room;
        EXPECT_EQ(contents(path()), old) << room;
        EXPECT_EQ(files(), QStringList{"values.json"}) << room;
    }
    FileWriter::setSpaceLeftForTesting(100 * 1024);
    EXPECT_TRUE(FileWriter::write(path(), bigger).ok());
    EXPECT_EQ(contents(path()), bigger);
}

// The system itself cuts the write short, as a disk that fills up does: the write takes part of the
// bytes without an error, which a single unchecked write would have let through.
TEST_F(FileWriterTest, AWriteTheSystemCutsShortLeavesTheOldFile)
{
    rlimit before{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
    rlimit limited = before;
    limited.rlim_cur = 16 * 1024;
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    const StoreStatus written = FileWriter::write(path(), bigger);
    ::setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(written.ok());
    EXPECT_EQ(contents(path()), old);
    EXPECT_EQ(files(), QStringList{"values.json"});
}
