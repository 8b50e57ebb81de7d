#include "addressbook/AddressBookSaver.h"

#include "addressbook/CustomItemDefinitions.h"
#include "model/CustomItemCloudValues.h"
#include "model/QNPerson.h"
#include "platform/CloudKeyValueStore.h"
#include "platform/ContactStore.h"
#include "platform/Log.h"

#include <QUuid>

AddressBookSaver::AddressBookSaver(ContactStore &store, CloudKeyValueStore &cloud)
    : m_store(store), m_cloud(cloud)
{
}

StoreStatus AddressBookSaver::saveAddressBook(const ContainerTable &containerTable)
{
    m_request = {};
    m_created.clear();
    m_deleted.clear();
    m_members.clear();
    m_afterAcceptance.clear();
    m_cloudWrites.clear();
    PendingCloudWrites journal(m_cloud);
    // Entries an earlier save left behind go to the cloud before ours, which are newer.
    m_request.forgetCommitTokens(journal.finishPending(m_store));
    for (const ContainerDictPtr &container : containerTable) {
        if (container)
            addContainer(*container);
    }
    m_cloudWrites = writesOfDeletedCustomItems() + m_cloudWrites;
    StoreStatus status = execute(journal);
    if (!status.ok())
        return status;
    for (const std::function<void()> &effect : std::as_const(m_afterAcceptance))
        effect();
    return status;
}

QList<ContactRowPtr> AddressBookSaver::changedContactsGoneFromStore(const ContainerTable &containerTable) const
{
    QList<ContactRowPtr> gone;
    for (const ContainerDictPtr &container : containerTable) {
        const GroupDictPtr top = container ? container->topGroup() : nullptr;
        if (!top || !top->contactTable)
            continue;
        for (const ContactRowPtr &row : std::as_const(*top->contactTable)) {
            if (row && row->person && !row->deleted && !row->person->isCreated()
                && row->person->isChanged() && !isInStore(row->person->uniqueId()))
                gone.append(row);
        }
    }
    return gone;
}

void AddressBookSaver::saveAsNewContacts(const ContainerTable &containerTable, const QList<ContactRowPtr> &gone)
{
    QSet<const QNPerson *> persons;
    for (const ContactRowPtr &row : gone) {
        row->person->setCreated(true);
        persons.insert(row->person.get());
    }
    for (const ContainerDictPtr &container : containerTable) {
        if (!container)
            continue;
        for (const GroupDictPtr &group : std::as_const(container->groups)) {
            if (!group || group->top || !group->contactTable)
                continue;
            for (const ContactRowPtr &row : std::as_const(*group->contactTable)) {
                if (row && !row->deleted && persons.contains(row->person.get()))
                    row->isNew = true;
            }
        }
    }
}

// The values of the items deleted since the last save leave every contact's entry; the entries the
// save writes for its contacts come after them and win.
QList<PendingCloudWrites::Write> AddressBookSaver::writesOfDeletedCustomItems() const
{
    QVariantMap entries = m_cloud.dictionaryRepresentation();
    QVariantMap changed;
    for (const QVariant &definition : std::as_const(m_deletedCustomItems)) {
        const QVariantMap left = CustomItemDefinitions::entriesWithoutItem(definition.toMap(), entries);
        for (auto it = left.cbegin(); it != left.cend(); ++it) {
            changed.insert(it.key(), *it);
            entries.insert(it.key(), *it);
        }
    }
    QList<PendingCloudWrites::Write> writes;
    for (auto it = changed.cbegin(); it != changed.cend(); ++it)
        writes.append({it.key(), it->isValid() ? std::optional<QVariantMap>(it->toMap()) : std::nullopt});
    return writes;
}

StoreStatus AddressBookSaver::execute(PendingCloudWrites &journal)
{
    if (!m_request.isEmpty() && !m_cloudWrites.isEmpty()) {
        const QString token = QUuid::createUuid().toString(QUuid::WithoutBraces);
        if (StoreStatus recorded = journal.record(token, m_cloudWrites); !recorded.ok())
            return recorded;
        m_request.setCommitToken(token);
    }
    StoreStatus status = m_store.execute(m_request);
    if (status.ok())
        journal.finish(m_cloudWrites);
    else
        journal.discard();
    return status;
}

void AddressBookSaver::addContainer(const ContainerDict &container)
{
    const std::optional<QSet<QString>> storeGroups = storeGroupIdentifiers(container.identifier);
    for (const GroupDictPtr &group : container.groups) {
        if (!group)
            continue;
        if (group->top)
            addTopGroup(*group, container.identifier);
        else if (group->cnGroup && !group->isNew && storeGroups
                 && !storeGroups->contains(group->cnGroup->identifier)) {
            // Another program removed it; naming it would make the store refuse the whole save.
            Log::write(QStringLiteral("AddressBookSaver: group %1 is no longer in the store; "
                                      "its changes are dropped")
                           .arg(group->cnGroup->identifier));
        } else if (group->deleted) {
            // A group made here and removed again never reached the store.
            if (group->cnGroup)
                m_request.deleteGroup(*group->cnGroup);
        } else if (group->isNew) {
            addNewGroup(*group, container.identifier);
        } else {
            addStoreGroup(*group);
        }
    }
}

// --- contacts --------------------------------------------------------------------------------

void AddressBookSaver::addTopGroup(const GroupDict &top, const QString &containerIdentifier)
{
    if (!top.contactTable)
        return;
    for (const ContactRowPtr &row : std::as_const(*top.contactTable)) {
        if (!row || !row->person)
            continue;
        QNPerson &person = *row->person;
        if (row->deleted)
            addDeletion(row);
        else if (person.isCreated())
            addCreation(row, containerIdentifier);
        else if (person.isChanged())
            addUpdate(row);
        QNPersonPtr held = row->person;
        afterAcceptance([held] {
            held->setCreated(false);
            held->setChanged(false);
        });
    }
}

void AddressBookSaver::addDeletion(const ContactRowPtr &row)
{
    QNPerson &person = *row->person;
    // Never stored: there is nothing to delete, and its uniqueId may name another contact's entry.
    if (person.isCreated())
        return;
    const QString identifier = person.uniqueId();
    if (!m_deleted.contains(identifier) && isInStore(identifier)) {
        m_request.deleteContact(identifier);
        m_deleted.insert(identifier);
    }
    m_cloudWrites.append({identifier, std::nullopt});
}

void AddressBookSaver::addCreation(const ContactRowPtr &row, const QString &containerIdentifier)
{
    QNPerson &person = *row->person;
    if (m_created.contains(&person))
        return;
    const QString identifier = person.uniqueId();
    StoreContact contact;
    if (!identifier.isEmpty() && !isInStore(identifier)) {
        contact = StoreContact::fetched(identifier, {});
        contact.makeAllKeysAvailable();
    }
    // A record read from a file reads its values on first use: every one must reach the store.
    person.readEveryValue();
    contact = person.contactFromCache(contact);
    m_request.addContact(contact, containerIdentifier);
    m_created.insert(&person, contact.identifier());
    // Its uniqueId may name another store contact, and then it is stored under a new identifier:
    // its entry goes there, and its values never fall back on the other contact's entry.
    person.setUniqueId(contact.identifier());
    if (const std::optional<QVariantMap> entry = CustomItemCloudValues::entryOfPerson(person))
        m_cloudWrites.append({contact.identifier(), entry});
    person.setUniqueId(identifier);
    QNPersonPtr held = row->person;
    afterAcceptance([held, contact] {
        held->setUniqueId(contact.identifier());
        held->setCnContact(contact);
    });
}

void AddressBookSaver::addUpdate(const ContactRowPtr &row)
{
    QNPerson &person = *row->person;
    const StoreResult<StoreContact> fetched = m_store.unifiedContact(person.uniqueId(), StoreKey::allKeys());
    if (fetched.ok()) {
        // Only custom values edited: the store contact stays as it is.
        if (!person.editedStoreKeys().isEmpty())
            m_request.updateContact(person.editedContactFromCache(fetched.value));
        auto storeContact = std::make_shared<const StoreContact>(fetched.value);
        afterAcceptance([row, storeContact] { row->cnContact = storeContact; });
    }
    if (const std::optional<QVariantMap> entry = CustomItemCloudValues::entryOfPerson(person))
        m_cloudWrites.append({person.uniqueId(), entry});
}

// --- groups ----------------------------------------------------------------------------------

void AddressBookSaver::addNewGroup(const GroupDict &group, const QString &containerIdentifier)
{
    StoreGroup storeGroup;
    storeGroup.name = group.name;
    const QString groupIdentifier = m_request.addGroup(storeGroup, containerIdentifier);
    if (!group.contactTable)
        return;
    for (const ContactRowPtr &row : std::as_const(*group.contactTable)) {
        if (!row || !row->person || row->deleted)
            continue;
        if (const std::optional<QString> member = memberIdentifier(*row->person))
            m_request.addMember(*member, groupIdentifier);
    }
}

void AddressBookSaver::addStoreGroup(const GroupDict &group)
{
    if (!group.cnGroup)
        return;
    if (group.groupNameChanged) {
        StoreGroup renamed = *group.cnGroup;
        renamed.name = group.name;
        m_request.updateGroup(renamed);
    }
    if (!group.contactTable)
        return;
    const QString groupIdentifier = group.cnGroup->identifier;
    for (const ContactRowPtr &row : std::as_const(*group.contactTable)) {
        if (!row || !row->person || (!row->isNew && !row->deleted))
            continue;
        const std::optional<QString> member = memberIdentifier(*row->person);
        if (!member)
            continue;
        if (!row->deleted)
            m_request.addMember(*member, groupIdentifier);
        // A row added and removed again in this session leaves the group as the store has it,
        // unless the contact was a member all along (dropped before the group was read).
        else if (!row->isNew || isMember(group, *member))
            m_request.removeMember(*member, groupIdentifier);
    }
}

std::optional<QString> AddressBookSaver::memberIdentifier(QNPerson &person)
{
    if (const auto created = m_created.constFind(&person); created != m_created.constEnd())
        return *created;
    if (person.isCreated())
        return std::nullopt;
    const QString identifier = person.uniqueId();
    // Deleting the contact ends its memberships.
    if (m_deleted.contains(identifier) || !isInStore(identifier))
        return std::nullopt;
    return identifier;
}

bool AddressBookSaver::isMember(const GroupDict &group, const QString &contactIdentifier)
{
    const QString groupIdentifier = group.cnGroup->identifier;
    auto members = m_members.find(groupIdentifier);
    if (members == m_members.end()) {
        QSet<QString> identifiers;
        for (const StoreContact &contact :
             m_store.contactsInGroup(groupIdentifier, {StoreKey::Identifier}).value)
            identifiers.insert(contact.identifier());
        members = m_members.insert(groupIdentifier, identifiers);
    }
    return members->contains(contactIdentifier);
}

std::optional<QSet<QString>> AddressBookSaver::storeGroupIdentifiers(const QString &containerIdentifier) const
{
    const StoreResult<QList<StoreGroup>> groups = m_store.groupsInContainer(containerIdentifier);
    if (!groups.ok())
        return std::nullopt;
    QSet<QString> identifiers;
    for (const StoreGroup &group : groups.value)
        identifiers.insert(group.identifier);
    return identifiers;
}

bool AddressBookSaver::isInStore(const QString &identifier) const
{
    return m_store.unifiedContact(identifier, {StoreKey::Identifier}).ok();
}
