#include "addressbook/PendingCloudWrites.h"

#include "platform/CloudKeyValueStore.h"
#include "platform/ContactStore.h"
#include "platform/Log.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QSaveFile>
#include <QStorageInfo>

namespace {

const QString JournalSuffix = QStringLiteral(".json");
const QString KeyKey = QStringLiteral("key");
const QString ValueKey = QStringLiteral("value");

QByteArray journalData(const QList<PendingCloudWrites::Write> &writes)
{
    QJsonArray entries;
    for (const PendingCloudWrites::Write &write : writes) {
        QJsonObject entry{{KeyKey, write.key}};
        if (write.value)
            entry.insert(ValueKey, QJsonObject::fromVariantMap(*write.value));
        entries.append(entry);
    }
    return QJsonDocument(entries).toJson(QJsonDocument::Compact);
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
        const QJsonObject entry = value.toObject();
        const QString key = entry.value(KeyKey).toString();
        if (key.isEmpty())
            continue;
        std::optional<QVariantMap> values;
        if (entry.value(ValueKey).isObject())
            values = entry.value(ValueKey).toObject().toVariantMap();
        writes.append({key, values});
    }
    return writes;
}

// True once the entries are in the cloud file.
bool applyWrites(const QList<PendingCloudWrites::Write> &writes, CloudKeyValueStore &cloud)
{
    for (const PendingCloudWrites::Write &write : writes) {
        if (write.value)
            cloud.setObject(*write.value, write.key);
        else
            cloud.removeObjectForKey(write.key);
    }
    return cloud.synchronize();
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
            QStringLiteral("The custom values could not be prepared for saving in %1: %2").arg(path, reason));
    };
    if (!QDir().mkpath(folderPath()))
        return failure(QStringLiteral("the folder cannot be made"));
    std::unique_ptr<QLockFile> lock = lockFor(path);
    if (!lock->tryLock(0))
        return failure(lockFailure(*lock, folderPath()));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failure(file.errorString());
    file.write(journalData(writes));
    if (!file.commit())
        return failure(file.errorString());
    m_token = token;
    m_lock = std::move(lock);
    return storeSuccess();
}

void PendingCloudWrites::finish(const QList<Write> &writes)
{
    if (applyWrites(writes, m_cloud) && !m_token.isEmpty())
        QFile::remove(journalPath(m_token));
    else if (!m_token.isEmpty())
        Log::write(QStringLiteral("PendingCloudWrites: ERROR the custom values of save %1 wait in %2")
                       .arg(m_token, journalPath(m_token)));
    release();
}

void PendingCloudWrites::discard()
{
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
        if (lockFor(journal)->tryLock(0))
            Log::write(QStringLiteral("PendingCloudWrites: removed the stale lock %1.lock").arg(journal));
    }
}

void PendingCloudWrites::release()
{
    m_lock.reset();
    m_token.clear();
}

QStringList PendingCloudWrites::finishPending(const ContactStore &store)
{
    const StoreResult<QStringList> tokens = store.commitTokens();
    if (!tokens.ok())
        return {}; // without the tokens nothing can be told apart
    const QStringList journals =
        QDir(folderPath()).entryList({QLatin1Char('*') + JournalSuffix}, QDir::Files, QDir::Name);
    for (const QString &name : journals) {
        const QString token = name.chopped(JournalSuffix.size());
        const QString path = journalPath(token);
        const std::unique_ptr<QLockFile> lock = lockFor(path);
        if (!lock->tryLock(0))
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
        if (applyWrites(*writes, m_cloud))
            QFile::remove(path);
    }
    removeStaleLocks();
    // A token whose journal is gone belongs to a save that is complete; the journal of a save
    // under way is written before its token, so it is never taken for one.
    QStringList finished;
    for (const QString &token : tokens.value) {
        if (!QFileInfo::exists(journalPath(token)))
            finished.append(token);
    }
    return finished;
}
