#include "model/QNPerson.h"

#include "model/QNPersonKeys.h"
#include "platform/Log.h"
#include "platform/StoreContact.h"

#include <algorithm>

namespace {

const QStringList NameParts = {PersonKey::FirstName, PersonKey::MiddleName, PersonKey::LastName,
                               PersonKey::PreviousFamilyName};

bool isNil(const QVariant &value)
{
    return !value.isValid() || value.isNull();
}

// Text accessors hand out "" rather than a null string.
QString nonNull(const QString &text)
{
    return text.isNull() ? QStringLiteral("") : text;
}

bool isPseudoIdentifier(const QString &identifier)
{
    return identifier == PersonIdentifier::Groups || identifier == PersonIdentifier::NameOrdering ||
           identifier == PersonIdentifier::NameDisplay;
}

bool isNameIdentifier(const QString &identifier)
{
    return identifier == PersonIdentifier::Name || NameParts.contains(identifier) ||
           QNPerson::phoneticIdentifiers().contains(identifier);
}

QVariant variantFromOptional(const std::optional<QVariantMap> &map)
{
    return map ? QVariant(*map) : QVariant();
}

// The keys by which a kind's list may be sorted.
QStringList sortKeysForKind(QNPerson::LabeledKind kind)
{
    using Kind = QNPerson::LabeledKind;
    QStringList keys{PersonKey::StringValue, PersonKey::Label};
    if (kind == Kind::Address)
        keys << PersonKey::ZIP << PersonKey::State << PersonKey::City << PersonKey::Street
             << PersonKey::Country;
    else if (kind == Kind::InstantMessage || kind == Kind::SocialProfile)
        keys << StoreValueKey::Service << StoreValueKey::Username;
    return keys;
}

} // namespace

void QNPerson::numberNewEntries(QVariantList &list)
{
    // After the largest number given; a list given without any is numbered by position.
    qsizetype next = 0;
    for (const QVariant &entry : list) {
        const QVariant number = entry.toMap().value(PersonKey::LabelIndex);
        if (number.isValid())
            next = std::max(next, static_cast<qsizetype>(number.toLongLong()) + 1);
    }
    for (QVariant &value : list) {
        QVariantMap entry = value.toMap();
        if (!entry.value(PersonKey::LabelIndex).isValid()) {
            entry.insert(PersonKey::LabelIndex, static_cast<int>(next++));
            value = entry;
        }
    }
}

// --- Reading -------------------------------------------------------------------------------------

QString QNPerson::typeForIdentifier(const QString &identifier) const
{
    if (const std::optional<QVariantMap> definition = lastCustomItemForName(identifier))
        return definition->value(PersonKey::ItemType).toString();
    if (labeledKindForIdentifier(identifier))
        return PersonValueType::Labeled;
    if (stringIdentifiers().contains(identifier))
        return PersonValueType::String;
    if (identifier == PersonIdentifier::Birthday || identifier == PersonIdentifier::Name ||
        identifier == PersonIdentifier::PhoneticName)
        return PersonValueType::Dictionary;
    return QStringLiteral("");
}

QVariant QNPerson::valueForIdentifier(const QString &identifier)
{
    if (identifier == PersonIdentifier::Name)
        return nameValue();
    if (identifier == PersonIdentifier::CompositeName)
        return compositeName();
    if (NameParts.contains(identifier))
        return nonNull(namePart(identifier));
    if (identifier == PersonIdentifier::PhoneticName)
        return variantFromOptional(phoneticNameValue());
    if (phoneticIdentifiers().contains(identifier))
        return nonNull(phoneticPart(identifier));
    if (identifier == PersonIdentifier::Photo) {
        const QImage image = photo();
        return image.isNull() ? QVariant() : QVariant(image);
    }
    if (identifier == PersonIdentifier::Thumbnail)
        return thumbnail();
    if (isPseudoIdentifier(identifier))
        return QStringLiteral("");
    if (identifier == PersonIdentifier::Birthday)
        return variantFromOptional(birthdayValue());
    if (const std::optional<LabeledKind> kind = labeledKindForIdentifier(identifier))
        return labeledValues(*kind);
    if (lastCustomItemForName(identifier))
        return customValueForIdentifier(identifier);
    const QVariant cached = item(identifier);
    if (cached.isValid())
        return cached;
    if (!m_cnContact || !stringIdentifiers().contains(identifier))
        return QVariant();
    return nonNull(stringFieldForIdentifier(identifier));
}

QString QNPerson::stringValueForIdentifier(const QString &identifier)
{
    if (stringIdentifiers().contains(identifier))
        return nonNull(stringFieldForIdentifier(identifier));
    const QString type = typeForIdentifier(identifier);
    if (type == PersonValueType::String)
        return nonNull(customValueForIdentifier(identifier).toString());
    if (type == PersonValueType::Dictionary) {
        if (identifier == PersonIdentifier::Name)
            return nonNull(nameStringValue());
        if (identifier == PersonIdentifier::PhoneticName)
            return nonNull(phoneticName());
        std::optional<QVariantMap> dictionary;
        if (identifier == PersonIdentifier::Birthday)
            dictionary = birthdayValue();
        else
            Log::write("Error on %s %@",
                       {QStringLiteral("-[QNPerson stringValueForIdentifier:]"), identifier});
        return nonNull(dictionary ? dictionary->value(PersonKey::StringValue).toString() : QString());
    }
    const QVariant value = valueForIdentifier(identifier);
    return nonNull(value.typeId() == QMetaType::QString ? value.toString() : QString());
}

QVariantList QNPerson::labeledValueForIdentifier(const QString &identifier)
{
    if (const std::optional<LabeledKind> kind = labeledKindForIdentifier(identifier))
        return labeledValues(*kind);
    const QVariant value = customValueForIdentifier(identifier);
    return value.typeId() == QMetaType::QVariantList ? value.toList() : QVariantList();
}

std::optional<QNPerson::LabeledValueDict>
QNPerson::labeledValueForIdentifierAtIndex(const QString &identifier, qsizetype position)
{
    const QVariantList list = labeledValueForIdentifier(identifier);
    if (position < 0 || position >= list.size())
        return std::nullopt;
    return list[position].toMap();
}

std::optional<QNPerson::LabeledValueDict>
QNPerson::labeledValueForIdentifierAtLabelIndex(const QString &identifier, qsizetype labelIndex)
{
    const QVariantList list = labeledValueForIdentifier(identifier);
    const qsizetype position = findLabeledValue(list, labelIndex);
    if (position < 0)
        return std::nullopt;
    return list[position].toMap();
}

// --- Storing -------------------------------------------------------------------------------------

void QNPerson::setValue(const QVariant &value, const QString &identifier)
{
    if (const std::optional<LabeledKind> kind = labeledKindForIdentifier(identifier)) {
        setLabeledKindValue(*kind, value);
    } else if (stringIdentifiers().contains(identifier)) {
        setItem(identifier, nonNull(value.toString()));
        m_changed = true;
        noteEdit(CNIdentifiers().value(identifier));
    } else if (isNameIdentifier(identifier)) {
        setNameValue(value, identifier);
    } else if (identifier == PersonIdentifier::Birthday) {
        if (isNil(value))
            setBirthdayValue(std::nullopt);
        else if (value.typeId() == QMetaType::QVariantMap)
            setBirthdayValue(value.toMap());
    } else if (identifier == PersonIdentifier::Photo) {
        if (isNil(value))
            setPhoto(std::nullopt);
        else if (value.typeId() == QMetaType::QImage)
            setPhoto(value.value<QImage>());
    } else if (lastCustomItemForName(identifier)) {
        setCustomValue(value, identifier);
        m_changed = true;
    } else if (setNewCustomValue(value, identifier)) {
        m_changed = true;
    }
}

void QNPerson::setLabeledKindValue(LabeledKind kind, const QVariant &value)
{
    // Any other shape would silently empty the list.
    if (!isNil(value) && value.typeId() != QMetaType::QVariantList)
        return;
    // A whole list is normalised and numbered as any replace does it; no position is read.
    replaceLabeledEntries(kind, value, 0);
}

void QNPerson::addLabeledValue(const QVariant &value, const QString &identifier)
{
    if (const std::optional<LabeledKind> kind = labeledKindForIdentifier(identifier)) {
        if (value.typeId() == QMetaType::QVariantMap)
            addLabeledEntry(*kind, value.toMap());
        return;
    }
    addLabeledCustomValue(value, identifier);
}

void QNPerson::replaceLabeledValue(const QVariant &value, const QString &identifier)
{
    if (const std::optional<LabeledKind> kind = labeledKindForIdentifier(identifier)) {
        replaceLabeledEntries(*kind, value);
        return;
    }
    replaceLabeledCustomValue(value, identifier);
}

void QNPerson::deleteLabeledValueForIdentifier(const QString &identifier, qsizetype labelIndex)
{
    if (labelIndex < 0)
        return;
    const std::optional<LabeledKind> kind = labeledKindForIdentifier(identifier);
    std::optional<QVariantList> list;
    if (kind) {
        if (const QVariantList *loaded = loadedLabeledValues(*kind))
            list = *loaded;
    } else {
        const QVariant cached = item(identifier);
        if (cached.typeId() == QMetaType::QVariantList)
            list = cached.toList();
    }
    if (!list)
        return;
    const qsizetype position = findLabeledValue(*list, labelIndex);
    if (position < 0)
        return;
    list->removeAt(position);
    if (kind)
        setHeldLabeledValues(*kind, list);
    else
        setItem(identifier, *list);
}

bool QNPerson::sortForIdentifier(const QString &identifier, const QString &sortKey, bool ascending)
{
    const std::optional<LabeledKind> kind = labeledKindForIdentifier(identifier);
    if (!kind || !sortKeysForKind(*kind).contains(sortKey))
        return false;
    const QVariantList *loaded = loadedLabeledValues(*kind);
    if (!loaded)
        return false;
    std::optional<QVariantList> list = *loaded;
    const QVariantList before = *list;
    std::stable_sort(list->begin(), list->end(), [&](const QVariant &left, const QVariant &right) {
        const int order = QString::compare(left.toMap().value(sortKey).toString(),
                                           right.toMap().value(sortKey).toString(), Qt::CaseSensitive);
        return ascending ? order < 0 : order > 0;
    });
    setHeldLabeledValues(*kind, list);
    // Entries keep their numbers, so the numbers tell whether anything moved.
    for (qsizetype i = 0; i < list->size(); ++i) {
        if ((*list)[i].toMap().value(PersonKey::LabelIndex) != before[i].toMap().value(PersonKey::LabelIndex))
            return true;
    }
    return false;
}
