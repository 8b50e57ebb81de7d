#include "find/FindPanelWriter.h"

#include "find/FindScope.h"
#include "addressbook/EditFunnel.h"
#include "model/LabeledEntry.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"

namespace {

const QString DatesIdentifier = QStringLiteral("Dates");
const QString AddressIdentifier = QStringLiteral("Address");

QString phoneticKey(const QString &subItem)
{
    if (subItem == PersonIdentifier::PhoneticFirstName)
        return PersonKey::FirstName;
    if (subItem == PersonIdentifier::PhoneticMiddleName)
        return PersonKey::MiddleName;
    return PersonKey::LastName;
}

} // namespace

bool FindPanelWriter::isDateRow(const SearchResultRow &row)
{
    return row.item == PersonIdentifier::Birthday || row.item == DatesIdentifier;
}

QString FindPanelWriter::shownText(const SearchResultRow &row, const QVariant &value)
{
    if (isDateRow(row))
        return value.toMap().value(PersonKey::StringValue).toString();
    return value.toString();
}

QVariant FindPanelWriter::currentValue(const SearchResultRow &row) const
{
    QNPerson *person = row.contact ? row.contact->person.get() : nullptr;
    if (!person || !isDateRow(row))
        return row.value;
    if (row.item == PersonIdentifier::Birthday) {
        const auto birthday = person->birthdayValue();
        return birthday ? QVariant(*birthday) : QVariant();
    }
    const auto entry = row.labelIndex ? person->labeledValueForIdentifierAtLabelIndex(DatesIdentifier, *row.labelIndex)
                                      : std::nullopt;
    return entry ? QVariant(*entry) : QVariant();
}

bool FindPanelWriter::write(const SearchResultRow &row, const QVariant &value) const
{
    if (!m_funnel || !FindScope::holds(row.contact))
        return false;
    QNPerson &person = *row.contact->person;
    const ContactRowPtr &contact = row.contact;
    if (row.item == PersonIdentifier::Birthday)
        return m_funnel->undoReplaceBirthday(value.toMap().isEmpty() ? QVariant() : value, contact);
    if (row.item == DatesIdentifier)
        return writeDates(row, value);
    const QString text = value.toString();
    if (row.item == PersonIdentifier::Name) {
        QVariantMap name = person.nameValue();
        name.insert(row.subItem, text);
        return m_funnel->undoReplaceNameValue(name, contact);
    }
    if (row.item == PersonIdentifier::PhoneticName) {
        QVariantMap phonetic = person.phoneticNameValue().value_or(QVariantMap());
        phonetic.insert(phoneticKey(row.subItem), text);
        return m_funnel->undoReplacePhoneticNameValue(phonetic, contact);
    }
    const QString type = m_fields.valueType(person, row.item);
    if (type == PersonValueType::String)
        return m_funnel->undoReplaceValue(text, row.item, contact, nullptr);
    if (type == PersonValueType::Labeled)
        return writeEntry(row, row.item == AddressIdentifier ? row.subItem : PersonKey::Value, text);
    return false;
}

bool FindPanelWriter::writeEntry(const SearchResultRow &row, const QString &key, const QString &text) const
{
    if (!row.labelIndex)
        return false;
    auto entry = row.contact->person->labeledValueForIdentifierAtLabelIndex(row.item, *row.labelIndex);
    if (!entry)
        return false;
    entry->insert(key, text);
    return m_funnel->undoReplaceLabeledValue(*entry, row.item, row.contact, nullptr);
}

bool FindPanelWriter::writeDates(const SearchResultRow &row, const QVariant &value) const
{
    if (!row.labelIndex)
        return false;
    QVariantList list = row.contact->person->labeledValueForIdentifier(DatesIdentifier);
    const qsizetype at = QNPerson::findLabeledValue(list, *row.labelIndex);
    const QVariantMap date = value.toMap();
    const bool cleared = !date.contains(PersonKey::Value);
    if (at < 0) {
        // The entry was deleted (a cleared date); an undo hands back the whole entry.
        if (cleared || LabeledEntry(date).labelIndex() != row.labelIndex)
            return false;
        list.insert(std::clamp<qsizetype>(row.index.value_or(list.size()), 0, list.size()), date);
    } else if (cleared) {
        list.removeAt(at);
    } else {
        QVariantMap entry = list.at(at).toMap();
        entry.insert(PersonKey::Value, date.value(PersonKey::Value));
        entry.insert(PersonKey::StringValue, date.value(PersonKey::StringValue));
        list[at] = entry;
    }
    return m_funnel->undoReplaceLabeledValue(list, DatesIdentifier, row.contact, nullptr);
}
