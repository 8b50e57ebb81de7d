#pragma once

#include <QString>
#include <QVariantList>
#include <QVariantMap>

#include <optional>

class CloudKeyValueStore;
class QNPerson;

// Custom items in the cloud key-value store, which the contacts store has no place for.
//
// Each contact's values live under its uniqueId as a map from item name to value (a string, a
// list of LabeledValueDict, or a map); the address book's definitions live under DefinitionsKey,
// so that an item the user defined is there at the next start even before any contact has a value
// for it. Callers write a contact's entry only after the contacts store accepted its save.
class CustomItemCloudValues
{
public:
    static const QString DefinitionsKey;

    // Writes the person's entry: a "String Value" item's text when not empty, any other item's
    // value when it has one; an empty map when nothing is left. A person without custom items
    // writes nothing, so an entry written earlier stays.
    static void iCloudSavePerson(QNPerson &person, CloudKeyValueStore &ukvs);
    // The entry iCloudSavePerson writes; nullopt for a person without custom items.
    static std::optional<QVariantMap> entryOfPerson(QNPerson &person);
    // Removes the entry under the person's uniqueId.
    static void iCloudRemovePerson(QNPerson &person, CloudKeyValueStore &ukvs);
    // The map stored under the key; nullopt for a missing key or another kind of value.
    static std::optional<QVariantMap> iCloudRestoreValueForKey(const QString &key, CloudKeyValueStore &ukvs);
    // Does nothing for an empty key.
    static void iCloudRemoveValueForKey(const QString &key, CloudKeyValueStore &ukvs);

    // The stored definitions (CustomItemDict: "Name", "Type", "Labels", "ImageData"), in order;
    // empty when none were stored. Entries without a name or with an unknown type are dropped.
    static QVariantList loadCustomItemDefinitions(CloudKeyValueStore &ukvs);
    // Stores the definitions as a whole, without the sheet's editing flags and icon images;
    // entries marked "deleted" are left out.
    static void saveCustomItemDefinitions(const QVariantList &definitions, CloudKeyValueStore &ukvs);
    // Puts these definitions (added or changed) and takes those out, each known by its name and
    // type, into the list as the file holds it at the write: what another program on the same
    // store added or deleted meanwhile stays so.
    static void changeCustomItemDefinitions(const QVariantList &put, const QVariantList &removed,
                                            CloudKeyValueStore &ukvs);
};
