#include "platform/LockFiles.h"

#include <QDateTime>
#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A lock file that names no program: empty, as a program killed between making its lock and
// writing it leaves it, or unreadable.
class LeftLock : public ::testing::TestWithParam<QByteArray>
{
protected:
    QString path() const { return m_folder.filePath(QStringLiteral("journal.json.lock")); }
    void leave(const QDateTime &modified) const
    {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(GetParam());
        ASSERT_TRUE(file.setFileTime(modified, QFileDevice::FileModificationTime));
    }

private:
    QTemporaryDir m_folder;
};

} // namespace

TEST_P(LeftLock, NamesNoLiveProgramAndIsTakenOver)
{
    leave(QDateTime::currentDateTime().addSecs(-60));
    QLockFile lock(path());
    lock.setStaleLockTime(0);
    EXPECT_TRUE(LockFiles::tryLock(lock, 0));
}

// One just made may be a live program's that is writing it this moment: it is given that moment.
TEST_P(LeftLock, JustMadeIsTakenOverOnlyOnceItCouldHaveBeenWritten)
{
    leave(QDateTime::currentDateTime());
    QLockFile lock(path());
    lock.setStaleLockTime(0);
    const QDateTime before = QDateTime::currentDateTime();
    EXPECT_TRUE(LockFiles::tryLock(lock, 0));
    EXPECT_GE(before.msecsTo(QDateTime::currentDateTime()), 500);
}

INSTANTIATE_TEST_SUITE_P(Contents, LeftLock, ::testing::Values(QByteArray(), QByteArray("not a lock\n")),
                         [](const auto &info) { return info.param.isEmpty() ? "Empty" : "Unreadable"; });

TEST(LockFiles, ALockALiveProgramHoldsStays)
{
    QTemporaryDir folder;
    QLockFile held(folder.filePath(QStringLiteral("journal.json.lock")));
    ASSERT_TRUE(held.tryLock(0));
    QLockFile other(folder.filePath(QStringLiteral("journal.json.lock")));
    other.setStaleLockTime(0);
    EXPECT_FALSE(LockFiles::tryLock(other, 0));
    EXPECT_EQ(other.error(), QLockFile::LockFailedError);
}
