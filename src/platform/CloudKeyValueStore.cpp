#include "platform/CloudKeyValueStore.h"

#include "platform/FileWriter.h"
#include "platform/LockFiles.h"
#include "platform/Log.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QLockFile>
#include <QMap>
#include <QMutex>
#include <QStandardPaths>

#include <mutex>
#include <utility>
#include <sys/stat.h>

namespace {

constexpr int LockTimeoutMs = 5000;

// Identifies one version of the file: each atomic write makes a new inode with a new time.
struct FileStamp
{
    bool exists = false;
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 seconds = 0;
    qint64 nanoseconds = 0;

    bool operator==(const FileStamp &) const = default;
};

FileStamp stampOf(const QString &path)
{
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    return {true,
            static_cast<quint64>(info.st_dev),
            static_cast<quint64>(info.st_ino),
            static_cast<qint64>(info.st_size),
            static_cast<qint64>(info.st_mtim.tv_sec),
            static_cast<qint64>(info.st_mtim.tv_nsec)};
}

// nullopt when the file cannot be opened (maybe for the moment only).
std::optional<QByteArray> readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Log::write(
            QStringLiteral("CloudKeyValueStore: ERROR can't read %1: %2").arg(path, file.errorString()));
        return std::nullopt;
    }
    return file.readAll();
}

// nullopt when the text is not a JSON object.
std::optional<QJsonObject> parseValues(const QString &path, const QByteArray &data)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(data, &error);
    if (error.error != QJsonParseError::NoError) {
        Log::write(QStringLiteral("CloudKeyValueStore: ERROR can't parse %1 at %2: %3")
                       .arg(path)
                       .arg(error.offset)
                       .arg(error.errorString()));
        return std::nullopt;
    }
    if (!document.isObject()) {
        Log::write(QStringLiteral("CloudKeyValueStore: ERROR %1 is not a JSON object").arg(path));
        return std::nullopt;
    }
    return document.object();
}

struct KeptAside
{
    QMutex mutex;
    QStringList paths;
};

KeptAside &keptAside()
{
    static KeptAside kept;
    return kept;
}

// Moves a file that could not be read out of the way, so that the next write does not replace it.
void keepAside(const QString &path, const FileStamp &stamp)
{
    if (stampOf(path) != stamp)
        return; // replaced meanwhile by a writer, so it is no longer the broken one
    QString aside = path + QStringLiteral(".corrupt");
    for (int n = 1; QFileInfo::exists(aside); ++n)
        aside = path + QStringLiteral(".corrupt.%1").arg(n);
    if (QFile::rename(path, aside)) {
        Log::write(QStringLiteral("CloudKeyValueStore: kept the unreadable file as %1").arg(aside));
        QMutexLocker lock(&keptAside().mutex);
        keptAside().paths.append(aside);
    }
    else
        Log::write(QStringLiteral("CloudKeyValueStore: ERROR can't move %1 aside").arg(path));
}

QByteArray fileData(const QJsonObject &values)
{
    return QJsonDocument(values).toJson(QJsonDocument::Indented);
}

void logWriteFailure(const QString &path, const QString &reason)
{
    Log::write(QStringLiteral("CloudKeyValueStore: ERROR can't write %1: %2").arg(path, reason));
}

// JSON for a value; nullopt, logged, for one that JSON cannot hold.
std::optional<QJsonValue> jsonOf(const QVariant &value, const QString &key)
{
    const QJsonValue json = QJsonValue::fromVariant(value);
    if (!json.isNull() && !json.isUndefined())
        return json;
    Log::write(QStringLiteral("CloudKeyValueStore: ERROR can't store a %1 under %2")
                   .arg(QString::fromLatin1(value.typeName()), key));
    return std::nullopt;
}

// One element of a list entry put (the element) or removed (nullopt), known by its identity.
struct ElementChange
{
    QJsonObject identity;
    std::optional<QJsonValue> element;
};

bool hasIdentity(const QJsonValue &element, const QJsonObject &identity)
{
    const QJsonObject object = element.toObject();
    for (auto it = identity.constBegin(); it != identity.constEnd(); ++it) {
        if (object.value(it.key()) != it.value())
            return false;
    }
    return true;
}

// A put takes the place of the first element of its identity; others of that identity go.
QJsonArray withElements(QJsonArray list, const QList<ElementChange> &changes)
{
    for (const ElementChange &change : changes) {
        QJsonArray kept;
        bool placed = false;
        for (const QJsonValue &element : std::as_const(list)) {
            if (!hasIdentity(element, change.identity)) {
                kept.append(element);
            } else if (change.element && !placed) {
                kept.append(*change.element);
                placed = true;
            }
        }
        if (change.element && !placed)
            kept.append(*change.element);
        list = kept;
    }
    return list;
}

// What a store has yet to write of one entry: a new whole value (undefined removes the entry), then
// items of the dictionary set or removed (nullopt), or elements of the list put or removed.
struct PendingChange
{
    bool replaces = false;
    QJsonValue value = QJsonValue::Undefined;
    QMap<QString, std::optional<QJsonValue>> items;
    bool removesEmptiedEntry = false;
    QList<ElementChange> elements;

    // The entry as this change leaves it; undefined when removed.
    QJsonValue appliedTo(const QJsonValue &current) const
    {
        const QJsonValue base = replaces ? value : current;
        if (!elements.isEmpty())
            return withElements(base.toArray(), elements);
        if (items.isEmpty())
            return base;
        QJsonObject entry = base.toObject();
        for (auto it = items.cbegin(); it != items.cend(); ++it) {
            if (it.value())
                entry.insert(it.key(), *it.value());
            else
                entry.remove(it.key());
        }
        if (entry.isEmpty() && removesEmptiedEntry)
            return QJsonValue::Undefined;
        return entry;
    }
};

using PendingChanges = QMap<QString, PendingChange>;

std::optional<PendingChange> pendingElementsOf(const QString &key,
                                               const CloudKeyValueStore::ElementChanges &elements)
{
    PendingChange pending;
    const auto add = [&](const QVariant &element, bool puts) {
        const std::optional<QJsonValue> json = jsonOf(element, key);
        if (!json)
            return false;
        QJsonObject identity;
        for (const QString &name : elements.identity)
            identity.insert(name, json->toObject().value(name));
        pending.elements.append({identity, puts ? json : std::nullopt});
        return true;
    };
    for (const QVariant &element : elements.removed) {
        if (!add(element, false))
            return std::nullopt;
    }
    for (const QVariant &element : elements.put) {
        if (!add(element, true))
            return std::nullopt;
    }
    return pending;
}

// The change as the store keeps it; nullopt when a value cannot be stored.
std::optional<PendingChange> pendingChangeOf(const CloudKeyValueStore::Change &change)
{
    if (change.elements)
        return pendingElementsOf(change.key, *change.elements);
    PendingChange pending;
    if (!change.items) {
        pending.replaces = true;
        if (change.value && change.value->isValid()) {
            const std::optional<QJsonValue> json = jsonOf(*change.value, change.key);
            if (!json)
                return std::nullopt;
            pending.value = *json;
        }
        return pending;
    }
    for (auto it = change.items->cbegin(); it != change.items->cend(); ++it) {
        std::optional<QJsonValue> json;
        if (it.value() && !(json = jsonOf(*it.value(), change.key)))
            return std::nullopt;
        pending.items.insert(it.key(), json);
    }
    pending.removesEmptiedEntry = change.removesEmptiedEntry;
    return pending;
}

// A later change of an entry on top of what is pending for it.
void addChange(PendingChanges &pending, const QString &key, const PendingChange &later)
{
    const auto earlier = pending.find(key);
    if (earlier == pending.end() || later.replaces) {
        pending.insert(key, later);
        return;
    }
    for (auto it = later.items.cbegin(); it != later.items.cend(); ++it)
        earlier->items.insert(it.key(), it.value());
    earlier->removesEmptiedEntry = earlier->removesEmptiedEntry || later.removesEmptiedEntry;
    earlier->elements += later.elements;
}

PendingChanges pendingChangesOf(const QList<CloudKeyValueStore::Change> &changes)
{
    PendingChanges pending;
    for (const CloudKeyValueStore::Change &change : changes) {
        if (const std::optional<PendingChange> kept = pendingChangeOf(change))
            addChange(pending, change.key, *kept);
    }
    return pending;
}

QJsonObject withChanges(QJsonObject values, const PendingChanges &pending)
{
    for (auto it = pending.cbegin(); it != pending.cend(); ++it) {
        const QJsonValue value = it->appliedTo(values.value(it.key()));
        if (value.isUndefined())
            values.remove(it.key());
        else
            values.insert(it.key(), value);
    }
    return values;
}

} // namespace

// Shared with the flush posted to the event loop, which may run after the store is gone.
struct CloudKeyValueStore::State
{
    explicit State(const QString &filePath) : path(filePath) {}

    const QString path;
    QMutex mutex;
    // Kept as JSON, so that a write converts only the changed values.
    QJsonObject stored;                   // the file as last read or written
    std::optional<FileStamp> storedStamp; // nullopt: not read yet
    PendingChanges pending;               // this store's unwritten changes
    quint64 pendingVersion = 0;           // moves on with every change of pending
    bool flushScheduled = false;
    QString writeError;
    // The file as this store last wrote it or looked for others' changes; nullopt until the first look.
    std::optional<FileStamp> knownStamp;
    bool changedByOthers = false;

    // All below run with mutex held.
    // False when the file exists but cannot be opened; it then reads as empty and is not written.
    bool refresh();
    QJsonObject values() const { return withChanges(stored, pending); }
    QVariant value(const QString &key) const;
    void addChanges(const PendingChanges &changes);
    bool flush();
    StoreResult<std::unique_ptr<PreparedWrite::Parts>> prepare(const PendingChanges &changes);
    StoreStatus commit(PreparedWrite::Parts &parts);
    StoreStatus failedWrite(const QString &reason);
};

// The file locked, read and written beside itself with the changes; the lock is held until the
// parts go.
struct CloudKeyValueStore::PreparedWrite::Parts
{
    explicit Parts(const QString &path) : lock(path + QStringLiteral(".lock")), writer(path) {}

    // Set once the parts leave the store; the flush's own parts need none.
    std::shared_ptr<State> state;
    QLockFile lock;
    bool locked = false;
    FileWriter writer;
    QJsonObject merged;
    // Written on top of the pending changes; pending again when the commit fails.
    PendingChanges changes;
    quint64 pendingVersion = 0;
};

bool CloudKeyValueStore::State::refresh()
{
    const FileStamp stamp = stampOf(path);
    if (storedStamp == stamp)
        return true;
    storedStamp = stamp;
    stored = QJsonObject();
    if (!stamp.exists)
        return true;
    const std::optional<QByteArray> data = readFile(path);
    if (!data) {
        storedStamp.reset(); // try again on the next read
        return false;
    }
    if (std::optional<QJsonObject> values = parseValues(path, *data)) {
        stored = std::move(*values);
        return true;
    }
    keepAside(path, stamp);
    storedStamp = stampOf(path);
    return true;
}

QVariant CloudKeyValueStore::State::value(const QString &key) const
{
    const auto change = pending.constFind(key);
    if (change != pending.cend())
        return change->appliedTo(stored.value(key)).toVariant();
    return stored.value(key).toVariant();
}

void CloudKeyValueStore::State::addChanges(const PendingChanges &changes)
{
    for (auto it = changes.cbegin(); it != changes.cend(); ++it)
        addChange(pending, it.key(), it.value());
    ++pendingVersion;
}

bool CloudKeyValueStore::State::flush()
{
    flushScheduled = false;
    if (pending.isEmpty())
        return true;
    StoreResult<std::unique_ptr<PreparedWrite::Parts>> prepared = prepare({});
    return prepared.ok() && commit(*prepared.value).ok();
}

StoreResult<std::unique_ptr<CloudKeyValueStore::PreparedWrite::Parts>>
CloudKeyValueStore::State::prepare(const PendingChanges &changes)
{
    using Result = StoreResult<std::unique_ptr<PreparedWrite::Parts>>;
    auto parts = std::make_unique<PreparedWrite::Parts>(path);
    // Another program may write between our read and our write; the lock file keeps that out.
    QDir().mkpath(QFileInfo(path).absolutePath());
    parts->locked = LockFiles::tryLock(parts->lock, LockTimeoutMs);
    if (!parts->locked)
        Log::write(QStringLiteral("CloudKeyValueStore: ERROR can't lock %1, writing anyway").arg(path));
    if (!refresh())
        return Result::failure(failedWrite(QStringLiteral("it cannot be read")).error);
    if (knownStamp && stampOf(path) != *knownStamp)
        changedByOthers = true;
    parts->merged = withChanges(values(), changes);
    parts->changes = changes;
    parts->pendingVersion = pendingVersion;
    if (StoreStatus written = parts->writer.prepare(fileData(parts->merged)); !written.ok())
        return Result::failure(failedWrite(written.error).error);
    return Result::success(std::move(parts));
}

StoreStatus CloudKeyValueStore::State::commit(PreparedWrite::Parts &parts)
{
    if (StoreStatus committed = parts.writer.commit(); !committed.ok()) {
        addChanges(parts.changes);
        return failedWrite(committed.error);
    }
    writeError.clear();
    stored = parts.merged;
    // Changes made since the write was prepared stay pending, and are written again on top.
    if (pendingVersion == parts.pendingVersion)
        pending.clear();
    const FileStamp written = stampOf(path);
    if (knownStamp)
        knownStamp = written;
    // Without the lock another writer may already have replaced our file: read it again next time.
    storedStamp = parts.locked ? std::optional<FileStamp>(written) : std::nullopt;
    return storeSuccess();
}

StoreStatus CloudKeyValueStore::State::failedWrite(const QString &reason)
{
    writeError = reason;
    logWriteFailure(path, reason);
    return StoreStatus::failure(reason);
}

CloudKeyValueStore::CloudKeyValueStore() : CloudKeyValueStore(defaultFilePath()) {}

CloudKeyValueStore::CloudKeyValueStore(const QString &filePath) : m_state(std::make_shared<State>(filePath))
{
}

CloudKeyValueStore::~CloudKeyValueStore()
{
    QMutexLocker lock(&m_state->mutex);
    m_state->flush();
}

CloudKeyValueStore &CloudKeyValueStore::defaultStore()
{
    static CloudKeyValueStore store;
    static std::once_flag once;
    // Posted flushes are dropped when the application ends, and the store outlives it.
    std::call_once(once, [] { qAddPostRoutine([] { defaultStore().synchronize(); }); });
    return store;
}

QString CloudKeyValueStore::defaultFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/ContactsTable/CloudKeyValueStore.json");
}

QString CloudKeyValueStore::documentsPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/ContactsTable/Documents");
}

QStringList CloudKeyValueStore::takeKeptAsideFiles()
{
    QMutexLocker lock(&keptAside().mutex);
    return std::exchange(keptAside().paths, {});
}

QString CloudKeyValueStore::filePath() const
{
    return m_state->path;
}

QVariant CloudKeyValueStore::objectForKey(const QString &key) const
{
    QMutexLocker lock(&m_state->mutex);
    m_state->refresh();
    return m_state->value(key);
}

std::optional<QVariantMap> CloudKeyValueStore::dictionaryForKey(const QString &key) const
{
    const QVariant value = objectForKey(key);
    if (value.typeId() != QMetaType::QVariantMap)
        return std::nullopt;
    return value.toMap();
}

std::optional<QVariantList> CloudKeyValueStore::arrayForKey(const QString &key) const
{
    const QVariant value = objectForKey(key);
    if (value.typeId() != QMetaType::QVariantList)
        return std::nullopt;
    return value.toList();
}

std::optional<QString> CloudKeyValueStore::stringForKey(const QString &key) const
{
    const QVariant value = objectForKey(key);
    if (value.typeId() != QMetaType::QString)
        return std::nullopt;
    return value.toString();
}

QVariantMap CloudKeyValueStore::dictionaryRepresentation() const
{
    QMutexLocker lock(&m_state->mutex);
    m_state->refresh();
    return m_state->values().toVariantMap();
}

void CloudKeyValueStore::setObject(const QVariant &value, const QString &key)
{
    if (!value.isValid())
        removeObjectForKey(key);
    else
        apply({Change::set(key, value)});
}

void CloudKeyValueStore::removeObjectForKey(const QString &key)
{
    apply({Change::removal(key)});
}

void CloudKeyValueStore::apply(const QList<Change> &changes)
{
    // Kept as they will read back from the file, so reads before and after the write agree.
    const PendingChanges pending = pendingChangesOf(changes);
    if (pending.isEmpty())
        return;
    QMutexLocker lock(&m_state->mutex);
    m_state->addChanges(pending);
    scheduleFlush();
}

bool CloudKeyValueStore::synchronize()
{
    QMutexLocker lock(&m_state->mutex);
    const bool written = m_state->flush();
    m_state->refresh();
    return written;
}

QString CloudKeyValueStore::lastWriteError() const
{
    QMutexLocker lock(&m_state->mutex);
    return m_state->writeError;
}

StoreResult<std::unique_ptr<CloudKeyValueStore::PreparedWrite>>
CloudKeyValueStore::prepareWrite(const QList<Change> &changes)
{
    using Result = StoreResult<std::unique_ptr<PreparedWrite>>;
    QMutexLocker lock(&m_state->mutex);
    StoreResult<std::unique_ptr<PreparedWrite::Parts>> parts = m_state->prepare(pendingChangesOf(changes));
    if (!parts.ok())
        return Result::failure(parts.error);
    parts.value->state = m_state;
    return Result::success(std::unique_ptr<PreparedWrite>(new PreparedWrite(std::move(parts.value))));
}

bool CloudKeyValueStore::takeChangeByOthers()
{
    QMutexLocker lock(&m_state->mutex);
    const FileStamp now = stampOf(m_state->path);
    const bool changed = m_state->knownStamp && (m_state->changedByOthers || now != *m_state->knownStamp);
    m_state->knownStamp = now;
    m_state->changedByOthers = false;
    return changed;
}

CloudKeyValueStore::PreparedWrite::PreparedWrite(std::unique_ptr<Parts> parts) : m_parts(std::move(parts)) {}

CloudKeyValueStore::PreparedWrite::~PreparedWrite() = default;

StoreStatus CloudKeyValueStore::PreparedWrite::commit()
{
    if (!m_parts)
        return StoreStatus::failure(QStringLiteral("nothing was written"));
    const std::unique_ptr<Parts> parts = std::move(m_parts);
    QMutexLocker lock(&parts->state->mutex);
    return parts->state->commit(*parts);
}

void CloudKeyValueStore::scheduleFlush()
{
    if (m_state->flushScheduled)
        return;
    QCoreApplication *application = QCoreApplication::instance();
    if (!application) {
        m_state->flush();
        return;
    }
    m_state->flushScheduled = true;
    // One write per event-loop pass, however many keys a save changes.
    QMetaObject::invokeMethod(
        application,
        [weak = std::weak_ptr<State>(m_state)] {
            if (const std::shared_ptr<State> state = weak.lock()) {
                QMutexLocker lock(&state->mutex);
                if (state->flushScheduled)
                    state->flush();
            }
        },
        Qt::QueuedConnection);
}
