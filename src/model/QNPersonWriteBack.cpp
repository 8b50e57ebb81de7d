#include "model/QNPerson.h"

#include "model/QNPersonKeys.h"
#include "platform/StoreLabels.h"

#include <algorithm>

namespace {

using Kind = QNPerson::LabeledKind;

QString text(const QVariantMap &entry, const QString &key)
{
    return entry.value(key).toString();
}

// The store label of an entry's label. "No label" is our word for none, never store text; a truly
// empty label takes the kind's default.
QString storeLabelOf(const QString &label, const QString &defaultLabel)
{
    if (label == PersonKey::NoLabel)
        return QString();
    if (label.isEmpty())
        return defaultLabel;
    return QNPerson::CNLabelFromLabel(label);
}

QString storeLabel(const QVariantMap &entry, const QString &defaultLabel = QString())
{
    return storeLabelOf(text(entry, PersonKey::Label), defaultLabel);
}

bool isBlank(const QString &number)
{
    return std::all_of(number.cbegin(), number.cend(), [](QChar c) { return c.isSpace(); });
}

// A social profile's service: the label as it stands; "No service" means none.
QString storeService(const QVariantMap &entry)
{
    const QString label = text(entry, PersonKey::Label);
    if (label == PersonKey::NoService)
        return QString();
    return label.isEmpty() ? StoreSocialService::Twitter : label;
}

template <typename T, typename Make>
QList<StoreLabeledValue<T>> storeList(const QVariantList &entries, Make make)
{
    QList<StoreLabeledValue<T>> values;
    for (const QVariant &value : entries) {
        if (const std::optional<StoreLabeledValue<T>> made = make(value.toMap()))
            values.append(*made);
    }
    return values;
}

std::optional<StoreLabeledString> storePhone(const QVariantMap &entry)
{
    const QString number = text(entry, PersonKey::Value);
    if (isBlank(number))
        return std::nullopt;
    return StoreLabeledString{QString(), storeLabel(entry), number};
}

std::optional<StoreLabeledString> storeTextValue(const QVariantMap &entry)
{
    if (!entry.contains(PersonKey::Value))
        return std::nullopt;
    return StoreLabeledString{QString(), storeLabel(entry), text(entry, PersonKey::Value)};
}

std::optional<StoreLabeledAddress> storeAddress(const QVariantMap &entry)
{
    StorePostalAddress address;
    address.postalCode = text(entry, PersonKey::ZIP);
    address.state = text(entry, PersonKey::State);
    address.city = text(entry, PersonKey::City);
    address.street = text(entry, PersonKey::Street);
    address.country = text(entry, PersonKey::Country);
    address.isoCountryCode = text(entry, StoreValueKey::ISOCountryCode);
    return StoreLabeledAddress{QString(), storeLabel(entry), address};
}

// The store label a profile was read with, while its label still names the service it was read
// with (the store's service names differ from the older ones only in case); otherwise none.
std::optional<QString> readStoreLabel(const QVariantMap &entry, const QString &service)
{
    if (!entry.contains(PersonKey::CNLabel))
        return std::nullopt;
    const QString readService =
        entry.value(PersonKey::SocialProfile).toMap().value(StoreValueKey::Service).toString();
    if (service.compare(readService, Qt::CaseInsensitive) != 0)
        return std::nullopt;
    return text(entry, PersonKey::CNLabel);
}

std::optional<StoreLabeledSocialProfile> storeSocialProfile(const QVariantMap &entry)
{
    const QString username = text(entry, PersonKey::Value);
    const QString url = text(entry, StoreValueKey::UrlString);
    // A profile may be known by its address alone.
    if (username.isEmpty() && url.isEmpty())
        return std::nullopt;
    const QString service = storeService(entry);
    const StoreSocialProfile profile{url, username, text(entry, StoreValueKey::UserIdentifier), service};
    return StoreLabeledSocialProfile{QString(), readStoreLabel(entry, service).value_or(service), profile};
}

std::optional<StoreLabeledInstantMessage> storeInstantMessage(const QVariantMap &entry)
{
    const QString username = text(entry, StoreValueKey::Username);
    if (username.isEmpty())
        return std::nullopt;
    // An account read without a service keeps none; only one made without saying gets AIM.
    const QString service =
        entry.contains(StoreValueKey::Service) ? text(entry, StoreValueKey::Service) : StoreIMService::AIM;
    return StoreLabeledInstantMessage{QString(), storeLabel(entry), {username, service}};
}

std::optional<StoreLabeledString> storeRelation(const QVariantMap &entry)
{
    const QString name = text(entry, PersonKey::Value);
    if (name.isEmpty())
        return std::nullopt;
    return StoreLabeledString{QString(), storeLabel(entry, StoreLabel::ContactRelationFriend), name};
}

std::optional<StoreLabeledDate> storeDate(const QVariantMap &entry)
{
    const std::optional<DateComponents> date =
        QNPerson::dateComponentsFromVariant(entry.value(PersonKey::Value));
    if (!date)
        return std::nullopt;
    return StoreLabeledDate{QString(), storeLabel(entry, StoreLabel::DateAnniversary), *date};
}

void writeList(StoreContact &contact, Kind kind, const QVariantList &entries)
{
    switch (kind) {
    case Kind::Phone:
        contact.phoneNumbers = storeList<QString>(entries, storePhone);
        break;
    case Kind::Email:
        contact.emailAddresses = storeList<QString>(entries, storeTextValue);
        break;
    case Kind::URL:
        contact.urlAddresses = storeList<QString>(entries, storeTextValue);
        break;
    case Kind::Address:
        contact.postalAddresses = storeList<StorePostalAddress>(entries, storeAddress);
        break;
    case Kind::SocialProfile:
        contact.socialProfiles = storeList<StoreSocialProfile>(entries, storeSocialProfile);
        break;
    case Kind::InstantMessage:
        contact.instantMessageAddresses = storeList<StoreInstantMessageAddress>(entries, storeInstantMessage);
        break;
    case Kind::Relation:
        contact.contactRelations = storeList<QString>(entries, storeRelation);
        break;
    case Kind::Dates:
        contact.dates = storeList<DateComponents>(entries, storeDate);
        break;
    }
}

// Whether a store label comes back the same from a list read into the record and written back.
bool labelStays(const QString &label, const QString &defaultLabel = QString())
{
    return storeLabelOf(QNPerson::labelFromCNLabel(label), defaultLabel) == label;
}

template <typename T, typename Stays> bool allStay(const QList<StoreLabeledValue<T>> &values, Stays stays)
{
    return std::all_of(values.cbegin(), values.cend(), stays);
}

// Whether the store contact's list comes back as it is from being read into the record and
// written back: every label stays and no entry is left out. A social profile's service and label
// are taken through the names of older services, so that list is always made again.
bool writesBackUnchanged(Kind kind, const StoreContact &contact)
{
    const auto labelled = [](const auto &entry) { return labelStays(entry.label); };
    switch (kind) {
    case Kind::Phone:
        return allStay(contact.phoneNumbers, [](const StoreLabeledString &phone) {
            return !isBlank(phone.value) && labelStays(phone.label);
        });
    case Kind::Email:
        return allStay(contact.emailAddresses, labelled);
    case Kind::URL:
        return allStay(contact.urlAddresses, labelled);
    case Kind::Address:
        return allStay(contact.postalAddresses, labelled);
    case Kind::InstantMessage:
        return allStay(contact.instantMessageAddresses, [](const StoreLabeledInstantMessage &account) {
            return !account.value.username.isEmpty() && labelStays(account.label);
        });
    case Kind::Relation:
        return allStay(contact.contactRelations, [](const StoreLabeledString &relation) {
            return !relation.value.isEmpty() && labelStays(relation.label, StoreLabel::ContactRelationFriend);
        });
    case Kind::Dates:
        return allStay(contact.dates, [](const StoreLabeledDate &date) {
            return labelStays(date.label, StoreLabel::DateAnniversary);
        });
    case Kind::SocialProfile:
        return contact.socialProfiles.isEmpty();
    }
    return false;
}

// Writes values into a contact key by key: every key, or only the chosen ones. It keeps the keys
// it wrote, so that a save can leave the others to the store.
class KeyWriter
{
public:
    KeyWriter(StoreContact &contact, const QSet<QString> *onlyKeys) : m_contact(contact), m_onlyKeys(onlyKeys)
    {
    }

    // Whether the key is to be written; if so, it counts as written.
    bool take(const QString &key)
    {
        if (m_onlyKeys && !m_onlyKeys->contains(key))
            return false;
        m_written.append(key);
        return true;
    }
    void setString(const QString &key, const QString &value)
    {
        if (take(key) && m_contact.stringForKey(key) != value)
            m_contact.setStringForKey(key, value);
    }
    StoreContact &contact() { return m_contact; }
    const QStringList &written() const { return m_written; }

private:
    StoreContact &m_contact;
    const QSet<QString> *m_onlyKeys;
    QStringList m_written;
};

void writeName(KeyWriter &writer, const QNPerson::NameDict &name)
{
    writer.setString(StoreKey::GivenName, text(name, PersonKey::FirstName));
    writer.setString(StoreKey::MiddleName, text(name, PersonKey::MiddleName));
    writer.setString(StoreKey::FamilyName, text(name, PersonKey::LastName));
    writer.setString(StoreKey::PreviousFamilyName, text(name, PersonKey::PreviousFamilyName));
    const StoreContactType type = name.value(PersonKey::ShowAsPerson).toBool()
                                      ? StoreContactType::Person
                                      : StoreContactType::Organization;
    if (writer.take(StoreKey::ContactType) && writer.contact().contactType() != type)
        writer.contact().setContactType(type);
}

void writePhoneticName(KeyWriter &writer, const QNPerson::PhoneticNameDict &name)
{
    writer.setString(StoreKey::PhoneticGivenName, text(name, PersonKey::FirstName));
    writer.setString(StoreKey::PhoneticMiddleName, text(name, PersonKey::MiddleName));
    writer.setString(StoreKey::PhoneticFamilyName, text(name, PersonKey::LastName));
}

} // namespace

StoreContact QNPerson::contactFromCache(const std::optional<StoreContact> &contact) const
{
    StoreContact mutableContact = contact ? *contact : StoreContact();
    writeCache(mutableContact, nullptr);
    return mutableContact;
}

StoreContact QNPerson::contactFromUnreadValues() const
{
    StoreContact contact = *m_cnContact;
    for (int kind = 0; kind < LabeledKindCount; ++kind) {
        if (!writesBackUnchanged(static_cast<Kind>(kind), contact))
            writeList(contact, static_cast<Kind>(kind), readStoreEntries(static_cast<Kind>(kind), contact));
    }
    if (contact.birthday && contact.birthday->isEmpty())
        contact.birthday.reset();
    return contact;
}

StoreContact QNPerson::editedContactFromCache(const StoreContact &contact) const
{
    StoreContact mutableContact = contact;
    mutableContact.keepOnlyKeys(writeCache(mutableContact, &m_editedStoreKeys));
    return mutableContact;
}

QStringList QNPerson::writeCache(StoreContact &contact, const QSet<QString> *onlyKeys) const
{
    KeyWriter writer(contact, onlyKeys);
    if (m_nameValue)
        writeName(writer, *m_nameValue);
    if (m_phoneticNameValue)
        writePhoneticName(writer, *m_phoneticNameValue);
    for (int kind = 0; kind < LabeledKindCount; ++kind) {
        const QVariantList *list = heldList(static_cast<Kind>(kind));
        if (list && writer.take(storeKeyForLabeledKind(static_cast<Kind>(kind))))
            writeList(contact, static_cast<Kind>(kind), *list);
    }
    if (m_birthdayValue && writer.take(StoreKey::Birthday)) {
        const std::optional<DateComponents> birthday =
            dateComponentsFromVariant(m_birthdayValue->value(PersonKey::Value));
        contact.birthday = birthday && !birthday->isEmpty() ? birthday : std::nullopt;
    }
    const QVariantMap cache = items();
    const QHash<QString, QString> storeKeys = CNIdentifiers();
    for (const QString &identifier : stringIdentifiers()) {
        const auto cached = cache.constFind(identifier);
        if (cached != cache.constEnd())
            writer.setString(storeKeys.value(identifier), cached->toString());
    }
    if (m_imageData && writer.take(StoreKey::ImageData))
        contact.imageData = *m_imageData;
    return writer.written();
}
