#include "platform/FileWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QMutex>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {

const QString DiskFull = QStringLiteral("the disk is full");

// Bytes the test's disk still takes; negative: no limit.
std::atomic<qint64> g_spaceLeft{-1};
QMutex g_failingCommitMutex;
std::optional<QString> g_failingCommit;

bool commitFails(const QString &path)
{
    QMutexLocker lock(&g_failingCommitMutex);
    return g_failingCommit == path;
}

// How much of a write of that size the disk takes.
qint64 roomFor(qint64 wanted)
{
    qint64 left = g_spaceLeft.load();
    while (left >= 0) {
        const qint64 granted = qMin(wanted, left);
        if (g_spaceLeft.compare_exchange_weak(left, left - granted))
            return granted;
    }
    return wanted;
}

bool isDiskFull(int error)
{
    return error == ENOSPC || error == EDQUOT;
}

} // namespace

FileWriter::FileWriter(const QString &path) : m_file(path) {}

FileWriter::~FileWriter()
{
    if (m_file.isOpen())
        m_file.cancelWriting();
}

StoreStatus FileWriter::write(const QString &path, const QByteArray &data)
{
    FileWriter writer(path);
    if (StoreStatus prepared = writer.prepare(data); !prepared.ok())
        return prepared;
    return writer.commit();
}

void FileWriter::setSpaceLeftForTesting(std::optional<qint64> bytes)
{
    g_spaceLeft.store(bytes ? qMax<qint64>(*bytes, 0) : -1);
}

void FileWriter::setFailingCommitForTesting(const std::optional<QString> &path)
{
    QMutexLocker lock(&g_failingCommitMutex);
    g_failingCommit = path;
}

StoreStatus FileWriter::prepare(const QByteArray &data)
{
    m_prepared = false;
    QDir().mkpath(QFileInfo(m_file.fileName()).absolutePath());
    // Unbuffered: each write reaches the file at once, so a short one is seen where it happens.
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failure(m_file.errorString());
    if (StoreStatus written = writeAll(data); !written.ok())
        return written;
    if (::fsync(m_file.handle()) != 0)
        return failure(isDiskFull(errno) ? DiskFull : QString::fromLocal8Bit(std::strerror(errno)));
    m_prepared = true;
    return storeSuccess();
}

StoreStatus FileWriter::commit()
{
    if (!m_prepared)
        return StoreStatus::failure(QStringLiteral("nothing was written"));
    m_prepared = false;
    if (commitFails(m_file.fileName()))
        return failure(QStringLiteral("the file cannot be replaced"));
    if (!m_file.commit())
        return StoreStatus::failure(m_file.errorString());
    return storeSuccess();
}

// A write may take only part of the bytes without an error (the disk filled up meanwhile); the
// rest is written again, which then names the reason.
StoreStatus FileWriter::writeAll(const QByteArray &data)
{
    qint64 done = 0;
    while (done < data.size()) {
        const qint64 wanted = data.size() - done;
        const qint64 room = roomFor(wanted);
        const qint64 written = room > 0 ? m_file.write(data.constData() + done, room) : 0;
        if (written < 0 || (written == 0 && room > 0))
            return failure(m_file.error() == QFileDevice::ResourceError ? DiskFull : m_file.errorString());
        done += written;
        if (written == room && room < wanted)
            return failure(DiskFull); // the test's disk
    }
    return storeSuccess();
}

StoreStatus FileWriter::failure(const QString &reason)
{
    m_file.cancelWriting();
    m_file.commit(); // only removes the temporary file after cancelWriting
    return StoreStatus::failure(reason.isEmpty() ? QStringLiteral("the file cannot be written") : reason);
}
