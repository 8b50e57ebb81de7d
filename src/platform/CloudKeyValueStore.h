#pragma once

#include "platform/StoreResult.h"

#include <QMap>
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
// A change may also name only some items of a dictionary entry, which then replace or remove just
// those items of the entry as the file holds it at the write, so a program's edit of one item never
// puts back its stale copy of the others. Likewise a change may name only some elements of a list
// entry, each known by the values it holds under a few keys.
// Every write is whole or not at all (FileWriter): a full disk leaves the old file, the changes stay
// pending, and lastWriteError() says why.
// A file that is not a JSON object counts as empty and is renamed to "<file>.corrupt" so that the
// next write does not destroy it; one that cannot be opened counts as empty and is not written over
// until it can be read again. Every method is safe to call from any thread.
class CloudKeyValueStore
{
public:
    // Items of a dictionary entry to set, or to remove (nullopt).
    using ItemChanges = QMap<QString, std::optional<QVariant>>;
    // Elements of a list entry, each known by its values under the identity keys: one put replaces
    // the element of its identity, or is appended when there is none; one removed takes out every
    // element of its identity.
    struct ElementChanges
    {
        QStringList identity;
        QVariantList put;
        QVariantList removed;
    };
    // One change of an entry: its whole value (nullopt removes the entry), or with items only those
    // items, the entry's others left as the file holds them (a missing entry starts empty).
    struct Change
    {
        QString key;
        std::optional<QVariant> value;
        std::optional<ItemChanges> items;
        // With items: an entry they leave empty goes rather than stay as an empty dictionary.
        bool removesEmptiedEntry = false;
        // Only these elements, the entry's others left as the file holds them (a missing entry, or
        // one that is no list, starts empty).
        std::optional<ElementChanges> elements = std::nullopt;

        static Change set(const QString &key, const QVariant &value) { return {key, value, std::nullopt}; }
        static Change removal(const QString &key) { return {key, std::nullopt, std::nullopt}; }
        static Change ofItems(const QString &key, const ItemChanges &items)
        {
            return {key, std::nullopt, items};
        }
        static Change ofElements(const QString &key, const ElementChanges &elements)
        {
            return {key, std::nullopt, std::nullopt, false, elements};
        }
        // Removes the named items from the entry as the file holds it at the write; the entry
        // goes when nothing is left.
        static Change withoutItems(const QString &key, const QStringList &names)
        {
            ItemChanges removed;
            for (const QString &name : names)
                removed.insert(name, std::nullopt);
            return {key, std::nullopt, removed, true};
        }
    };
    class PreparedWrite;

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
    void apply(const QList<Change> &changes);

    // Writes pending changes and picks up the file's changes; false when the write failed (the
    // changes stay pending and are tried again).
    bool synchronize();
    // Why the last write of the file failed ("the disk is full"); empty after one that succeeded.
    QString lastWriteError() const;

    // Writes the file with the changes (and the pending ones) beside it, whole, without putting it
    // in place: nothing changes in memory or in the file until the answer is committed. The file
    // stays locked until then, so no other program writes in between.
    StoreResult<std::unique_ptr<PreparedWrite>> prepareWrite(const QList<Change> &changes);

    // Whether the file was changed by another program (or store object) since the last call; the
    // first call only starts counting. This store's own writes are no change.
    bool takeChangeByOthers();

private:
    struct State;
    void scheduleFlush(); // with the state's mutex held

    std::shared_ptr<State> m_state;
};

// A write of the cloud file waiting to be put in place; dropping it leaves the file as it was.
class CloudKeyValueStore::PreparedWrite
{
public:
    ~PreparedWrite();
    PreparedWrite(const PreparedWrite &) = delete;
    PreparedWrite &operator=(const PreparedWrite &) = delete;

    // Puts the written file in place; on failure the changes stay pending in the store, to be
    // written with its next write.
    StoreStatus commit();

private:
    friend class CloudKeyValueStore;
    struct Parts;
    explicit PreparedWrite(std::unique_ptr<Parts> parts);

    std::unique_ptr<Parts> m_parts;
};
