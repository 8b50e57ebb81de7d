#pragma once

#include "addressbook/PendingCloudWrites.h"
#include "model/AddressBookRecords.h"
#include "platform/StoreResult.h"
#include "platform/StoreSaveRequest.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QVariantList>

#include <functional>
#include <memory>
#include <optional>

class CloudKeyValueStore;
class ContactStore;

// Writes the pending changes of the address book to the store as one save request.
//
// Invariants:
// - Building the request reads the store and changes nothing in memory. What the save does beside
//   the store (the cloud entries of custom-item values, the persons' created and changed marks,
//   the store contacts kept on rows and persons) happens only after the store accepted the
//   request, so a refused save leaves the tree, the persons and the cloud store as they were.
// - The request is one transaction: all of it reaches the store, or none. The cloud entries are
//   journalled and written beside the cloud file before it commits (PendingCloudWrites): a full
//   disk stops the save before the store changes, and the entries follow the commit even when the
//   program ends before putting them in place.
// - A changed contact gets only the values edited here; what another program saved meanwhile in
//   its other values stays. The same holds for its custom values, item by item, where the row
//   knows what the load gave it (LoadedContactRow).
// - A store that cannot answer whether a contact is there (a damaged file) stops the save before
//   anything is written: such a contact is never taken for one another program deleted.
// - Each container's top group is walked before its other groups, so a contact created in this
//   save has its store contact when a group names it as a member.
// - A contact created here keeps its uniqueId as its store identifier, so its custom-item values
//   stay under the key the reload looks for; only when the store already holds that identifier
//   does it get a new one, and its values move to the new key.
class AddressBookSaver
{
public:
    AddressBookSaver(ContactStore &store, CloudKeyValueStore &cloud);

    // Custom items deleted since the last save (CustomItemDict): once the store accepted the
    // request their values leave every cloud entry, before the contacts' entries are written, so
    // an item defined again meanwhile keeps its new values. Only those items go, from each entry
    // as the file holds it under the write's lock: another program's values written meanwhile stay.
    void setDeletedCustomItems(const QVariantList &definitions) { m_deletedCustomItems = definitions; }

    // Contacts changed here that another program deleted from the store meanwhile: an update has
    // nothing to go to, so the user decides before the save (as new contacts, or discarded). An
    // error naming the damage when the store cannot tell, or when its file is damaged.
    StoreResult<QList<ContactRowPtr>>
    changedContactsGoneFromStore(const ContainerTable &containerTable) const;
    // The next save adds those contacts anew, and back into every group read so far that lists
    // them: the other program's deletion ended their memberships too.
    static void saveAsNewContacts(const ContainerTable &containerTable, const QList<ContactRowPtr> &gone);

    // The error when nothing was saved: the store refused the request, or could not tell which
    // contacts it holds, or the custom values could not be written beside the cloud file (a full
    // disk). Also when the store took the request but the cloud file could not be put in place;
    // its entries then wait in the journal.
    StoreStatus saveAddressBook(const ContainerTable &containerTable);

    // The same in three steps, so that the store's transaction need not hold up the window:
    // prepare reads the records and builds the request (main thread); write executes it with its
    // cloud entries and touches no record (any thread); applyAcceptance gives the records what the
    // store took (main thread, whatever write answered). Each error is saveAddressBook's.
    StoreStatus prepare(const ContainerTable &containerTable);
    StoreStatus write();
    void applyAcceptance();

    // Store identifiers of the contacts the last accepted save added or updated, custom values
    // included: what a reload has to read again.
    const QSet<QString> &writtenContacts() const { return m_written; }

private:
    void addContainer(const ContainerDict &container);
    void addTopGroup(const GroupDict &top, const QString &containerIdentifier);
    void addDeletion(const ContactRowPtr &row);
    void addCreation(const ContactRowPtr &row, const QString &containerIdentifier);
    void addUpdate(const ContactRowPtr &row);
    void addCustomValues(const ContactRowPtr &row);
    void addNewGroup(const GroupDict &group, const QString &containerIdentifier);
    void addStoreGroup(const GroupDict &group);
    // The store identifier a membership names, or none when the contact is not in the store and
    // not created by this request.
    std::optional<QString> memberIdentifier(QNPerson &person);
    bool isMember(const GroupDict &group, const QString &contactIdentifier);
    // The groups the store holds in the container now (another program may have removed some), or
    // none when they cannot be read.
    std::optional<QSet<QString>> storeGroupIdentifiers(const QString &containerIdentifier) const;
    // Of a contact read from the store. False also when the store cannot tell; the save then stops.
    // A contact no longer found may be one a damaged index misses: the file is checked before the
    // save goes ahead.
    bool isInStore(const QString &identifier);
    // Of the identifier a new contact brings.
    bool isIdentifierTaken(const QString &identifier);
    static qsizetype creationCount(const ContainerTable &containerTable);
    // Every contact identifier of the store, or none when it cannot tell (each look-up then asks
    // the store and notes its error).
    std::optional<QSet<QString>> storeContactIdentifiers() const;
    void noteLookupError(const QString &error);
    // The damage the store's check finds, else the failed look-up's error.
    QString damageOf(const QString &lookupError) const;
    // Whether the store's answers to the look-ups can be trusted; the damage found when not.
    StoreStatus checkLookUps() const;
    void afterAcceptance(std::function<void()> effect) { m_afterAcceptance.append(std::move(effect)); }
    QList<PendingCloudWrites::Write> writesOfDeletedCustomItems() const;
    // The custom values of the items deleted since the last save take no part in what the load
    // gave a contact: an item defined again is saved whole.
    QVariantMap withoutDeletedItems(QVariantMap values) const;
    // The cloud entries journalled and written beside the cloud file, then the request, with the
    // journal's token among its changes.
    StoreStatus execute(PendingCloudWrites &journal);
    void clear();

    ContactStore &m_store;
    CloudKeyValueStore &m_cloud;
    StoreSaveRequest m_request;
    // Store identifiers of the contacts this request adds and deletes.
    QHash<const QNPerson *, QString> m_created;
    QSet<QString> m_deleted;
    QSet<QString> m_written;
    // Members in the store of the groups asked about, by group identifier.
    QHash<QString, QSet<QString>> m_members;
    QList<std::function<void()>> m_afterAcceptance;
    QList<PendingCloudWrites::Write> m_cloudWrites;
    QVariantList m_deletedCustomItems;
    QString m_lookupError;
    bool m_contactMissing = false;
    // Read once for a request that adds many contacts; the look-ups answer from it.
    std::optional<QSet<QString>> m_storeIdentifiers;
    // The journal of the prepared save; the store took the request.
    std::unique_ptr<PendingCloudWrites> m_journal;
    bool m_accepted = false;
};
