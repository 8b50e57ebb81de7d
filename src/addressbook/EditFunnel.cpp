#include "addressbook/EditFunnel.h"

#include "addressbook/AddressBook.h"
#include "addressbook/CustomItemDefinitions.h"
#include "addressbook/PersonDifference.h"
#include "addressbook/UndoGroup.h"
#include "model/LabeledEntry.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "model/VariantKinds.h"
#include "platform/Log.h"
#include "platform/UndoManager.h"

#include <QImage>

#include <algorithm>

namespace {

using VariantKinds::isList;
using VariantKinds::isMap;
using VariantKinds::isNil;
using VariantKinds::variantFromOptional;

const QString AddressIdentifier = QStringLiteral("Address");
const QString DatesIdentifier = QStringLiteral("Dates");

bool isAddressPart(const QString &identifier)
{
    return QNPerson::addressIdentifiers().contains(identifier);
}

// A built-in list that the store could not give stays unread; writing it back empty on undo would
// erase the stored one at Save.
bool listReadable(QNPerson &person, const QString &identifier)
{
    const std::optional<QNPerson::LabeledKind> kind = QNPerson::labeledKindForIdentifier(identifier);
    if (!kind || person.labeledValuesReadable(*kind))
        return true;
    Log::write("ERROR %s: cannot read %@ of %@",
               {QStringLiteral("EditFunnel"), identifier, person.uniqueId()});
    return false;
}

// One entry, or a list holding at least one entry: what a new custom item can be made of.
bool holdsEntries(const QVariant &value)
{
    if (isMap(value))
        return true;
    if (!isList(value))
        return false;
    const QVariantList list = value.toList();
    return std::any_of(list.cbegin(), list.cend(), [](const QVariant &entry) { return isMap(entry); });
}

// --- what a write would hold -----------------------------------------------------------------
// An editor hands back the value it was given when the user changed nothing, but not always with
// the derived keys the record would make of it. Both sides are brought into the shape the record
// holds before they are compared, so that only a real difference counts as a change.

// An entry as the record holds it: normalised by its kind, or a custom entry's text taken from its
// value.
QVariantMap heldEntry(const QString &listIdentifier, QVariantMap entry)
{
    if (const std::optional<QNPerson::LabeledKind> kind = QNPerson::labeledKindForIdentifier(listIdentifier))
        QNPerson::updateLabeledValue(*kind, entry);
    else if (entry.contains(PersonKey::Value))
        entry.insert(PersonKey::StringValue, entry.value(PersonKey::Value).toString());
    return entry;
}

// The keys heldEntry may write, over every kind (QNPerson::updateLabeledValue and a custom
// entry's text): a difference anywhere else outlives it.
bool isDerivedKey(const QString &listIdentifier, const QString &key)
{
    // Compared one by one: hashing the key costs more than these few comparisons.
    static const QString derived[] = {
        PersonKey::StringValue, PersonKey::Label,           PersonKey::Username,          PersonKey::Domain,
        StoreValueKey::Service, PersonKey::FormattedString, PersonKey::PredictCountryCode};
    if (std::find(std::begin(derived), std::end(derived), key) != std::end(derived))
        return true;
    // A date's value is made anew from a QDate.
    return key == PersonKey::Value && listIdentifier == DatesIdentifier;
}

enum class RawComparison
{
    Same,
    Different,
    // The entries differ only in keys that heldEntry may write.
    Undecided
};

// One walk over both entries in key order, without copying or normalising either.
RawComparison compareRaw(const QString &listIdentifier, const QVariantMap &given, const QVariantMap &held)
{
    // Most writes change the value itself, which answers them at once.
    const auto givenValue = given.constFind(PersonKey::Value);
    const auto heldValue = held.constFind(PersonKey::Value);
    if (givenValue != given.cend() && heldValue != held.cend() && *givenValue != *heldValue &&
        !isDerivedKey(listIdentifier, PersonKey::Value))
        return RawComparison::Different;
    bool derivedDiffers = false;
    auto g = given.cbegin();
    auto h = held.cbegin();
    while (g != given.cend() || h != held.cend()) {
        const bool onlyGiven = h == held.cend() || (g != given.cend() && g.key() < h.key());
        const bool onlyHeld = !onlyGiven && (g == given.cend() || h.key() < g.key());
        const bool differs = onlyGiven || onlyHeld || g.value() != h.value();
        if (differs && !isDerivedKey(listIdentifier, onlyHeld ? h.key() : g.key()))
            return RawComparison::Different;
        derivedDiffers = derivedDiffers || differs;
        if (!onlyHeld)
            ++g;
        if (!onlyGiven)
            ++h;
    }
    return derivedDiffers ? RawComparison::Undecided : RawComparison::Same;
}

// Bulk commands write thousands of entries that differ in their values: the raw walk tells those
// apart, and only entries that differ in derived keys alone are normalised.
bool sameEntry(const QString &listIdentifier, const QVariantMap &given, const QVariantMap &held)
{
    switch (compareRaw(listIdentifier, given, held)) {
    case RawComparison::Same:
        return true;
    case RawComparison::Different:
        return false;
    case RawComparison::Undecided:
        break;
    }
    return heldEntry(listIdentifier, given) == heldEntry(listIdentifier, held);
}

// A whole list given for the one held: the same entries, numbers and order. nil is the empty list.
bool sameList(const QString &listIdentifier, const QVariant &given, const QVariantList &held)
{
    const QVariantList list = isNil(given) ? QVariantList() : given.toList();
    if (list.size() != held.size())
        return false;
    for (qsizetype i = 0; i < list.size(); ++i) {
        if (!isMap(list[i]) || !sameEntry(listIdentifier, list[i].toMap(), held[i].toMap()))
            return false;
    }
    return true;
}

// A name as setNameValue holds it: the record's kind unless the name chooses one, the store's
// order, its text made anew.
QVariantMap heldName(QVariantMap name, const QNPerson &person)
{
    name.insert(PersonKey::ShowAsPerson, name.value(PersonKey::ShowAsPerson, person.showAsPerson()).toBool());
    name.insert(PersonKey::NameOrdering, QNPerson::nameOrderingForNameDict(name));
    name.insert(PersonKey::StringValue, QNPerson::compositeNameFromNameDict(name));
    return name;
}

// A phonetic name or birthday as held, nil as the empty one that removing it leaves.
QVariantMap heldPhoneticName(const QVariant &phoneticName, const QNPerson &person)
{
    QVariantMap held = isNil(phoneticName) ? QVariantMap() : phoneticName.toMap();
    person.updatePhoneticName(held);
    return held;
}

QVariantMap heldBirthday(const QVariant &birthday)
{
    QVariantMap held = isNil(birthday) ? QVariantMap() : birthday.toMap();
    QNPerson::updateBirthdayValue(held);
    return held;
}

} // namespace

EditFunnel::EditFunnel(AddressBook &book) : m_book(book), m_undoManager(*book.undoManager()) {}

// --- the general setter ----------------------------------------------------------------------

bool EditFunnel::undoReplaceValue(const QVariant &value, const QString &identifier,
                                  const ContactRowPtr &contact, QObject *sender)
{
    if (!contact || !contact->person)
        return false;
    if (QNPerson::labeledIdentifiers().contains(identifier)) {
        Log::write(QStringLiteral("ERROR"));
        return writeLabeled(Setter::ReplaceValue, ListWrite::Replace, value, identifier, contact);
    }
    if (isAddressPart(identifier)) {
        Log::write(QStringLiteral("ERROR"));
        if (!isMap(value))
            return false;
        return writeEntry(Setter::ReplaceValue, value.toMap(), AddressIdentifier, contact);
    }
    const QString type = valueType(*contact->person, identifier);
    if (type == PersonValueType::String)
        return writeString(value, identifier, contact, sender);
    if (type == PersonValueType::Labeled) {
        Log::write(QStringLiteral("ERROR"));
        return writeLabeled(Setter::ReplaceValue, ListWrite::SetValue, value, identifier, contact);
    }
    return false;
}

bool EditFunnel::writeString(const QVariant &value, const QString &identifier, const ContactRowPtr &contact,
                             QObject *sender)
{
    if (!isNil(value) && value.typeId() != QMetaType::QString)
        return false;
    QNPerson &person = *contact->person;
    const QString old = person.stringValueForIdentifier(identifier);
    const QString text = isNil(value) ? QStringLiteral("") : value.toString();
    if (text == old)
        return false;
    registerTextInverse(old, identifier, contact, sender);
    person.setValue(text, identifier);
    finishWrite(contact);
    return true;
}

// --- the list setter -------------------------------------------------------------------------

bool EditFunnel::undoReplaceLabeledValue(const QVariant &value, const QString &identifier,
                                         const ContactRowPtr &contact, QObject *)
{
    if (!contact || !contact->person)
        return false;
    if (isAddressPart(identifier)) {
        if (!isMap(value))
            return false;
        return writeEntry(Setter::ReplaceLabeledValue, value.toMap(), AddressIdentifier, contact);
    }
    if (QNPerson::labeledIdentifiers().contains(identifier))
        return writeLabeled(Setter::ReplaceLabeledValue, ListWrite::Replace, value, identifier, contact);
    // The record's own type: a custom item it holds no value of yet answers none.
    const QString type = contact->person->typeForIdentifier(identifier);
    if (type.isEmpty() && hasCustomItem(identifier))
        return addToNewCustomItem(value, identifier, contact);
    if (type == PersonValueType::Labeled)
        return writeLabeled(Setter::ReplaceLabeledValue, ListWrite::Replace, value, identifier, contact);
    Log::write(QStringLiteral("ERROR"));
    return false;
}

bool EditFunnel::addToNewCustomItem(const QVariant &value, const QString &identifier,
                                    const ContactRowPtr &contact)
{
    if (!holdsEntries(value))
        return false;
    registerListRestore(Setter::ReplaceLabeledValue, *contact->person, identifier, contact);
    contact->person->addLabeledValue(value, identifier);
    finishListWrite(contact);
    return true;
}

bool EditFunnel::writeLabeled(Setter setter, ListWrite write, const QVariant &value,
                              const QString &identifier, const ContactRowPtr &contact)
{
    if (isMap(value))
        return writeEntry(setter, value.toMap(), identifier, contact);
    if (isNil(value) && setter == Setter::ReplaceValue) {
        Log::write(" Error %s: %@, %@",
                   {QStringLiteral("-[ViewController undoReplaceValue:forIdentifier:inContact:sender:]"),
                    identifier, QStringLiteral("(null)")});
        return false;
    }
    if (!isNil(value) && !isList(value))
        return false;
    QNPerson &person = *contact->person;
    const QVariantList held = person.labeledValueForIdentifier(identifier); // read before it is replaced
    if (!listReadable(person, identifier) || sameList(identifier, value, held))
        return false;
    registerListRestore(setter, person, identifier, contact);
    if (write == ListWrite::SetValue)
        person.setValue(value, identifier);
    else
        person.replaceLabeledValue(value, identifier);
    if (setter == Setter::ReplaceValue)
        finishWrite(contact);
    else
        finishListWrite(contact);
    return true;
}

// listIdentifier is where the entry lives: "Address" for an address part.
bool EditFunnel::writeEntry(Setter setter, const QVariantMap &entry, const QString &listIdentifier,
                            const ContactRowPtr &contact)
{
    QNPerson &person = *contact->person;
    if (const std::optional<qint64> labelIndex = LabeledEntry(entry).labelIndex()) {
        // No entry carries that number, or the entry is handed back as it is: the record would
        // change nothing.
        const std::optional<QVariantMap> held =
            person.labeledValueForIdentifierAtLabelIndex(listIdentifier, *labelIndex);
        if (!held || sameEntry(listIdentifier, entry, *held))
            return false;
    } else {
        // An entry without a number is new: the record adds it to the list.
        person.labeledValueForIdentifier(listIdentifier); // read before it grows
        if (!listReadable(person, listIdentifier))
            return false;
    }
    registerListRestore(setter, person, listIdentifier, contact);
    person.replaceLabeledValue(entry, listIdentifier);
    if (setter == Setter::ReplaceValue)
        finishWrite(contact);
    else
        finishListWrite(contact);
    return true;
}

// --- adding and deleting one entry -----------------------------------------------------------

bool EditFunnel::undoAddLabeledValue(const QVariantMap &value, const QString &identifier,
                                     const ContactRowPtr &contact, QObject *)
{
    if (!contact || !contact->person)
        return false;
    QNPerson &person = *contact->person;
    if (valueType(person, identifier) != PersonValueType::Labeled)
        return false;
    person.labeledValueForIdentifier(identifier); // read before it grows
    if (!listReadable(person, identifier))
        return false;
    registerListRestore(Setter::ReplaceLabeledValue, person, identifier, contact);
    person.addLabeledValue(value, identifier);
    finishWrite(contact);
    return true;
}

bool EditFunnel::undoDeleteLabeledValueForIdentifier(const QString &identifier, qint64 labelIndex,
                                                     const ContactRowPtr &contact, QObject *)
{
    if (!contact || !contact->person)
        return false;
    QNPerson &person = *contact->person;
    if (isAddressPart(identifier) || valueType(person, identifier) != PersonValueType::Labeled) {
        Log::write(QStringLiteral("ERROR"));
        return false;
    }
    const QVariantList old = person.labeledValueForIdentifier(identifier);
    if (!listReadable(person, identifier) || QNPerson::findLabeledValue(old, labelIndex) < 0)
        return false;
    registerListRestore(Setter::ReplaceLabeledValue, person, identifier, contact);
    person.deleteLabeledValueForIdentifier(identifier, labelIndex);
    finishWrite(contact);
    return true;
}

// --- names, birthday and photo ---------------------------------------------------------------

bool EditFunnel::undoReplaceNameValue(const QVariantMap &name, const ContactRowPtr &contact)
{
    if (!contact || !contact->person)
        return false;
    QNPerson &person = *contact->person;
    const QVariantMap old = person.nameValue();
    if (heldName(name, person) == heldName(old, person))
        return false;
    m_undoManager.registerUndo([this, old, contact] { undoReplaceNameValue(old, contact); });
    person.setNameValue(name, PersonIdentifier::Name);
    finishWrite(contact);
    return true;
}

bool EditFunnel::undoReplacePhoneticNameValue(const QVariant &phoneticName, const ContactRowPtr &contact)
{
    if (!contact || !contact->person || (!isNil(phoneticName) && !isMap(phoneticName)))
        return false;
    QNPerson &person = *contact->person;
    const QVariant old = variantFromOptional(person.phoneticNameValue());
    if (heldPhoneticName(phoneticName, person) == heldPhoneticName(old, person))
        return false;
    m_undoManager.registerUndo([this, old, contact] { undoReplacePhoneticNameValue(old, contact); });
    person.setNameValue(isNil(phoneticName) ? QVariant() : phoneticName, PersonIdentifier::PhoneticName);
    finishWrite(contact);
    return true;
}

bool EditFunnel::undoReplaceBirthday(const QVariant &birthday, const ContactRowPtr &contact)
{
    if (!contact || !contact->person || (!isNil(birthday) && !isMap(birthday)))
        return false;
    QNPerson &person = *contact->person;
    const QVariant old = variantFromOptional(person.birthdayValue());
    if (heldBirthday(birthday) == heldBirthday(old))
        return false;
    m_undoManager.registerUndo([this, old, contact] { undoReplaceBirthday(old, contact); });
    if (isNil(birthday))
        person.setBirthdayValue(std::nullopt);
    else
        person.setBirthdayValue(birthday.toMap());
    finishWrite(contact);
    return true;
}

bool EditFunnel::undoReplacePhoto(const QVariant &image, const ContactRowPtr &contact)
{
    if (!contact || !contact->person || (!isNil(image) && image.typeId() != QMetaType::QImage))
        return false;
    QNPerson &person = *contact->person;
    const PhotoBytes old = person.photoBytes();
    m_undoManager.registerUndo([this, old, contact] { restorePhoto(old, contact); });
    const QImage photo = isNil(image) ? QImage() : image.value<QImage>();
    if (photo.isNull())
        person.setPhoto(std::nullopt);
    else
        person.setPhoto(photo);
    finishWrite(contact);
    return true;
}

// The bytes go back as they were (JPEG stays JPEG), not re-encoded from an image.
bool EditFunnel::restorePhoto(const PhotoBytes &bytes, const ContactRowPtr &contact)
{
    if (!contact || !contact->person)
        return false;
    QNPerson &person = *contact->person;
    const PhotoBytes current = person.photoBytes();
    m_undoManager.registerUndo([this, current, contact] { restorePhoto(current, contact); });
    person.setPhotoBytes(bytes);
    finishWrite(contact);
    return true;
}

// --- the merge -------------------------------------------------------------------------------

void EditFunnel::undoReplacePersonByContacts(const QList<ContactRowPtr> &newContacts,
                                             const QList<ContactRowPtr> &contacts)
{
    {
        UndoGroup group(m_undoManager);
        const qsizetype count = std::min(newContacts.size(), contacts.size());
        for (qsizetype i = 0; i < count; ++i)
            mergePerson(newContacts[i], contacts[i]);
    }
    if (newContacts.isEmpty())
        return;
    emit m_book.contactDidUpdate(newContacts.first(), &m_book);
}

void EditFunnel::mergePerson(const ContactRowPtr &merged, const ContactRowPtr &target)
{
    if (!merged || !merged->person || !target || !target->person)
        return;
    QNPerson &newPerson = *merged->person;
    QNPerson &oldPerson = *target->person;
    const QVariantList customItems = m_book.customItems();
    for (const QString &field : PersonDifference::differingFields(newPerson, oldPerson, customItems)) {
        if (field == PersonIdentifier::Photo)
            mergePhoto(newPerson, target);
        else if (field == PersonIdentifier::Name)
            undoReplaceNameValue(newPerson.nameValue(), target);
        else if (field == PersonIdentifier::PhoneticName)
            undoReplacePhoneticNameValue(variantFromOptional(newPerson.phoneticNameValue()), target);
        else if (field == PersonIdentifier::Birthday)
            undoReplaceBirthday(variantFromOptional(newPerson.birthdayValue()), target);
        else if (mergedType(newPerson, oldPerson, field, customItems) == PersonValueType::Labeled)
            undoReplaceLabeledValue(newPerson.labeledValueForIdentifier(field), field, target, &m_book);
        else
            undoReplaceValue(newPerson.stringValueForIdentifier(field), field, target, &m_book);
    }
}

QString EditFunnel::mergedType(QNPerson &merged, QNPerson &old, const QString &identifier,
                               const QVariantList &customItems) const
{
    if (QNPerson::allIdentifiers().contains(identifier))
        return valueType(merged, identifier);
    return PersonDifference::customType(merged, old, identifier, customItems);
}

// The bytes go over as they are; a removed photo is removed.
void EditFunnel::mergePhoto(QNPerson &merged, const ContactRowPtr &target)
{
    if (merged.photo().isNull())
        undoReplacePhoto(QVariant(), target);
    else
        restorePhoto(merged.photoBytes(), target);
}

// --- shared steps ----------------------------------------------------------------------------

QString EditFunnel::valueType(QNPerson &person, const QString &identifier) const
{
    return CustomItemDefinitions::valueType(person, identifier, m_book.customItems());
}

bool EditFunnel::hasCustomItem(const QString &identifier) const
{
    const QVariantList &items = m_book.customItems();
    return std::any_of(items.cbegin(), items.cend(), [&](const QVariant &item) {
        return item.toMap().value(PersonKey::ItemName).toString() == identifier;
    });
}

void EditFunnel::registerTextInverse(const QString &oldText, const QString &identifier,
                                     const ContactRowPtr &contact, QObject *sender)
{
    // The sender is only handed on; it may be gone by the time the step is undone.
    const QPointer<QObject> guardedSender(sender);
    m_undoManager.registerUndo([this, oldText, identifier, contact, guardedSender] {
        undoReplaceValue(oldText, identifier, contact, guardedSender.data());
    });
}

// Lists come back exactly as they were held, not normalised again. An unread list comes back
// unread, so the save leaves the stored one alone.
void EditFunnel::registerListRestore(Setter refresh, QNPerson &person, const QString &listIdentifier,
                                     const ContactRowPtr &contact)
{
    ListState state{listIdentifier, std::nullopt, QVariant()};
    if (const std::optional<QNPerson::LabeledKind> kind = QNPerson::labeledKindForIdentifier(listIdentifier))
        state.held = person.heldLabeledValues(*kind);
    else
        state.cached = person.item(listIdentifier);
    m_undoManager.registerUndo([this, refresh, state, contact] { restoreList(refresh, state, contact); });
}

void EditFunnel::restoreList(Setter refresh, const ListState &state, const ContactRowPtr &contact)
{
    QNPerson &person = *contact->person;
    registerListRestore(refresh, person, state.identifier, contact);
    if (const std::optional<QNPerson::LabeledKind> kind =
            QNPerson::labeledKindForIdentifier(state.identifier))
        person.setHeldLabeledValues(*kind, state.held);
    else if (state.cached.isValid())
        person.setItem(state.identifier, state.cached);
    else
        person.removeItem(state.identifier);
    if (refresh == Setter::ReplaceValue)
        finishWrite(contact);
    else
        finishListWrite(contact);
}

void EditFunnel::finishWrite(const ContactRowPtr &contact)
{
    contact->person->setChanged(true);
    m_book.markEditedOutsideUndo();
    emit m_book.contactDidUpdate(contact, nullptr);
}

// The list setter leaves the broadcast to its caller, but a change that is not marked would not
// be offered for saving.
void EditFunnel::finishListWrite(const ContactRowPtr &contact)
{
    contact->person->setChanged(true);
    emit m_book.tableChanged(contact);
    m_book.markEditedOutsideUndo();
}
