#include "addressbook/ContactTableSorting.h"

#include "addressbook/AddressBook.h"
#include "addressbook/GridSortKey.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/UndoManager.h"

#include <QDate>

#include <algorithm>

namespace {

int compareTexts(const QString &a, const QString &b, bool ascending)
{
    if (a.isEmpty() || b.isEmpty())
        return a.isEmpty() == b.isEmpty() ? 0 : (a.isEmpty() ? 1 : -1);
    const int order = QString::compare(a, b, Qt::CaseInsensitive);
    const int sign = order < 0 ? -1 : (order > 0 ? 1 : 0);
    return ascending ? sign : -sign;
}

std::optional<QVariantMap> dateOf(const QVariant &components)
{
    const QVariantMap map = components.toMap();
    if (map.isEmpty())
        return std::nullopt;
    return map;
}

std::optional<QVariantMap> firstEntryDate(QNPerson &person)
{
    const auto entry = person.labeledValueForIdentifierAtIndex(QStringLiteral("Dates"), 0);
    return entry ? dateOf(entry->value(PersonKey::Value)) : std::nullopt;
}

QString firstEntryText(QNPerson &person, const QString &identifier, const QString &part)
{
    const auto entry = person.labeledValueForIdentifierAtIndex(identifier, 0);
    return entry ? entry->value(part).toString() : QString();
}

QString nameText(QNPerson &person, const QString &part)
{
    if (!person.showAsPerson())
        return person.stringValueForIdentifier(PersonIdentifier::Company);
    const QString first = person.namePart(PersonKey::FirstName);
    const QString last = person.namePart(PersonKey::LastName);
    if (part == PersonKey::FirstName)
        return first + last;
    if (part == PersonKey::LastName)
        return last + first;
    return person.compositeName();
}

std::optional<QString> phoneticText(QNPerson &person, const QString &part)
{
    const QVariantMap phonetic = person.phoneticNameValue().value_or(QVariantMap());
    const QString first = phonetic.value(PersonKey::FirstName).toString();
    const QString last = phonetic.value(PersonKey::LastName).toString();
    if (part == PersonKey::StringValue)
        return phonetic.value(PersonKey::StringValue).toString();
    if (part == PersonIdentifier::PhoneticFirstName)
        return first + last;
    if (part == PersonIdentifier::PhoneticLastName)
        return last + first;
    return std::nullopt;
}

QDate dateFromComponents(const QVariantMap &components)
{
    auto part = [&](const QString &key, int none) {
        const QVariant value = components.value(key);
        return value.isValid() && value.toInt() != 0 ? value.toInt() : none;
    };
    // No year sorts first, in the stand-in year, where 29 February is a date.
    return QDate(part(PersonKey::Year, DateComponents::StandInYear), part(PersonKey::Month, 1),
                 part(PersonKey::Day, 1));
}

} // namespace

ContactTableSorting::ContactTableSorting(AddressBook &book) : m_book(book) {}

const QStringList &ContactTableSorting::reorderedIdentifiers()
{
    static const QStringList identifiers{QStringLiteral("Email"),   QStringLiteral("Instant Message"),
                                         QStringLiteral("Social Network"), QStringLiteral("URL"),
                                         QStringLiteral("Phone"),   QStringLiteral("Address"),
                                         QStringLiteral("Relationship"), QStringLiteral("Dates")};
    return identifiers;
}

std::optional<QStringList> ContactTableSorting::separateSortKeyIntoIdentifierAndKey(const QString &key)
{
    const std::optional<GridSortKey> split = GridSortKey::separateSortKeyIntoIdentifierAndKey(key);
    if (!split)
        return std::nullopt;
    return QStringList{split->identifier, split->valueKey};
}

void ContactTableSorting::sortDescriptorsDidChange(const QList<SortDescriptor> &descriptors)
{
    const ContactTablePtr table = m_book.contactTable();
    if (descriptors.isEmpty() || !table)
        return;
    const SortDescriptor &descriptor = descriptors.first();
    const std::optional<QStringList> split = separateSortKeyIntoIdentifierAndKey(descriptor.key);
    if (!split || split->at(0).isEmpty() || split->at(1).isEmpty() ||
        !reorderedIdentifiers().contains(split->at(0)))
        return;
    const QString &identifier = split->at(0);
    QList<Reordering> reorderings;
    for (const ContactRowPtr &row : std::as_const(*table)) {
        if (!row || !row->person)
            continue;
        QNPerson &person = *row->person;
        const QVariantList before = person.labeledValueForIdentifier(identifier);
        if (!person.sortForIdentifier(identifier, split->at(1), descriptor.ascending))
            continue;
        reorderings.append({row->person, before, person.labeledValueForIdentifier(identifier), person.isChanged()});
        person.setChanged(true);
    }
    if (reorderings.isEmpty())
        return;
    registerRestore(reorderings, identifier, true);
    m_book.setEdited(true);
}

// Undo puts the old orders back and the changed marks as they were; redo sorts again.
void ContactTableSorting::registerRestore(const QList<Reordering> &reorderings, const QString &identifier,
                                          bool toBefore)
{
    m_book.undoManager()->registerUndo([this, reorderings, identifier, toBefore] {
        for (const Reordering &reordering : reorderings) {
            reordering.person->setValue(toBefore ? reordering.before : reordering.after, identifier);
            reordering.person->setChanged(toBefore ? reordering.wasChanged : true);
        }
        registerRestore(reorderings, identifier, !toBefore);
        emit m_book.tableChanged(nullptr);
    });
}

void ContactTableSorting::sortContactTable(const QList<SortDescriptor> &descriptors)
{
    const ContactTablePtr table = m_book.contactTable();
    if (descriptors.isEmpty() || !table)
        return;
    const SortDescriptor &descriptor = descriptors.first();
    const std::optional<QStringList> split = separateSortKeyIntoIdentifierAndKey(descriptor.key);
    if (!split)
        return;
    std::stable_sort(table->begin(), table->end(), [&](const ContactRowPtr &a, const ContactRowPtr &b) {
        return compareRows(*a, *b, split->at(0), split->at(1), descriptor.ascending) < 0;
    });
}

int ContactTableSorting::compareRows(const ContactRow &a, const ContactRow &b, const QString &identifier,
                                     const QString &part, bool ascending)
{
    QNPerson &pa = *a.person;
    QNPerson &pb = *b.person;
    if (QNPerson::labeledIdentifiers().contains(identifier)) {
        if (identifier == QStringLiteral("Dates") && part != PersonKey::Label)
            return compareDateComponents(firstEntryDate(pa), firstEntryDate(pb), ascending);
        return compareTexts(firstEntryText(pa, identifier, part), firstEntryText(pb, identifier, part), ascending);
    }
    if (identifier == PersonIdentifier::Birthday) {
        const auto birthday = [](QNPerson &person) {
            const auto value = person.birthdayValue();
            return value ? dateOf(value->value(PersonKey::Value)) : std::nullopt;
        };
        return compareDateComponents(birthday(pa), birthday(pb), ascending);
    }
    if (identifier == PersonIdentifier::Name)
        return compareTexts(nameText(pa, part), nameText(pb, part), ascending);
    if (identifier == PersonIdentifier::PhoneticName) {
        const std::optional<QString> left = phoneticText(pa, part);
        const std::optional<QString> right = phoneticText(pb, part);
        return left && right ? compareTexts(*left, *right, ascending) : 0;
    }
    return compareTexts(pa.valueForIdentifier(identifier).toString(), pb.valueForIdentifier(identifier).toString(),
                        ascending);
}

int ContactTableSorting::compareDateComponents(const std::optional<QVariantMap> &first,
                                               const std::optional<QVariantMap> &second, bool ascending)
{
    if (!first || !second)
        return !first && !second ? 0 : (first ? -1 : 1);
    const QDate a = dateFromComponents(*first);
    const QDate b = dateFromComponents(*second);
    const int order = a < b ? -1 : (a > b ? 1 : 0);
    return ascending ? order : -order;
}
