#include "model/QNPerson.h"

#include "model/QNPersonKeys.h"
#include "platform/StoreLabels.h"

namespace {

using Kind = QNPerson::LabeledKind;

QString text(const QVariantMap &entry, const QString &key)
{
    return entry.value(key).toString();
}

// The store label of an entry. "No label" is our word for none, never store text; a truly empty
// label takes the kind's default.
QString storeLabel(const QVariantMap &entry, const QString &defaultLabel = QString())
{
    const QString label = text(entry, PersonKey::Label);
    if (label == PersonKey::NoLabel)
        return QString();
    if (label.isEmpty())
        return defaultLabel;
    return QNPerson::CNLabelFromLabel(label);
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
    if (number.trimmed().isEmpty())
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
    QString service = text(entry, StoreValueKey::Service);
    if (service.isEmpty())
        service = StoreIMService::AIM;
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

void setIfDifferent(StoreContact &contact, const QString &key, const QString &value)
{
    if (contact.stringForKey(key) != value)
        contact.setStringForKey(key, value);
}

void writeName(StoreContact &contact, const QNPerson::NameDict &name)
{
    setIfDifferent(contact, StoreKey::GivenName, text(name, PersonKey::FirstName));
    setIfDifferent(contact, StoreKey::MiddleName, text(name, PersonKey::MiddleName));
    setIfDifferent(contact, StoreKey::FamilyName, text(name, PersonKey::LastName));
    setIfDifferent(contact, StoreKey::PreviousFamilyName, text(name, PersonKey::PreviousFamilyName));
    const StoreContactType type = name.value(PersonKey::ShowAsPerson).toBool()
                                      ? StoreContactType::Person
                                      : StoreContactType::Organization;
    if (contact.contactType() != type)
        contact.setContactType(type);
}

void writePhoneticName(StoreContact &contact, const QNPerson::PhoneticNameDict &name)
{
    setIfDifferent(contact, StoreKey::PhoneticGivenName, text(name, PersonKey::FirstName));
    setIfDifferent(contact, StoreKey::PhoneticMiddleName, text(name, PersonKey::MiddleName));
    setIfDifferent(contact, StoreKey::PhoneticFamilyName, text(name, PersonKey::LastName));
}

} // namespace

StoreContact QNPerson::contactFromCache(const std::optional<StoreContact> &contact) const
{
    StoreContact mutableContact = contact ? *contact : StoreContact();
    if (m_nameValue)
        writeName(mutableContact, *m_nameValue);
    if (m_phoneticNameValue)
        writePhoneticName(mutableContact, *m_phoneticNameValue);
    for (int kind = 0; kind < LabeledKindCount; ++kind) {
        if (const std::optional<QVariantList> &list = m_labeledValues[kind])
            writeList(mutableContact, static_cast<Kind>(kind), *list);
    }
    if (m_birthdayValue) {
        const std::optional<DateComponents> birthday =
            dateComponentsFromVariant(m_birthdayValue->value(PersonKey::Value));
        mutableContact.birthday = birthday && !birthday->isEmpty() ? birthday : std::nullopt;
    }
    const QVariantMap cache = items();
    const QHash<QString, QString> storeKeys = CNIdentifiers();
    for (const QString &identifier : stringIdentifiers()) {
        const auto cached = cache.constFind(identifier);
        if (cached != cache.constEnd())
            setIfDifferent(mutableContact, storeKeys.value(identifier), cached->toString());
    }
    if (m_imageData)
        mutableContact.imageData = *m_imageData;
    return mutableContact;
}
