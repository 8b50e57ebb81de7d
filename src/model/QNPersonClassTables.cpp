#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"

#include "platform/Localizer.h"
#include "platform/StoreContact.h"
#include "platform/StoreLabels.h"

namespace {

const QString WrapStart = QStringLiteral("_$!<");
const QString WrapEnd = QStringLiteral(">!$_");

// --- Label conversion ----------------------------------------------------------------------------

struct LabelConversion
{
    QHash<QString, QString> toLabel;
    QHash<QString, QString> toStoreLabel;
};

const LabelConversion &labelConversion()
{
    static const LabelConversion conversion = [] {
        const std::pair<QString, QString> pairs[] = {
            {QStringLiteral("All"), QStringLiteral("All")},
            {StoreLabel::Work, QStringLiteral("work")},
            {StoreLabel::Home, QStringLiteral("home")},
            {StoreLabel::Other, QStringLiteral("other")},
            {StoreLabel::PhoneNumberiPhone, QStringLiteral("iPhone")},
            {StoreLabel::PhoneNumberMain, QStringLiteral("main")},
            {StoreLabel::PhoneNumberMobile, QStringLiteral("mobile")},
            {StoreLabel::PhoneNumberHomeFax, QStringLiteral("home fax")},
            {StoreLabel::PhoneNumberWorkFax, QStringLiteral("work fax")},
            {StoreLabel::PhoneNumberOtherFax, QStringLiteral("other fax")},
            {StoreLabel::PhoneNumberPager, QStringLiteral("pager")},
            {StoreLabel::URLAddressHomePage, QStringLiteral("home page")},
            {StoreLabel::ContactRelationMother, QStringLiteral("mother")},
            {StoreLabel::ContactRelationFather, QStringLiteral("father")},
            {StoreLabel::ContactRelationParent, QStringLiteral("parent")},
            {StoreLabel::ContactRelationSister, QStringLiteral("sister")},
            {StoreLabel::ContactRelationBrother, QStringLiteral("brother")},
            {StoreLabel::ContactRelationChild, QStringLiteral("child")},
            {StoreLabel::ContactRelationFriend, QStringLiteral("friend")},
            {StoreLabel::ContactRelationSpouse, QStringLiteral("spouse")},
            {StoreLabel::ContactRelationPartner, QStringLiteral("partner")},
            {StoreLabel::ContactRelationAssistant, QStringLiteral("assistant")},
            {StoreLabel::ContactRelationManager, QStringLiteral("manager")},
            {StoreLabel::DateAnniversary, QStringLiteral("anniversary")},
            {StoreLabel::ContactRelationSon, QStringLiteral("son")},
            {StoreLabel::ContactRelationDaughter, QStringLiteral("daughter")},
        };
        LabelConversion result;
        for (const auto &[storeLabel, label] : pairs) {
            result.toLabel.insert(storeLabel, label);
            result.toStoreLabel.insert(label, storeLabel);
        }
        return result;
    }();
    return conversion;
}

// The field identifiers and their store keys: fixed once built, so read without a lock.
struct Identifiers
{
    Identifiers();

    QStringList allIdentifiers;
    QHash<QString, QString> storeKeys;
    QStringList labeledIdentifiers;
    QStringList addressIdentifiers;
    QStringList stringIdentifiers;
    QStringList phoneticIdentifiers;
};

const Identifiers &identifiers()
{
    static const Identifiers instance;
    return instance;
}

Identifiers::Identifiers()
{
    allIdentifiers = {
        QStringLiteral("Name"),
        QStringLiteral("Company"),
        QStringLiteral("Department"),
        QStringLiteral("Job Title"),
        QStringLiteral("Nickname"),
        QStringLiteral("Title"),
        QStringLiteral("Suffix"),
        QStringLiteral("Note"),
        QStringLiteral("Phone"),
        QStringLiteral("Email"),
        QStringLiteral("URL"),
        QStringLiteral("Address"),
        QStringLiteral("Relationship"),
        QStringLiteral("Social Network"),
        QStringLiteral("Instant Message"),
        QStringLiteral("Dates"),
        QStringLiteral("Birthday"),
        QStringLiteral("Phonetic Name"),
        QStringLiteral("Photo"),
    };
    storeKeys = {
        {QStringLiteral("Department"), StoreKey::DepartmentName},
        {QStringLiteral("Nickname"), StoreKey::Nickname},
        {QStringLiteral("Job Title"), StoreKey::JobTitle},
        {QStringLiteral("Title"), StoreKey::NamePrefix},
        {QStringLiteral("Suffix"), StoreKey::NameSuffix},
        {QStringLiteral("Company"), StoreKey::OrganizationName},
        {QStringLiteral("Phone"), StoreKey::PhoneNumbers},
        {QStringLiteral("Email"), StoreKey::EmailAddresses},
        {QStringLiteral("Address"), StoreKey::PostalAddresses},
        {QStringLiteral("Instant Message"), StoreKey::InstantMessageAddresses},
        {QStringLiteral("Social Network"), StoreKey::SocialProfiles},
        {QStringLiteral("Relationship"), StoreKey::ContactRelations},
        {QStringLiteral("URL"), StoreKey::UrlAddresses},
        {QStringLiteral("Birthday"), StoreKey::Birthday},
        {QStringLiteral("Dates"), StoreKey::Dates},
        {QStringLiteral("Phonetic FirstName"), StoreKey::PhoneticGivenName},
        {QStringLiteral("Phonetic MiddleName"), StoreKey::PhoneticMiddleName},
        {QStringLiteral("Phonetic LastName"), StoreKey::PhoneticFamilyName},
        {QStringLiteral("Photo"), StoreKey::ImageData},
        {QStringLiteral("Note"), StoreKey::Note},
    };
    labeledIdentifiers = {QStringLiteral("Email"),          QStringLiteral("Instant Message"),
                          QStringLiteral("Social Network"), QStringLiteral("URL"),
                          QStringLiteral("Phone"),          QStringLiteral("Address"),
                          QStringLiteral("Relationship"),   QStringLiteral("Dates")};
    addressIdentifiers = {QStringLiteral("ZIP"), QStringLiteral("State"), QStringLiteral("City"),
                          QStringLiteral("Street"), QStringLiteral("Country")};
    stringIdentifiers = {QStringLiteral("Company"),  QStringLiteral("Department"),
                         QStringLiteral("Nickname"), QStringLiteral("Job Title"),
                         QStringLiteral("Title"),    QStringLiteral("Note"),
                         QStringLiteral("Suffix")};
    phoneticIdentifiers = {QStringLiteral("Phonetic Name"), QStringLiteral("Phonetic FirstName"),
                           QStringLiteral("Phonetic LastName"), QStringLiteral("Phonetic MiddleName")};
}

} // namespace

// --- Identifiers ---------------------------------------------------------------------------------

QStringList QNPerson::allIdentifiers()
{
    return identifiers().allIdentifiers;
}

QStringList QNPerson::labeledIdentifiers()
{
    return identifiers().labeledIdentifiers;
}

QStringList QNPerson::stringIdentifiers()
{
    return identifiers().stringIdentifiers;
}

QStringList QNPerson::addressIdentifiers()
{
    return identifiers().addressIdentifiers;
}

QStringList QNPerson::phoneticIdentifiers()
{
    return identifiers().phoneticIdentifiers;
}

QHash<QString, QString> QNPerson::CNIdentifiers()
{
    return identifiers().storeKeys;
}

QString QNPerson::localizedIdentifierForKey(const QString &key)
{
    const QString storeKey = identifiers().storeKeys.value(key);
    if (!storeKey.isEmpty())
        return StoreKey::localizedString(storeKey);
    static const QHash<QString, QString> postalKeys = {
        {QStringLiteral("ZIP"), StoreValueKey::PostalCode},
        {QStringLiteral("State"), StoreValueKey::State},
        {QStringLiteral("City"), StoreValueKey::City},
        {QStringLiteral("Street"), StoreValueKey::Street},
        {QStringLiteral("Country"), StoreValueKey::Country},
    };
    const auto postal = postalKeys.constFind(key);
    if (postal != postalKeys.constEnd())
        return StoreValueKey::localizedString(*postal);
    return L(key);
}

// --- Labels --------------------------------------------------------------------------------------

QString QNPerson::labelFromCNLabel(const QString &cnLabel)
{
    const QHash<QString, QString> &known = labelConversion().toLabel;
    const auto it = known.constFind(cnLabel);
    QString label = cnLabel;
    if (it != known.constEnd())
        label = *it;
    // Only a wrapped word is unwrapped: a label that merely holds the marks keeps every character.
    else if (cnLabel.size() >= 8 && cnLabel.startsWith(WrapStart) && cnLabel.endsWith(WrapEnd))
        label = cnLabel.mid(4, cnLabel.size() - 8);
    return label.isEmpty() ? PersonKey::NoLabel : label;
}

QString QNPerson::CNLabelFromLabel(const QString &label)
{
    if (label.isNull())
        return QString();
    return labelConversion().toStoreLabel.value(label, label);
}

QString QNPerson::localizedLabelFromCNLabel(const QString &cnLabel)
{
    return StoreLabel::localizedString(cnLabel);
}

std::optional<QStringList> QNPerson::labelsForIdentifier(const QString &identifier)
{
    return LabelTables::shared().labels(identifier);
}

std::optional<QStringList> QNPerson::customLabelsForIdentifier(const QString &identifier)
{
    return LabelTables::shared().customLabels(identifier);
}

std::optional<QStringList> QNPerson::localizedLabelsForIdentifier(const QString &identifier)
{
    return LabelTables::shared().localizedLabels(identifier);
}

QNPerson::LabelTable QNPerson::labelTableDict()
{
    return LabelTables::shared().labelTable();
}

QNPerson::LabelTable QNPerson::customLabelTableDict()
{
    return LabelTables::shared().customLabelTable();
}

void QNPerson::addCustomLabel(const QString &label, const QString &identifier)
{
    LabelTables::shared().addCustomLabel(label, identifier);
}

bool QNPerson::setLabel(const QString &from, const QString &to, const QString &identifier)
{
    return LabelTables::shared().setLabel(from, to, identifier);
}

bool QNPerson::removeLabel(const QString &label, const QString &identifier)
{
    return LabelTables::shared().removeLabel(label, identifier);
}

QStringList QNPerson::socialServiceLabels()
{
    using namespace StoreSocialService;
    return {Twitter,
            Facebook,
            Flickr,
            LinkedIn,
            Yelp,
            MySpace,
            SinaWeibo,
            TencentWeibo,
            GameCenter,
            QStringLiteral("WeChat"),
            QStringLiteral("Instagram"),
            QStringLiteral("Pinterest"),
            QStringLiteral("LINE"),
            QStringLiteral("Snapchat"),
            QStringLiteral("Tumbler"),
            QStringLiteral("WhatsApp")};
}

// --- Custom items --------------------------------------------------------------------------------

void QNPerson::setCustomItems(const QVariantList &items)
{
    LabelTables::shared().setCustomItems(items);
}

std::optional<QVariantList> QNPerson::customItems()
{
    return LabelTables::shared().customItems();
}

// --- Address formats -----------------------------------------------------------------------------

QNPerson::AddressFormatTable QNPerson::addressFormatTable()
{
    return LabelTables::shared().addressFormatTable();
}

QNPerson::AddressFormatDict QNPerson::addressFormatDict()
{
    return LabelTables::shared().addressFormatDict();
}

void QNPerson::setAddressFormatTable(const QVariantList &entries)
{
    LabelTables::shared().overlayAddressFormats(entries);
}

void QNPerson::loadAddressFormatTable(const QString &path)
{
    LabelTables::shared().loadAddressFormats(path);
}
