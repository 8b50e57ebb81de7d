#include "grid/GridSorter.h"

#include "grid/GridField.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"

#include <QDate>

#include <algorithm>
#include <vector>

namespace {

const QString DatesIdentifier = QStringLiteral("Dates");
const QString EmailIdentifier = QStringLiteral("Email");

QString joined(const QVariantMap &name, const QString &first, const QString &second)
{
    return name.value(first).toString() + name.value(second).toString();
}

} // namespace

GridSorter::GridSorter(const GridSortKey &key, bool ascending, const QStringList &selectedLabels,
                       const QVariantList &customItems)
    : m_key(key), m_ascending(ascending), m_selectedLabels(selectedLabels),
      m_noFilter(GridField::isNoFilter(selectedLabels)), m_customItems(customItems),
      m_type(GridField::valueType(key.identifier, customItems)), m_dates(comparesDates())
{
}

bool GridSorter::comparesDates() const
{
    return m_key.identifier == PersonIdentifier::Birthday ||
           (m_key.identifier == DatesIdentifier && m_key.valueKey != PersonKey::Label);
}

QVariant GridSorter::sortValue(const SubContactRow &row) const
{
    ContactValues contact;
    return sortValue(row, contact);
}

QVariant GridSorter::sortValue(const SubContactRow &row, ContactValues &contact) const
{
    QNPerson &person = *row.person;
    const bool sameContact = contact.person == &person;
    if (!sameContact) {
        contact.person = &person;
        contact.type = person.ownCustomItems().isEmpty()
                           ? m_type
                           : GridField::valueType(m_key.identifier, person, m_customItems);
        contact.values.clear();
        if (m_key.identifier == DatesIdentifier || contact.type == PersonValueType::Labeled)
            contact.values = person.labeledValueForIdentifier(m_key.identifier);
    }
    if (m_key.identifier == DatesIdentifier || contact.type == PersonValueType::Labeled)
        return labeledSortValue(contact.values, row.labelIndex);
    if (!sameContact)
        contact.single = singleSortValue(person);
    return contact.single;
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

QVariant GridSorter::labeledSortValue(const QVariantList &values, int position) const
{
    if (position < 0 || position >= values.size())
        return QVariant();
    const QVariantMap &entry = GridField::mapOf(values.at(position));
    if (!m_noFilter && !m_selectedLabels.contains(GridField::textOf(entry, PersonKey::Label)))
        return QVariant();
    if (m_key.identifier == DatesIdentifier)
        return entry.value(m_key.valueKey == PersonKey::Label ? PersonKey::Label : PersonKey::Value);
    QString valueKey = m_key.valueKey;
    if (m_key.identifier == EmailIdentifier && valueKey != PersonKey::StringValue &&
        valueKey != PersonKey::Label && valueKey != PersonKey::Domain)
        valueKey = PersonKey::Username;
    return entry.value(valueKey);
}

QVariant GridSorter::nameSortValue(QNPerson &person) const
{
    const bool byFirst = m_key.valueKey == PersonKey::FirstName;
    if (!byFirst && m_key.valueKey != PersonKey::LastName)
        return person.compositeName();
    if (!person.showAsPerson())
        return person.stringValueForIdentifier(PersonIdentifier::Company);
    const std::optional<QVariantMap> held = person.heldNameValue();
    const QVariantMap name = held ? *held : person.nameValue();
    const QString &first = byFirst ? PersonKey::FirstName : PersonKey::LastName;
    const QString &second = byFirst ? PersonKey::LastName : PersonKey::FirstName;
    const QString text = name.value(first).toString();
    if (text.isEmpty() || name.value(second).toString().isEmpty())
        return text;
    return joined(name, first, second);
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
    // Lenient like a calendar: a 31st of a short month runs into the next one.
    const QDate date = QDate(parts->year.value_or(1), 1, 1)
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

void GridSorter::addRows(const QList<SubContactRowPtr> &rows, qsizetype first)
{
    for (qsizetype i = first; i < rows.size(); ++i) {
        SubContactRow &row = *rows.at(i);
        row.sortValue = sortValue(row, m_contact);
        SortEntry &entry = m_entries.emplace_back();
        entry.row = qsizetype(m_entries.size()) - 1;
        if (m_dates) {
            const std::optional<qint64> day = dayOfDateComponents(row.sortValue);
            entry.empty = !day;
            entry.day = day.value_or(0);
            continue;
        }
        const QString text = row.sortValue.toString();
        entry.empty = text.isEmpty();
        if (entry.empty)
            continue;
        // Rows of one contact mostly follow each other with the same text (every name sort).
        if (m_keys.isEmpty() || text != m_previousText) {
            m_keys.add(text);
            m_previousText = text;
        }
        entry.key = m_keys.size() - 1;
    }
}

void GridSorter::sort(QList<SubContactRowPtr> &rows)
{
    Q_ASSERT(m_entries.size() == size_t(rows.size()));
    const bool ascending = m_ascending;
    const bool dates = m_dates;
    std::stable_sort(m_entries.begin(), m_entries.end(), [&](const SortEntry &a, const SortEntry &b) {
        if (a.empty || b.empty)
            return !a.empty && b.empty;
        if (dates)
            return ascending ? a.day < b.day : b.day < a.day;
        if (a.key == b.key)
            return false;
        const int order = m_keys.compare(a.key, b.key);
        return ascending ? order < 0 : order > 0;
    });
    QList<SubContactRowPtr> sorted;
    sorted.reserve(rows.size());
    for (const SortEntry &entry : m_entries)
        sorted.append(rows.at(entry.row));
    rows = std::move(sorted);
}
