#include "find/FindReplace.h"

#include "find/FindScope.h"
#include "find/FindText.h"
#include "addressbook/EditFunnel.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/StoreContact.h"

namespace {

using TextRange = ItemAndRange::TextRange;

const QString AddressIdentifier = QStringLiteral("Address");
const QString InstantMessageIdentifier = QStringLiteral("Instant Message");
const QString SocialNetworkIdentifier = QStringLiteral("Social Network");
const QString DatesIdentifier = QStringLiteral("Dates");
const QStringList NameParts{PersonKey::FirstName, PersonKey::MiddleName, PersonKey::LastName,
                            PersonKey::PreviousFamilyName};
const QStringList PhoneticParts{PersonKey::FirstName, PersonKey::MiddleName, PersonKey::LastName};
// Replace all's parts of an address, in the order it changes them.
const QStringList AddressParts{PersonKey::ZIP, PersonKey::State, PersonKey::City, PersonKey::Street,
                               PersonKey::Country};
const QString PhoneticPrefix = QStringLiteral("Phonetic ");

ContactRowPtr liveRow(const ContactTable &contacts, const QString &uniqueId)
{
    for (const ContactRowPtr &row : contacts) {
        if (FindScope::holds(row) && row->uniqueId == uniqueId)
            return row;
    }
    return nullptr;
}

QString replaced(const QString &text, TextRange range, const QString &replacement)
{
    QString result = text;
    return result.replace(range.location, range.length, replacement);
}

} // namespace

FindReplace::FindReplace(EditFunnel &funnel, FindFields fields, QString findString, Qt::CaseSensitivity cs)
    : m_funnel(funnel), m_fields(std::move(fields)), m_findString(std::move(findString)), m_cs(cs)
{
}

QStringList FindReplace::detailIdentifiers()
{
    return {PersonKey::FirstName,
            PersonKey::MiddleName,
            PersonKey::LastName,
            PersonKey::PreviousFamilyName,
            PersonIdentifier::Company,
            PersonIdentifier::PhoneticFirstName,
            PersonIdentifier::PhoneticMiddleName,
            PersonIdentifier::PhoneticLastName,
            QStringLiteral("Email"),
            QStringLiteral("Phone"),
            InstantMessageIdentifier,
            SocialNetworkIdentifier,
            QStringLiteral("URL"),
            AddressIdentifier,
            QStringLiteral("Nickname"),
            QStringLiteral("Relationship"),
            QStringLiteral("Suffix"),
            QStringLiteral("Title"),
            QStringLiteral("Department"),
            QStringLiteral("Job Title"),
            QStringLiteral("Note")};
}

// --- at the cursor --------------------------------------------------------------------------

FindReplace::Replacement FindReplace::replaceByString(const QString &replacement, const ItemAndRange &position,
                                                      const ContactTable &contacts) const
{
    Replacement result;
    const ContactRowPtr row = liveRow(contacts, position.uniqueId);
    if (!row || position.location < 0)
        return result;
    QNPerson &person = *row->person;
    if (shownText(person, position, m_fields.valueType(person, position.identifier)).isEmpty())
        return result;
    result.outcome = Outcome::Unchanged;
    const std::optional<Target> target = targetAt(row, position);
    // A range left from an earlier search, or from a text changed since, is no match.
    if (m_findString.isEmpty() || !target ||
        !FindText::holdsMatch(target->text, target->range, m_findString, m_cs))
        return result;
    if (!target->write(replaced(target->text, target->range, replacement)))
        return result;
    result.outcome = Outcome::Replaced;
    result.row = row;
    result.cursor = position;
    result.cursor.length = replacement.size();
    if (result.cursor.itemRange)
        result.cursor.itemRange->length = replacement.size();
    return result;
}

QString FindReplace::shownText(QNPerson &person, const ItemAndRange &position, const QString &type)
{
    const QString &identifier = position.identifier;
    auto entryText = [&](const QString &list) {
        const auto entry = person.labeledValueForIdentifierAtLabelIndex(list, position.labelIndex);
        return entry ? entry->value(PersonKey::StringValue).toString() : QString();
    };
    if (identifier == PersonIdentifier::Name)
        return person.nameValue().value(PersonKey::StringValue).toString();
    if (identifier == PersonIdentifier::PhoneticName)
        return person.phoneticNameValue().value_or(QVariantMap()).value(PersonKey::StringValue).toString();
    if (identifier == PersonIdentifier::Birthday)
        return person.birthdayValue().value_or(QVariantMap()).value(PersonKey::StringValue).toString();
    if (identifier == AddressIdentifier || FindFields::isAddressPart(identifier))
        return entryText(AddressIdentifier);
    if (type == PersonValueType::Labeled)
        return entryText(identifier);
    return person.stringValueForIdentifier(identifier);
}

std::optional<FindReplace::Target> FindReplace::targetAt(const ContactRowPtr &row,
                                                          const ItemAndRange &position) const
{
    const QString &identifier = position.identifier;
    const TextRange itemRange = position.itemRange.value_or(TextRange{0, 0});
    if (identifier == AddressIdentifier) {
        if (!AddressParts.contains(position.subIdentifier))
            return std::nullopt;
        return entryTarget(row, AddressIdentifier, position, position.subIdentifier, itemRange,
                           position.subIdentifier);
    }
    if (FindFields::isAddressPart(identifier))
        return entryTarget(row, AddressIdentifier, position, identifier, position.range(), identifier);
    if (identifier == InstantMessageIdentifier) {
        // The service is chosen from a menu, never typed.
        if (position.subIdentifier != StoreValueKey::Username)
            return std::nullopt;
        return entryTarget(row, identifier, position, StoreValueKey::Username, itemRange, PersonKey::Value);
    }
    if (identifier == SocialNetworkIdentifier)
        return entryTarget(row, identifier, position, PersonKey::StringValue, position.range(), PersonKey::Value);
    if (identifier == PersonIdentifier::Name)
        return nameTarget(row, position);
    if (identifier == PersonIdentifier::PhoneticName)
        return phoneticTarget(row, position);
    if (identifier == DatesIdentifier || identifier == PersonIdentifier::Birthday)
        return std::nullopt;
    QNPerson &person = *row->person;
    const QString type = m_fields.valueType(person, identifier);
    if (type == PersonValueType::Labeled)
        return entryTarget(row, identifier, position, PersonKey::Value, position.range(), PersonKey::Value);
    if (type != PersonValueType::String)
        return std::nullopt;
    return Target{person.stringValueForIdentifier(identifier), position.range(), [this, row, identifier](const QString &text) {
                      return m_funnel.undoReplaceValue(text, identifier, row, nullptr);
                  }};
}

std::optional<FindReplace::Target> FindReplace::entryTarget(const ContactRowPtr &row, const QString &listIdentifier,
                                                            const ItemAndRange &position, const QString &key,
                                                            TextRange range, const QString &writtenKey) const
{
    const auto entry = row->person->labeledValueForIdentifierAtLabelIndex(listIdentifier, position.labelIndex);
    if (!entry)
        return std::nullopt;
    return Target{entry->value(key).toString(), range,
                  [this, row, listIdentifier, writtenKey, entry = *entry](const QString &text) mutable {
                      entry.insert(writtenKey, text);
                      return m_funnel.undoReplaceLabeledValue(entry, listIdentifier, row, nullptr);
                  }};
}

std::optional<FindReplace::Target> FindReplace::nameTarget(const ContactRowPtr &row,
                                                           const ItemAndRange &position) const
{
    // A company found in the grid's name cell has no part to change.
    if (!position.itemRange || !NameParts.contains(position.subIdentifier))
        return std::nullopt;
    QVariantMap name = row->person->nameValue();
    return Target{name.value(position.subIdentifier).toString(), *position.itemRange,
                  [this, row, part = position.subIdentifier, name](const QString &text) mutable {
                      name.insert(part, text);
                      return m_funnel.undoReplaceNameValue(name, row);
                  }};
}

std::optional<FindReplace::Target> FindReplace::phoneticTarget(const ContactRowPtr &row,
                                                               const ItemAndRange &position) const
{
    if (!position.itemRange || !PhoneticParts.contains(position.subIdentifier))
        return std::nullopt;
    QVariantMap phonetic = row->person->phoneticNameValue().value_or(QVariantMap());
    return Target{phonetic.value(position.subIdentifier).toString(), *position.itemRange,
                  [this, row, part = position.subIdentifier, phonetic](const QString &text) mutable {
                      phonetic.insert(part, text);
                      return m_funnel.undoReplacePhoneticNameValue(phonetic, row);
                  }};
}

// --- everywhere -----------------------------------------------------------------------------

void FindReplace::replaceAll(const QString &replacement, const ContactTablePtr &contacts,
                             const QStringList &columns, const ContactRowPtr &detailContact) const
{
    if (m_findString.isEmpty() || !contacts)
        return;
    const QStringList detailFields = detailIdentifiers();
    // Writes may refresh the views; the table is read again at every row.
    for (qsizetype i = 0; i < contacts->size(); ++i) {
        const ContactRowPtr row = contacts->at(i);
        if (!FindScope::holds(row))
            continue;
        const bool shownInDetail = detailContact && detailContact->uniqueId == row->uniqueId;
        for (const QString &identifier : shownInDetail ? detailFields : columns)
            replaceAllIn(row, identifier, replacement);
    }
}

void FindReplace::replaceAllIn(const ContactRowPtr &row, const QString &identifier,
                               const QString &replacement) const
{
    QNPerson &person = *row->person;
    if (identifier == PersonIdentifier::Name)
        return replaceNameParts(row, {PersonKey::FirstName, PersonKey::LastName}, replacement);
    if (NameParts.contains(identifier))
        return replaceNameParts(row, {identifier}, replacement);
    if (identifier == PersonIdentifier::PhoneticName)
        return replacePhoneticParts(row, {PersonKey::FirstName, PersonKey::LastName}, replacement);
    if (identifier.startsWith(PhoneticPrefix) && PhoneticParts.contains(identifier.mid(PhoneticPrefix.size())))
        return replacePhoneticParts(row, {identifier.mid(PhoneticPrefix.size())}, replacement);
    if (identifier == AddressIdentifier)
        return replaceInEntries(row, AddressIdentifier, AddressParts, replacement);
    if (FindFields::isAddressPart(identifier))
        return replaceInEntries(row, AddressIdentifier, {identifier}, replacement);
    if (identifier == PersonIdentifier::Birthday || identifier == DatesIdentifier)
        return;
    const QString type = m_fields.valueType(person, identifier);
    if (identifier == InstantMessageIdentifier || type == PersonValueType::Labeled)
        return replaceInEntries(row, identifier, {PersonKey::Value}, replacement);
    if (type != PersonValueType::String)
        return;
    const QString text = person.stringValueForIdentifier(identifier);
    const QString changed = FindText::replacingOccurrences(text, m_findString, replacement, m_cs);
    if (changed != text)
        m_funnel.undoReplaceValue(changed, identifier, row, nullptr);
}

void FindReplace::replaceNameParts(const ContactRowPtr &row, const QStringList &parts,
                                   const QString &replacement) const
{
    QVariantMap name = row->person->nameValue();
    if (replaceInMap(name, parts, replacement))
        m_funnel.undoReplaceNameValue(name, row);
}

void FindReplace::replacePhoneticParts(const ContactRowPtr &row, const QStringList &parts,
                                       const QString &replacement) const
{
    QVariantMap phonetic = row->person->phoneticNameValue().value_or(QVariantMap());
    if (replaceInMap(phonetic, parts, replacement))
        m_funnel.undoReplacePhoneticNameValue(phonetic, row);
}

void FindReplace::replaceInEntries(const ContactRowPtr &row, const QString &listIdentifier,
                                   const QStringList &keys, const QString &replacement) const
{
    const QVariantList entries = row->person->labeledValueForIdentifier(listIdentifier);
    for (const QVariant &value : entries) {
        QVariantMap entry = value.toMap();
        if (replaceInMap(entry, keys, replacement))
            m_funnel.undoReplaceLabeledValue(entry, listIdentifier, row, nullptr);
    }
}

bool FindReplace::replaceInMap(QVariantMap &map, const QStringList &keys, const QString &replacement) const
{
    bool changed = false;
    for (const QString &key : keys) {
        const QString text = map.value(key).toString();
        const QString result = FindText::replacingOccurrences(text, m_findString, replacement, m_cs);
        if (result == text)
            continue;
        map.insert(key, result);
        changed = true;
    }
    return changed;
}
