#include "addressbook/AddressBookLoader.h"

#include "addressbook/CustomItemDefinitions.h"
#include "addressbook/LoadedContactRow.h"
#include "addressbook/PendingCloudWrites.h"
#include "model/CustomItemCloudValues.h"
#include "model/LabelTables.h"
#include "model/QNPerson.h"
#include "platform/CloudKeyValueStore.h"
#include "platform/ContactFormatter.h"
#include "platform/ContactStore.h"
#include "platform/Dispatch.h"
#include "platform/Localizer.h"
#include "platform/Log.h"
#include "platform/Semaphore.h"
#include "platform/UserDefaults.h"

#include <QDeadlineTimer>
#include <QMutexLocker>

#include <array>

namespace {

const QString LastContainerIdentifierKey = QStringLiteral("QN1DlastContainerIdentifier");

const QString LabeledValueType = QStringLiteral("Labeled Value");
const QString StringValueType = QStringLiteral("String Value");
const QString DictionaryValueType = QStringLiteral("Dictionary Value");

// The name shown for a container; empty for a type the program does not show.
QString displayNameOfContainer(const StoreContainer &container)
{
    switch (container.type) {
    case StoreContainerLocal:
        return L(QStringLiteral("On This Computer"));
    case StoreContainerExchange:
    case StoreContainerCardDAV:
        return container.name;
    default:
        return QString();
    }
}

GroupDictPtr topGroupOf(const QString &containerName, const QString &containerIdentifier)
{
    auto group = std::make_shared<GroupDict>();
    group->top = true;
    group->name = L(QStringLiteral("All Contacts"));
    group->containerName = containerName;
    group->uniqueId = containerIdentifier;
    group->containerIdentifier = containerIdentifier;
    return group;
}

GroupDictPtr groupOf(const StoreGroup &storeGroup, const ContainerDict &container)
{
    auto group = std::make_shared<GroupDict>();
    group->name = storeGroup.name.isEmpty() ? QStringLiteral("") : storeGroup.name;
    group->containerName = container.name;
    group->uniqueId = storeGroup.identifier;
    group->cnGroup = storeGroup;
    group->containerIdentifier = container.identifier;
    return group;
}

ContactRowPtr rowOfContact(const StoreContact &contact)
{
    auto row = std::make_shared<LoadedContactRow>();
    row->person = std::make_shared<QNPerson>(contact);
    row->uniqueId = row->person->uniqueId();
    const QString uniqueId2 = row->person->uniqueId2();
    if (!uniqueId2.isNull())
        row->uniqueId2 = uniqueId2;
    return row;
}

bool isList(const QVariant &value)
{
    return value.userType() == QMetaType::QVariantList || value.userType() == QMetaType::QStringList;
}

QStringList labelsOfEntries(const QVariantList &entries)
{
    QStringList labels;
    labels.reserve(entries.size());
    for (const QVariant &entry : entries)
        labels.append(entry.toMap().value(QStringLiteral("label")).toString());
    return labels;
}

// AddressBookLoader::restoreCustomValues with the labeled items' labels added to `collected`.
void restorePersonCustomValues(QNPerson &person, const QVariantMap &values,
                               LabelTables::LabelTable &collected)
{
    const bool changed = person.isChanged();
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const QVariant &value = it.value();
        if (isList(value) && !value.toList().isEmpty()) {
            const QVariantList entries = value.toList();
            person.addCustomItem(LabeledValueType, it.key(), labelsOfEntries(entries), std::nullopt,
                                 collected);
            person.setValue(entries, it.key());
        } else if (value.userType() == QMetaType::QVariantMap) {
            person.addCustomItem(DictionaryValueType, it.key(), {}, std::nullopt, collected);
            person.setValue(value, it.key());
        } else if (value.userType() == QMetaType::QString && !value.toString().isEmpty()) {
            person.addCustomItem(StringValueType, it.key(), {}, std::nullopt, collected);
            person.setValue(value, it.key());
        }
    }
    // Storing the values marks the record, but what the cloud gave back is no edit: a mark would
    // make the next save rewrite the contact from this cache.
    person.setChanged(changed);
}

// The row's entry of the cloud's entries by contact identifier, restored; a row of a load keeps
// what its record got.
void restoreRowCustomValues(ContactRow &row, const QVariantMap &entries, LabelTables::LabelTable &collected)
{
    const QVariant entry = entries.value(row.person->uniqueId());
    if (entry.userType() != QMetaType::QVariantMap)
        return;
    restorePersonCustomValues(*row.person, entry.toMap(), collected);
    if (auto *loaded = dynamic_cast<LoadedContactRow *>(&row))
        loaded->loadedCustomValues =
            CustomItemCloudValues::entryOfPerson(*row.person).value_or(QVariantMap());
}

// The rows of contacts [begin, end) and their stored labels, in their order; fewer once the load
// is cancelled.
struct Slice
{
    ContactTable rows;
    LabelTables::LabelTable labels;
};

// The labels are only collected here: offered one by one, four slices would queue for the label
// tables' lock at every label.
Slice convertSlice(const QList<StoreContact> &contacts, qsizetype begin, qsizetype end,
                   const std::atomic<bool> &cancelled, const std::atomic<bool> *abandoned = nullptr)
{
    Slice slice;
    slice.rows.reserve(end - begin);
    const auto stopped = [&] {
        return cancelled.load(std::memory_order_relaxed) ||
               (abandoned && abandoned->load(std::memory_order_relaxed));
    };
    for (qsizetype i = begin; i < end && !stopped(); ++i) {
        slice.rows.append(rowOfContact(contacts.at(i)));
        slice.rows.constLast()->person->collectStoredLabels(slice.labels);
    }
    return slice;
}

// The rows' custom values restored in four slices side by side, the loading thread among the
// workers; the labels they bring are offered once all are done, in row order, so that the menus
// do not list them in the order the threads ran. Stops early once cancelled is set.
void restoreInSlices(const ContactTable &rows, const QVariantMap &entries, const std::atomic<bool> &cancelled)
{
    if (entries.isEmpty())
        return;
    const qsizetype quarter = rows.size() / 4;
    std::array<LabelTables::LabelTable, 4> labels;
    Dispatch::runHereAndOnPool(labels.size(), [&](size_t slice) {
        const qsizetype begin = quarter * qsizetype(slice);
        const qsizetype end = slice == labels.size() - 1 ? rows.size() : begin + quarter;
        for (qsizetype i = begin; i < end && !cancelled.load(std::memory_order_relaxed); ++i)
            restoreRowCustomValues(*rows[i], entries, labels[slice]);
    });
    for (const LabelTables::LabelTable &table : labels)
        LabelTables::shared().offerLabels(table);
}

// One pool slice. Owned jointly by the loader and the task, so that a slice that outlives the
// loader's wait writes into memory nobody else reads any more.
struct PoolSlice
{
    Slice slice;
    Semaphore done;
    // Set when the loader stopped waiting: the rows are not wanted, so the task stops early.
    std::atomic<bool> abandoned{false};
};

// The cloud store's entries, one read for all contacts, taken on the pool from the start of the
// fetch. Whoever leaves the load first waits for the read, so it never outlives the store.
class CloudEntries
{
public:
    explicit CloudEntries(const CloudKeyValueStore &cloud)
        : m_read(Dispatch::runInBackground([&cloud] { return cloud.dictionaryRepresentation(); }))
    {
    }
    ~CloudEntries() { m_read.waitForFinished(); }
    CloudEntries(const CloudEntries &) = delete;
    CloudEntries &operator=(const CloudEntries &) = delete;

    QVariantMap entries() const { return m_read.result(); }

private:
    QFuture<QVariantMap> m_read;
};

// More written contacts than this are read back faster by the whole load's four slices.
constexpr qsizetype MostContactsReadBack = 2000;

// The rows of a container's top group in a tree; none when they were not read.
ContactTablePtr topRowsOf(const ContainerTable &containers, const QString &containerIdentifier)
{
    for (const ContainerDictPtr &container : containers) {
        if (container && container->identifier == containerIdentifier)
            return container->topGroup() ? container->topGroup()->contactTable : nullptr;
    }
    return nullptr;
}

// A row as a load makes it, around a record of a load that the save left as the store has it.
ContactRowPtr keptRow(const LoadedContactRow &old)
{
    auto row = std::make_shared<LoadedContactRow>();
    row->person = old.person;
    row->uniqueId = old.uniqueId;
    row->uniqueId2 = old.uniqueId2;
    row->loadedCustomValues = old.loadedCustomValues;
    return row;
}

} // namespace

// The custom values are read from the store the save writes them to.
AddressBookLoader::AddressBookLoader()
    : AddressBookLoader(ContactStore::defaultPath(), UserDefaults::standard(), QNPerson::cloudKeyValueStore())
{
}

AddressBookLoader::AddressBookLoader(const QString &storePath, UserDefaults &defaults,
                                     CloudKeyValueStore &cloud)
    : m_storePath(storePath), m_defaults(defaults), m_cloud(cloud)
{
}

// --- Results -------------------------------------------------------------------------------------

ContainerTable AddressBookLoader::containerTable() const
{
    QMutexLocker lock(&m_mutex);
    return m_containerTable;
}

GroupDictPtr AddressBookLoader::selectedGroupDict() const
{
    QMutexLocker lock(&m_mutex);
    return m_selectedGroupDict;
}

ContactTablePtr AddressBookLoader::contactTable() const
{
    QMutexLocker lock(&m_mutex);
    return m_contactTable;
}

AddressBookLoader::LoadOutcome AddressBookLoader::lastLoadOutcome() const
{
    QMutexLocker lock(&m_mutex);
    return m_lastLoadOutcome;
}

QString AddressBookLoader::lastLoadError() const
{
    QMutexLocker lock(&m_mutex);
    return m_lastLoadError;
}

void AddressBookLoader::publish(ContainerTable containers, GroupDictPtr selected, LoadOutcome outcome)
{
    ContactTablePtr rows = selected ? selected->contactTable : nullptr;
    {
        QMutexLocker lock(&m_mutex);
        std::swap(m_containerTable, containers);
        std::swap(m_selectedGroupDict, selected);
        std::swap(m_contactTable, rows);
        m_lastLoadOutcome = outcome;
        m_lastLoadError = outcome == LoadOutcome::Unreadable ? m_readError : QString();
    }
    // The old tree, when nobody else holds it, is freed here, without keeping readers waiting.
}

// --- Loading -------------------------------------------------------------------------------------

// A cancelled load returns at the next step, publishing nothing.
void AddressBookLoader::loadAddressBook()
{
    const auto cancelled = [this] {
        if (!isCancelled())
            return false;
        QMutexLocker lock(&m_mutex);
        m_lastLoadOutcome = LoadOutcome::Cancelled;
        return true;
    };
    if (cancelled())
        return;
    // A save that ended between the store's commit and the cloud file is completed first.
    PendingCloudWrites(m_cloud).finishPending(ContactStore(m_storePath));
    {
        QMutexLocker lock(&m_mutex);
        m_readError.clear();
    }
    const ContainerTable containers = aContainerTable();
    if (!readError().isEmpty()) {
        publish({}, nullptr, LoadOutcome::Unreadable);
        return;
    }
    const ContainerDictPtr container = chosenContainer(containers);
    if (!container) {
        // Nothing of the old tree may stay on screen once its containers are gone.
        publish(containers, nullptr, LoadOutcome::NoContainer);
        return;
    }
    const GroupDictPtr top = container->topGroup();
    // The cloud file is read and parsed beside the store's fetch instead of after it.
    const CloudEntries cloudEntries(m_cloud);
    QList<StoreContact> contacts = cnContactsForGroup(top->cnGroup, top->containerIdentifier);
    if (cancelled())
        return;
    if (!readError().isEmpty() || looksDamaged(contacts)) {
        publish({}, nullptr, LoadOutcome::Unreadable);
        return;
    }
    std::optional<ContactTable> rows = convertInSlices(contacts);
    // The records hold copies; freeing thousands of store contacts need not hold up the load.
    Dispatch::pool().start([fetched = std::move(contacts)] {});
    if (cancelled())
        return;
    if (!rows) {
        Log::write("%s: ERROR the contacts of %@ were not converted in time; they are read again "
                   "when the group is selected",
                   {QStringLiteral("AddressBookLoader::loadAddressBook"), container->name});
        publish(containers, top, LoadOutcome::TimedOut);
        return;
    }
    // The labels the items are defined with come first, in their order; the values may use fewer.
    CustomItemDefinitions::offerLabels(CustomItemCloudValues::loadCustomItemDefinitions(m_cloud));
    // After the fetched contacts are let go, so that their memory is free before the values take more.
    restoreInSlices(*rows, cloudEntries.entries(), *m_cancelled);
    if (cancelled())
        return;
    top->contactTable = std::make_shared<ContactTable>(std::move(*rows));
    publish(containers, top, LoadOutcome::Loaded);
}

void AddressBookLoader::reloadAfterSave(const ContainerTable &saved, const QSet<QString> &written)
{
    if (isCancelled() || written.size() > MostContactsReadBack) {
        loadAddressBook();
        return;
    }
    PendingCloudWrites(m_cloud).finishPending(ContactStore(m_storePath));
    {
        QMutexLocker lock(&m_mutex);
        m_readError.clear();
    }
    const ContainerTable containers = aContainerTable();
    const ContainerDictPtr container = chosenContainer(containers);
    const ContactTablePtr savedRows = container ? topRowsOf(saved, container->identifier) : nullptr;
    if (!readError().isEmpty() || !savedRows) {
        loadAddressBook();
        return;
    }
    std::optional<ContactTable> rows = rowsAfterSave(*savedRows, written, container->identifier);
    if (!rows) {
        loadAddressBook();
        return;
    }
    const GroupDictPtr top = container->topGroup();
    top->contactTable = std::make_shared<ContactTable>(std::move(*rows));
    publish(containers, top, LoadOutcome::Loaded);
}

std::optional<ContactTable> AddressBookLoader::rowsAfterSave(const ContactTable &saved,
                                                             const QSet<QString> &written,
                                                             const QString &containerIdentifier)
{
    const ContactStore store(m_storePath);
    const StoreResult<QList<StoreContact>> identifiers =
        store.contactsInContainer(containerIdentifier, {StoreKey::Identifier});
    if (!identifiers.ok())
        return std::nullopt;
    // Only rows of a load: they know their custom values without asking the record, which the
    // window may be painting from meanwhile. Any other row is read again like a written one.
    QHash<QString, const LoadedContactRow *> kept;
    kept.reserve(saved.size());
    for (const ContactRowPtr &row : saved) {
        const auto *loaded = dynamic_cast<const LoadedContactRow *>(row.get());
        if (loaded && loaded->person && !loaded->deleted && loadedCustomValues(*loaded)
            && !written.contains(loaded->uniqueId))
            kept.insert(loaded->uniqueId, loaded);
    }
    ContactTable rows;
    rows.reserve(identifiers.value.size());
    for (const StoreContact &contact : identifiers.value) {
        if (const LoadedContactRow *old = kept.value(contact.identifier())) {
            rows.append(keptRow(*old));
            continue;
        }
        // Written by the save, or a contact the saved tree did not hold.
        const StoreResult<StoreContact> read = store.unifiedContact(contact.identifier(), fetchKeys());
        if (!read.ok())
            return std::nullopt;
        ContactRowPtr row = createContactFromCNContact(read.value);
        if (const std::optional<QVariantMap> entry = m_cloud.dictionaryForKey(contact.identifier()))
            restoreCustomValues(ContactTable{row}, {{contact.identifier(), *entry}});
        rows.append(row);
    }
    return rows;
}

ContainerDictPtr AddressBookLoader::chosenContainer(const ContainerTable &containers) const
{
    if (containers.isEmpty())
        return nullptr;
    QString identifier = m_defaults.stringForKey(LastContainerIdentifierKey);
    if (identifier.isNull())
        identifier = ContactStore(m_storePath).defaultContainerIdentifier().value;
    for (const ContainerDictPtr &container : containers) {
        if (container->identifier == identifier)
            return container;
    }
    return containers.first();
}

std::optional<ContactTable> AddressBookLoader::convertInSlices(const QList<StoreContact> &contacts) const
{
    // One deadline for all three waits, counted from the start of the conversion.
    const QDeadlineTimer deadline(m_sliceTimeout);
    const qsizetype count = contacts.size();
    const qsizetype quarter = count / 4;

    Slice first = convertSlice(contacts, 0, quarter, *m_cancelled);

    std::array<std::shared_ptr<PoolSlice>, 3> slices;
    for (int i = 0; i < 3; ++i) {
        const qsizetype begin = quarter * (i + 1);
        const qsizetype end = i == 2 ? count : quarter * (i + 2);
        slices[i] = std::make_shared<PoolSlice>();
        Dispatch::pool().start([contacts, slice = slices[i], begin, end, hook = m_sliceStartHook,
                                cancelled = m_cancelled] {
            if (hook)
                hook();
            slice->slice = convertSlice(contacts, begin, end, *cancelled, &slice->abandoned);
            slice->done.signal();
        });
    }
    for (const std::shared_ptr<PoolSlice> &slice : slices) {
        if (!slice->done.wait(deadline)) {
            for (const std::shared_ptr<PoolSlice> &other : slices)
                other->abandoned.store(true);
            return std::nullopt;
        }
    }

    // In fetch order, so that the menus list the labels as the contacts bring them.
    ContactTable rows = std::move(first.rows);
    rows.reserve(count);
    LabelTables::shared().offerLabels(first.labels);
    for (const std::shared_ptr<PoolSlice> &slice : slices) {
        rows.append(slice->slice.rows);
        LabelTables::shared().offerLabels(slice->slice.labels);
    }
    return rows;
}

ContactRowPtr AddressBookLoader::createContactFromCNContact(const StoreContact &contact)
{
    ContactRowPtr row = rowOfContact(contact);
    // Once here, not when a view first reads a list: the menus offer the user's own labels from
    // the start, and showing a contact adds nothing to them.
    row->person->offerStoredLabels();
    return row;
}

// --- Custom values -------------------------------------------------------------------------------

void AddressBookLoader::restoreCustomValues(const ContactTable &rows, const QVariantMap &entries,
                                            const std::atomic<bool> *cancelled)
{
    if (entries.isEmpty())
        return;
    LabelTables::LabelTable labels;
    for (const ContactRowPtr &row : rows) {
        if (cancelled && cancelled->load())
            break;
        restoreRowCustomValues(*row, entries, labels);
    }
    LabelTables::shared().offerLabels(labels);
}

void AddressBookLoader::restoreCustomValues(QNPerson &person, const QVariantMap &values)
{
    LabelTables::LabelTable labels;
    restorePersonCustomValues(person, values, labels);
    LabelTables::shared().offerLabels(labels);
}

// --- Store reads ---------------------------------------------------------------------------------

void AddressBookLoader::noteReadError(const QString &error)
{
    Log::write("%s: ERROR can't read %@: %@", {QStringLiteral("AddressBookLoader"), m_storePath, error});
    QMutexLocker lock(&m_mutex);
    if (m_readError.isEmpty())
        m_readError = error.isEmpty() ? QStringLiteral("unknown error") : error;
}

QString AddressBookLoader::readError() const
{
    QMutexLocker lock(&m_mutex);
    return m_readError;
}

bool AddressBookLoader::looksDamaged(const QList<StoreContact> &contacts)
{
    if (!contacts.isEmpty() || isCancelled())
        return false;
    const StoreResult<bool> check = ContactStore(m_storePath).checkIntegrity();
    if (check.ok())
        return false;
    noteReadError(check.error);
    return true;
}

ContainerTable AddressBookLoader::aContainerTable()
{
    ContainerTable table;
    const StoreResult<QList<StoreContainer>> containers = ContactStore(m_storePath).containers();
    if (!containers.ok())
        noteReadError(containers.error);
    for (const StoreContainer &storeContainer : containers.value) {
        const QString name = displayNameOfContainer(storeContainer);
        if (storeContainer.identifier.isEmpty() || name.isEmpty())
            continue;
        auto container = std::make_shared<ContainerDict>();
        container->name = name;
        container->type = storeContainer.type;
        container->identifier = storeContainer.identifier;
        container->groups.append(topGroupOf(name, storeContainer.identifier));
        table.append(container);
        appendGroups(*container);
    }
    return table;
}

void AddressBookLoader::appendGroups(ContainerDict &container)
{
    const StoreResult<QList<StoreGroup>> groups =
        ContactStore(m_storePath).groupsInContainer(container.identifier);
    if (!groups.ok()) {
        Log::write("%s: ERROR can't find groups in %@: %@",
                   {QStringLiteral("AddressBookLoader::aContainerTable"), container.name, groups.error});
        emit groupFetchDidFail(container.name);
        return;
    }
    for (const StoreGroup &storeGroup : groups.value)
        container.groups.append(groupOf(storeGroup, container));
}

const QStringList &AddressBookLoader::fetchKeys()
{
    static const QStringList keys = [] {
        QStringList list{StoreKey::GivenName, StoreKey::FamilyName, StoreKey::MiddleName,
                         StoreKey::PreviousFamilyName, StoreKey::OrganizationName};
        list += ContactFormatter::descriptorForRequiredKeysForStyle(ContactFormatter::FullName);
        list += {StoreKey::ContactType,
                 StoreKey::Identifier,
                 StoreKey::PhoneticGivenName,
                 StoreKey::PhoneticFamilyName,
                 StoreKey::PhoneticMiddleName,
                 StoreKey::UrlAddresses,
                 StoreKey::InstantMessageAddresses,
                 StoreKey::SocialProfiles,
                 StoreKey::Dates,
                 StoreKey::Birthday,
                 StoreKey::ContactRelations,
                 StoreKey::ContactType,
                 StoreKey::Identifier,
                 StoreKey::OrganizationName,
                 StoreKey::JobTitle,
                 StoreKey::DepartmentName,
                 StoreKey::Nickname,
                 StoreKey::NamePrefix,
                 StoreKey::NameSuffix,
                 StoreKey::PhoneNumbers,
                 StoreKey::EmailAddresses,
                 StoreKey::PostalAddresses,
                 StoreKey::Note,
                 // Whether there is a photo, not its bytes: a record reads them when a view
                 // first shows the photo, and a load of thousands of contacts shows none.
                 StoreKey::ImageDataAvailable};
        list.removeDuplicates();
        return list;
    }();
    return keys;
}

QList<StoreContact> AddressBookLoader::cnContactsForGroup(const std::optional<StoreGroup> &group,
                                                          const QString &containerIdentifier)
{
    static const QString method = QStringLiteral("AddressBookLoader::cnContactsForGroup");
    ContactStore store(m_storePath);
    store.setCancelFlag(m_cancelled.get());
    for (const StoreContainer &container : store.containers().value) {
        if (container.identifier != containerIdentifier)
            continue;
        if (!group) {
            StoreResult<QList<StoreContact>> contacts =
                store.contactsInContainer(containerIdentifier, fetchKeys());
            if (!contacts.ok() && !isCancelled()) {
                Log::write("%s ERROR %@", {method, contacts.error});
                noteReadError(contacts.error);
            }
            return contacts.value;
        }
        const StoreResult<QList<StoreGroup>> groups = store.groupsInContainer(containerIdentifier);
        if (!groups.ok()) {
            Log::write("%s: ERROR can't find groups in %@: %@", {method, container.name, groups.error});
            return {};
        }
        for (const StoreGroup &storeGroup : groups.value) {
            if (storeGroup.identifier != group->identifier)
                continue;
            StoreResult<QList<StoreContact>> contacts =
                store.contactsInGroup(storeGroup.identifier, fetchKeys());
            if (!contacts.ok() && !isCancelled()) {
                Log::write("%s ERROR %@", {method, contacts.error});
                noteReadError(contacts.error);
            }
            return contacts.value;
        }
        return {};
    }
    return {};
}
