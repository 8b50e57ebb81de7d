#include "addressbook/PendingCloudWrites.h"

#include "platform/CloudKeyValueStore.h"
#include "platform/ContactStore.h"
#include "platform/FileWriter.h"
#include "platform/LockFiles.h"
#include "platform/Log.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QStorageInfo>

namespace {

const QString JournalSuffix = QStringLiteral(".json");
const QString KeyKey = QStringLiteral("key");
const QString ValueKey = QStringLiteral("value");
const QString ItemsKey = QStringLiteral("items");
const QString RemovesEmptiedKey = QStringLiteral("removesEmptied");

QJsonObject journalEntry(const PendingCloudWrites::Write &write)
{
    QJsonObject entry{{KeyKey, write.key}};
    if (write.items) {
        QJsonObject items;
        for (auto it = write.items->cbegin(); it != write.items->cend(); ++it)
            items.insert(it.key(), it.value() ? QJsonValue::fromVariant(*it.value()) : QJsonValue());
        entry.insert(ItemsKey, items);
        if (write.removesEmptiedEntry)
            entry.insert(RemovesEmptiedKey, true);
    } else if (write.value) {
        entry.insert(ValueKey, QJsonValue::fromVariant(*write.value));
    }
    return entry;
}

QByteArray journalData(const QList<PendingCloudWrites::Write> &writes)
{
    QJsonArray entries;
    for (const PendingCloudWrites::Write &write : writes)
        entries.append(journalEntry(write));
    return QJsonDocument(entries).toJson(QJsonDocument::Compact);
}

// An entry without value or items removes its key; a null item removes that item.
PendingCloudWrites::Write writeOfEntry(const QJsonObject &entry)
{
    using Write = PendingCloudWrites::Write;
    const QString key = entry.value(KeyKey).toString();
    if (entry.value(ItemsKey).isObject()) {
        const QJsonObject items = entry.value(ItemsKey).toObject();
        CloudKeyValueStore::ItemChanges changes;
        for (auto it = items.constBegin(); it != items.constEnd(); ++it)
            changes.insert(it.key(), it->isNull() ? std::nullopt : std::optional(it->toVariant()));
        Write write = Write::ofItems(key, changes);
        write.removesEmptiedEntry = entry.value(RemovesEmptiedKey).toBool();
        return write;
    }
    return entry.contains(ValueKey) ? Write::set(key, entry.value(ValueKey).toVariant())
                                    : Write::removal(key);
}

// nullopt when the file cannot be read or is not a journal.
std::optional<QList<PendingCloudWrites::Write>> readJournal(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll());
    if (!document.isArray())
        return std::nullopt;
    QList<PendingCloudWrites::Write> writes;
    for (const QJsonValue &value : document.array()) {
        const PendingCloudWrites::Write write = writeOfEntry(value.toObject());
        if (!write.key.isEmpty())
            writes.append(write);
    }
    return writes;
}

// The entries in the cloud file; the reason when they could not be written.
StoreStatus applyWrites(const QList<PendingCloudWrites::Write> &writes, CloudKeyValueStore &cloud)
{
    cloud.apply(writes);
    if (cloud.synchronize())
        return storeSuccess();
    return StoreStatus::failure(cloud.lastWriteError());
}

// Why a lock could not be taken: its own error says whether another save holds it; a full disk
// is the usual reason a free lock cannot be made.
QString lockFailure(const QLockFile &lock, const QString &folder)
{
    if (lock.error() == QLockFile::LockFailedError)
        return QStringLiteral("another save is using it");
    constexpr qint64 AlmostNothing = 64 * 1024;
    const QStorageInfo volume(folder);
    if (volume.isValid() && volume.bytesAvailable() < AlmostNothing)
        return QStringLiteral("the disk is full");
    if (lock.error() == QLockFile::PermissionError)
        return QStringLiteral("the folder cannot be written");
    return QStringLiteral("its lock file cannot be made");
}

std::unique_ptr<QLockFile> lockFor(const QString &journalPath)
{
    auto lock = std::make_unique<QLockFile>(journalPath + QStringLiteral(".lock"));
    // Held only while a save runs: a lock is stale when its program is gone, however young.
    lock->setStaleLockTime(0);
    return lock;
}

bool tryLock(QLockFile &lock)
{
    return LockFiles::tryLock(lock, 0);
}

StoreStatus notSaved(const QString &cloudPath, const QString &reason)
{
    return StoreStatus::failure(
        QStringLiteral("The custom values could not be saved in %1: %2.").arg(cloudPath, reason));
}

} // namespace

PendingCloudWrites::PendingCloudWrites(CloudKeyValueStore &cloud) : m_cloud(cloud) {}

PendingCloudWrites::~PendingCloudWrites() = default;

QString PendingCloudWrites::folderPath() const
{
    return m_cloud.filePath() + QStringLiteral(".pending");
}

QString PendingCloudWrites::journalPath(const QString &token) const
{
    return folderPath() + QLatin1Char('/') + token + JournalSuffix;
}

StoreStatus PendingCloudWrites::record(const QString &token, const QList<Write> &writes)
{
    release();
    const QString path = journalPath(token);
    const auto failure = [&path](const QString &reason) {
        return StoreStatus::failure(
            QStringLiteral("The custom values could not be prepared for saving in %1: %2.")
                .arg(path, reason));
    };
    if (!token.isEmpty()) {
        if (!QDir().mkpath(folderPath()))
            return failure(QStringLiteral("the folder cannot be made"));
        std::unique_ptr<QLockFile> lock = lockFor(path);
        if (!tryLock(*lock))
            return failure(lockFailure(*lock, folderPath()));
        if (StoreStatus written = FileWriter::write(path, journalData(writes)); !written.ok())
            return failure(written.error);
        m_token = token;
        m_lock = std::move(lock);
    }
    StoreResult<std::unique_ptr<CloudKeyValueStore::PreparedWrite>> prepared = m_cloud.prepareWrite(writes);
    if (!prepared.ok()) {
        discard();
        return notSaved(m_cloud.filePath(), prepared.error);
    }
    m_prepared = std::move(prepared.value);
    return storeSuccess();
}

StoreStatus PendingCloudWrites::finish()
{
    const StoreStatus committed = m_prepared ? m_prepared->commit() : storeSuccess();
    m_prepared.reset();
    const QString token = m_token;
    // Gone while its lock is held, so no other program finishes it once more.
    if (committed.ok() && !token.isEmpty())
        QFile::remove(journalPath(token));
    release();
    if (committed.ok())
        return committed;
    if (token.isEmpty())
        return notSaved(m_cloud.filePath(), committed.error);
    Log::write(QStringLiteral("PendingCloudWrites: ERROR the custom values of save %1 wait in %2")
                   .arg(token, journalPath(token)));
    return StoreStatus::failure(
        QStringLiteral("The custom values could not be put in place in %1: %2. The rest "
                       "was saved; the custom values follow at the next save or start.")
            .arg(m_cloud.filePath(), committed.error));
}

void PendingCloudWrites::discard()
{
    m_prepared.reset();
    if (!m_token.isEmpty())
        QFile::remove(journalPath(m_token));
    release();
}

// A save killed before its journal was written leaves only the lock; a lock no live program holds
// is taken over here and removed with it.
void PendingCloudWrites::removeStaleLocks()
{
    const QString lockSuffix = JournalSuffix + QStringLiteral(".lock");
    const QStringList locks = QDir(folderPath()).entryList({QLatin1Char('*') + lockSuffix}, QDir::Files);
    for (const QString &name : locks) {
        const QString journal = journalPath(name.chopped(lockSuffix.size()));
        if (QFileInfo::exists(journal))
            continue;
        if (tryLock(*lockFor(journal)))
            Log::write(QStringLiteral("PendingCloudWrites: removed the stale lock %1.lock").arg(journal));
    }
}

void PendingCloudWrites::release()
{
    m_lock.reset();
    m_token.clear();
}

StoreResult<QStringList> PendingCloudWrites::finishPending(const ContactStore &store)
{
    using Result = StoreResult<QStringList>;
    const StoreResult<QStringList> tokens = store.commitTokens();
    if (!tokens.ok())
        return Result::success({}); // without the tokens nothing can be told apart
    QString error;
    const QStringList journals =
        QDir(folderPath()).entryList({QLatin1Char('*') + JournalSuffix}, QDir::Files, QDir::Name);
    for (const QString &name : journals) {
        const QString token = name.chopped(JournalSuffix.size());
        const QString path = journalPath(token);
        const std::unique_ptr<QLockFile> lock = lockFor(path);
        if (!tryLock(*lock))
            continue; // its save is under way
        if (!tokens.value.contains(token)) {
            Log::write(QStringLiteral("PendingCloudWrites: save %1 never reached the store").arg(token));
            QFile::remove(path);
            continue;
        }
        const std::optional<QList<Write>> writes = readJournal(path);
        if (!writes) {
            Log::write(QStringLiteral("PendingCloudWrites: ERROR can't read %1").arg(path));
            continue;
        }
        Log::write(QStringLiteral("PendingCloudWrites: finishing the custom values of save %1").arg(token));
        const StoreStatus applied = applyWrites(*writes, m_cloud);
        if (applied.ok())
            QFile::remove(path);
        else if (error.isEmpty())
            error = QStringLiteral("The custom values of an earlier save could not be written to %1: %2.")
                        .arg(m_cloud.filePath(), applied.error);
    }
    removeStaleLocks();
    if (!error.isEmpty())
        return Result::failure(error);
    // A token whose journal is gone belongs to a save that is complete; the journal of a save
    // under way is written before its token, so it is never taken for one.
    QStringList finished;
    for (const QString &token : tokens.value) {
        if (!QFileInfo::exists(journalPath(token)))
            finished.append(token);
    }
    return Result::success(finished);
}
