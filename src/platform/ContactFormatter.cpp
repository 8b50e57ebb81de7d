#include "platform/ContactFormatter.h"

#include "platform/ContactsUserDefaults.h"

#include <algorithm>

namespace {

QString joinedParts(QStringList parts)
{
    parts.removeAll(QString());
    return parts.join(QLatin1Char(' '));
}

} // namespace

bool ContactFormatter::containsCjk(const QString &text)
{
    // No character of these scripts lies below the Hangul jamo: most names need no script lookup.
    if (std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x1100; }))
        return false;
    for (const char32_t codePoint : text.toUcs4()) {
        switch (QChar::script(codePoint)) {
        case QChar::Script_Han:
        case QChar::Script_Hiragana:
        case QChar::Script_Katakana:
        case QChar::Script_Hangul:
            return true;
        default:
            break;
        }
    }
    return false;
}

ContactFormatter::NameOrder ContactFormatter::nameOrderForContact(const StoreContact &contact)
{
    return nameOrderForParts(contact.givenName, contact.middleName, contact.familyName);
}

ContactFormatter::NameOrder ContactFormatter::nameOrderForParts(const QString &given, const QString &middle,
                                                                const QString &family)
{
    if (containsCjk(given) || containsCjk(middle) || containsCjk(family))
        return NameOrderFamilyNameFirst;
    return ContactsUserDefaults::sortOrder() == ContactsUserDefaults::SortOrderFamilyName
               ? NameOrderFamilyNameFirst
               : NameOrderGivenNameFirst;
}

QString ContactFormatter::stringFromContact(const StoreContact &contact, Style style)
{
    const bool familyFirst = nameOrderForContact(contact) == NameOrderFamilyNameFirst;
    if (style == PhoneticFullName) {
        const QString &given = contact.phoneticGivenName;
        const QString &family = contact.phoneticFamilyName;
        return familyFirst ? joinedParts({family, contact.phoneticMiddleName, given})
                           : joinedParts({given, contact.phoneticMiddleName, family});
    }
    const bool hasName =
        !contact.givenName.isEmpty() || !contact.middleName.isEmpty() || !contact.familyName.isEmpty();
    const bool isOrganization = contact.contactType() == StoreContactType::Organization;
    if ((isOrganization && !contact.organizationName.isEmpty()) || !hasName)
        return contact.organizationName;
    if (familyFirst)
        return joinedParts({contact.namePrefix, contact.familyName, contact.middleName, contact.givenName,
                            contact.nameSuffix});
    return joinedParts(
        {contact.namePrefix, contact.givenName, contact.middleName, contact.familyName, contact.nameSuffix});
}

QStringList ContactFormatter::descriptorForRequiredKeysForStyle(Style style)
{
    if (style == PhoneticFullName)
        return {StoreKey::ContactType,       StoreKey::GivenName,         StoreKey::MiddleName,
                StoreKey::FamilyName,        StoreKey::PhoneticGivenName, StoreKey::PhoneticMiddleName,
                StoreKey::PhoneticFamilyName};
    return {StoreKey::ContactType, StoreKey::NamePrefix, StoreKey::GivenName,       StoreKey::MiddleName,
            StoreKey::FamilyName,  StoreKey::NameSuffix, StoreKey::OrganizationName};
}
