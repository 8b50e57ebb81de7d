#include "addressbook/GroupLoader.h"

#include "addressbook/AddressBookLoader.h"
#include "model/QNPerson.h"
#include "platform/CloudKeyValueStore.h"

#include <QSet>

GroupLoader::GroupLoader(Fetch fetch) : m_fetch(std::move(fetch)) {}

void GroupLoader::loadContainer(const ContainerDict &container)
{
    const GroupDictPtr top = container.topGroup();
    if (!top)
        return;
    if (!top->contactTable)
        loadTopGroup(*top);
    const TopIndex index = indexOf(*top->contactTable);
    for (const GroupDictPtr &group : container.groups) {
        // Groups made here have no members in the store.
        if (group && group != top && group->cnGroup)
            loadStoreGroup(*group, index);
    }
}

void GroupLoader::loadTopGroup(GroupDict &top)
{
    auto rows = std::make_shared<ContactTable>();
    for (const StoreContact &contact : m_fetch(std::nullopt, top.containerIdentifier))
        rows->append(AddressBookLoader::createContactFromCNContact(contact));
    restoreCustomItems(*rows);
    top.contactTable = rows;
}

void GroupLoader::loadStoreGroup(GroupDict &group, const TopIndex &index)
{
    ContactTablePtr table = group.contactTable;
    if (!table)
        table = std::make_shared<ContactTable>();
    QSet<QString> held;
    for (const ContactRowPtr &row : std::as_const(*table))
        held.insert(row->uniqueId);
    for (const StoreContact &member : m_fetch(group.cnGroup, group.containerIdentifier)) {
        ContactRowPtr row = memberRow(member, index);
        if (!row || held.contains(row->uniqueId))
            continue;
        held.insert(row->uniqueId);
        table->append(row);
    }
    group.contactTable = table;
}

ContactRowPtr GroupLoader::memberRow(const StoreContact &member, const TopIndex &index)
{
    ContactRowPtr top = index.byIdentifier.value(member.identifier());
    if (!top && member.contactType() == StoreContactType::Organization) {
        // The store may answer an organisation by another identifier than the container did.
        const QString company = QNPerson(member).uniqueId2();
        if (!company.isEmpty())
            top = index.byCompany.value(company);
    }
    if (!top)
        return nullptr;
    auto row = std::make_shared<ContactRow>();
    row->person = top->person;
    row->uniqueId = top->person->uniqueId();
    // A contact deleted before the groups were read is still a member: its row is marked as the
    // delete marks a read group's, and comes back with the delete's undo.
    row->deleted = top->deleted;
    return row;
}

GroupLoader::TopIndex GroupLoader::indexOf(const ContactTable &rows)
{
    TopIndex index;
    for (const ContactRowPtr &row : rows) {
        if (!row)
            continue;
        if (!index.byIdentifier.contains(row->uniqueId))
            index.byIdentifier.insert(row->uniqueId, row);
        if (row->uniqueId2 && !index.byCompany.contains(*row->uniqueId2))
            index.byCompany.insert(*row->uniqueId2, row);
    }
    return index;
}

void GroupLoader::restoreCustomItems(const ContactTable &rows)
{
    AddressBookLoader::restoreCustomValues(rows, QNPerson::cloudKeyValueStore().dictionaryRepresentation());
}
