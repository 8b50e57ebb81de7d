#include "panels/MergeUndoLayer.h"

#include "addressbook/CustomItemDefinitions.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "model/VariantKinds.h"
#include "platform/Log.h"
#include "platform/UndoManager.h"

#include <QImage>

using VariantKinds::isList;
using VariantKinds::isMap;
using VariantKinds::isNil;
using VariantKinds::variantFromOptional;

MergeUndoLayer::MergeUndoLayer(UndoManager &undoManager, QObject *parent)
    : QObject(parent), m_undoManager(undoManager)
{
}

QString MergeUndoLayer::valueType(const QNPerson &person, const QString &identifier) const
{
    return CustomItemDefinitions::valueType(person, identifier, m_customItems);
}

bool MergeUndoLayer::undoReplaceValue(const QVariant &value, const QString &identifier,
                                      const ContactRowPtr &contact)
{
    if (!contact || !contact->person)
        return false;
    QNPerson &person = *contact->person;
    if (valueType(person, identifier) == PersonValueType::Labeled)
        return replaceLabeled(value, identifier, contact);
    if (!isNil(value) && value.typeId() != QMetaType::QString && !isMap(value))
        return false;
    // A cleared text is the empty text, as the address book stores it.
    const QVariant newValue = isNil(value) ? QVariant(QString()) : value;
    const QVariant old = person.valueForIdentifier(identifier);
    if (old == newValue || (old.typeId() == QMetaType::QString && old.toString() == newValue.toString()))
        return false;
    m_undoManager.registerUndo([this, old, identifier, contact] { undoReplaceValue(old, identifier, contact); });
    person.setValue(newValue, identifier);
    emit contactChanged();
    return true;
}

bool MergeUndoLayer::replaceLabeled(const QVariant &value, const QString &identifier, const ContactRowPtr &contact)
{
    QNPerson &person = *contact->person;
    if (isMap(value)) {
        const QVariantMap entry = value.toMap();
        const std::optional<QVariantMap> old =
            person.labeledValueForIdentifierAtLabelIndex(identifier, entry.value(PersonKey::LabelIndex).toLongLong());
        if (!entry.contains(PersonKey::LabelIndex) || !old)
            return false;
        m_undoManager.registerUndo(
            [this, old = *old, identifier, contact] { undoReplaceValue(old, identifier, contact); });
    } else if (isList(value) || isNil(value)) {
        registerListRestore(person, identifier, contact);
    } else {
        if (value.typeId() == QMetaType::QString)
            Log::write(QStringLiteral("ERROR %1").arg(QStringLiteral("MergeUndoLayer::undoReplaceValue")));
        return false;
    }
    person.replaceLabeledValue(isNil(value) ? QVariant() : value, identifier);
    emit contactChanged();
    return true;
}

void MergeUndoLayer::registerListRestore(QNPerson &person, const QString &identifier, const ContactRowPtr &contact)
{
    const QVariantList old = person.labeledValueForIdentifier(identifier);
    m_undoManager.registerUndo([this, old, identifier, contact] { undoReplaceValue(old, identifier, contact); });
}

bool MergeUndoLayer::undoReplacePhoto(const QVariant &image, const ContactRowPtr &contact)
{
    if (!contact || !contact->person || (!isNil(image) && image.typeId() != QMetaType::QImage))
        return false;
    QNPerson &person = *contact->person;
    const QImage photo = isNil(image) ? QImage() : image.value<QImage>();
    if (!photo.isNull() && photo == person.photo())
        return false;
    registerPhotoRestore(person, contact);
    if (photo.isNull())
        person.setPhoto(std::nullopt);
    else
        person.setPhoto(photo);
    emit contactChanged();
    return true;
}

bool MergeUndoLayer::undoReplacePhotoBytes(const PhotoBytes &bytes, const ContactRowPtr &contact)
{
    if (!contact || !contact->person)
        return false;
    registerPhotoRestore(*contact->person, contact);
    contact->person->setPhotoBytes(bytes);
    emit contactChanged();
    return true;
}

// The bytes go back as they were: a picture set again would be re-encoded and could shrink.
void MergeUndoLayer::registerPhotoRestore(QNPerson &person, const ContactRowPtr &contact)
{
    const PhotoBytes old = person.photoBytes();
    m_undoManager.registerUndo([this, old, contact] { undoReplacePhotoBytes(old, contact); });
}

bool MergeUndoLayer::undoReplaceNameValue(const QVariant &name, const ContactRowPtr &contact)
{
    if (!contact || !contact->person || (!isNil(name) && !isMap(name)))
        return false;
    QNPerson &person = *contact->person;
    const QVariantMap old = person.nameValue();
    m_undoManager.registerUndo([this, old, contact] { undoReplaceNameValue(old, contact); });
    if (isNil(name))
        person.setNameValue(QVariant(), PersonIdentifier::Name);
    else
        person.setValue(name, PersonIdentifier::Name);
    emit contactChanged();
    return true;
}

bool MergeUndoLayer::undoReplacePhoneticNameValue(const QVariant &phoneticName, const ContactRowPtr &contact)
{
    if (!contact || !contact->person || (!isNil(phoneticName) && !isMap(phoneticName)))
        return false;
    QNPerson &person = *contact->person;
    const QVariant old = variantFromOptional(person.phoneticNameValue());
    m_undoManager.registerUndo([this, old, contact] { undoReplacePhoneticNameValue(old, contact); });
    if (isNil(phoneticName))
        person.setNameValue(QVariant(), PersonIdentifier::PhoneticName);
    else
        person.setValue(phoneticName, PersonIdentifier::PhoneticName);
    emit contactChanged();
    return true;
}

bool MergeUndoLayer::undoReplaceBirthday(const QVariant &birthday, const ContactRowPtr &contact)
{
    if (!contact || !contact->person || (!isNil(birthday) && !isMap(birthday)))
        return false;
    QNPerson &person = *contact->person;
    const std::optional<QVariantMap> old = person.birthdayValue();
    if (isMap(birthday) &&
        birthday.toMap().value(PersonKey::Value) == old.value_or(QVariantMap()).value(PersonKey::Value))
        return false;
    const QVariant oldValue = variantFromOptional(old);
    m_undoManager.registerUndo([this, oldValue, contact] { undoReplaceBirthday(oldValue, contact); });
    if (isNil(birthday))
        person.setBirthdayValue(std::nullopt);
    else
        person.setBirthdayValue(birthday.toMap());
    emit contactChanged();
    return true;
}

void MergeUndoLayer::undoDeleteLabeledValueForIdentifier(const QString &identifier, qint64 labelIndex,
                                                         const ContactRowPtr &contact)
{
    if (!contact || !contact->person || valueType(*contact->person, identifier) != PersonValueType::Labeled)
        return;
    QNPerson &person = *contact->person;
    if (QNPerson::findLabeledValue(person.labeledValueForIdentifier(identifier), labelIndex) < 0)
        return;
    registerListRestore(person, identifier, contact);
    person.deleteLabeledValueForIdentifier(identifier, labelIndex);
    emit entryDeleted();
}

void MergeUndoLayer::undoAddLabeledValue(const QVariantMap &value, const QString &identifier,
                                         const ContactRowPtr &contact)
{
    if (!contact || !contact->person || valueType(*contact->person, identifier) != PersonValueType::Labeled)
        return;
    QNPerson &person = *contact->person;
    registerListRestore(person, identifier, contact);
    person.addLabeledValue(value, identifier);
    emit contactChanged();
}
