#include "model/LabelTables.h"

#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/Localizer.h"
#include "platform/Log.h"
#include "platform/StoreLabels.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QMutexLocker>

#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <utility>

namespace {

const QString AddressFormatResource = QStringLiteral(":/AddressFormat.json");
const QString CountryCodeKey = QStringLiteral("CountryCode");
const QString FormatStringKey = QStringLiteral("formatString");
const QString OrderKey = QStringLiteral("Order");
const QString LocalizedCountryKey = QStringLiteral("LocalizedCountry");

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

LabelTables::AddressFormatEntry addressFormatEntry(const QVariantMap &object, const CountryNaming &naming)
{
    LabelTables::AddressFormatEntry entry = object;
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

std::pair<LabelTables::AddressFormatTable, LabelTables::AddressFormatDict>
readAddressFormats(const QString &path)
{
    const CountryNaming naming = currentCountryNaming();
    LabelTables::AddressFormatTable table;
    LabelTables::AddressFormatDict dict;
    for (const QVariant &row : readAddressFormatRows(path)) {
        if (row.typeId() != QMetaType::QVariantMap)
            continue;
        const LabelTables::AddressFormatEntry entry = addressFormatEntry(row.toMap(), naming);
        // A later row of the same code wins in the dictionary; the table keeps both.
        if (entry.contains(CountryCodeKey))
            dict.insert(entry.value(CountryCodeKey).toString(), entry);
        table.append(entry);
    }
    return {std::move(table), std::move(dict)};
}

// --- Labels --------------------------------------------------------------------------------------

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

LabelTables::LabelTable startLabelTable()
{
    using namespace StoreLabel;
    LabelTables::LabelTable labels;
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
    labels.insert(QStringLiteral("Social Network"), startLabels(QNPerson::socialServiceLabels()));
    labels.insert(QStringLiteral("Instant Message"), homeWorkOther);
    labels.insert(QStringLiteral("Show as Person"), {QStringLiteral("Person"), QStringLiteral("Company")});
    labels.insert(QStringLiteral("Name Ordering"),
                  {QStringLiteral("System Default (%1)").arg(QStringLiteral("LastName")),
                   QStringLiteral("First Name First"), QStringLiteral("Last Name First")});
    return labels;
}

// The words shown for an entry without a label or service. They are no labels: a table that
// offered one would draw it as the custom label of every unlabelled value.
bool isPlaceholder(const QString &label)
{
    return label == PersonKey::NoLabel || label == PersonKey::NoService;
}

std::optional<QStringList> lookUp(const LabelTables::LabelTable &table, const QString &identifier)
{
    const auto it = table.constFind(identifier);
    if (it == table.constEnd())
        return std::nullopt;
    return *it;
}

} // namespace

LabelTables::LabelTables() : m_state(startState()) {}

LabelTables &LabelTables::shared()
{
    static LabelTables instance;
    return instance;
}

LabelTables::State LabelTables::startState()
{
    State state;
    std::tie(state.addressFormatTable, state.addressFormatDict) = readAddressFormats(AddressFormatResource);
    state.labels = startLabelTable();
    for (auto it = state.labels.cbegin(); it != state.labels.cend(); ++it)
        state.localizedLabels.insert(it.key(), displayTexts(it.value()));
    return state;
}

void LabelTables::reset()
{
    State state = startState();
    QMutexLocker lock(&m_mutex);
    m_state = std::move(state);
}

void LabelTables::forgetOfferedLabels()
{
    State state = startState();
    QMutexLocker lock(&m_mutex);
    m_state.labels = std::move(state.labels);
    m_state.localizedLabels = std::move(state.localizedLabels);
    m_state.customLabels = std::move(state.customLabels);
}

// --- Labels --------------------------------------------------------------------------------------

std::optional<QStringList> LabelTables::labels(const QString &identifier) const
{
    QMutexLocker lock(&m_mutex);
    return lookUp(m_state.labels, identifier);
}

std::optional<QStringList> LabelTables::customLabels(const QString &identifier) const
{
    QMutexLocker lock(&m_mutex);
    return lookUp(m_state.customLabels, identifier);
}

std::optional<QStringList> LabelTables::localizedLabels(const QString &identifier) const
{
    QMutexLocker lock(&m_mutex);
    return lookUp(m_state.localizedLabels, identifier);
}

LabelTables::LabelTable LabelTables::labelTable()
{
    QMutexLocker lock(&m_mutex);
    for (auto it = m_state.labels.begin(); it != m_state.labels.end(); ++it) {
        for (const QString &custom : m_state.customLabels.value(it.key())) {
            if (!it->contains(custom))
                it->append(custom);
        }
    }
    return m_state.labels;
}

LabelTables::LabelTable LabelTables::customLabelTable() const
{
    QMutexLocker lock(&m_mutex);
    return m_state.customLabels;
}

void LabelTables::addCustomLabel(const QString &label, const QString &identifier)
{
    if (isPlaceholder(label))
        return;
    QMutexLocker lock(&m_mutex);
    m_state.customLabels[identifier].append(label);
}

bool LabelTables::setLabel(const QString &from, const QString &to, const QString &identifier)
{
    if (isPlaceholder(to))
        return false;
    bool misaligned = false;
    {
        QMutexLocker lock(&m_mutex);
        if (from.isEmpty())
            return offerLabelLocked(to, identifier);
        QStringList &labels = m_state.labels[identifier];
        QStringList &custom = m_state.customLabels[identifier];
        QStringList &localized = m_state.localizedLabels[identifier];
        const qsizetype index = labels.indexOf(from);
        if (index >= 0) {
            labels[index] = to;
            // labelTable appends custom labels to the labels only, so this can fall short.
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

bool LabelTables::offerLabelLocked(const QString &label, const QString &identifier)
{
    if (isPlaceholder(label))
        return false;
    QStringList &labels = m_state.labels[identifier];
    QStringList &custom = m_state.customLabels[identifier];
    QStringList &localized = m_state.localizedLabels[identifier];
    if (labels.contains(label))
        return false;
    labels.append(label);
    localized.append(label);
    if (!custom.contains(label))
        custom.append(label);
    return true;
}

void LabelTables::offerLabels(const LabelTable &labels)
{
    QMutexLocker lock(&m_mutex);
    for (auto it = labels.cbegin(); it != labels.cend(); ++it) {
        for (const QString &label : it.value())
            offerLabelLocked(label, it.key());
    }
}

bool LabelTables::removeLabel(const QString &label, const QString &identifier)
{
    QMutexLocker lock(&m_mutex);
    bool found = false;
    const auto labels = m_state.labels.find(identifier);
    if (labels != m_state.labels.end()) {
        const qsizetype index = labels->indexOf(label);
        if (index >= 0) {
            labels->removeAt(index);
            found = true;
            // Display texts stand at their label's index, as far as the table has them.
            const auto localized = m_state.localizedLabels.find(identifier);
            if (localized != m_state.localizedLabels.end() && index < localized->size())
                localized->removeAt(index);
        }
    }
    const auto custom = m_state.customLabels.find(identifier);
    if (custom != m_state.customLabels.end() && custom->removeAll(label) > 0)
        found = true;
    return found;
}

// --- Custom items --------------------------------------------------------------------------------

void LabelTables::setCustomItems(const QVariantList &items)
{
    QMutexLocker lock(&m_mutex);
    m_state.customItems = items;
}

std::optional<QVariantList> LabelTables::customItems() const
{
    QMutexLocker lock(&m_mutex);
    return m_state.customItems;
}

// --- Address formats -----------------------------------------------------------------------------

LabelTables::AddressFormatTable LabelTables::addressFormatTable() const
{
    QMutexLocker lock(&m_mutex);
    return m_state.addressFormatTable;
}

LabelTables::AddressFormatDict LabelTables::addressFormatDict() const
{
    QMutexLocker lock(&m_mutex);
    return m_state.addressFormatDict;
}

void LabelTables::loadAddressFormats(const QString &path)
{
    auto [table, dict] = readAddressFormats(path);
    QMutexLocker lock(&m_mutex);
    m_state.addressFormatTable = std::move(table);
    m_state.addressFormatDict = std::move(dict);
}

void LabelTables::overlayAddressFormats(const QVariantList &rows)
{
    const CountryNaming naming = currentCountryNaming();
    QMutexLocker lock(&m_mutex);
    // Rows without a code keep their place in this list, so its indexes are the table's.
    QList<std::optional<QString>> codes;
    for (const AddressFormatEntry &entry : std::as_const(m_state.addressFormatTable))
        codes.append(entry.contains(CountryCodeKey) ? std::optional(entry.value(CountryCodeKey).toString())
                                                    : std::nullopt);
    for (const QVariant &row : rows) {
        if (row.typeId() != QMetaType::QVariantMap)
            continue;
        const AddressFormatEntry entry = addressFormatEntry(row.toMap(), naming);
        if (!entry.contains(CountryCodeKey))
            continue;
        const QString code = entry.value(CountryCodeKey).toString();
        m_state.addressFormatDict.insert(code, entry);
        const qsizetype index = codes.indexOf(code);
        if (index >= 0)
            m_state.addressFormatTable[index] = entry;
    }
}
