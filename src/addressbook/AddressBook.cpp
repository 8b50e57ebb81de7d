#include "addressbook/AddressBook.h"

#include "addressbook/AddressBookLoader.h"
#include "addressbook/ContactGroupEdits.h"
#include "addressbook/ContactTableSorting.h"
#include "addressbook/CustomItemDefinitions.h"
#include "addressbook/EditFunnel.h"
#include "platform/UndoManager.h"

#include <algorithm>

AddressBook::AddressBook(QObject *parent)
    : QObject(parent),
      m_undoManager(new UndoManager(this)),
      m_funnel(std::make_unique<EditFunnel>(*this)),
      m_groupEdits(std::make_unique<ContactGroupEdits>(*this)),
      m_sorting(std::make_unique<ContactTableSorting>(*this))
{
    // Undo reaches the history from the detail popovers too, not only through undo() and redo().
    connect(m_undoManager, &UndoManager::didUndo, this, [this] { setEdited(m_undoManager->canUndo()); });
    connect(m_undoManager, &UndoManager::didRedo, this, [this] { setEdited(m_undoManager->canUndo()); });
}

AddressBook::~AddressBook() = default;

void AddressBook::setEdited(bool edited)
{
    if (m_edited == edited)
        return;
    m_edited = edited;
    emit editedChanged(edited);
}

void AddressBook::markEditedOutsideUndo()
{
    if (!m_undoManager->isUndoing() && !m_undoManager->isRedoing())
        setEdited(true);
}

void AddressBook::undo()
{
    m_undoManager->undo();
    setEdited(m_undoManager->canUndo());
}

void AddressBook::redo()
{
    m_undoManager->redo();
    setEdited(m_undoManager->canUndo());
}

void AddressBook::addCustomItemsOfContacts(const ContactTable &contacts)
{
    const QVariantList added = CustomItemDefinitions::itemsOfContacts(m_customItems, contacts);
    if (added.isEmpty())
        return;
    m_customItems += added;
    emit customItemsAdded(added);
}

ContainerDictPtr AddressBook::containerOfGroup(const GroupDict &group) const
{
    for (const ContainerDictPtr &container : m_containerTable) {
        if (container && container->identifier == group.containerIdentifier)
            return container;
    }
    return nullptr;
}

QStringList AddressBook::groupNamesOfContact(const ContactRowPtr &contact) const
{
    QStringList names;
    const ContainerDictPtr container =
        contact && m_selectedGroupDict ? containerOfGroup(*m_selectedGroupDict) : nullptr;
    if (!container)
        return names;
    for (const GroupDictPtr &group : std::as_const(container->groups)) {
        // Groups and memberships deleted until the next save are gone for the user already.
        if (!group || group->deleted || !group->contactTable)
            continue;
        const ContactTable &rows = *group->contactTable;
        if (std::any_of(rows.cbegin(), rows.cend(), [&](const ContactRowPtr &row) {
                return row && !row->deleted && row->uniqueId == contact->uniqueId;
            }))
            names.append(group->name);
    }
    return names;
}

QList<StoreContact> AddressBook::cnContactsForGroup(const std::optional<StoreGroup> &group,
                                                    const QString &containerIdentifier) const
{
    if (m_groupFetch)
        return m_groupFetch(group, containerIdentifier);
    return AddressBookLoader().cnContactsForGroup(group, containerIdentifier);
}

// A group's container is read as a whole the first time one of its groups is shown.
void AddressBook::selectGroup(const GroupDictPtr &group)
{
    m_selectedGroupDict = group;
    m_contactTable = group->contactTable;
    const ContainerDictPtr container = containerOfGroup(*group);
    if (!container)
        return;
    const GroupDictPtr top = container->topGroup();
    if (group->contactTable && top && top->contactTable)
        return;
    GroupLoader loader([this](const std::optional<StoreGroup> &storeGroup, const QString &containerIdentifier) {
        return cnContactsForGroup(storeGroup, containerIdentifier);
    });
    loader.loadContainer(*container);
    m_contactTable = group->contactTable;
}
