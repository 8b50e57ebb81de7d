#include "model/QNPerson.h"

#include "platform/Localizer.h"
#include "platform/Log.h"
#include "platform/StoreContact.h"
#include "platform/StoreLabels.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QMutex>
#include <QMutexLocker>

#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <utility>

namespace {

const QString AddressFormatResource = QStringLiteral(":/AddressFormat.json");
// We are no AppKit; this stands for a current one, which offers the long service list.
constexpr double RunningAppKitVersion = 2299.0;
constexpr double ShortServiceListVersion = 1187.0;

const QString CountryCodeKey = QStringLiteral("CountryCode");
const QString FormatStringKey = QStringLiteral("formatString");
const QString OrderKey = QStringLiteral("Order");
const QString LocalizedCountryKey = QStringLiteral("LocalizedCountry");
const QString NoLabel = QStringLiteral("No label");
const QString WrapStart = QStringLiteral("_$!<");

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

// --- Address formats -----------------------------------------------------------------------------

// The language of country names and the country of the naming locale ("ja" and "JP" for a
// Japanese user in Japan).
struct CountryNaming
{
    QString language;
    QString country;
};

CountryNaming currentCountryNaming()
{
    const QStringList languages = Localizer::shared().preferredLanguages();
    // Not "en" for an empty list, so such a user still gets country names.
    const QString language = languages.isEmpty() ? QStringLiteral("US") : languages.first().left(2);
    return {language, QLocale::territoryToCode(QLocale().territory())};
}

QString countryName(const QString &code, const CountryNaming &naming)
{
    const icu::Locale displayLocale(naming.language.toLatin1().constData(),
                                    naming.country.toLatin1().constData());
    icu::UnicodeString name;
    icu::Locale("", code.toLatin1().constData()).getDisplayCountry(displayLocale, name);
    return QString(reinterpret_cast<const QChar *>(name.getBuffer()), name.length());
}

// Splits at every white space or line break; adjacent separators leave empty tokens.
QStringList orderTokens(QString formatString)
{
    formatString.remove(QChar(0x200E));
    QStringList tokens;
    QString token;
    for (const QChar c : std::as_const(formatString)) {
        if (c.isSpace()) {
            tokens.append(token);
            token.clear();
        } else {
            token.append(c);
        }
    }
    tokens.append(token);
    return tokens;
}

QNPerson::AddressFormatEntry addressFormatEntry(const QVariantMap &object, const CountryNaming &naming)
{
    QNPerson::AddressFormatEntry entry = object;
    if (naming.language != QLatin1String("en") && object.contains(CountryCodeKey)) {
        const QString name = countryName(object.value(CountryCodeKey).toString(), naming);
        if (!name.isEmpty())
            entry.insert(LocalizedCountryKey, name);
    }
    if (object.contains(FormatStringKey))
        entry.insert(OrderKey, orderTokens(object.value(FormatStringKey).toString()));
    return entry;
}

QVariantList readAddressFormatRows(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll());
    return document.object().value(QStringLiteral("AddressFormat")).toArray().toVariantList();
}

// --- The shared state ----------------------------------------------------------------------------

QStringList startLabels(const QStringList &storeLabels)
{
    QStringList labels;
    labels.reserve(storeLabels.size());
    for (const QString &storeLabel : storeLabels)
        labels.append(QNPerson::labelFromCNLabel(storeLabel));
    return labels;
}

QStringList displayTexts(const QStringList &labels)
{
    QStringList texts;
    texts.reserve(labels.size());
    for (const QString &label : labels) {
        const QString storeLabel = QNPerson::CNLabelFromLabel(label);
        const QString text =
            storeLabel.isEmpty() ? QString() : QNPerson::localizedLabelFromCNLabel(storeLabel);
        texts.append(text.isEmpty() ? label : text);
    }
    return texts;
}

struct ClassTables
{
    ClassTables();

    // Fixed once built; read without the lock.
    QStringList allIdentifiers;
    QHash<QString, QString> storeKeys;
    QStringList labeledIdentifiers;
    QStringList addressIdentifiers;
    QStringList stringIdentifiers;
    QStringList phoneticIdentifiers;

    QMutex mutex;
    // Guarded by mutex.
    QNPerson::AddressFormatTable addressFormatTable;
    QNPerson::AddressFormatDict addressFormatDict;
    QNPerson::LabelTable customLabels;
    QNPerson::LabelTable labels;
    QNPerson::LabelTable localizedLabels;
    std::optional<QVariantList> customItems;

    void loadAddressFormats(const QString &path);
    void overlayAddressFormats(const QVariantList &rows);

private:
    void buildLabelTable();
    void buildLocalizedLabelTable();
};

ClassTables &tables()
{
    static ClassTables instance;
    return instance;
}

ClassTables::ClassTables()
{
    loadAddressFormats(AddressFormatResource);
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
    buildLabelTable();
    buildLocalizedLabelTable();
}

void ClassTables::buildLabelTable()
{
    using namespace StoreLabel;
    const QStringList homeWorkOther = startLabels({Home, Work, Other});
    labels.insert(QStringLiteral("Email"), homeWorkOther);
    labels.insert(
        QStringLiteral("Phone"),
        startLabels({Home, Work, Other, PhoneNumberMain, PhoneNumberMobile, PhoneNumberiPhone,
                     PhoneNumberPager, PhoneNumberHomeFax, PhoneNumberWorkFax, PhoneNumberOtherFax}));
    labels.insert(QStringLiteral("Address"), homeWorkOther);
    labels.insert(QStringLiteral("URL"), startLabels({URLAddressHomePage, Home, Work, Other}));
    labels.insert(QStringLiteral("Relationship"),
                  startLabels({ContactRelationFather, ContactRelationMother, ContactRelationParent,
                               ContactRelationSpouse, ContactRelationChild, ContactRelationBrother,
                               ContactRelationSister, ContactRelationFriend, ContactRelationAssistant,
                               ContactRelationManager, ContactRelationPartner, ContactRelationSon,
                               ContactRelationDaughter}));
    labels.insert(QStringLiteral("Dates"), startLabels({DateAnniversary}));
    labels.insert(QStringLiteral("Social Network"),
                  startLabels(QNPerson::socialServiceLabels(RunningAppKitVersion)));
    labels.insert(QStringLiteral("Instant Message"), homeWorkOther);
    labels.insert(QStringLiteral("Show as Person"), {QStringLiteral("Person"), QStringLiteral("Company")});
    labels.insert(QStringLiteral("Name Ordering"),
                  {QStringLiteral("System Default (%1)").arg(QStringLiteral("LastName")),
                   QStringLiteral("First Name First"), QStringLiteral("Last Name First")});
}

void ClassTables::buildLocalizedLabelTable()
{
    for (auto it = labels.cbegin(); it != labels.cend(); ++it)
        localizedLabels.insert(it.key(), displayTexts(it.value()));
}

void ClassTables::loadAddressFormats(const QString &path)
{
    const CountryNaming naming = currentCountryNaming();
    QNPerson::AddressFormatTable table;
    QNPerson::AddressFormatDict dict;
    for (const QVariant &row : readAddressFormatRows(path)) {
        if (row.typeId() != QMetaType::QVariantMap)
            continue;
        const QNPerson::AddressFormatEntry entry = addressFormatEntry(row.toMap(), naming);
        // A later row of the same code wins in the dictionary; the table keeps both.
        if (entry.contains(CountryCodeKey))
            dict.insert(entry.value(CountryCodeKey).toString(), entry);
        table.append(entry);
    }
    QMutexLocker lock(&mutex);
    addressFormatTable = std::move(table);
    addressFormatDict = std::move(dict);
}

void ClassTables::overlayAddressFormats(const QVariantList &rows)
{
    const CountryNaming naming = currentCountryNaming();
    QMutexLocker lock(&mutex);
    // Rows without a code keep their place in this list, so its indexes are the table's.
    QList<std::optional<QString>> codes;
    for (const QNPerson::AddressFormatEntry &entry : std::as_const(addressFormatTable))
        codes.append(entry.contains(CountryCodeKey) ? std::optional(entry.value(CountryCodeKey).toString())
                                                    : std::nullopt);
    for (const QVariant &row : rows) {
        if (row.typeId() != QMetaType::QVariantMap)
            continue;
        const QNPerson::AddressFormatEntry entry = addressFormatEntry(row.toMap(), naming);
        if (!entry.contains(CountryCodeKey))
            continue;
        const QString code = entry.value(CountryCodeKey).toString();
        addressFormatDict.insert(code, entry);
        const qsizetype index = codes.indexOf(code);
        if (index >= 0)
            addressFormatTable[index] = entry;
    }
}

std::optional<QStringList> lookUp(const QNPerson::LabelTable &table, const QString &identifier)
{
    const auto it = table.constFind(identifier);
    if (it == table.constEnd())
        return std::nullopt;
    return *it;
}

} // namespace

// --- Identifiers ---------------------------------------------------------------------------------

QStringList QNPerson::allIdentifiers()
{
    return tables().allIdentifiers;
}

QStringList QNPerson::labeledIdentifiers()
{
    return tables().labeledIdentifiers;
}

QStringList QNPerson::stringIdentifiers()
{
    return tables().stringIdentifiers;
}

QStringList QNPerson::addressIdentifiers()
{
    return tables().addressIdentifiers;
}

QStringList QNPerson::phoneticIdentifiers()
{
    return tables().phoneticIdentifiers;
}

QHash<QString, QString> QNPerson::CNIdentifiers()
{
    return tables().storeKeys;
}

QString QNPerson::localizedIdentifierForKey(const QString &key)
{
    const QString storeKey = tables().storeKeys.value(key);
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
    else if (cnLabel.contains(WrapStart) && cnLabel.size() >= 8)
        label = cnLabel.mid(4, cnLabel.size() - 8);
    return label.isEmpty() ? NoLabel : label;
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
    ClassTables &t = tables();
    QMutexLocker lock(&t.mutex);
    return lookUp(t.labels, identifier);
}

std::optional<QStringList> QNPerson::customLabelsForIdentifier(const QString &identifier)
{
    ClassTables &t = tables();
    QMutexLocker lock(&t.mutex);
    return lookUp(t.customLabels, identifier);
}

std::optional<QStringList> QNPerson::localizedLabelsForIdentifier(const QString &identifier)
{
    ClassTables &t = tables();
    QMutexLocker lock(&t.mutex);
    return lookUp(t.localizedLabels, identifier);
}

QNPerson::LabelTable QNPerson::labelTableDict()
{
    ClassTables &t = tables();
    QMutexLocker lock(&t.mutex);
    for (auto it = t.labels.begin(); it != t.labels.end(); ++it) {
        for (const QString &custom : t.customLabels.value(it.key())) {
            if (!it->contains(custom))
                it->append(custom);
        }
    }
    return t.labels;
}

QNPerson::LabelTable QNPerson::localizedLabelTableDict()
{
    ClassTables &t = tables();
    QMutexLocker lock(&t.mutex);
    return t.localizedLabels;
}

QNPerson::LabelTable QNPerson::customLabelTableDict()
{
    ClassTables &t = tables();
    QMutexLocker lock(&t.mutex);
    return t.customLabels;
}

void QNPerson::addCustomLabel(const QString &label, const QString &identifier)
{
    ClassTables &t = tables();
    QMutexLocker lock(&t.mutex);
    t.customLabels[identifier].append(label);
}

bool QNPerson::setLabel(const QString &from, const QString &to, const QString &identifier)
{
    ClassTables &t = tables();
    bool misaligned = false;
    {
        QMutexLocker lock(&t.mutex);
        QStringList &labels = t.labels[identifier];
        QStringList &custom = t.customLabels[identifier];
        QStringList &localized = t.localizedLabels[identifier];
        if (from.isEmpty()) {
            if (labels.contains(to))
                return false;
            labels.append(to);
            localized.append(to);
            if (!custom.contains(to))
                custom.append(to);
            return true;
        }
        const qsizetype index = labels.indexOf(from);
        if (index >= 0) {
            labels[index] = to;
            // labelTableDict appends custom labels to the labels only, so this can fall short.
            if (index < localized.size())
                localized[index] = to;
            else
                misaligned = true;
        } else {
            labels.append(to);
            localized.append(to);
        }
        const qsizetype customIndex = custom.indexOf(from);
        if (customIndex >= 0)
            custom[customIndex] = to;
        else
            custom.append(to);
    }
    if (misaligned)
        Log::write(QStringLiteral("ERROR %1").arg(QStringLiteral("+[QNPerson setLabel:to:forIdentifier:]")));
    return true;
}

bool QNPerson::removeLabel(const QString &label, const QString &identifier)
{
    ClassTables &t = tables();
    QMutexLocker lock(&t.mutex);
    bool found = false;
    const auto labels = t.labels.find(identifier);
    if (labels != t.labels.end()) {
        const qsizetype index = labels->indexOf(label);
        if (index >= 0) {
            labels->removeAt(index);
            found = true;
            // Display texts stand at their label's index, as far as the table has them.
            const auto localized = t.localizedLabels.find(identifier);
            if (localized != t.localizedLabels.end() && index < localized->size())
                localized->removeAt(index);
        }
    }
    const auto custom = t.customLabels.find(identifier);
    if (custom != t.customLabels.end() && custom->removeAll(label) > 0)
        found = true;
    return found;
}

QStringList QNPerson::socialServiceLabels(double appKitVersion)
{
    using namespace StoreSocialService;
    if (appKitVersion <= ShortServiceListVersion)
        return {Facebook, Flickr, LinkedIn, MySpace, Twitter};
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
    ClassTables &t = tables();
    QMutexLocker lock(&t.mutex);
    t.customItems = items;
}

std::optional<QVariantList> QNPerson::customItems()
{
    ClassTables &t = tables();
    QMutexLocker lock(&t.mutex);
    return t.customItems;
}

// --- Address formats -----------------------------------------------------------------------------

QNPerson::AddressFormatTable QNPerson::addressFormatTable()
{
    ClassTables &t = tables();
    QMutexLocker lock(&t.mutex);
    return t.addressFormatTable;
}

QNPerson::AddressFormatDict QNPerson::addressFormatDict()
{
    ClassTables &t = tables();
    QMutexLocker lock(&t.mutex);
    return t.addressFormatDict;
}

void QNPerson::setAddressFormatTable(const QVariantList &entries)
{
    tables().overlayAddressFormats(entries);
}

void QNPerson::loadAddressFormatTable(const QString &path)
{
    tables().loadAddressFormats(path);
}
