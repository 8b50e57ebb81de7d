#include "find/FieldSearch.h"

#include "find/FindScope.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/StoreContact.h"

namespace {

using TextRange = ItemAndRange::TextRange;

const QString AddressIdentifier = QStringLiteral("Address");
const QString InstantMessageIdentifier = QStringLiteral("Instant Message");
const QStringList DetailNameParts{PersonKey::FirstName, PersonKey::MiddleName, PersonKey::LastName,
                                  PersonKey::PreviousFamilyName};
const QStringList DetailPhoneticParts{PersonKey::FirstName, PersonKey::MiddleName, PersonKey::LastName};

// The cursor in a part's own text. A cursor before the part searches it whole going forward and
// not at all going backward.
TextRange cursorInPart(TextRange cursor, qsizetype offset, FindDirection direction)
{
    if (cursor.location < 0)
        return cursor;
    if (cursor.location < offset)
        return direction == FindDirection::Forward ? TextRange{} : TextRange{0, 0};
    return {cursor.location - offset, cursor.length};
}

} // namespace

FieldSearch::FieldSearch(QString findString, Qt::CaseSensitivity cs, FindFields fields)
    : m_findString(std::move(findString)), m_cs(cs), m_fields(std::move(fields))
{
}

std::optional<ItemAndRange> FieldSearch::find(FindDirection direction, FieldLayout layout,
                                              const ContactRowPtr &contact, const FieldPlace &place) const
{
    if (!FindScope::holds(contact) || m_findString.isEmpty())
        return std::nullopt;
    QNPerson &person = *contact->person;
    const QString &identifier = place.identifier;
    if (identifier == PersonIdentifier::Name)
        return findInName(direction, layout, contact, place);
    if (identifier == PersonIdentifier::PhoneticName)
        return findInPhoneticName(direction, layout, contact, place);
    if (identifier == AddressIdentifier)
        return findInAddress(direction, contact, place);
    if (FindFields::isAddressPart(identifier)) {
        const auto entry = person.labeledValueForIdentifierAtLabelIndex(AddressIdentifier, place.labelIndex);
        if (!entry)
            return std::nullopt;
        return findInText(direction, entry->value(identifier).toString(), contact, place);
    }
    if (identifier == InstantMessageIdentifier)
        return findInInstantMessage(direction, contact, place);
    if (identifier == PersonIdentifier::Birthday || identifier == QLatin1String("Dates"))
        return std::nullopt;
    const QString type = m_fields.valueType(person, identifier);
    if (type == PersonValueType::Labeled) {
        const auto entry = person.labeledValueForIdentifierAtLabelIndex(identifier, place.labelIndex);
        if (!entry)
            return std::nullopt;
        return findInText(direction, entry->value(PersonKey::StringValue).toString(), contact, place);
    }
    if (type == PersonValueType::String)
        return findInText(direction, person.stringValueForIdentifier(identifier), contact, place);
    return std::nullopt;
}

std::optional<ItemAndRange> FieldSearch::findInText(FindDirection direction, const QString &text,
                                                    const ContactRowPtr &contact, const FieldPlace &place) const
{
    const TextRange found = FindText::lookForString(m_findString, text, place.cursor, direction, m_cs);
    if (found.location < 0)
        return std::nullopt;
    ItemAndRange hit = hitAt(contact, place, found);
    // A whole field has no parts to name.
    hit.subIdentifier.clear();
    return hit;
}

std::optional<ItemAndRange> FieldSearch::findInParts(FindDirection direction, const QList<Part> &parts,
                                                     qsizetype start, const ContactRowPtr &contact,
                                                     const FieldPlace &place) const
{
    const qsizetype step = direction == FindDirection::Forward ? 1 : -1;
    for (qsizetype i = start; i >= 0 && i < parts.size(); i += step) {
        const Part &part = parts.at(i);
        // Only the starting part continues from the cursor; the others are searched whole.
        TextRange cursor;
        if (i == start)
            cursor = place.itemCursor && part.name == place.subIdentifier
                         ? *place.itemCursor
                         : cursorInPart(place.cursor, part.offset, direction);
        const TextRange found = FindText::lookForString(m_findString, part.text, cursor, direction, m_cs);
        if (found.location < 0)
            continue;
        ItemAndRange hit = hitAt(contact, place, {part.offset + found.location, found.length});
        hit.subIdentifier = part.name;
        hit.itemRange = found;
        return hit;
    }
    return std::nullopt;
}

std::optional<ItemAndRange> FieldSearch::findInName(FindDirection direction, FieldLayout layout,
                                                    const ContactRowPtr &contact, const FieldPlace &place) const
{
    QNPerson &person = *contact->person;
    const QVariantMap name = person.nameValue();
    if (layout == FieldLayout::Detail) {
        const QList<Part> parts = detailParts(name, DetailNameParts);
        return findInParts(direction, parts, namedPart(parts, place.subIdentifier, direction), contact, place);
    }
    // The grid's name cell of a company shows the company.
    if (!person.showAsPerson())
        return findInText(direction, person.stringValueForIdentifier(PersonIdentifier::Company), contact, place);
    const int ordering = person.nameOrdering();
    const bool lastNameFirst = ordering == 2 || (ordering == 0 && person.defaultNameOrdering() == 2);
    const QList<Part> parts = gridNameParts(name, lastNameFirst);
    return findInParts(direction, parts, gridStartPart(parts, place.subIdentifier, direction), contact, place);
}

std::optional<ItemAndRange> FieldSearch::findInPhoneticName(FindDirection direction, FieldLayout layout,
                                                            const ContactRowPtr &contact,
                                                            const FieldPlace &place) const
{
    QNPerson &person = *contact->person;
    const QVariantMap phonetic = person.phoneticNameValue().value_or(QVariantMap());
    if (layout == FieldLayout::Detail) {
        const QList<Part> parts = detailParts(phonetic, DetailPhoneticParts);
        return findInParts(direction, parts, namedPart(parts, place.subIdentifier, direction), contact, place);
    }
    // The record joins the phonetic name last name first only under its own ordering 2.
    const QList<Part> parts = gridNameParts(phonetic, person.nameOrdering() == 2);
    return findInParts(direction, parts, gridStartPart(parts, place.subIdentifier, direction), contact, place);
}

std::optional<ItemAndRange> FieldSearch::findInAddress(FindDirection direction, const ContactRowPtr &contact,
                                                       const FieldPlace &place) const
{
    const auto entry = contact->person->labeledValueForIdentifierAtLabelIndex(AddressIdentifier, place.labelIndex);
    if (!entry)
        return std::nullopt;
    QList<Part> parts;
    const TextRange cursor = place.cursor;
    qsizetype start = -1;
    const QList<QNPerson::AddressPartRange> table = QNPerson::rangeTableFromAddressLabeledValue(*entry);
    for (const QNPerson::AddressPartRange &row : table) {
        const qsizetype end = row.location + row.length;
        const bool holdsCursor =
            cursor.location < 0 ||
            (direction == FindDirection::Forward
                 ? cursor.location >= row.location && cursor.location + cursor.length <= end
                 : cursor.location >= row.location && cursor.location < end);
        // Forward from the first part that holds the cursor, backward from the last.
        if (holdsCursor && (direction == FindDirection::Backward || start < 0))
            start = parts.size();
        parts.append({row.identifier, row.value, row.location});
    }
    if (start < 0)
        return std::nullopt;
    return findInParts(direction, parts, start, contact, place);
}

std::optional<ItemAndRange> FieldSearch::findInInstantMessage(FindDirection direction,
                                                              const ContactRowPtr &contact,
                                                              const FieldPlace &place) const
{
    const auto entry = contact->person->labeledValueForIdentifierAtLabelIndex(InstantMessageIdentifier,
                                                                               place.labelIndex);
    if (!entry)
        return std::nullopt;
    // The shown text is "service:username"; the colon belongs to the service.
    const QString service = entry->value(StoreValueKey::Service).toString() + QLatin1Char(':');
    const QList<Part> parts{{StoreValueKey::Service, service, 0},
                            {StoreValueKey::Username, entry->value(StoreValueKey::Username).toString(),
                             service.size()}};
    qsizetype start = 0;
    if (direction == FindDirection::Forward)
        start = place.subIdentifier == StoreValueKey::Username ? 1 : 0;
    else
        start = place.subIdentifier == StoreValueKey::Service ? 0 : 1;
    return findInParts(direction, parts, start, contact, place);
}

QList<FieldSearch::Part> FieldSearch::gridNameParts(const QVariantMap &name, bool lastNameFirst)
{
    const QString &firstKey = lastNameFirst ? PersonKey::LastName : PersonKey::FirstName;
    const QString &secondKey = lastNameFirst ? PersonKey::FirstName : PersonKey::LastName;
    const QString first = name.value(firstKey).toString();
    // The name text joins the parts with one blank, and shows a lone second part from its start.
    const qsizetype secondOffset = first.isEmpty() ? 0 : first.size() + 1;
    return {{firstKey, first, 0}, {secondKey, name.value(secondKey).toString(), secondOffset}};
}

QList<FieldSearch::Part> FieldSearch::detailParts(const QVariantMap &name, const QStringList &keys)
{
    QList<Part> parts;
    for (const QString &key : keys)
        parts.append({key, name.value(key).toString(), 0});
    return parts;
}

qsizetype FieldSearch::namedPart(const QList<Part> &parts, const QString &name, FindDirection direction)
{
    for (qsizetype i = 0; i < parts.size() && !name.isEmpty(); ++i) {
        if (parts.at(i).name == name)
            return i;
    }
    return direction == FindDirection::Forward ? 0 : parts.size() - 1;
}

qsizetype FieldSearch::gridStartPart(const QList<Part> &parts, const QString &subIdentifier,
                                     FindDirection direction)
{
    if (direction == FindDirection::Forward)
        return !subIdentifier.isEmpty() && subIdentifier != parts.at(0).name ? 1 : 0;
    return !subIdentifier.isEmpty() && subIdentifier != parts.at(1).name ? 0 : 1;
}

ItemAndRange FieldSearch::hitAt(const ContactRowPtr &contact, const FieldPlace &place, TextRange range) const
{
    ItemAndRange hit;
    hit.contact = contact;
    hit.uniqueId = contact->uniqueId.isEmpty() ? contact->person->uniqueId() : contact->uniqueId;
    hit.identifier = place.identifier;
    hit.subIdentifier = place.subIdentifier;
    hit.labelIndex = place.labelIndex;
    hit.setRange(range);
    return hit;
}
