#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>

#include <memory>
#include <optional>

// The cloud key-value store: keys to JSON values (string, number, bool, list, map) in one JSON file
// beside the contacts store, shared by every edition.
//
// Changes go to memory at once and reach the file at the next pass of the application's event
// loop, on synchronize() or when the store is destroyed, whichever comes first. Reads see this
// store's own changes at once and another process's writes as soon as the file has changed. A
// write re-reads the file first, under a lock file, and replaces only the keys this store changed,
// so two programs sharing the file never put back each other's stale values.
// A file that is not a JSON object counts as empty and is renamed to "<file>.corrupt" so that the
// next write does not destroy it; one that cannot be opened counts as empty and is not written over
// until it can be read again. Every method is safe to call from any thread.
class CloudKeyValueStore
{
public:
    // At defaultFilePath().
    CloudKeyValueStore();
    explicit CloudKeyValueStore(const QString &filePath);
    ~CloudKeyValueStore();
    CloudKeyValueStore(const CloudKeyValueStore &) = delete;
    CloudKeyValueStore &operator=(const CloudKeyValueStore &) = delete;

    // The process-wide store that the application uses, at defaultFilePath() as it is on first use.
    static CloudKeyValueStore &defaultStore();
    static QString defaultFilePath();
    // The cloud container's "Documents" folder (may not exist).
    static QString documentsPath();

    QString filePath() const;
    // The unreadable files moved aside since the last call, in any store of this process; the UI
    // tells the user once about each.
    static QStringList takeKeptAsideFiles();

    // An invalid QVariant when the key is absent.
    QVariant objectForKey(const QString &key) const;
    // nullopt when the key is absent or holds another type.
    std::optional<QVariantMap> dictionaryForKey(const QString &key) const;
    std::optional<QVariantList> arrayForKey(const QString &key) const;
    std::optional<QString> stringForKey(const QString &key) const;
    QVariantMap dictionaryRepresentation() const;

    // An invalid value removes the key; a value that JSON cannot hold is refused and logged.
    void setObject(const QVariant &value, const QString &key);
    void removeObjectForKey(const QString &key);

    // Writes pending changes and picks up the file's changes; false when the write failed (the
    // changes stay pending and are tried again).
    bool synchronize();

private:
    struct State;
    void scheduleFlush(); // with the state's mutex held

    std::shared_ptr<State> m_state;
};
