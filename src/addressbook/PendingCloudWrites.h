#pragma once

#include "platform/StoreResult.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <memory>
#include <optional>

class CloudKeyValueStore;
class ContactStore;
class QLockFile;

// Makes the custom values of a save part of its store transaction: whole or not at all.
//
// Before the store commits, the cloud entries the save will write are recorded in a small journal
// beside the cloud file, named after a token that the same store transaction records. Once the
// entries reached the cloud file the journal goes. A journal found later (the program was killed
// in between, or the cloud file could not be written) is finished when its token is in the store,
// for then the store part of its save happened, and dropped otherwise.
// Each program holds a lock on its journal while it saves, so no other program finishes or drops
// a journal whose save is still under way.
class PendingCloudWrites
{
public:
    // One cloud entry: a contact's custom values under its key, or nullopt to remove the entry.
    struct Write
    {
        QString key;
        std::optional<QVariantMap> value;
    };

    explicit PendingCloudWrites(CloudKeyValueStore &cloud);
    ~PendingCloudWrites();
    PendingCloudWrites(const PendingCloudWrites &) = delete;
    PendingCloudWrites &operator=(const PendingCloudWrites &) = delete;

    // The folder of the journals, beside the cloud file.
    QString folderPath() const;

    // Writes the journal of a save (durably, in one piece) and holds it until finish or discard;
    // an error when it cannot be written, and then the save must not go ahead.
    StoreStatus record(const QString &token, const QList<Write> &writes);
    // The store took the save: the entries go to the cloud file, then the journal goes. When the
    // cloud file cannot be written the journal stays, to be finished later.
    void finish(const QList<Write> &writes);
    // The store refused the save.
    void discard();

    // Finishes or drops the journals that no program is saving with. Answers the store's tokens
    // whose saves are complete, which the next save request may drop.
    QStringList finishPending(const ContactStore &store);

private:
    QString journalPath(const QString &token) const;
    void release();
    void removeStaleLocks();

    CloudKeyValueStore &m_cloud;
    QString m_token;
    std::unique_ptr<QLockFile> m_lock;
};
