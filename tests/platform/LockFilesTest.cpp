#include "platform/LockFiles.h"

#include <QDateTime>
#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// An empty lock file, as a program killed between making its lock and writing it leaves it, names
// no live program and is taken over; a lock a live program holds is not.
TEST(LockFiles, AnEmptyLockIsTakenOverAndAHeldOneStays)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("journal.json.lock"));
    {
        QFile left(path);
        ASSERT_TRUE(left.open(QIODevice::WriteOnly));
        ASSERT_TRUE(
            left.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime));
    }
    QLockFile taken(path);
    taken.setStaleLockTime(0);
    ASSERT_TRUE(LockFiles::tryLock(taken, 0));

    QLockFile other(path);
    other.setStaleLockTime(0);
    EXPECT_FALSE(LockFiles::tryLock(other, 0));
    EXPECT_EQ(other.error(), QLockFile::LockFailedError);
}
