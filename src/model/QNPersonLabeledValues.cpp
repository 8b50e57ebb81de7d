#include "model/QNPerson.h"

#include "model/LabeledEntry.h"
#include "model/QNPersonKeys.h"
#include "platform/Log.h"
#include "platform/StoreLabels.h"

#include <QDate>
#include <QDateTime>

namespace {

using Kind = QNPerson::LabeledKind;

struct KindInfo
{
    Kind kind;
    QString identifier;
    QString storeKey;
};

const QList<KindInfo> &kinds()
{
    static const QList<KindInfo> table = {
        {Kind::Phone, QStringLiteral("Phone"), StoreKey::PhoneNumbers},
        {Kind::Email, QStringLiteral("Email"), StoreKey::EmailAddresses},
        {Kind::Address, QStringLiteral("Address"), StoreKey::PostalAddresses},
        {Kind::URL, QStringLiteral("URL"), StoreKey::UrlAddresses},
        {Kind::SocialProfile, QStringLiteral("Social Network"), StoreKey::SocialProfiles},
        {Kind::InstantMessage, QStringLiteral("Instant Message"), StoreKey::InstantMessageAddresses},
        {Kind::Relation, QStringLiteral("Relationship"), StoreKey::ContactRelations},
        {Kind::Dates, QStringLiteral("Dates"), StoreKey::Dates},
    };
    return table;
}

const KindInfo &info(Kind kind)
{
    return kinds()[static_cast<int>(kind)];
}

bool isNil(const QVariant &value)
{
    return !value.isValid() || value.isNull();
}

// The label of an entry read from the store. Reading offers no label in the menus: a list is read
// whenever a view first shows it (offerStoredLabels does that once per contact).
QString readLabel(const QString &storeLabel, const QString &)
{
    return QNPerson::labelFromCNLabel(storeLabel);
}

void setDefaultLabel(QVariantMap &entry, const QString &defaultLabel)
{
    if (entry.value(PersonKey::Label).toString().isEmpty())
        entry.insert(PersonKey::Label, defaultLabel);
}

void copyValueToStringValue(QVariantMap &entry)
{
    entry.insert(PersonKey::StringValue, entry.value(PersonKey::Value).toString());
}

QString imsText(const QString &service, const QString &username)
{
    const QString text = service + QLatin1Char(':') + username;
    return text.size() > 1 ? text : QString();
}

// --- Reading from the store ----------------------------------------------------------------------

QVariantMap readPhone(const StoreLabeledString &value, const QString &identifier)
{
    return {{PersonKey::PhoneNumber, value.value},
            {PersonKey::Label, readLabel(value.label, identifier)},
            {PersonKey::CNLabel, value.label},
            {PersonKey::StringValue, value.value},
            {PersonKey::Value, value.value}};
}

QVariantMap readEmail(const StoreLabeledString &value, const QString &identifier)
{
    QVariantMap entry{{PersonKey::Value, value.value},
                      {PersonKey::Label, readLabel(value.label, identifier)},
                      {PersonKey::CNLabel, value.label},
                      {PersonKey::StringValue, value.value}};
    QNPerson::updateEmailValue(entry);
    return entry;
}

QVariantMap postalAddressMap(const StorePostalAddress &address)
{
    return {
        {StoreValueKey::Street, address.street},   {StoreValueKey::City, address.city},
        {StoreValueKey::State, address.state},     {StoreValueKey::PostalCode, address.postalCode},
        {StoreValueKey::Country, address.country}, {StoreValueKey::ISOCountryCode, address.isoCountryCode}};
}

QVariantMap readAddress(const StoreLabeledAddress &value, const QString &identifier)
{
    const StorePostalAddress &address = value.value;
    QVariantMap entry{{PersonKey::Label, readLabel(value.label, identifier)},
                      {PersonKey::CNLabel, value.label},
                      {PersonKey::Street, address.street},
                      {PersonKey::City, address.city},
                      {PersonKey::State, address.state},
                      {PersonKey::ZIP, address.postalCode},
                      {PersonKey::Country, address.country},
                      {StoreValueKey::ISOCountryCode, address.isoCountryCode},
                      {PersonKey::PostalAddress, postalAddressMap(address)}};
    QNPerson::updateAddressValue(entry, 1);
    return entry;
}

QVariantMap readUrl(const StoreLabeledString &value, const QString &identifier)
{
    return {{PersonKey::Value, value.value},
            {PersonKey::Label, readLabel(value.label, identifier)},
            {PersonKey::StringValue, value.value}};
}

QString storeServiceName(const QString &service)
{
    static const QHash<QString, QString> services = {
        {AddressBookSocialService::Facebook, StoreSocialService::Facebook},
        {AddressBookSocialService::Twitter, StoreSocialService::Twitter},
        {AddressBookSocialService::Flickr, StoreSocialService::Flickr},
        {AddressBookSocialService::LinkedIn, StoreSocialService::LinkedIn},
    };
    return services.value(service, service);
}

// A profile without a service reads as "No service", so that it goes back without one.
QString socialProfileLabel(const QString &service)
{
    return service.isEmpty() ? PersonKey::NoService : service;
}

QVariantMap readSocialProfile(const StoreLabeledSocialProfile &value, const QString &)
{
    const StoreSocialProfile &profile = value.value;
    const QString service = storeServiceName(profile.service);
    const QString label = socialProfileLabel(service);
    return {{PersonKey::SocialProfile, QVariantMap{{StoreValueKey::UrlString, profile.urlString},
                                                   {StoreValueKey::Username, profile.username},
                                                   {StoreValueKey::UserIdentifier, profile.userIdentifier},
                                                   {StoreValueKey::Service, profile.service}}},
            {PersonKey::StringValue, profile.username},
            {StoreValueKey::Username, profile.username},
            {PersonKey::Value, profile.username},
            {PersonKey::Label, label},
            {PersonKey::CNLabel, value.label},
            {StoreValueKey::Service, service},
            {StoreValueKey::UrlString, profile.urlString},
            {StoreValueKey::UserIdentifier, profile.userIdentifier}};
}

QVariantMap readInstantMessage(const StoreLabeledInstantMessage &value, const QString &identifier)
{
    const StoreInstantMessageAddress &address = value.value;
    return {{PersonKey::Label, readLabel(value.label, identifier)},
            {PersonKey::InstantMessageAddress, QVariantMap{{StoreValueKey::Username, address.username},
                                                           {StoreValueKey::Service, address.service}}},
            {PersonKey::StringValue, imsText(address.service, address.username)},
            {StoreValueKey::Service, address.service},
            {StoreValueKey::Username, address.username},
            {PersonKey::Value, address.username}};
}

QVariantMap readRelation(const StoreLabeledString &value, const QString &identifier)
{
    return {{PersonKey::Label, readLabel(value.label, identifier)},
            {PersonKey::ContactRelation, value.value},
            {PersonKey::StringValue, value.value},
            {PersonKey::Value, value.value}};
}

QVariantMap readDate(const StoreLabeledDate &value, const QString &identifier)
{
    return {{PersonKey::Value, QNPerson::variantFromDateComponents(value.value)},
            {PersonKey::StringValue, QNPerson::dateStringFromDateComponents(value.value)},
            {PersonKey::Label, readLabel(value.label, identifier)}};
}

template <typename T, typename Read>
QVariantList readList(const QList<StoreLabeledValue<T>> &values, const QString &identifier, Read read)
{
    QVariantList list;
    list.reserve(values.size());
    for (const StoreLabeledValue<T> &value : values) {
        QVariantMap entry = read(value, identifier);
        entry.insert(PersonKey::LabelIndex, static_cast<int>(list.size()));
        list.append(entry);
    }
    return list;
}

QVariantList readEntries(Kind kind, const StoreContact &contact)
{
    const QString &identifier = info(kind).identifier;
    switch (kind) {
    case Kind::Phone:
        return readList(contact.phoneNumbers, identifier, readPhone);
    case Kind::Email:
        return readList(contact.emailAddresses, identifier, readEmail);
    case Kind::Address:
        return readList(contact.postalAddresses, identifier, readAddress);
    case Kind::URL:
        return readList(contact.urlAddresses, identifier, readUrl);
    case Kind::SocialProfile:
        return readList(contact.socialProfiles, identifier, readSocialProfile);
    case Kind::InstantMessage:
        return readList(contact.instantMessageAddresses, identifier, readInstantMessage);
    case Kind::Relation:
        return readList(contact.contactRelations, identifier, readRelation);
    case Kind::Dates:
        return readList(contact.dates, identifier, readDate);
    }
    return {};
}

// Calls visit with the store label of each of the kind's values, without copying them. A social
// profile's label is its service, no label of the user's.
template <typename Visit>
void visitStoreLabels(Kind kind, const StoreContact &contact, const Visit &visit)
{
    const auto each = [&visit](const auto &values) {
        for (const auto &value : values)
            visit(value.label);
    };
    switch (kind) {
    case Kind::Phone:
        return each(contact.phoneNumbers);
    case Kind::Email:
        return each(contact.emailAddresses);
    case Kind::Address:
        return each(contact.postalAddresses);
    case Kind::URL:
        return each(contact.urlAddresses);
    case Kind::InstantMessage:
        return each(contact.instantMessageAddresses);
    case Kind::Relation:
        return each(contact.contactRelations);
    case Kind::Dates:
        return each(contact.dates);
    case Kind::SocialProfile:
        break;
    }
}

// Entries of a whole new list, normalised; entries without a number get fresh ones after the
// largest given, so numbers stay unique.
QVariantList normalisedList(Kind kind, const QVariantList &entries)
{
    QVariantList list;
    list.reserve(entries.size());
    for (const QVariant &value : entries) {
        QVariantMap entry = value.toMap();
        QNPerson::updateLabeledValue(kind, entry);
        list.append(entry);
    }
    QNPerson::numberNewEntries(list);
    return list;
}

} // namespace

// --- Kinds ---------------------------------------------------------------------------------------

std::optional<QNPerson::LabeledKind> QNPerson::labeledKindForIdentifier(const QString &identifier)
{
    for (const KindInfo &kind : kinds()) {
        if (kind.identifier == identifier)
            return kind.kind;
    }
    return std::nullopt;
}

QString QNPerson::identifierForLabeledKind(LabeledKind kind)
{
    return info(kind).identifier;
}

QString QNPerson::storeKeyForLabeledKind(LabeledKind kind)
{
    return info(kind).storeKey;
}

qsizetype QNPerson::findLabeledValue(const QVariantList &list, qsizetype labelIndex)
{
    for (qsizetype position = 0; position < list.size(); ++position) {
        if (LabeledEntry(list[position].toMap()).labelIndex() == labelIndex)
            return position;
    }
    return -1;
}

qsizetype QNPerson::nextLabelIndex(const QVariantList &list)
{
    qsizetype next = list.size();
    for (const QVariant &entry : list) {
        const std::optional<qint64> number = LabeledEntry(entry.toMap()).labelIndex();
        if (number && *number >= next)
            next = *number + 1;
    }
    return next;
}

// --- The record's lists --------------------------------------------------------------------------

QVariantList QNPerson::readStoreEntries(LabeledKind kind, const StoreContact &contact)
{
    return readEntries(kind, contact);
}

std::optional<QVariantList> QNPerson::heldLabeledValues(LabeledKind kind) const
{
    const QVariantList *held = heldList(kind);
    return held ? std::optional<QVariantList>(*held) : std::nullopt;
}

void QNPerson::setHeldLabeledValues(LabeledKind kind, const std::optional<QVariantList> &list)
{
    listSlot(kind) = list;
    noteEdit(info(kind).storeKey);
}

const QVariantList *QNPerson::heldList(LabeledKind kind) const
{
    if (!m_labeledValues)
        return nullptr;
    const std::optional<QVariantList> &held = (*m_labeledValues)[static_cast<int>(kind)];
    return held ? &*held : nullptr;
}

std::optional<QVariantList> &QNPerson::listSlot(LabeledKind kind)
{
    if (!m_labeledValues)
        m_labeledValues = std::make_unique<HeldLists>();
    return (*m_labeledValues)[static_cast<int>(kind)];
}

QVariantList *QNPerson::loadedLabeledValues(LabeledKind kind)
{
    std::optional<QVariantList> &held = listSlot(kind);
    if (held)
        return &*held;
    if (!m_cnContact)
        return nullptr;
    const QString &key = info(kind).storeKey;
    if (!m_cnContact->isKeyAvailable(key) && !refetchKeys({key}))
        return nullptr;
    held = readEntries(kind, *m_cnContact);
    return &*held;
}

void QNPerson::offerStoredLabels() const
{
    LabelTable labels;
    collectStoredLabels(labels);
    LabelTables::shared().offerLabels(labels);
}

// Called for every contact of a load: no list is copied, and an empty store label is no label.
void QNPerson::collectStoredLabels(LabelTable &collected) const
{
    for (const KindInfo &kind : kinds()) {
        QStringList *known = nullptr;
        const auto collect = [&](const QString &label) {
            // "No label" is the text of an empty label, not a label.
            if (label.isEmpty() || label == PersonKey::NoLabel)
                return;
            if (!known)
                known = &collected[kind.identifier];
            if (!known->contains(label))
                known->append(label);
        };
        if (m_cnContact && m_cnContact->isKeyAvailable(kind.storeKey)) {
            visitStoreLabels(kind.kind, *m_cnContact, [&collect](const QString &storeLabel) {
                if (!storeLabel.isEmpty())
                    collect(labelFromCNLabel(storeLabel));
            });
        } else if (const QVariantList *held = heldList(kind.kind); held && kind.kind != Kind::SocialProfile) {
            for (const QVariant &entry : *held)
                collect(entry.toMap().value(PersonKey::Label).toString());
        }
    }
}

std::optional<QList<QNPerson::LabeledText>> QNPerson::unreadLabeledTexts(LabeledKind kind) const
{
    if (heldList(kind) || !m_cnContact ||
        !m_cnContact->isKeyAvailable(info(kind).storeKey))
        return std::nullopt;
    // As the readers make "label" and "stringValue" of each entry.
    const auto texts = [](const auto &values, const auto &labelAndText) {
        QList<LabeledText> list;
        list.reserve(values.size());
        for (const auto &value : values)
            list.append(labelAndText(value));
        return list;
    };
    const QString &identifier = info(kind).identifier;
    const auto plain = [&identifier](const StoreLabeledString &value) {
        return LabeledText{readLabel(value.label, identifier), value.value};
    };
    switch (kind) {
    case Kind::Phone:
        return texts(m_cnContact->phoneNumbers, plain);
    case Kind::Email:
        return texts(m_cnContact->emailAddresses, plain);
    case Kind::URL:
        return texts(m_cnContact->urlAddresses, plain);
    case Kind::Relation:
        return texts(m_cnContact->contactRelations, plain);
    case Kind::Dates:
        return texts(m_cnContact->dates, [&identifier](const StoreLabeledDate &value) {
            return LabeledText{readLabel(value.label, identifier), dateStringFromDateComponents(value.value)};
        });
    case Kind::SocialProfile:
        return texts(m_cnContact->socialProfiles, [](const StoreLabeledSocialProfile &value) {
            return LabeledText{socialProfileLabel(storeServiceName(value.value.service)), value.value.username};
        });
    default:
        return std::nullopt;
    }
}

// An unedited list is read from the store contact each time: a dictionary per entry kept for each
// of thousands of contacts would double what they hold.
QVariantList QNPerson::labeledValues(LabeledKind kind)
{
    if (const QVariantList *held = heldList(kind))
        return *held;
    if (!labeledValuesReadable(kind) || !m_cnContact)
        return QVariantList();
    return readEntries(kind, *m_cnContact);
}

bool QNPerson::labeledValuesReadable(LabeledKind kind)
{
    if (heldList(kind) || !m_cnContact)
        return true;
    const QString &key = info(kind).storeKey;
    return m_cnContact->isKeyAvailable(key) || refetchKeys({key});
}

void QNPerson::addLabeledEntry(LabeledKind kind, const LabeledValueDict &entry)
{
    QVariantList *list = loadedLabeledValues(kind);
    if (!list && m_cnContact) {
        // A new list would replace the stored one on save.
        Log::write(QStringLiteral("ERROR -[QNPerson addLabeledEntry]: cannot read %1 of %2")
                       .arg(info(kind).identifier, uniqueId()));
        return;
    }
    if (!list)
        list = &listSlot(kind).emplace();
    LabeledValueDict added = entry;
    updateLabeledValue(kind, added);
    added.insert(PersonKey::LabelIndex, static_cast<int>(nextLabelIndex(*list)));
    list->append(added);
    m_changed = true;
    noteEdit(info(kind).storeKey);
}

void QNPerson::replaceLabeledEntries(LabeledKind kind, const QVariant &value)
{
    if (value.typeId() != QMetaType::QVariantMap) {
        replaceLabeledEntries(kind, value, 0);
        return;
    }
    LabeledValueDict entry = value.toMap();
    const std::optional<qint64> number = LabeledEntry(entry).labelIndex();
    // Without a number the entry is in no list yet: it is new, not entry 0.
    if (!number) {
        addLabeledEntry(kind, entry);
        return;
    }
    QVariantList *list = loadedLabeledValues(kind);
    if (!list)
        return;
    const qsizetype position = findLabeledValue(*list, *number);
    if (position < 0)
        return;
    updateLabeledValue(kind, entry);
    (*list)[position] = entry;
    m_changed = true;
    noteEdit(info(kind).storeKey);
}

void QNPerson::replaceLabeledEntries(LabeledKind kind, const QVariant &value, qsizetype position)
{
    std::optional<QVariantList> &held = listSlot(kind);
    if (isNil(value)) {
        held = QVariantList();
    } else if (value.typeId() == QMetaType::QVariantList) {
        held = normalisedList(kind, value.toList());
    } else if (value.typeId() == QMetaType::QVariantMap) {
        QVariantList *list = loadedLabeledValues(kind);
        if (!list || position < 0 || position >= list->size())
            return;
        LabeledValueDict entry = value.toMap();
        updateLabeledValue(kind, entry);
        // The slot keeps its number: it is the entry's identity in the list.
        entry.insert(PersonKey::LabelIndex, (*list)[position].toMap().value(PersonKey::LabelIndex));
        (*list)[position] = entry;
    } else {
        return;
    }
    m_changed = true;
    noteEdit(info(kind).storeKey);
}

// --- Normalisers ---------------------------------------------------------------------------------

void QNPerson::updateLabeledValue(LabeledKind kind, LabeledValueDict &entry, int addressOption)
{
    switch (kind) {
    case Kind::Phone:
        updatePhoneValue(entry);
        break;
    case Kind::Email:
        updateEmailValue(entry);
        break;
    case Kind::Address:
        updateAddressValue(entry, addressOption);
        break;
    case Kind::URL:
        updateURLValue(entry);
        break;
    case Kind::SocialProfile:
        updateSNSValue(entry);
        break;
    case Kind::InstantMessage:
        updateIMSValue(entry);
        break;
    case Kind::Relation:
        updateRelationshipValue(entry);
        break;
    case Kind::Dates:
        updateDatesValue(entry);
        break;
    }
}

void QNPerson::updatePhoneValue(LabeledValueDict &entry)
{
    setDefaultLabel(entry, PersonKey::NoLabel);
    copyValueToStringValue(entry);
}

void QNPerson::updateURLValue(LabeledValueDict &entry)
{
    updatePhoneValue(entry);
}

void QNPerson::updateRelationshipValue(LabeledValueDict &entry)
{
    updatePhoneValue(entry);
}

void QNPerson::updateEmailValue(LabeledValueDict &entry)
{
    updatePhoneValue(entry);
    const QString address = entry.value(PersonKey::StringValue).toString();
    const qsizetype at = address.indexOf(QLatin1Char('@'));
    QString username = address;
    QString domain;
    if (at >= 0 && at < address.size() - 1) {
        username = address.left(at);
        domain = address.mid(at + 1);
    }
    // Parts of an earlier address must not outlive it.
    entry.remove(PersonKey::Username);
    entry.remove(PersonKey::Domain);
    if (!username.isEmpty())
        entry.insert(PersonKey::Username, username);
    if (!domain.isEmpty())
        entry.insert(PersonKey::Domain, domain);
}

void QNPerson::updateSNSValue(LabeledValueDict &entry)
{
    if (!entry.contains(PersonKey::Label))
        entry.insert(PersonKey::Label, PersonKey::NoService);
    entry.insert(StoreValueKey::Service, entry.value(PersonKey::Label).toString());
    const QString username = entry.value(PersonKey::Value).toString();
    entry.insert(StoreValueKey::Username, username);
    entry.insert(PersonKey::StringValue, username);
}

void QNPerson::updateIMSValue(LabeledValueDict &entry)
{
    if (!entry.contains(PersonKey::Label))
        entry.insert(PersonKey::Label, PersonKey::NoLabel);
    const QString service = entry.value(StoreValueKey::Service).toString();
    if (entry.contains(PersonKey::Value))
        entry.insert(StoreValueKey::Username, entry.value(PersonKey::Value).toString());
    entry.insert(PersonKey::StringValue, imsText(service, entry.value(PersonKey::Value).toString()));
}

void QNPerson::updateDatesValue(LabeledValueDict &entry)
{
    setDefaultLabel(entry, PersonKey::NoLabel);
    const QVariant value = entry.value(PersonKey::Value);
    const std::optional<DateComponents> components =
        value.typeId() == QMetaType::QString ? std::nullopt : dateComponentsFromVariant(value);
    if (components && (value.typeId() == QMetaType::QDate || value.typeId() == QMetaType::QDateTime))
        entry.insert(PersonKey::Value, variantFromDateComponents(*components));
    entry.insert(PersonKey::StringValue, components ? dateStringFromDateComponents(*components) : QString());
}
