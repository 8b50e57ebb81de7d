#include "model/QNPerson.h"

#include "model/QNPersonKeys.h"
#include "platform/ContactFormatter.h"
#include "platform/ContactStore.h"
#include "platform/ContactsUserDefaults.h"
#include "platform/PlatformUtil.h"
#include "platform/StoreContact.h"

#include <QMutexLocker>

namespace {

const QString AnonymousName = QStringLiteral("TamriskSoftware");

// Copies one key's value between store contacts; keys other than values (identifier, type) are
// ignored.
void copyKeyValue(StoreContact &to, const StoreContact &from, const QString &key)
{
    if (StoreKey::stringKeys().contains(key)) {
        to.setStringForKey(key, from.stringForKey(key));
    } else if (key == StoreKey::ImageData) {
        to.imageData = from.imageData;
    } else if (key == StoreKey::ThumbnailImageData) {
        to.thumbnailImageData = from.thumbnailImageData;
    } else if (key == StoreKey::ImageDataAvailable) {
        to.setImageDataAvailable(from.imageDataAvailable());
    } else if (key == StoreKey::Birthday) {
        to.birthday = from.birthday;
    } else if (key == StoreKey::Dates) {
        to.dates = from.dates;
    } else if (key == StoreKey::PhoneNumbers) {
        to.phoneNumbers = from.phoneNumbers;
    } else if (key == StoreKey::EmailAddresses) {
        to.emailAddresses = from.emailAddresses;
    } else if (key == StoreKey::PostalAddresses) {
        to.postalAddresses = from.postalAddresses;
    } else if (key == StoreKey::UrlAddresses) {
        to.urlAddresses = from.urlAddresses;
    } else if (key == StoreKey::ContactRelations) {
        to.contactRelations = from.contactRelations;
    } else if (key == StoreKey::SocialProfiles) {
        to.socialProfiles = from.socialProfiles;
    } else if (key == StoreKey::InstantMessageAddresses) {
        to.instantMessageAddresses = from.instantMessageAddresses;
    }
}

// The record's contact with the fetched keys added. Installing the one-key fetch itself would drop
// every other key, and the save writes the available keys only.
StoreContact withFetchedKeys(const StoreContact &base, const StoreContact &fetched, const QStringList &keys)
{
    QStringList available = base.availableKeys();
    for (const QString &key : keys) {
        if (fetched.isKeyAvailable(key) && !available.contains(key))
            available.append(key);
    }
    StoreContact merged = StoreContact::fetched(base.identifier(), available);
    merged.setContactType(base.contactType());
    for (const QString &key : base.availableKeys())
        copyKeyValue(merged, base, key);
    for (const QString &key : keys) {
        if (fetched.isKeyAvailable(key))
            copyKeyValue(merged, fetched, key);
    }
    return merged;
}

} // namespace

// --- Construction --------------------------------------------------------------------------------

QNPerson::QNPerson()
{
    m_created = true;
    readSystemDefaults();
    m_uniqueId = PlatformUtil::newUUIDString();
}

QNPerson::QNPerson(const StoreContact &contact) : m_cnContact(contact)
{
    m_uniqueId = contact.identifier();
    readSystemDefaults();
    readNameKind();
    compositeName();
    // Organisations of a group are matched to the top group's rows by this name.
    if (!m_showAsPerson)
        m_uniqueId2 = stringFieldForIdentifier(PersonIdentifier::Company);
}

QNPerson::QNPerson(ArchiveTag) {}

void QNPerson::readSystemDefaults()
{
    m_defaultCountryCode = ContactsUserDefaults::countryCode().toUpper();
    switch (ContactsUserDefaults::sortOrder()) {
    case ContactsUserDefaults::SortOrderGivenName:
        m_defaultNameOrdering = 1;
        break;
    case ContactsUserDefaults::SortOrderFamilyName:
        m_defaultNameOrdering = 2;
        break;
    default:
        m_defaultNameOrdering = 0;
    }
}

QString QNPerson::uniqueId()
{
    if (m_uniqueId.isEmpty()) {
        const QString name = m_compositeName.isEmpty() ? AnonymousName : m_compositeName;
        m_uniqueId = name + QLatin1Char('+') + PlatformUtil::dateDescription();
    }
    return m_uniqueId;
}

// --- Value cache ---------------------------------------------------------------------------------

QVariantMap QNPerson::items() const
{
    QMutexLocker lock(&m_itemsMutex);
    return m_items;
}

void QNPerson::setItems(const QVariantMap &items)
{
    QMutexLocker lock(&m_itemsMutex);
    m_items = items;
    m_editedSinceRead = true;
    noteRevision();
}

QVariant QNPerson::item(const QString &identifier) const
{
    QMutexLocker lock(&m_itemsMutex);
    return m_items.value(identifier);
}

void QNPerson::setItem(const QString &identifier, const QVariant &value)
{
    QMutexLocker lock(&m_itemsMutex);
    m_items.insert(identifier, value);
    noteCacheWrite(identifier);
    noteRevision();
}

void QNPerson::removeItem(const QString &identifier)
{
    QMutexLocker lock(&m_itemsMutex);
    m_items.remove(identifier);
    noteCacheWrite(identifier);
    noteRevision();
}

void QNPerson::noteCacheWrite(const QString &identifier)
{
    if (stringIdentifiers().contains(identifier))
        m_editedSinceRead = true;
}

QString QNPerson::stringFieldForIdentifier(const QString &identifier)
{
    const QVariant cached = item(identifier);
    if (cached.isValid())
        return cached.toString();
    if (!m_cnContact || !stringIdentifiers().contains(identifier))
        return QString();
    const QString key = CNIdentifiers().value(identifier);
    if (!key.isEmpty() && !m_cnContact->isKeyAvailable(key) && !refetchKeys({key}))
        return QString();
    const QString value = key.isEmpty() ? QString() : m_cnContact->stringForKey(key);
    // Kept as read, which changes nothing a view shows: the revision stays.
    QMutexLocker lock(&m_itemsMutex);
    m_items.insert(identifier, value);
    return value;
}

// --- Fetching again ------------------------------------------------------------------------------

bool QNPerson::hasKeys(const QStringList &keys) const
{
    if (!m_cnContact)
        return false;
    for (const QString &key : keys) {
        if (!m_cnContact->isKeyAvailable(key))
            return false;
    }
    return true;
}

bool QNPerson::refetchKeys(const QStringList &keys)
{
    if (!m_cnContact)
        return false;
    const std::optional<StoreContact> fetched = refetchStoreContact(keys);
    if (!fetched)
        return false;
    m_cnContact = withFetchedKeys(*m_cnContact, *fetched, keys);
    // A value that could not be read before may read otherwise now.
    noteRevision();
    return true;
}

bool QNPerson::hasOrFetchesKeys(const QStringList &keys)
{
    if (!m_cnContact)
        return false;
    QStringList missing;
    for (const QString &key : keys) {
        if (!m_cnContact->isKeyAvailable(key))
            missing.append(key);
    }
    return missing.isEmpty() || refetchKeys(missing);
}

// --- Platform services ---------------------------------------------------------------------------

std::optional<StoreContact> QNPerson::refetchStoreContact(const QStringList &keys)
{
    const StoreResult<StoreContact> fetched = ContactStore().unifiedContact(uniqueId(), keys);
    if (!fetched.ok())
        return std::nullopt;
    return fetched.value;
}

QStringList QNPerson::nameFetchKeys()
{
    QStringList keys = {
        StoreKey::GivenName,          StoreKey::FamilyName,        StoreKey::MiddleName,
        StoreKey::PreviousFamilyName, StoreKey::PhoneticGivenName, StoreKey::PhoneticFamilyName,
        StoreKey::PhoneticMiddleName, StoreKey::ContactType,       StoreKey::Identifier,
        StoreKey::OrganizationName,   StoreKey::JobTitle,          StoreKey::DepartmentName,
        StoreKey::Nickname,           StoreKey::NamePrefix,        StoreKey::NameSuffix};
    for (const QString &key :
         ContactFormatter::descriptorForRequiredKeysForStyle(ContactFormatter::FullName)) {
        if (!keys.contains(key))
            keys.append(key);
    }
    return keys;
}
