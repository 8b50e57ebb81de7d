#pragma once

#include "platform/CloudKeyValueStore.h"
#include "platform/StoreResult.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class ContactStore;
class QLockFile;

// Makes the custom values of a save part of its store transaction: whole or not at all.
//
// Before the store commits, the cloud entries the save will write are recorded in a small journal
// beside the cloud file, named after a token that the same store transaction records, and the cloud
// file with them is written beside the old one: a full disk stops the save before the store
// changes. Once the store took the save the new cloud file takes the old one's place and the
// journal goes. A journal found later (the program was killed in between, or the cloud file could
// not be put in place) is finished when its token is in the store, for then the store part of its
// save happened, and dropped otherwise.
// Each program holds a lock on its journal while it saves, so no other program finishes or drops
// a journal whose save is still under way; a lock that names no live program is taken over.
class PendingCloudWrites
{
public:
    // One cloud entry: a contact's custom values under its key, whole or item by item.
    using Write = CloudKeyValueStore::Change;

    explicit PendingCloudWrites(CloudKeyValueStore &cloud);
    ~PendingCloudWrites();
    PendingCloudWrites(const PendingCloudWrites &) = delete;
    PendingCloudWrites &operator=(const PendingCloudWrites &) = delete;

    // The folder of the journals, beside the cloud file.
    QString folderPath() const;

    // Writes the journal of a save (durably, in one piece; none without a token, for a save that
    // does not reach the store) and the cloud file with the entries beside the old one, and holds
    // both until finish or discard; an error when either cannot be written, and then the save must
    // not go ahead.
    StoreStatus record(const QString &token, const QList<Write> &writes);
    // The store took the save: the cloud file with the entries takes the old one's place, then the
    // journal goes. When that fails the journal stays, to be finished later, and the error says why.
    StoreStatus finish();
    // The store refused the save.
    void discard();

    // Finishes or drops the journals that no program is saving with. Answers the store's tokens
    // whose saves are complete, which the next save request may drop; an error when a journal
    // whose save reached the store could not be finished, so that no later save writes under it.
    StoreResult<QStringList> finishPending(const ContactStore &store);

private:
    QString journalPath(const QString &token) const;
    void release();
    void removeStaleLocks();

    CloudKeyValueStore &m_cloud;
    QString m_token;
    std::unique_ptr<QLockFile> m_lock;
    std::unique_ptr<CloudKeyValueStore::PreparedWrite> m_prepared;
};
