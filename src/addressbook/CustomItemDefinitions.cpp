#include "addressbook/CustomItemDefinitions.h"

#include "model/CustomItemCloudValues.h"
#include "model/LabelTables.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/PlatformUtil.h"
#include "platform/CloudKeyValueStore.h"

#include <QBuffer>
#include <QImage>
#include <QSet>

#include <algorithm>

namespace {

QString nameOf(const QVariantMap &definition)
{
    return definition.value(PersonKey::ItemName).toString();
}

QString typeOf(const QVariantMap &definition)
{
    return definition.value(PersonKey::ItemType).toString();
}

// A definition's name and type as one key, for sets.
QString keyOf(const QVariantMap &definition)
{
    return nameOf(definition) + QChar::Null + typeOf(definition);
}

bool isFlagged(const QVariantMap &entry, const QString &flag)
{
    return entry.value(flag).toBool();
}

// A cloud value belongs to an item of that type when it has the type's shape.
bool valueFitsType(const QVariant &value, const QString &type)
{
    if (type == PersonValueType::String)
        return value.typeId() == QMetaType::QString;
    if (type == PersonValueType::Labeled)
        return value.typeId() == QMetaType::QVariantList;
    return value.typeId() == QMetaType::QVariantMap;
}

} // namespace

QString CustomItemDefinitions::valueType(const QNPerson &person, const QString &identifier,
                                        const QVariantList &definitions)
{
    const QString type = person.typeForIdentifier(identifier);
    if (!type.isEmpty())
        return type;
    for (const QVariant &item : definitions) {
        const QVariantMap definition = item.toMap();
        if (nameOf(definition) == identifier)
            return typeOf(definition);
    }
    return type;
}

qsizetype CustomItemDefinitions::indexOf(const QVariantList &definitions, const QString &name,
                                         const QString &type)
{
    for (qsizetype i = 0; i < definitions.size(); ++i) {
        const QVariantMap definition = definitions.at(i).toMap();
        if (nameOf(definition) == name && typeOf(definition) == type)
            return i;
    }
    return -1;
}

QVariantList CustomItemDefinitions::gather(const QVariantList &stored, const ContactTable &contacts)
{
    return stored + itemsOfContacts(stored, contacts);
}

QVariantList CustomItemDefinitions::itemsOfContacts(const QVariantList &definitions,
                                                    const ContactTable &contacts)
{
    // By name and type in a set: tens of thousands of contacts ask about each of their items.
    QSet<QString> known;
    for (const QVariant &definition : definitions)
        known.insert(keyOf(definition.toMap()));
    QVariantList items;
    for (const ContactRowPtr &row : contacts) {
        if (!row || !row->person)
            continue;
        for (const QVariant &item : row->person->ownCustomItems()) {
            const QVariantMap definition = item.toMap();
            if (nameOf(definition).isEmpty() || known.contains(keyOf(definition)))
                continue;
            known.insert(keyOf(definition));
            items.append(definition);
        }
    }
    return items;
}

// --- the sheet's result ---------------------------------------------------------------------

CustomItemDefinitions::SheetResult CustomItemDefinitions::applySheetResult(QVariantList &definitions,
                                                                           const QVariantList &edited)
{
    SheetResult result;
    for (const QVariant &value : edited) {
        const QVariantMap entry = value.toMap();
        const qsizetype index = indexOf(definitions, nameOf(entry), typeOf(entry));
        if (isFlagged(entry, PersonKey::ItemDeleted)) {
            if (index >= 0) {
                result.deleted.append({index, definitions.takeAt(index).toMap()});
                result.edited = true;
            }
        } else if (isFlagged(entry, PersonKey::ItemNew)) {
            if (index < 0) {
                const QVariantMap definition = definitionFromSheet(entry);
                offerLabels({definition});
                definitions.append(definition);
                result.put.append(definition);
            }
        } else if (isFlagged(entry, PersonKey::ItemChanged) && index >= 0) {
            QVariantMap definition = definitions.at(index).toMap();
            const QStringList labels = entry.value(PersonKey::ItemLabels).toStringList();
            if (typeOf(entry) == PersonValueType::Labeled && !labels.isEmpty())
                definition.insert(PersonKey::ItemLabels, labels);
            takeIcon(definition, entry);
            offerLabels({definition});
            definitions[index] = definition;
            result.put.append(definition);
            result.edited = true;
        }
    }
    return result;
}

QVariantMap CustomItemDefinitions::definitionFromSheet(QVariantMap entry)
{
    entry.remove(PersonKey::ItemNew);
    entry.remove(PersonKey::ItemChanged);
    entry.remove(QStringLiteral("row"));
    QVariantMap definition = entry;
    takeIcon(definition, entry);
    return definition;
}

void CustomItemDefinitions::offerLabels(const QVariantList &definitions)
{
    LabelTables::LabelTable offered;
    for (const QVariant &item : definitions) {
        const QVariantMap definition = item.toMap();
        if (typeOf(definition) != PersonValueType::Labeled)
            continue;
        for (const QString &label : definition.value(PersonKey::ItemLabels).toStringList()) {
            if (!label.isEmpty())
                offered[nameOf(definition)].append(label);
        }
    }
    LabelTables::shared().offerLabels(offered);
}

// The sheet shows the icon as an image; the record and the stored definitions read its bytes.
void CustomItemDefinitions::takeIcon(QVariantMap &definition, const QVariantMap &entry)
{
    const QImage icon = entry.value(PersonKey::ItemImageIcon).value<QImage>();
    if (!icon.isNull()) {
        definition.insert(PersonKey::ItemImageIcon, icon);
        definition.insert(PersonKey::ItemImageData, PlatformUtil::pngData(icon));
    } else if (!entry.contains(PersonKey::ItemImageData)) {
        definition.remove(PersonKey::ItemImageIcon);
        definition.remove(PersonKey::ItemImageData);
    }
}

// --- deleting -------------------------------------------------------------------------------

void CustomItemDefinitions::restoreDeleted(QVariantList &definitions, const QList<Deletion> &deleted)
{
    for (auto it = deleted.crbegin(); it != deleted.crend(); ++it) {
        if (indexOf(definitions, nameOf(it->definition), typeOf(it->definition)) < 0)
            definitions.insert(std::min(it->index, definitions.size()), it->definition);
    }
}

QVariantList CustomItemDefinitions::stillDeleted(const QVariantList &definitions,
                                                 const QList<Deletion> &deleted)
{
    QVariantList gone;
    for (const Deletion &deletion : deleted) {
        if (indexOf(definitions, nameOf(deletion.definition), typeOf(deletion.definition)) < 0)
            gone.append(deletion.definition);
    }
    return gone;
}

QVariantList CustomItemDefinitions::withStored(const QVariantList &stored, const QVariantList &known,
                                               const QList<Deletion> &deleted,
                                               const ContainerTable &containers)
{
    const QVariantList gone = stillDeleted(known, deleted);
    QVariantList definitions;
    for (const QVariant &item : stored) {
        if (indexOf(gone, nameOf(item.toMap()), typeOf(item.toMap())) < 0)
            definitions.append(item);
    }
    QSet<QString> held;
    for (const QNPersonPtr &person : loadedPersons(containers)) {
        for (const QVariant &item : person->ownCustomItems())
            held.insert(keyOf(item.toMap()));
    }
    for (const QVariant &item : known) {
        const QVariantMap definition = item.toMap();
        if (held.contains(keyOf(definition)) &&
            indexOf(definitions, nameOf(definition), typeOf(definition)) < 0)
            definitions.append(definition);
    }
    return definitions;
}

void CustomItemDefinitions::removeFromRecords(const ContainerTable &containers, const QVariantMap &definition)
{
    const QString name = nameOf(definition);
    for (const QNPersonPtr &person : loadedPersons(containers)) {
        const std::optional<QVariantMap> own = person->customItemForIdentifier(name);
        // The contact's item of that name may be the other type's, which stays.
        if (own && typeOf(*own) == typeOf(definition))
            person->deleteCustomItemForName(name);
    }
}

void CustomItemDefinitions::removeFromCloud(const QVariantMap &definition, CloudKeyValueStore &ukvs)
{
    ukvs.apply(removalsFromCloud({definition}, ukvs.dictionaryRepresentation()));
}

QList<CloudKeyValueStore::Change> CustomItemDefinitions::removalsFromCloud(const QVariantList &definitions,
                                                                           const QVariantMap &entries)
{
    QList<CloudKeyValueStore::Change> removals;
    for (auto it = entries.cbegin(); it != entries.cend(); ++it) {
        if (it.key() == CustomItemCloudValues::DefinitionsKey || it->typeId() != QMetaType::QVariantMap)
            continue;
        const QVariantMap values = it->toMap();
        QStringList names;
        for (const QVariant &item : definitions) {
            const QVariantMap definition = item.toMap();
            const auto value = values.constFind(nameOf(definition));
            if (value != values.cend() && valueFitsType(*value, typeOf(definition)) &&
                !names.contains(value.key()))
                names.append(value.key());
        }
        if (!names.isEmpty())
            removals.append(CloudKeyValueStore::Change::withoutItems(it.key(), names));
    }
    return removals;
}
