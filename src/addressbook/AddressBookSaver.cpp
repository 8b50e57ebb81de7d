#include "addressbook/AddressBookSaver.h"

#include "addressbook/CustomItemDefinitions.h"
#include "addressbook/LoadedContactRow.h"
#include "model/CustomItemCloudValues.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/BusySign.h"
#include "platform/CloudKeyValueStore.h"
#include "platform/ContactStore.h"
#include "platform/Log.h"

#include <QUuid>

namespace {

// From this many new contacts on, the store's identifiers are read at once: a query for each costs
// more than reading them all from a store of 20,000.
constexpr qsizetype ManyCreations = 1000;

// The items whose values differ from what the contact had: set, or removed where it lacks them now.
CloudKeyValueStore::ItemChanges changedItems(const QVariantMap &before, const QVariantMap &now)
{
    CloudKeyValueStore::ItemChanges changes;
    for (auto it = now.cbegin(); it != now.cend(); ++it) {
        const auto old = before.constFind(it.key());
        if (old == before.cend() || *old != *it)
            changes.insert(it.key(), *it);
    }
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        if (!now.contains(it.key()))
            changes.insert(it.key(), std::nullopt);
    }
    return changes;
}

} // namespace

AddressBookSaver::AddressBookSaver(ContactStore &store, CloudKeyValueStore &cloud)
    : m_store(store), m_cloud(cloud)
{
}

StoreStatus AddressBookSaver::saveAddressBook(const ContainerTable &containerTable)
{
    if (StoreStatus prepared = prepare(containerTable); !prepared.ok())
        return prepared;
    const StoreStatus written = write();
    applyAcceptance();
    return written;
}

void AddressBookSaver::clear()
{
    m_request = {};
    m_created.clear();
    m_deleted.clear();
    m_written.clear();
    m_members.clear();
    m_afterAcceptance.clear();
    m_cloudWrites.clear();
    m_lookupError.clear();
    m_contactMissing = false;
    m_storeIdentifiers.reset();
    m_accepted = false;
    m_journal.reset();
}

StoreStatus AddressBookSaver::prepare(const ContainerTable &containerTable)
{
    clear();
    auto journal = std::make_unique<PendingCloudWrites>(m_cloud);
    // Entries an earlier save left behind go to the cloud before ours, which are newer; while they
    // cannot, ours would be written over by them later.
    const StoreResult<QStringList> finished = journal->finishPending(m_store);
    if (!finished.ok())
        return StoreStatus::failure(finished.error);
    m_request.forgetCommitTokens(finished.value);
    if (creationCount(containerTable) >= ManyCreations)
        m_storeIdentifiers = storeContactIdentifiers();
    for (const ContainerDictPtr &container : containerTable) {
        if (container)
            addContainer(*container);
    }
    if (StoreStatus trusted = checkLookUps(); !trusted.ok())
        return trusted;
    m_cloudWrites = writesOfDeletedCustomItems() + m_cloudWrites;
    m_journal = std::move(journal);
    return storeSuccess();
}

StoreStatus AddressBookSaver::write()
{
    if (!m_journal)
        return StoreStatus::failure(QStringLiteral("nothing was prepared"));
    if (StoreStatus status = execute(*m_journal); !status.ok())
        return status;
    m_accepted = true;
    return m_journal->finish();
}

void AddressBookSaver::applyAcceptance()
{
    if (!m_accepted)
        return;
    for (const std::function<void()> &effect : std::as_const(m_afterAcceptance)) {
        BusySign::tick();
        effect();
    }
    m_afterAcceptance.clear();
}

StoreResult<QList<ContactRowPtr>>
AddressBookSaver::changedContactsGoneFromStore(const ContainerTable &containerTable) const
{
    using Result = StoreResult<QList<ContactRowPtr>>;
    QList<ContactRowPtr> gone;
    for (const ContainerDictPtr &container : containerTable) {
        const GroupDictPtr top = container ? container->topGroup() : nullptr;
        if (!top || !top->contactTable)
            continue;
        for (const ContactRowPtr &row : std::as_const(*top->contactTable)) {
            if (!row || !row->person || row->deleted || row->person->isCreated() || !row->person->isChanged())
                continue;
            // A query for each of thousands of changed contacts, before the save itself.
            BusySign::tick();
            const StoreResult<bool> present = m_store.containsContact(row->person->uniqueId());
            if (!present.ok())
                return Result::failure(damageOf(present.error));
            if (!present.value)
                gone.append(row);
        }
    }
    // A damaged file may not find contacts it holds: its check speaks before the user is asked to
    // let their changes go.
    if (!gone.isEmpty()) {
        if (const StoreResult<bool> check = m_store.checkIntegrity(); !check.ok())
            return Result::failure(check.error);
    }
    return Result::success(gone);
}

void AddressBookSaver::saveAsNewContacts(const ContainerTable &containerTable,
                                         const QList<ContactRowPtr> &gone)
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
    // Every entry of the cloud made into a map is no small cost for a save that deletes no item.
    if (m_deletedCustomItems.isEmpty())
        return {};
    return CustomItemDefinitions::removalsFromCloud(m_deletedCustomItems, m_cloud.dictionaryRepresentation());
}

QVariantMap AddressBookSaver::withoutDeletedItems(QVariantMap values) const
{
    for (const QVariant &definition : std::as_const(m_deletedCustomItems))
        values.remove(definition.toMap().value(PersonKey::ItemName).toString());
    return values;
}

StoreStatus AddressBookSaver::execute(PendingCloudWrites &journal)
{
    if (!m_cloudWrites.isEmpty()) {
        // Without a store change there is nothing for the journal to follow.
        const QString token =
            m_request.isEmpty() ? QString() : QUuid::createUuid().toString(QUuid::WithoutBraces);
        if (StoreStatus recorded = journal.record(token, m_cloudWrites); !recorded.ok())
            return recorded;
        if (!token.isEmpty())
            m_request.setCommitToken(token);
    }
    StoreStatus status = m_store.execute(m_request);
    if (!status.ok())
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
        else if (group->cnGroup && !group->isNew && storeGroups &&
                 !storeGroups->contains(group->cnGroup->identifier)) {
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
        // Thousands of new contacts take seconds here, on the main thread.
        BusySign::tick();
        QNPerson &person = *row->person;
        if (row->deleted)
            addDeletion(row);
        else if (person.isCreated())
            addCreation(row, containerIdentifier);
        else if (person.isChanged())
            addUpdate(row);
        // Only the marked: an effect for each of thousands of untouched rows costs the save time.
        if (!person.isCreated() && !person.isChanged())
            continue;
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
    m_cloudWrites.append(PendingCloudWrites::Write::removal(identifier));
}

void AddressBookSaver::addCreation(const ContactRowPtr &row, const QString &containerIdentifier)
{
    QNPerson &person = *row->person;
    if (m_created.contains(&person))
        return;
    const QString identifier = person.uniqueId();
    StoreContact contact;
    if (!identifier.isEmpty() && !isIdentifierTaken(identifier)) {
        contact = StoreContact::fetched(identifier, {});
        contact.makeAllKeysAvailable();
    }
    // A record read from a file reads its values on first use: every one must reach the store.
    person.readEveryValue();
    contact = person.contactFromCache(contact);
    m_request.addContact(contact, containerIdentifier);
    m_created.insert(&person, contact.identifier());
    m_written.insert(contact.identifier());
    // Its uniqueId may name another store contact, and then it is stored under a new identifier:
    // its entry goes there, and its values never fall back on the other contact's entry.
    person.setUniqueId(contact.identifier());
    if (const std::optional<QVariantMap> entry = CustomItemCloudValues::entryOfPerson(person))
        m_cloudWrites.append(PendingCloudWrites::Write::set(contact.identifier(), *entry));
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
    m_written.insert(person.uniqueId());
    // Only what the update writes: a whole contact read for each of a thousand changed ones
    // costs the save more than the writing.
    QStringList keys = person.editedStoreKeys().values();
    keys.append(StoreKey::Identifier);
    const StoreResult<StoreContact> fetched = m_store.unifiedContact(person.uniqueId(), keys);
    if (fetched.ok()) {
        // Only custom values edited: the store contact stays as it is.
        if (!person.editedStoreKeys().isEmpty())
            m_request.updateContact(person.editedContactFromCache(fetched.value));
        auto storeContact = std::make_shared<const StoreContact>(fetched.value);
        afterAcceptance([row, storeContact] { row->cnContact = storeContact; });
    } else if (isInStore(person.uniqueId())) {
        noteLookupError(fetched.error); // there, but it cannot be read
    }
    addCustomValues(row);
}

void AddressBookSaver::addCustomValues(const ContactRowPtr &row)
{
    QNPerson &person = *row->person;
    const std::optional<QVariantMap> entry = CustomItemCloudValues::entryOfPerson(person);
    if (!entry)
        return;
    const std::optional<QVariantMap> loaded = loadedCustomValues(*row);
    if (!loaded) {
        m_cloudWrites.append(PendingCloudWrites::Write::set(person.uniqueId(), *entry));
        return;
    }
    const CloudKeyValueStore::ItemChanges changes = changedItems(withoutDeletedItems(*loaded), *entry);
    if (!changes.isEmpty())
        m_cloudWrites.append(PendingCloudWrites::Write::ofItems(person.uniqueId(), changes));
    // What the next save of this tree compares with.
    afterAcceptance(
        [row, entry] { std::static_pointer_cast<LoadedContactRow>(row)->loadedCustomValues = *entry; });
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

qsizetype AddressBookSaver::creationCount(const ContainerTable &containerTable)
{
    qsizetype count = 0;
    for (const ContainerDictPtr &container : containerTable) {
        const GroupDictPtr top = container ? container->topGroup() : nullptr;
        if (!top || !top->contactTable)
            continue;
        for (const ContactRowPtr &row : std::as_const(*top->contactTable))
            count += row && row->person && !row->deleted && row->person->isCreated() ? 1 : 0;
    }
    return count;
}

std::optional<QSet<QString>> AddressBookSaver::storeContactIdentifiers() const
{
    const StoreResult<QList<StoreContainer>> containers = m_store.containers();
    if (!containers.ok())
        return std::nullopt;
    QSet<QString> identifiers;
    for (const StoreContainer &container : containers.value) {
        const StoreResult<QList<StoreContact>> contacts =
            m_store.contactsInContainer(container.identifier, {StoreKey::Identifier});
        if (!contacts.ok())
            return std::nullopt;
        for (const StoreContact &contact : contacts.value)
            identifiers.insert(contact.identifier());
    }
    return identifiers;
}

bool AddressBookSaver::isInStore(const QString &identifier)
{
    const bool found = isIdentifierTaken(identifier);
    if (!found)
        m_contactMissing = true;
    return found;
}

bool AddressBookSaver::isIdentifierTaken(const QString &identifier)
{
    if (m_storeIdentifiers)
        return m_storeIdentifiers->contains(identifier);
    const StoreResult<bool> present = m_store.containsContact(identifier);
    if (!present.ok())
        noteLookupError(present.error);
    return present.ok() && present.value;
}

void AddressBookSaver::noteLookupError(const QString &error)
{
    if (m_lookupError.isEmpty())
        m_lookupError = error;
}

QString AddressBookSaver::damageOf(const QString &lookupError) const
{
    const StoreResult<bool> check = m_store.checkIntegrity();
    return check.ok() ? lookupError : check.error;
}

StoreStatus AddressBookSaver::checkLookUps() const
{
    if (!m_lookupError.isEmpty())
        return StoreStatus::failure(damageOf(m_lookupError));
    if (m_contactMissing) {
        if (const StoreResult<bool> check = m_store.checkIntegrity(); !check.ok())
            return StoreStatus::failure(check.error);
    }
    return storeSuccess();
}
