#include "model/QNPerson.h"

#include "model/QNPersonKeys.h"
#include "platform/ContactFormatter.h"
#include "platform/ContactsUserDefaults.h"

namespace {

const QStringList NameParts = {PersonKey::FirstName, PersonKey::MiddleName, PersonKey::LastName,
                               PersonKey::PreviousFamilyName};

const QStringList &nameStoreKeys()
{
    static const QStringList keys = {StoreKey::GivenName, StoreKey::MiddleName, StoreKey::FamilyName,
                                     StoreKey::PreviousFamilyName};
    return keys;
}

// Phonetic dictionary key and store key, in reading order.
const QList<std::pair<QString, QString>> &phoneticParts()
{
    static const QList<std::pair<QString, QString>> parts = {
        {PersonKey::FirstName, StoreKey::PhoneticGivenName},
        {PersonKey::LastName, StoreKey::PhoneticFamilyName},
        {PersonKey::MiddleName, StoreKey::PhoneticMiddleName},
    };
    return parts;
}

bool isNil(const QVariant &value)
{
    return !value.isValid() || value.isNull();
}

QString joinedName(const QString &first, const QString &last, int ordering)
{
    if (!first.isEmpty() && !last.isEmpty())
        return ordering == 2 ? last + QLatin1Char(' ') + first : first + QLatin1Char(' ') + last;
    return first.isEmpty() ? last : first;
}

} // namespace

const QStringList &QNPerson::nameReadKeys()
{
    static const QStringList keys = nameStoreKeys() + QStringList{StoreKey::PhoneticFamilyName};
    return keys;
}

const QStringList &QNPerson::phoneticStoreKeys()
{
    static const QStringList keys = [] {
        QStringList list;
        for (const auto &[part, key] : phoneticParts())
            list.append(key);
        return list;
    }();
    return keys;
}

QString QNPerson::compositeNameFromNameDict(const NameDict &name)
{
    return compositeNameFromParts(name.value(PersonKey::FirstName).toString(),
                                  name.value(PersonKey::MiddleName).toString(),
                                  name.value(PersonKey::LastName).toString(),
                                  name.value(PersonKey::NameOrdering).toInt());
}

QString QNPerson::compositeNameFromParts(const QString &first, const QString &middle, const QString &last,
                                         int ordering)
{
    if (ordering == 0) {
        switch (ContactsUserDefaults::sortOrder()) {
        case ContactsUserDefaults::SortOrderGivenName:
            ordering = 1;
            break;
        case ContactsUserDefaults::SortOrderFamilyName:
            ordering = 2;
            break;
        default:
            break;
        }
    }
    const QString joined = joinedName(first, last, ordering);
    return joined.isEmpty() ? middle : joined;
}

int QNPerson::nameOrderingForNameDict(const NameDict &name)
{
    return ContactFormatter::nameOrderForParts(name.value(PersonKey::FirstName).toString(),
                                               name.value(PersonKey::MiddleName).toString(),
                                               name.value(PersonKey::LastName).toString());
}

QNPerson::NameDict QNPerson::nameValue()
{
    if (m_nameValue) {
        updateNameValue(*m_nameValue);
        return *m_nameValue;
    }
    if (const std::optional<NameDict> read = readNameValue())
        return *read;
    return NameDict{{PersonKey::ShowAsPerson, true}};
}

const StoreContact *QNPerson::nameContact()
{
    if (!m_cnContact)
        return nullptr;
    if (!hasKeys(nameReadKeys()))
        refetchKeys(nameFetchKeys());
    return &*m_cnContact;
}

QString QNPerson::storeNamePart(qsizetype part) const
{
    const QString &key = nameStoreKeys()[part];
    return m_cnContact->isKeyAvailable(key) ? m_cnContact->stringForKey(key) : QString();
}

void QNPerson::readNameKind()
{
    if (const StoreContact *contact = nameContact())
        takeNameKind(*contact);
}

void QNPerson::takeNameKind(const StoreContact &contact)
{
    const int order = ContactFormatter::nameOrderForContact(contact);
    m_nameOrdering = order == 1 || order == 2 ? order : 0;
    m_showAsPerson = contact.contactType() == StoreContactType::Person;
}

// Not kept: an unedited record reads its name from its store contact, which holds it anyway.
std::optional<QNPerson::NameDict> QNPerson::readNameValue()
{
    const StoreContact *contact = nameContact();
    if (!contact)
        return std::nullopt;
    NameDict name{{PersonKey::ShowAsPerson, true}};
    for (qsizetype i = 0; i < NameParts.size(); ++i)
        name.insert(NameParts[i], storeNamePart(i));
    takeNameKind(*contact);
    name.insert(PersonKey::NameOrdering, m_nameOrdering);
    name.insert(PersonKey::ShowAsPerson, m_showAsPerson);
    name.insert(PersonKey::StringValue, compositeNameFromNameDict(name));
    return name;
}

QString QNPerson::namePart(const QString &part)
{
    if (m_nameValue)
        return m_nameValue->value(part).toString();
    const qsizetype index = NameParts.indexOf(part);
    if (index < 0 || !nameContact())
        return QString();
    return storeNamePart(index);
}

QString QNPerson::nameStringValue()
{
    if (m_nameValue)
        return m_nameValue->value(PersonKey::StringValue).toString();
    // The order was taken from the contact with the record: it is asked for on every row a view shows.
    if (!nameContact())
        return QString();
    return compositeNameFromParts(storeNamePart(0), storeNamePart(1), storeNamePart(2), m_nameOrdering);
}

void QNPerson::holdNameValues()
{
    if (!m_nameValue && hasKeys(nameStoreKeys()))
        m_nameValue = readNameValue();
    if (!m_phoneticNameValue && m_cnContact && hasKeys(phoneticStoreKeys()))
        m_phoneticNameValue = phoneticNameValue();
}

// A name without "showAsPerson" (cleared, or set part by part) keeps the record's kind: only an
// explicit choice makes a person a company or back.
//
// The store keeps no name order: each read decides it from the name (family name first for a CJK
// name, else the user's sort order). An order brought with the name (the one it had before an
// edit, a paste's 0) would last only until the save, so the same rule decides it here.
void QNPerson::updateNameValue(NameDict &name)
{
    m_showAsPerson = name.value(PersonKey::ShowAsPerson, m_showAsPerson).toBool();
    name.insert(PersonKey::ShowAsPerson, m_showAsPerson);
    m_nameOrdering = nameOrderingForNameDict(name);
    name.insert(PersonKey::NameOrdering, m_nameOrdering);
    name.insert(PersonKey::StringValue, compositeNameFromNameDict(name));
    if (m_phoneticNameValue)
        updatePhoneticName(*m_phoneticNameValue);
}

QString QNPerson::compositeName()
{
    QString name;
    if (m_showAsPerson)
        name = nameStringValue();
    else
        name = stringFieldForIdentifier(PersonIdentifier::Company);
    m_compositeName = name.isEmpty() ? PersonKey::NoName : name;
    return m_compositeName;
}

void QNPerson::setNameValue(const QVariant &value, const QString &identifier)
{
    // Compared with the stored name, so that only the parts that differ count as edited.
    const std::optional<NameDict> nameBefore = m_nameValue ? m_nameValue : readNameValue();
    const std::optional<PhoneticNameDict> phoneticBefore = phoneticNameValue();
    if (identifier == PersonIdentifier::Name) {
        m_nameValue = value.toMap();
        updateNameValue(*m_nameValue);
        compositeName();
    } else if (NameParts.contains(identifier)) {
        setNamePart(identifier, value);
    } else if (identifier == PersonIdentifier::PhoneticName) {
        if (value.typeId() == QMetaType::QVariantMap)
            m_phoneticNameValue = value.toMap();
        else if (isNil(value))
            m_phoneticNameValue = PhoneticNameDict();
        if (m_phoneticNameValue)
            updatePhoneticName(*m_phoneticNameValue);
    } else if (phoneticIdentifiers().contains(identifier)) {
        setPhoneticPart(identifier, value);
    } else {
        return;
    }
    m_changed = true;
    noteRevision();
    noteNameEdits(nameBefore, phoneticBefore);
}

void QNPerson::noteNameEdits(const std::optional<NameDict> &nameBefore,
                             const std::optional<PhoneticNameDict> &phoneticBefore)
{
    // Every part counts as edited when there was nothing to compare with.
    const auto differs = [](const std::optional<QVariantMap> &before, const QVariantMap &after,
                            const QString &part) {
        return !before || before->value(part).toString() != after.value(part).toString();
    };
    if (m_nameValue) {
        for (qsizetype i = 0; i < NameParts.size(); ++i) {
            if (differs(nameBefore, *m_nameValue, NameParts[i]))
                noteEdit(nameStoreKeys()[i]);
        }
        if (!nameBefore || nameBefore->value(PersonKey::ShowAsPerson).toBool() !=
                               m_nameValue->value(PersonKey::ShowAsPerson).toBool())
            noteEdit(StoreKey::ContactType);
    }
    if (m_phoneticNameValue) {
        for (const auto &[part, key] : phoneticParts()) {
            if (differs(phoneticBefore, *m_phoneticNameValue, part))
                noteEdit(key);
        }
    }
}

void QNPerson::setNamePart(const QString &key, const QVariant &value)
{
    // The other parts must come from the store first, or the save would erase them.
    if (!m_nameValue)
        m_nameValue = nameValue();
    m_nameValue->insert(key, isNil(value) ? QString() : value.toString());
    updateNameValue(*m_nameValue);
    compositeName();
}

void QNPerson::setPhoneticPart(const QString &identifier, const QVariant &value)
{
    if (!m_phoneticNameValue)
        m_phoneticNameValue = phoneticNameValue().value_or(PhoneticNameDict());
    m_phoneticNameValue->insert(identifier, isNil(value) ? QString() : value.toString());
    updatePhoneticName(*m_phoneticNameValue);
}

// Not kept, as the name.
std::optional<QNPerson::PhoneticNameDict> QNPerson::phoneticNameValue()
{
    if (m_phoneticNameValue)
        return m_phoneticNameValue;
    if (!m_cnContact)
        return std::nullopt;
    hasOrFetchesKeys(phoneticStoreKeys());
    PhoneticNameDict phonetic;
    for (const auto &[part, key] : phoneticParts())
        phonetic.insert(part, m_cnContact->isKeyAvailable(key) ? m_cnContact->stringForKey(key) : QString());
    updatePhoneticName(phonetic);
    return phonetic;
}

QString QNPerson::phoneticPart(const QString &identifier)
{
    if (m_phoneticNameValue)
        return m_phoneticNameValue->value(identifier).toString();
    return phoneticNameValue().value_or(PhoneticNameDict()).value(identifier).toString();
}

QString QNPerson::phoneticName()
{
    return phoneticPart(PersonKey::StringValue);
}

void QNPerson::updatePhoneticName(PhoneticNameDict &phoneticName) const
{
    const QString first = phoneticName.value(PersonKey::FirstName).toString();
    const QString last = phoneticName.value(PersonKey::LastName).toString();
    phoneticName.insert(PersonKey::StringValue, joinedName(first, last, m_nameOrdering == 2 ? 2 : 1));
}
