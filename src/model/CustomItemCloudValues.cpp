#include "model/CustomItemCloudValues.h"

#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/CloudKeyValueStore.h"

const QString CustomItemCloudValues::DefinitionsKey = QStringLiteral("QN1CcustomItemDefinitions");

namespace {

bool isKnownType(const QString &type)
{
    return type == PersonValueType::String || type == PersonValueType::Labeled ||
           type == PersonValueType::Dictionary;
}

// A definition as JSON holds it: the icon's bytes as base64.
QVariantMap storedDefinition(const QVariantMap &definition)
{
    QVariantMap stored{{PersonKey::ItemName, definition.value(PersonKey::ItemName).toString()},
                       {PersonKey::ItemType, definition.value(PersonKey::ItemType).toString()}};
    if (definition.contains(PersonKey::ItemLabels))
        stored.insert(PersonKey::ItemLabels, definition.value(PersonKey::ItemLabels).toStringList());
    const QByteArray icon = definition.value(PersonKey::ItemImageData).toByteArray();
    if (!icon.isEmpty())
        stored.insert(PersonKey::ItemImageData, QString::fromLatin1(icon.toBase64()));
    return stored;
}

// Without the sheet's editing flags and icon images; entries marked "deleted" are left out.
QVariantList storedDefinitions(const QVariantList &definitions)
{
    QVariantList stored;
    for (const QVariant &value : definitions) {
        const QVariantMap definition = value.toMap();
        if (definition.value(PersonKey::ItemDeleted).toBool() ||
            definition.value(PersonKey::ItemName).toString().isEmpty())
            continue;
        stored.append(storedDefinition(definition));
    }
    return stored;
}

std::optional<QVariantMap> loadedDefinition(const QVariant &value)
{
    if (value.typeId() != QMetaType::QVariantMap)
        return std::nullopt;
    const QVariantMap stored = value.toMap();
    const QString name = stored.value(PersonKey::ItemName).toString();
    const QString type = stored.value(PersonKey::ItemType).toString();
    if (name.isEmpty() || !isKnownType(type))
        return std::nullopt;
    QVariantMap definition{{PersonKey::ItemName, name}, {PersonKey::ItemType, type}};
    if (stored.contains(PersonKey::ItemLabels))
        definition.insert(PersonKey::ItemLabels, stored.value(PersonKey::ItemLabels).toStringList());
    const QString icon = stored.value(PersonKey::ItemImageData).toString();
    if (!icon.isEmpty())
        definition.insert(PersonKey::ItemImageData, QByteArray::fromBase64(icon.toLatin1()));
    return definition;
}

} // namespace

void CustomItemCloudValues::iCloudSavePerson(QNPerson &person, CloudKeyValueStore &ukvs)
{
    if (const std::optional<QVariantMap> entry = entryOfPerson(person))
        ukvs.setObject(*entry, person.uniqueId());
}

std::optional<QVariantMap> CustomItemCloudValues::entryOfPerson(QNPerson &person)
{
    const QStringList names = person.customIdentifiers();
    if (names.isEmpty())
        return std::nullopt;
    QVariantMap values;
    for (const QString &name : names) {
        const QVariant value = person.valueForIdentifier(name);
        if (person.typeForIdentifier(name) == PersonValueType::String) {
            if (!value.toString().isEmpty())
                values.insert(name, value.toString());
        } else if (value.isValid() && !value.isNull()) {
            values.insert(name, value);
        }
    }
    return values;
}

void CustomItemCloudValues::iCloudRemovePerson(QNPerson &person, CloudKeyValueStore &ukvs)
{
    iCloudRemoveValueForKey(person.uniqueId(), ukvs);
}

std::optional<QVariantMap> CustomItemCloudValues::iCloudRestoreValueForKey(const QString &key,
                                                                           CloudKeyValueStore &ukvs)
{
    if (key.isEmpty())
        return std::nullopt;
    return ukvs.dictionaryForKey(key);
}

void CustomItemCloudValues::iCloudRemoveValueForKey(const QString &key, CloudKeyValueStore &ukvs)
{
    if (!key.isEmpty())
        ukvs.removeObjectForKey(key);
}

QVariantList CustomItemCloudValues::loadCustomItemDefinitions(CloudKeyValueStore &ukvs)
{
    QVariantList definitions;
    for (const QVariant &value : ukvs.arrayForKey(DefinitionsKey).value_or(QVariantList())) {
        if (const std::optional<QVariantMap> definition = loadedDefinition(value))
            definitions.append(*definition);
    }
    return definitions;
}

void CustomItemCloudValues::saveCustomItemDefinitions(const QVariantList &definitions,
                                                      CloudKeyValueStore &ukvs)
{
    ukvs.setObject(storedDefinitions(definitions), DefinitionsKey);
}

void CustomItemCloudValues::changeCustomItemDefinitions(const QVariantList &put, const QVariantList &removed,
                                                        CloudKeyValueStore &ukvs)
{
    if (put.isEmpty() && removed.isEmpty())
        return;
    const CloudKeyValueStore::ElementChanges elements{
        {PersonKey::ItemName, PersonKey::ItemType}, storedDefinitions(put), storedDefinitions(removed)};
    ukvs.apply({CloudKeyValueStore::Change::ofElements(DefinitionsKey, elements)});
}
