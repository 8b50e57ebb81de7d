#include "platform/LockFiles.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLockFile>
#include <QThread>

namespace {

// A live program writes its lock's contents right after making the file.
constexpr qint64 WritingTime = 1000;

// QLockFile takes over a lock naming a process that is gone by itself, but not one naming none.
bool namesNoProcess(const QLockFile &lock)
{
    qint64 pid = 0;
    QString host;
    QString application;
    if (lock.getLockInfo(&pid, &host, &application))
        return false;
    const QFileInfo file(lock.fileName());
    if (!file.exists())
        return false;
    const qint64 age = file.lastModified().msecsTo(QDateTime::currentDateTime());
    if (age >= 0 && age < WritingTime) {
        QThread::msleep(static_cast<unsigned long>(WritingTime - age));
        return !lock.getLockInfo(&pid, &host, &application);
    }
    return true;
}

} // namespace

bool LockFiles::tryLock(QLockFile &lock, int timeoutMs)
{
    if (lock.tryLock(0))
        return true;
    if (lock.error() == QLockFile::LockFailedError && namesNoProcess(lock) && lock.removeStaleLockFile() &&
        lock.tryLock(0))
        return true;
    return timeoutMs > 0 && lock.tryLock(timeoutMs);
}
