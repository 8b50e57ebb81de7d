#pragma once

#include "platform/StoreContact.h"

#include <QList>
#include <QString>
#include <memory>
#include <optional>

// The in-memory address book: containers holding groups holding contact rows. The tree is shared by
// reference between the loader, the view controller and every view; nothing copies it. Pending
// changes are flags on these records (and on the person); deletion is a flag too, so nothing is
// removed from a group's rows or a container's groups until the next store reload.

class QNPerson;
using QNPersonPtr = std::shared_ptr<QNPerson>;

struct ContactRow
{
    // Polymorphic, so that a view handed a grid row (SubContactRow) can read its extra keys.
    virtual ~ContactRow() = default;

    QNPersonPtr person;
    QString uniqueId;
    // A company's name at load, which matches its rows across groups; absent for a person.
    std::optional<QString> uniqueId2;
    int labelIndex = 0;
    bool isNew = false;
    bool deleted = false;
    // The store contact the save fetched for an update; nothing reads it. Held by pointer: every
    // grid row is a ContactRow, and a contact held inline would make each of them several times
    // larger.
    std::shared_ptr<const StoreContact> cnContact;
};
using ContactRowPtr = std::shared_ptr<ContactRow>;
using ContactTable = QList<ContactRowPtr>;
// The same row array is held by a group and by whoever shows it, so it is shared.
using ContactTablePtr = std::shared_ptr<ContactTable>;

struct GroupDict
{
    bool top = false;
    QString name;
    QString containerName;
    // The container identifier for a top group, the store group's identifier otherwise.
    QString uniqueId;
    QString containerIdentifier;
    std::optional<StoreGroup> cnGroup;
    // Null until the group's contacts have been read.
    ContactTablePtr contactTable;

    bool isNew = false;
    bool deleted = false;
    bool changed = false;
    bool groupNameChanged = false;
};
using GroupDictPtr = std::shared_ptr<GroupDict>;

struct ContainerDict
{
    QString name;
    int type = StoreContainerLocal;
    QString identifier;
    // Element 0 is the container's top group ("All Contacts").
    QList<GroupDictPtr> groups;

    GroupDictPtr topGroup() const { return groups.isEmpty() ? nullptr : groups.first(); }
};
using ContainerDictPtr = std::shared_ptr<ContainerDict>;
using ContainerTable = QList<ContainerDictPtr>;

// The loaded contacts: the persons of every container's top group, which holds each contact of
// its container once.
inline QList<QNPersonPtr> loadedPersons(const ContainerTable &containers)
{
    QList<QNPersonPtr> persons;
    for (const ContainerDictPtr &container : containers) {
        const GroupDictPtr top = container ? container->topGroup() : nullptr;
        if (!top || !top->contactTable)
            continue;
        for (const ContactRowPtr &row : std::as_const(*top->contactTable)) {
            if (row && row->person)
                persons.append(row->person);
        }
    }
    return persons;
}
