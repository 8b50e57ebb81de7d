#include "grid/GridSorter.h"

#include "grid/GridField.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"

#include <QDate>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

const QString DatesIdentifier = QStringLiteral("Dates");
// Leading bytes of a collation key compared as two numbers.
constexpr qsizetype PrefixBytes = 16;
const QString EmailIdentifier = QStringLiteral("Email");

QString joined(const QVariantMap &name, const QString &first, const QString &second)
{
    return name.value(first).toString() + name.value(second).toString();
}

} // namespace

GridSorter::GridSorter(const GridSortKey &key, bool ascending, const QStringList &selectedLabels,
                       const QVariantList &customItems, GridDisplayCache &cache)
    : m_key(key), m_ascending(ascending), m_selectedLabels(selectedLabels),
      m_noFilter(GridField::isNoFilter(selectedLabels)), m_customItems(customItems),
      m_type(GridField::valueType(key.identifier, customItems)), m_dates(comparesDates()), m_cache(cache),
      m_slot(cache.sortSlot(key.identifier, key.valueKey))
{
}

bool GridSorter::comparesDates() const
{
    return m_key.identifier == PersonIdentifier::Birthday ||
           (m_key.identifier == DatesIdentifier && m_key.valueKey != PersonKey::Label);
}

std::shared_ptr<const GridSortColumn> GridSorter::sortColumn(QNPerson &person,
                                                             GridDisplayCache::Contact &cached,
                                                             const CollationKeys &collation) const
{
    if (cached.sorts.size() <= size_t(m_slot))
        cached.sorts.resize(size_t(m_slot) + 1);
    std::shared_ptr<const GridSortColumn> &column = cached.sorts[size_t(m_slot)];
    if (!column || column->readAgain || !m_cache.isKeptSort(m_slot)) {
        const bool ownItems = !person.ownCustomItems().isEmpty();
        GridSortColumn read = readSortColumn(person, ownItems, collation);
        read.readAgain = ownItems && person.customItemForIdentifier(m_key.identifier).has_value();
        column = std::make_shared<const GridSortColumn>(std::move(read));
    }
    return column;
}

bool GridSorter::holdsSortColumn(const GridDisplayCache::Contact &cached) const
{
    return cached.sorts.size() > size_t(m_slot) && cached.sorts[size_t(m_slot)];
}

void GridSorter::fillSortColumn(QNPerson &person, GridDisplayCache::Contact &cached,
                                const CollationKeys &collation) const
{
    // A custom item's value may come from the cloud store, which is read on the main thread only.
    if (m_cache.isKeptSort(m_slot) && !person.customItemForIdentifier(m_key.identifier))
        sortColumn(person, cached, collation);
}

GridSortColumn GridSorter::readSortColumn(QNPerson &person, bool ownItems,
                                          const CollationKeys &collation) const
{
    GridSortColumn column;
    const QString type = ownItems ? GridField::valueType(m_key.identifier, person, m_customItems) : m_type;
    if (m_key.identifier == DatesIdentifier || type == PersonValueType::Labeled) {
        column.listed = true;
        if (!readUnreadList(column, person)) {
            const QVariantList entries = person.labeledValueForIdentifier(m_key.identifier);
            column.values.reserve(entries.size());
            column.labels.reserve(entries.size());
            for (const QVariant &value : entries) {
                const QVariantMap &entry = GridField::mapOf(value);
                column.labels.append(GridField::textOf(entry, PersonKey::Label));
                column.values.append(entrySortValue(entry));
            }
        }
    } else {
        column.values.append(singleSortValue(person));
    }
    column.keys.reserve(size_t(column.values.size()));
    for (const QVariant &value : std::as_const(column.values))
        column.keys.push_back(keyOf(value, collation));
    return column;
}

bool GridSorter::readUnreadList(GridSortColumn &column, QNPerson &person) const
{
    const bool byLabel = m_key.valueKey == PersonKey::Label;
    // Dates sort by their day, not by their text.
    if (!byLabel && (m_key.valueKey != PersonKey::StringValue || m_key.identifier == DatesIdentifier))
        return false;
    const std::optional<QNPerson::LabeledKind> kind = QNPerson::labeledKindForIdentifier(m_key.identifier);
    const auto texts = kind ? person.unreadLabeledTexts(*kind) : std::nullopt;
    if (!texts)
        return false;
    column.values.reserve(texts->size());
    column.labels.reserve(texts->size());
    for (const QNPerson::LabeledText &entry : *texts) {
        column.labels.append(entry.label);
        column.values.append(byLabel ? entry.label : entry.text);
    }
    return true;
}

QVariant GridSorter::entrySortValue(const QVariantMap &entry) const
{
    if (m_key.identifier == DatesIdentifier)
        return entry.value(m_key.valueKey == PersonKey::Label ? PersonKey::Label : PersonKey::Value);
    QString valueKey = m_key.valueKey;
    if (m_key.identifier == EmailIdentifier && valueKey != PersonKey::StringValue &&
        valueKey != PersonKey::Label && valueKey != PersonKey::Domain)
        valueKey = PersonKey::Username;
    return entry.value(valueKey);
}

GridSortColumn::Key GridSorter::keyOf(const QVariant &value, const CollationKeys &collation) const
{
    GridSortColumn::Key key;
    if (m_dates) {
        const std::optional<qint64> day = dayOfDateComponents(value);
        key.empty = !day;
        // Offset so that unsigned order is the days' order.
        key.high = quint64(day.value_or(0)) ^ (quint64(1) << 63);
        return key;
    }
    const QString text = value.toString();
    key.empty = text.isEmpty();
    if (key.empty)
        return key;
    key.bytes = collation.key(text);
    const auto byte = [&key](qsizetype i) {
        return quint64(i < key.bytes.size() ? quint8(key.bytes.at(i)) : 0);
    };
    for (qsizetype i = 0; i < PrefixBytes / 2; ++i) {
        key.high = (key.high << 8) | byte(i);
        key.low = (key.low << 8) | byte(i + PrefixBytes / 2);
    }
    return key;
}

QVariant GridSorter::singleSortValue(QNPerson &person) const
{
    if (m_key.identifier == PersonIdentifier::Birthday) {
        const auto birthday = person.birthdayValue();
        return birthday ? birthday->value(PersonKey::Value) : QVariant();
    }
    if (m_key.identifier == PersonIdentifier::Name)
        return nameSortValue(person);
    if (m_key.identifier == PersonIdentifier::PhoneticName)
        return phoneticSortValue(person);
    return person.valueForIdentifier(m_key.identifier);
}

QVariant GridSorter::nameSortValue(QNPerson &person) const
{
    const bool byFirst = m_key.valueKey == PersonKey::FirstName;
    if (!byFirst && m_key.valueKey != PersonKey::LastName)
        return person.compositeName();
    if (!person.showAsPerson())
        return person.stringValueForIdentifier(PersonIdentifier::Company);
    const QString &first = byFirst ? PersonKey::FirstName : PersonKey::LastName;
    const QString &second = byFirst ? PersonKey::LastName : PersonKey::FirstName;
    const QString text = person.namePart(first);
    const QString other = person.namePart(second);
    if (text.isEmpty() || other.isEmpty())
        return text;
    return text + other;
}

QVariant GridSorter::phoneticSortValue(QNPerson &person) const
{
    const QVariantMap phonetic = person.phoneticNameValue().value_or(QVariantMap());
    if (m_key.valueKey == PersonKey::StringValue)
        return phonetic.value(PersonKey::StringValue);
    if (m_key.valueKey == PersonIdentifier::PhoneticFirstName)
        return joined(phonetic, PersonKey::FirstName, PersonKey::LastName);
    if (m_key.valueKey == PersonIdentifier::PhoneticLastName)
        return joined(phonetic, PersonKey::LastName, PersonKey::FirstName);
    return QVariant();
}

std::optional<qint64> GridSorter::dayOfDateComponents(const QVariant &components)
{
    if (!components.isValid() || components.isNull())
        return std::nullopt;
    const std::optional<DateComponents> parts = QNPerson::dateComponentsFromVariant(components);
    if (!parts || parts->isEmpty())
        return std::nullopt;
    // Lenient like a calendar: a 31st of a short month runs into the next one. No year sorts
    // first, in the stand-in year, where 29 February stays before 1 March.
    const QDate date = QDate(parts->year.value_or(DateComponents::StandInYear), 1, 1)
                           .addMonths(parts->month.value_or(1) - 1)
                           .addDays(parts->day.value_or(1) - 1);
    if (!date.isValid())
        return std::nullopt;
    return date.toJulianDay();
}

int GridSorter::compareDateComponents(const QVariant &first, const QVariant &second, bool ascending)
{
    const std::optional<qint64> a = dayOfDateComponents(first);
    const std::optional<qint64> b = dayOfDateComponents(second);
    if (!a || !b)
        return a ? -1 : (b ? 1 : 0);
    const qint64 difference = ascending ? *a - *b : *b - *a;
    return difference < 0 ? -1 : (difference > 0 ? 1 : 0);
}

namespace {

GridSorter::SortEntry entryOf(const GridSortColumn &column, qsizetype value, size_t first)
{
    GridSorter::SortEntry entry;
    entry.first = quint32(first);
    if (value < 0 || column.keys[size_t(value)].empty)
        return entry;
    const GridSortColumn::Key &key = column.keys[size_t(value)];
    entry.empty = false;
    entry.high = key.high;
    entry.low = key.low;
    if (key.bytes.size() >= PrefixBytes)
        entry.rest = key.bytes.constData() + PrefixBytes;
    return entry;
}

} // namespace

void GridSorter::addRows(const std::vector<GridRow> &rows, size_t first, const GridSortColumn &column)
{
    if (first >= rows.size())
        return;
    if (!column.listed) {
        // The contact's rows share the value and sort as one.
        m_entries.push_back(entryOf(column, column.values.isEmpty() ? -1 : 0, first));
        m_entries.back().count = quint32(rows.size() - first);
        return;
    }
    for (size_t i = first; i < rows.size(); ++i)
        m_entries.push_back(
            entryOf(column, column.indexAt(rows[i].labelIndex, m_selectedLabels, m_noFilter), i));
}

void GridSorter::sort(GridRows &rows)
{
    std::vector<GridRow> &shown = rows.rows();
    const bool ascending = m_ascending;
    // The first row decides between equal keys in both directions, which keeps the sort stable.
    std::sort(m_entries.begin(), m_entries.end(), [ascending](const SortEntry &a, const SortEntry &b) {
        if (a.empty || b.empty) {
            if (a.empty != b.empty)
                return b.empty;
            return a.first < b.first;
        }
        if (a.high != b.high)
            return ascending ? a.high < b.high : b.high < a.high;
        if (a.low != b.low)
            return ascending ? a.low < b.low : b.low < a.low;
        // Equal prefixes: keys that ended inside them are equal.
        if (a.rest && b.rest && a.rest != b.rest) {
            const int order = std::strcmp(a.rest, b.rest);
            if (order != 0)
                return ascending ? order < 0 : order > 0;
        }
        return a.first < b.first;
    });
    std::vector<GridRow> sorted;
    sorted.reserve(shown.size());
    for (const SortEntry &entry : m_entries)
        sorted.insert(sorted.end(), shown.begin() + entry.first, shown.begin() + entry.first + entry.count);
    shown = std::move(sorted);
    m_entries.clear();
}
