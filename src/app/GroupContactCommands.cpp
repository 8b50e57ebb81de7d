#include "app/GroupContactCommands.h"

#include "app/ViewController.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/BusySign.h"
#include "platform/Localizer.h"
#include "platform/PlatformUtil.h"
#include "platform/widgets/Alert.h"
#include "ui/contracts/ContactsGridInterface.h"

namespace {

const QString NewName = QStringLiteral("New");

} // namespace

GroupContactCommands::GroupContactCommands(ViewController &owner) : m_owner(owner) {}

QString GroupContactCommands::newGroupName(const QStringList &names)
{
    if (!names.contains(NewName))
        return NewName;
    for (int counter = 0;; ++counter) {
        const QString name = NewName + QString::number(counter);
        if (!names.contains(name))
            return name;
    }
}

void GroupContactCommands::addGroup()
{
    const GroupDictPtr selected = m_owner.selectedGroupDict();
    const ContainerDictPtr container = selected ? m_owner.containerOfGroup(*selected) : nullptr;
    if (!container)
        return;
    // Deleted groups keep their names until the reload after Save.
    QStringList names;
    for (const GroupDictPtr &group : std::as_const(container->groups)) {
        if (group)
            names.append(group->name);
    }
    auto group = std::make_shared<GroupDict>();
    group->name = newGroupName(names);
    group->containerName = container->name;
    // Named for the session only; the store gives the group its identifier when it is saved.
    group->uniqueId = group->name + QLatin1Char('+') + PlatformUtil::dateDescription();
    group->containerIdentifier = container->identifier;
    group->contactTable = std::make_shared<ContactTable>();
    group->isNew = true;
    m_owner.undoAddGroup(group, container);
    m_owner.setDocumentEdited(true);
}

void GroupContactCommands::deleteGroup()
{
    const GroupDictPtr selected = m_owner.selectedGroupDict();
    if (!selected || selected->top)
        return;
    Alert alert;
    alert.setMessageText(L(QStringLiteral("Do you want to remove the group?")));
    alert.setInformativeText(L(QStringLiteral("This operation can't be undone.")));
    alert.addButton(L(QStringLiteral("OK")));
    alert.addButton(L(QStringLiteral("Cancel")), Alert::ButtonRole::Cancel);
    if (alert.runModal() != Alert::FirstButton)
        return;
    const ContainerDictPtr container = m_owner.containerOfGroup(*selected);
    if (!container)
        return;
    m_owner.undoDeleteGroup(selected, container);
    m_owner.setDocumentEdited(true);
}

void GroupContactCommands::addContact()
{
    const GroupDictPtr group = m_owner.selectedGroupDict();
    if (!group)
        return;
    auto person = std::make_shared<QNPerson>();
    person->setNameValue(QVariantMap{{PersonKey::FirstName, NewName}, {PersonKey::ShowAsPerson, true}},
                         PersonIdentifier::Name);
    const ContactRowPtr row = newRowFor(person);
    if (!m_owner.editState())
        m_owner.setEditState(true);
    m_owner.undoAddContacts({row}, group);
    m_owner.setDocumentEdited(true);
    ContactsGridInterface *grid = m_owner.contactsViewController();
    grid->setContactTable(m_owner.contactTable());
    grid->updateTable();
    grid->selectRowIndexesWithContacts({row});
    grid->showContactInfoPopoverWithOption(true);
}

void GroupContactCommands::deleteContacts()
{
    const QList<ContactRowPtr> rows = m_owner.contactsViewController()->selectedContacts();
    if (rows.isEmpty() || !m_owner.selectedGroupDict())
        return;
    m_owner.undoDeleteContacts(rows, m_owner.selectedGroupDict(), true);
    m_owner.setDocumentEdited(true);
}

void GroupContactCommands::duplicateContacts()
{
    const QList<ContactRowPtr> rows = m_owner.contactsViewController()->selectedContacts();
    if (rows.isEmpty() || !m_owner.selectedGroupDict())
        return;
    QList<ContactRowPtr> duplicates;
    for (const ContactRowPtr &row : rows) {
        // Copies of thousands of contacts take seconds.
        BusySign::tick();
        // A copy reads every value of its source first, so nothing the views never showed is lost.
        if (row && row->person)
            duplicates.append(newRowFor(row->person->copy()));
    }
    m_owner.undoAddContacts(duplicates, m_owner.selectedGroupDict());
    m_owner.setDocumentEdited(true);
}

ContactRowPtr GroupContactCommands::newRowFor(const QNPersonPtr &person)
{
    auto row = std::make_shared<ContactRow>();
    row->person = person;
    row->uniqueId = person->uniqueId();
    row->isNew = true;
    return row;
}
