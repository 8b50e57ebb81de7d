#include "app/ContactDrops.h"

#include "ui/contracts/ContactsGridInterface.h"
#include "addressbook/GroupLoader.h"
#include "app/ViewController.h"
#include "grid/GridClipboard.h"
#include "grid/GridTextParser.h"
#include "model/QNvCard.h"

#include <QAbstractItemView>

#include <set>

ContactDrops::ContactDrops(ViewController &owner) : m_owner(owner) {}

QList<int> ContactDrops::indexesFromString(const QString &stringIndexes)
{
    std::set<int> indexes;
    for (const QString &piece : stringIndexes.split(QLatin1Char(','))) {
        if (piece.trimmed().isEmpty())
            continue;
        bool ok = false;
        const int index = piece.trimmed().toInt(&ok);
        indexes.insert(ok ? index : 0);
    }
    return QList<int>(indexes.cbegin(), indexes.cend());
}

void ContactDrops::addContactByStringIndexes(const QString &stringIndexes, const GroupDictPtr &group)
{
    const QList<int> indexes = indexesFromString(stringIndexes);
    if (indexes.isEmpty() || !group)
        return;
    if (!group->contactTable)
        loadMembers(group);
    const QList<SubContactRowPtr> shown = m_owner.contactsViewController()->subContactTable();
    QList<ContactRowPtr> rows;
    for (int index : indexes) {
        if (index >= 0 && index < shown.size() && shown.at(index))
            rows.append(shown.at(index));
    }
    if (rows.isEmpty())
        return;
    m_owner.undoAddContacts(rows, group);
    m_owner.setDocumentEdited(true);
}

void ContactDrops::loadMembers(const GroupDictPtr &group)
{
    const ContainerDictPtr container = m_owner.containerOfGroup(*group);
    if (container) {
        GroupLoader loader([this](const std::optional<StoreGroup> &storeGroup, const QString &identifier) {
            return m_owner.cnContactsForGroup(storeGroup, identifier);
        });
        loader.loadContainer(*container);
    }
    // A group the store knows nothing of (or a failed read) still takes the rows.
    if (!group->contactTable)
        group->contactTable = std::make_shared<ContactTable>();
}

void ContactDrops::addContactByVCardString(const QString &vCardString)
{
    // Read on the main thread, a huge text would hold the window: it is a file to import.
    if (GridTextParser::isTooLargeForContacts(vCardString)) {
        QWidget *grid = m_owner.contactsViewController()->tableView();
        GridClipboard::showTooLargeAlert(grid ? grid->window() : nullptr, GridClipboard::TextKind::VCards);
        return;
    }
    const QNvCard reader;
    const std::optional<ContainerTable> containers = reader.containersFromVCards(vCardString);
    if (!containers || containers->isEmpty())
        return;
    const ContainerDictPtr container = containers->first();
    const ContactTablePtr rows = reader.contactsForGroup(container->topGroup(), container);
    if (rows)
        addContactRows(*rows);
}

void ContactDrops::addContactRows(const QList<ContactRowPtr> &rows)
{
    const GroupDictPtr group = m_owner.selectedGroupDict();
    if (rows.isEmpty() || !group)
        return;
    m_owner.undoAddContacts(rows, group);
    m_owner.setDocumentEdited(true);
}
