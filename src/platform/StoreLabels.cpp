#include "platform/StoreLabels.h"

#include "platform/Localizer.h"

#include <QHash>

namespace {

const QString WrapStart = QStringLiteral("_$!<");
const QString WrapEnd = QStringLiteral(">!$_");

// English display texts; the Localizer turns them into the user's language.
const QHash<QString, QString> &labelTexts()
{
    static const QHash<QString, QString> texts = {
        {StoreLabel::Home, QStringLiteral("home")},
        {StoreLabel::Work, QStringLiteral("work")},
        {StoreLabel::Other, QStringLiteral("other")},
        {StoreLabel::PhoneNumberiPhone, QStringLiteral("iPhone")},
        {StoreLabel::PhoneNumberMobile, QStringLiteral("mobile")},
        {StoreLabel::PhoneNumberMain, QStringLiteral("main")},
        {StoreLabel::PhoneNumberHomeFax, QStringLiteral("home fax")},
        {StoreLabel::PhoneNumberWorkFax, QStringLiteral("work fax")},
        {StoreLabel::PhoneNumberOtherFax, QStringLiteral("other fax")},
        {StoreLabel::PhoneNumberPager, QStringLiteral("pager")},
        {StoreLabel::URLAddressHomePage, QStringLiteral("home page")},
        {StoreLabel::DateAnniversary, QStringLiteral("anniversary")},
        {StoreLabel::ContactRelationFather, QStringLiteral("father")},
        {StoreLabel::ContactRelationMother, QStringLiteral("mother")},
        {StoreLabel::ContactRelationParent, QStringLiteral("parent")},
        {StoreLabel::ContactRelationBrother, QStringLiteral("brother")},
        {StoreLabel::ContactRelationSister, QStringLiteral("sister")},
        {StoreLabel::ContactRelationChild, QStringLiteral("child")},
        {StoreLabel::ContactRelationFriend, QStringLiteral("friend")},
        {StoreLabel::ContactRelationSpouse, QStringLiteral("spouse")},
        {StoreLabel::ContactRelationPartner, QStringLiteral("partner")},
        {StoreLabel::ContactRelationAssistant, QStringLiteral("assistant")},
        {StoreLabel::ContactRelationManager, QStringLiteral("manager")},
        {StoreLabel::ContactRelationSon, QStringLiteral("son")},
        {StoreLabel::ContactRelationDaughter, QStringLiteral("daughter")},
        // Our words for an entry without a label or a service: no store labels, but shown too.
        {QStringLiteral("No label"), QStringLiteral("No label")},
        {QStringLiteral("No service"), QStringLiteral("No service")},
    };
    return texts;
}

const QHash<QString, QString> &contactKeyTexts()
{
    static const QHash<QString, QString> texts = {
        {StoreKey::NamePrefix, QStringLiteral("Prefix")},
        {StoreKey::GivenName, QStringLiteral("First Name")},
        {StoreKey::MiddleName, QStringLiteral("Middle Name")},
        {StoreKey::FamilyName, QStringLiteral("Last Name")},
        {StoreKey::PreviousFamilyName, QStringLiteral("Maiden Name")},
        {StoreKey::NameSuffix, QStringLiteral("Suffix")},
        {StoreKey::Nickname, QStringLiteral("Nickname")},
        {StoreKey::PhoneticGivenName, QStringLiteral("Phonetic First Name")},
        {StoreKey::PhoneticMiddleName, QStringLiteral("Phonetic Middle Name")},
        {StoreKey::PhoneticFamilyName, QStringLiteral("Phonetic Last Name")},
        {StoreKey::OrganizationName, QStringLiteral("Company")},
        {StoreKey::DepartmentName, QStringLiteral("Department")},
        {StoreKey::JobTitle, QStringLiteral("Job Title")},
        {StoreKey::Note, QStringLiteral("Note")},
        {StoreKey::ImageData, QStringLiteral("Photo")},
        {StoreKey::Birthday, QStringLiteral("Birthday")},
        {StoreKey::Dates, QStringLiteral("Date")},
        {StoreKey::PhoneNumbers, QStringLiteral("Phone")},
        {StoreKey::EmailAddresses, QStringLiteral("Email")},
        {StoreKey::PostalAddresses, QStringLiteral("Address")},
        {StoreKey::UrlAddresses, QStringLiteral("URL")},
        {StoreKey::ContactRelations, QStringLiteral("Related Name")},
        {StoreKey::SocialProfiles, QStringLiteral("Social Profile")},
        {StoreKey::InstantMessageAddresses, QStringLiteral("Instant Message")},
    };
    return texts;
}

const QHash<QString, QString> &valueKeyTexts()
{
    static const QHash<QString, QString> texts = {
        {StoreValueKey::Street, QStringLiteral("Street")},
        {StoreValueKey::City, QStringLiteral("City")},
        {StoreValueKey::State, QStringLiteral("State")},
        {StoreValueKey::PostalCode, QStringLiteral("ZIP")},
        {StoreValueKey::Country, QStringLiteral("Country")},
        {StoreValueKey::ISOCountryCode, QStringLiteral("Country Code")},
        {StoreValueKey::UrlString, QStringLiteral("URL")},
        {StoreValueKey::Username, QStringLiteral("User Name")},
        {StoreValueKey::UserIdentifier, QStringLiteral("User ID")},
        {StoreValueKey::Service, QStringLiteral("Service")},
    };
    return texts;
}

QString localizedFrom(const QHash<QString, QString> &texts, const QString &key)
{
    const auto it = texts.constFind(key);
    return it == texts.constEnd() ? QString(QLatin1String("")) : L(*it);
}

} // namespace

QString StoreLabel::localizedString(const QString &label)
{
    const auto it = labelTexts().constFind(label);
    if (it != labelTexts().constEnd())
        return L(*it);
    // A wrapped word the store does not know is still no text to show as it stands.
    if (label.size() > WrapStart.size() + WrapEnd.size() && label.startsWith(WrapStart) &&
        label.endsWith(WrapEnd))
        return label.mid(WrapStart.size(), label.size() - WrapStart.size() - WrapEnd.size());
    return label;
}

QString StoreKey::localizedString(const QString &key)
{
    return localizedFrom(contactKeyTexts(), key);
}

QString StoreValueKey::localizedString(const QString &key)
{
    return localizedFrom(valueKeyTexts(), key);
}
