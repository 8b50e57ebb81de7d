#pragma once

#include "model/AddressBookRecords.h"
#include "platform/CloudKeyValueStore.h"

#include <QString>
#include <QVariantList>
#include <QVariantMap>

class QNPerson;

// The address book's custom-item definitions (CustomItemDict maps) as the main window keeps them:
// gathered after each load, changed by the custom-item sheet, and kept in the cloud key-value store
// so that a defined item outlasts the program even while no contact has a value. Programs sharing
// the store each write only their own change of them, and the window reads the stored ones again
// when the sheet opens.
//
// Two definitions share a name only when their types differ, so a definition is found by its name
// and type together.
class CustomItemDefinitions
{
public:
    // The stored definitions, then each item of the contacts, in table order, that no definition
    // of the same name and type stands for yet.
    static QVariantList gather(const QVariantList &stored, const ContactTable &contacts);
    // The items of the contacts that no definition stands for yet, in table order, each once.
    static QVariantList itemsOfContacts(const QVariantList &definitions, const ContactTable &contacts);
    // Offers the labels that the labelled items are defined with in the label menus, so that a
    // label no contact uses yet can still be chosen.
    static void offerLabels(const QVariantList &definitions);

    // The type of the person's field: its own (a built-in field or an item of its own), else that
    // of the first definition of that name; empty when neither knows it.
    static QString valueType(const QNPerson &person, const QString &identifier, const QVariantList &definitions);

    // Position of the definition of that name and type; -1 when there is none.
    static qsizetype indexOf(const QVariantList &definitions, const QString &name, const QString &type);

    // A definition removed from the list, with the position it had.
    struct Deletion
    {
        qsizetype index = 0;
        QVariantMap definition;
    };
    struct SheetResult
    {
        // A definition was changed or deleted: the window's document is edited.
        bool edited = false;
        // The definitions removed, in the order they went, for the clean-up of the contacts and,
        // at the next save, of the cloud entries.
        QList<Deletion> deleted;
        // The definitions added or changed, as they now are: the run's own change for the store.
        QVariantList put;
    };
    // Takes the sheet's list over into the definitions, entry by entry: one marked "deleted"
    // removes its definition (and is never added, also when it was added in the same run); one
    // marked "new" is appended without the sheet's flags; one marked "changed" gives its
    // definition its labels and icon. The labels of labelled items are offered in the label tables.
    static SheetResult applySheetResult(QVariantList &definitions, const QVariantList &edited);

    // Puts deleted definitions back where they were, the last deleted first; one whose name and
    // type are defined again meanwhile stays out.
    static void restoreDeleted(QVariantList &definitions, const QList<Deletion> &deleted);
    // The deleted definitions whose name and type are not defined again.
    static QVariantList stillDeleted(const QVariantList &definitions, const QList<Deletion> &deleted);
    // The definitions as the store holds them now, for a window that knows `known` with `deleted`
    // pending: the stored ones but those still deleted, then each known one the store lacks that a
    // loaded contact has (gathered from its values, never stored). One that another program
    // deleted and no contact has goes.
    static QVariantList withStored(const QVariantList &stored, const QVariantList &known,
                                   const QList<Deletion> &deleted, const ContainerTable &containers);

    // Drops the item from every contact read so far (the top group of each container).
    static void removeFromRecords(const ContainerTable &containers, const QVariantMap &definition);
    // Drops the item's values from every contact's entry in the cloud store, so that the next load
    // does not bring the item back; an entry left empty goes.
    static void removeFromCloud(const QVariantMap &definition, CloudKeyValueStore &ukvs);
    // The changes that take the items' values out of the cloud entries that hold them. Each names
    // only the items, so that it is merged into the file as the file is at the write: what another
    // program wrote meanwhile in the contact's other items stays. An entry left empty goes.
    static QList<CloudKeyValueStore::Change> removalsFromCloud(const QVariantList &definitions,
                                                               const QVariantMap &entries);

private:
    static QVariantMap definitionFromSheet(QVariantMap entry);
    static void takeIcon(QVariantMap &definition, const QVariantMap &entry);
};
