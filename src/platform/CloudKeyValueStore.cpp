#include "platform/CloudKeyValueStore.h"

#include "platform/Log.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QLockFile>
#include <QMap>
#include <QMutex>
#include <QSaveFile>
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

bool writeValues(const QString &path, const QJsonObject &values)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        Log::write(
            QStringLiteral("CloudKeyValueStore: ERROR can't write %1: %2").arg(path, file.errorString()));
        return false;
    }
    file.write(QJsonDocument(values).toJson(QJsonDocument::Indented));
    if (!file.commit()) {
        Log::write(
            QStringLiteral("CloudKeyValueStore: ERROR can't write %1: %2").arg(path, file.errorString()));
        return false;
    }
    return true;
}

} // namespace

// Shared with the flush posted to the event loop, which may run after the store is gone.
struct CloudKeyValueStore::State
{
    explicit State(const QString &filePath) : path(filePath) {}

    const QString path;
    QMutex mutex;
    // Kept as JSON, so that a write converts only the changed values.
    QJsonObject stored;                               // the file as last read or written
    std::optional<FileStamp> storedStamp;             // nullopt: not read yet
    QMap<QString, std::optional<QJsonValue>> pending; // this store's unwritten changes; nullopt removes
    bool flushScheduled = false;

    // All below run with mutex held.
    // False when the file exists but cannot be opened; it then reads as empty and is not written.
    bool refresh();
    QJsonObject values() const;
    QVariant value(const QString &key) const;
    bool flush();
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

QJsonObject CloudKeyValueStore::State::values() const
{
    QJsonObject result = stored;
    for (auto it = pending.cbegin(); it != pending.cend(); ++it) {
        if (it.value())
            result.insert(it.key(), *it.value());
        else
            result.remove(it.key());
    }
    return result;
}

QVariant CloudKeyValueStore::State::value(const QString &key) const
{
    const auto change = pending.constFind(key);
    if (change != pending.cend())
        return change.value() ? change.value()->toVariant() : QVariant();
    return stored.value(key).toVariant();
}

bool CloudKeyValueStore::State::flush()
{
    flushScheduled = false;
    if (pending.isEmpty())
        return true;
    QDir().mkpath(QFileInfo(path).absolutePath());
    // Another program may write between our read and our write; the lock file keeps that out.
    QLockFile lock(path + QStringLiteral(".lock"));
    const bool locked = lock.tryLock(LockTimeoutMs);
    if (!locked)
        Log::write(QStringLiteral("CloudKeyValueStore: ERROR can't lock %1, writing anyway").arg(path));
    if (!refresh())
        return false;
    const QJsonObject merged = values();
    if (!writeValues(path, merged))
        return false;
    stored = merged;
    pending.clear();
    // Without the lock another writer may already have replaced our file: read it again next time.
    storedStamp = locked ? std::optional<FileStamp>(stampOf(path)) : std::nullopt;
    return true;
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
    if (!value.isValid()) {
        removeObjectForKey(key);
        return;
    }
    const QJsonValue json = QJsonValue::fromVariant(value);
    if (json.isNull() || json.isUndefined()) {
        Log::write(QStringLiteral("CloudKeyValueStore: ERROR can't store a %1 under %2")
                       .arg(QString::fromLatin1(value.typeName()), key));
        return;
    }
    QMutexLocker lock(&m_state->mutex);
    // Kept as it will read back from the file, so reads before and after the write agree.
    m_state->pending.insert(key, json);
    scheduleFlush();
}

void CloudKeyValueStore::removeObjectForKey(const QString &key)
{
    QMutexLocker lock(&m_state->mutex);
    m_state->pending.insert(key, std::nullopt);
    scheduleFlush();
}

bool CloudKeyValueStore::synchronize()
{
    QMutexLocker lock(&m_state->mutex);
    const bool written = m_state->flush();
    m_state->refresh();
    return written;
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
