#include "platform/StoreContact.h"

#include <QUuid>

namespace StoreKey {

const QStringList &allKeys()
{
    static const QStringList keys{Identifier, ContactType, NamePrefix, GivenName, MiddleName, FamilyName,
                                  PreviousFamilyName, NameSuffix, Nickname, PhoneticGivenName,
                                  PhoneticMiddleName, PhoneticFamilyName, OrganizationName, DepartmentName,
                                  JobTitle, Note, ImageData, ThumbnailImageData, ImageDataAvailable, Birthday,
                                  Dates, PhoneNumbers, EmailAddresses, PostalAddresses, UrlAddresses,
                                  ContactRelations, SocialProfiles, InstantMessageAddresses};
    return keys;
}

const QStringList &stringKeys()
{
    static const QStringList keys{NamePrefix, GivenName, MiddleName, FamilyName, PreviousFamilyName,
                                  NameSuffix, Nickname, PhoneticGivenName, PhoneticMiddleName,
                                  PhoneticFamilyName, OrganizationName, DepartmentName, JobTitle, Note};
    return keys;
}

} // namespace StoreKey

StoreContact::StoreContact() : m_identifier(QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper()) {}

StoreContact StoreContact::fetched(const QString &identifier, const QStringList &keys)
{
    return fetchedSharingKeys(identifier, fetchedKeySet(keys));
}

StoreContact StoreContact::fetchedSharingKeys(const QString &identifier, const QSet<QString> &keySet)
{
    StoreContact contact{FetchedTag()};
    contact.m_identifier = identifier;
    contact.m_allKeys = false;
    contact.m_keys = keySet;
    return contact;
}

QSet<QString> StoreContact::fetchedKeySet(const QStringList &keys)
{
    QSet<QString> keySet(keys.begin(), keys.end());
    keySet.insert(StoreKey::Identifier);
    keySet.insert(StoreKey::ContactType);
    return keySet;
}

bool StoreContact::isKeyAvailable(const QString &key) const
{
    return m_allKeys || m_keys.contains(key);
}

QStringList StoreContact::availableKeys() const
{
    if (m_allKeys)
        return StoreKey::allKeys();
    QStringList keys;
    for (const QString &key : StoreKey::allKeys())
        if (m_keys.contains(key))
            keys.append(key);
    return keys;
}

void StoreContact::makeAllKeysAvailable()
{
    m_allKeys = true;
    m_keys.clear();
}

void StoreContact::keepOnlyKeys(const QStringList &keys)
{
    QSet<QString> kept;
    for (const QString &key : fetchedKeySet(keys)) {
        if (isKeyAvailable(key))
            kept.insert(key);
    }
    m_keys = kept;
    m_allKeys = false;
}

QString StoreContact::*StoreContact::stringMember(const QString &key)
{
    static const QList<std::pair<QString, QString StoreContact::*>> members{
        {StoreKey::NamePrefix, &StoreContact::namePrefix},
        {StoreKey::GivenName, &StoreContact::givenName},
        {StoreKey::MiddleName, &StoreContact::middleName},
        {StoreKey::FamilyName, &StoreContact::familyName},
        {StoreKey::PreviousFamilyName, &StoreContact::previousFamilyName},
        {StoreKey::NameSuffix, &StoreContact::nameSuffix},
        {StoreKey::Nickname, &StoreContact::nickname},
        {StoreKey::PhoneticGivenName, &StoreContact::phoneticGivenName},
        {StoreKey::PhoneticMiddleName, &StoreContact::phoneticMiddleName},
        {StoreKey::PhoneticFamilyName, &StoreContact::phoneticFamilyName},
        {StoreKey::OrganizationName, &StoreContact::organizationName},
        {StoreKey::DepartmentName, &StoreContact::departmentName},
        {StoreKey::JobTitle, &StoreContact::jobTitle},
        {StoreKey::Note, &StoreContact::note},
    };
    for (const auto &[name, member] : members)
        if (name == key)
            return member;
    return nullptr;
}

QString StoreContact::stringForKey(const QString &key) const
{
    const auto member = stringMember(key);
    return member ? this->*member : QString();
}

bool StoreContact::setStringForKey(const QString &key, const QString &value)
{
    const auto member = stringMember(key);
    if (!member)
        return false;
    this->*member = value;
    return true;
}
