#include "platform/StoreSaveRequest.h"

#include <QUuid>

void StoreSaveRequest::addContact(const StoreContact &contact, const QString &containerIdentifier)
{
    m_steps.append({Operation::AddContact, contact, {}, containerIdentifier, contact.identifier(), {}});
}

void StoreSaveRequest::updateContact(const StoreContact &contact)
{
    m_steps.append({Operation::UpdateContact, contact, {}, {}, contact.identifier(), {}});
}

void StoreSaveRequest::deleteContact(const StoreContact &contact)
{
    deleteContact(contact.identifier());
}

void StoreSaveRequest::deleteContact(const QString &contactIdentifier)
{
    m_steps.append({Operation::DeleteContact, std::nullopt, {}, {}, contactIdentifier, {}});
}

QString StoreSaveRequest::addGroup(const StoreGroup &group, const QString &containerIdentifier)
{
    StoreGroup added = group;
    if (added.identifier.isEmpty())
        added.identifier = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    m_steps.append({Operation::AddGroup, std::nullopt, added, containerIdentifier, {}, added.identifier});
    return added.identifier;
}

void StoreSaveRequest::updateGroup(const StoreGroup &group)
{
    m_steps.append({Operation::UpdateGroup, std::nullopt, group, {}, {}, group.identifier});
}

void StoreSaveRequest::deleteGroup(const StoreGroup &group)
{
    deleteGroup(group.identifier);
}

void StoreSaveRequest::deleteGroup(const QString &groupIdentifier)
{
    m_steps.append({Operation::DeleteGroup, std::nullopt, {}, {}, {}, groupIdentifier});
}

void StoreSaveRequest::addMember(const StoreContact &contact, const StoreGroup &group)
{
    addMember(contact.identifier(), group.identifier);
}

void StoreSaveRequest::addMember(const QString &contactIdentifier, const QString &groupIdentifier)
{
    m_steps.append({Operation::AddMember, std::nullopt, {}, {}, contactIdentifier, groupIdentifier});
}

void StoreSaveRequest::removeMember(const StoreContact &contact, const StoreGroup &group)
{
    removeMember(contact.identifier(), group.identifier);
}

void StoreSaveRequest::removeMember(const QString &contactIdentifier, const QString &groupIdentifier)
{
    m_steps.append({Operation::RemoveMember, std::nullopt, {}, {}, contactIdentifier, groupIdentifier});
}
