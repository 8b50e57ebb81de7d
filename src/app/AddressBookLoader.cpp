#include "app/AddressBookLoader.h"

#include "model/QNPerson.h"
#include "platform/ContactStore.h"
#include "platform/Localizer.h"
#include "platform/UserDefaults.h"

AddressBookLoader::AddressBookLoader() = default;

void AddressBookLoader::loadAddressBook()
{
    m_containerTable = aContainerTable();
    QString identifier = UserDefaults::standard().stringForKey(QStringLiteral("QN1DlastContainerIdentifier"));
    if (identifier.isNull())
        identifier = ContactStore().defaultContainerIdentifier().value;
    if (m_containerTable.isEmpty())
        return;
    ContainerDictPtr chosen = m_containerTable.first();
    for (const ContainerDictPtr &container : std::as_const(m_containerTable)) {
        if (container->identifier == identifier) {
            chosen = container;
            break;
        }
    }
    m_selectedGroupDict = chosen->topGroup();
    auto rows = std::make_shared<ContactTable>();
    for (const StoreContact &contact : cnContactsForGroup(std::nullopt, chosen->identifier))
        rows->append(createContactFromCNContact(contact));
    m_selectedGroupDict->contactTable = rows;
    m_contactTable = rows;
}

ContainerTable AddressBookLoader::aContainerTable()
{
    ContainerTable table;
    ContactStore store;
    for (const StoreContainer &container : store.containers().value) {
        const QString name =
            container.type == StoreContainerLocal ? QStringLiteral("On My Mac") : container.name;
        if (name.isEmpty() || container.identifier.isEmpty())
            continue;
        auto dict = std::make_shared<ContainerDict>();
        dict->name = name;
        dict->type = container.type;
        dict->identifier = container.identifier;
        auto top = std::make_shared<GroupDict>();
        top->top = true;
        top->name = L(QStringLiteral("All Contacts"));
        top->containerName = name;
        top->uniqueId = container.identifier;
        top->containerIdentifier = container.identifier;
        dict->groups.append(top);
        for (const StoreGroup &group : store.groupsInContainer(container.identifier).value) {
            auto groupDict = std::make_shared<GroupDict>();
            groupDict->name = group.name;
            groupDict->containerName = name;
            groupDict->uniqueId = group.identifier;
            groupDict->cnGroup = group;
            groupDict->containerIdentifier = container.identifier;
            dict->groups.append(groupDict);
        }
        table.append(dict);
    }
    return table;
}

QList<StoreContact> AddressBookLoader::cnContactsForGroup(const std::optional<StoreGroup> &group,
                                                          const QString &containerIdentifier)
{
    const QStringList &keys = StoreKey::allKeys();
    ContactStore store;
    if (group)
        return store.contactsInGroup(group->identifier, keys).value;
    return store.contactsInContainer(containerIdentifier, keys).value;
}

ContactRowPtr AddressBookLoader::createContactFromCNContact(const StoreContact &contact)
{
    auto row = std::make_shared<ContactRow>();
    row->person = std::make_shared<QNPerson>(contact);
    row->uniqueId = row->person->uniqueId();
    if (!row->person->uniqueId2().isNull())
        row->uniqueId2 = row->person->uniqueId2();
    return row;
}
