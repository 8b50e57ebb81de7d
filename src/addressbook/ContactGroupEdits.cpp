#include "addressbook/ContactGroupEdits.h"

#include "addressbook/AddressBook.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/UndoManager.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace {

// Each contact's first row in a table. Thousands of rows (a Select All, a large paste) are looked
// up through an index: a scan for each would take seconds on a table of 20,000.
class FirstRows
{
public:
    FirstRows(const ContactTable &table, qsizetype lookups) : m_table(table), m_indexed(lookups > FewLookups)
    {
        if (!m_indexed)
            return;
        m_index.reserve(table.size());
        for (const ContactRowPtr &row : table) {
            if (row && !m_index.contains(row->uniqueId))
                m_index.insert(row->uniqueId, row);
        }
    }

    ContactRowPtr of(const QString &uniqueId) const
    {
        if (m_indexed)
            return m_index.value(uniqueId);
        for (const ContactRowPtr &row : m_table) {
            if (row && row->uniqueId == uniqueId)
                return row;
        }
        return nullptr;
    }

private:
    static constexpr qsizetype FewLookups = 8;
    const ContactTable &m_table;
    const bool m_indexed;
    QHash<QString, ContactRowPtr> m_index;
};

// A row of its own for a table: the same person, no pending marks but "new".
ContactRowPtr newRowFor(const ContactRow &given)
{
    auto row = std::make_shared<ContactRow>();
    row->person = given.person;
    row->uniqueId = given.uniqueId;
    row->uniqueId2 = given.uniqueId2;
    row->isNew = true;
    return row;
}

bool sameTable(const ContactTablePtr &left, const ContactTablePtr &right)
{
    return left && right && (left == right || *left == *right);
}

} // namespace

ContactGroupEdits::ContactGroupEdits(AddressBook &book) : m_book(book) {}

// --- contacts --------------------------------------------------------------------------------

void ContactGroupEdits::undoAddContacts(const QList<ContactRowPtr> &rows, const GroupDictPtr &group)
{
    if (!group || rows.isEmpty())
        return;
    // A group whose members were never read has nowhere to keep the rows yet.
    if (!group->contactTable)
        group->contactTable = std::make_shared<ContactTable>();
    Plan plan;
    planAdd(group->contactTable, rows, true, plan);
    const GroupDictPtr top = group->top ? nullptr : topGroupOf(*group);
    if (top && top->contactTable)
        planAdd(top->contactTable, rows, false, plan);

    ContactTable affected = plan.rowsToMark;
    for (const auto &[table, row] : std::as_const(plan.rowsToAppend))
        affected.append(row);
    m_book.undoManager()->registerUndo(
        [this, affected, rows, group] { setDeleted(affected, {}, true, rows, group); });

    for (const ContactRowPtr &row : std::as_const(plan.rowsToMark))
        row->deleted = false;
    for (const auto &[table, row] : std::as_const(plan.rowsToAppend))
        table->append(row);
    // Labels of imported, pasted or dropped contacts join the menus as the loaded ones' do.
    for (const ContactRowPtr &row : rows) {
        if (row && row->person)
            row->person->offerStoredLabels();
    }
    // So are their custom items, before the views show the rows.
    m_book.addCustomItemsOfContacts(rows);
    group->changed = true;
    if (top)
        top->changed = true;
    tellShownRows(rows, group, affected, false);
    emit m_book.membershipsChanged();
    m_book.markEditedOutsideUndo();
}

// restoreDeleted: a contact the table holds as deleted is brought back. The top group only takes
// the contacts it lacks.
void ContactGroupEdits::planAdd(const ContactTablePtr &table, const QList<ContactRowPtr> &rows,
                                bool restoreDeleted, Plan &plan) const
{
    QSet<QString> planned;
    const FirstRows firstRows(*table, rows.size());
    for (const ContactRowPtr &row : rows) {
        if (!row || planned.contains(row->uniqueId))
            continue;
        planned.insert(row->uniqueId);
        if (const ContactRowPtr held = firstRows.of(row->uniqueId)) {
            if (restoreDeleted && held->deleted)
                plan.rowsToMark.append(held);
        } else {
            plan.rowsToAppend.append({table, newRowFor(*row)});
        }
    }
}

void ContactGroupEdits::undoDeleteContacts(const QList<ContactRowPtr> &rows, const GroupDictPtr &group,
                                           bool doUndo)
{
    if (!group || rows.isEmpty())
        return;
    ContactTable marked;
    planMarks(*group, rows, marked);
    const ContainerDictPtr container = group->top ? m_book.containerOfGroup(*group) : nullptr;
    TableSizes found;
    if (container) {
        for (const GroupDictPtr &other : std::as_const(container->groups)) {
            if (!other || !other->contactTable)
                continue;
            planMarks(*other, rows, marked);
            found.append({other, other->contactTable->size()});
        }
    }
    if (doUndo)
        m_book.undoManager()->registerUndo(
            [this, marked, found, rows, group] { setDeleted(marked, found, false, rows, group); });

    for (const ContactRowPtr &row : std::as_const(marked))
        row->deleted = true;
    group->changed = true;
    if (container) {
        for (const GroupDictPtr &other : std::as_const(container->groups)) {
            if (other)
                other->changed = true;
        }
    }
    tellShownRows(rows, group, marked, true);
    emit m_book.membershipsChanged();
    m_book.markEditedOutsideUndo();
}

void ContactGroupEdits::planMarks(const GroupDict &group, const QList<ContactRowPtr> &rows,
                                  ContactTable &marked)
{
    if (!group.contactTable)
        return;
    const FirstRows firstRows(*group.contactTable, rows.size());
    QSet<const ContactRow *> taken;
    for (const ContactRowPtr &row : std::as_const(marked))
        taken.insert(row.get());
    for (const ContactRowPtr &row : rows) {
        if (!row)
            continue;
        const ContactRowPtr held = firstRows.of(row->uniqueId);
        if (held && !held->deleted && !taken.contains(held.get())) {
            taken.insert(held.get());
            marked.append(held);
        }
    }
}

void ContactGroupEdits::setDeleted(const ContactTable &marked, const TableSizes &found, bool deleted,
                                   const QList<ContactRowPtr> &rows, const GroupDictPtr &group)
{
    m_book.undoManager()->registerUndo(
        [this, marked, found, deleted, rows, group] { setDeleted(marked, found, !deleted, rows, group); });
    const ContactTable flipped = marked + rowsReadSince(found, rows);
    for (const ContactRowPtr &row : flipped)
        row->deleted = deleted;
    group->changed = true;
    tellShownRows(rows, group, flipped, deleted);
    emit m_book.membershipsChanged();
    m_book.markEditedOutsideUndo();
}

// A group read from the store after a delete from its top group gave each contact the mark of its
// top row at that moment (GroupLoader), whichever undos and redos came before: from then on it
// follows the top row. The loader appends no contact a table already holds, so a row it read is
// that contact's first; rows an edit added are new.
ContactTable ContactGroupEdits::rowsReadSince(const TableSizes &found, const QList<ContactRowPtr> &rows) const
{
    ContactTable read;
    const ContainerDictPtr container =
        found.isEmpty() ? nullptr : m_book.containerOfGroup(*found.first().first);
    if (!container)
        return read;
    QSet<QString> contacts;
    for (const ContactRowPtr &row : rows) {
        if (row)
            contacts.insert(row->uniqueId);
    }
    for (const GroupDictPtr &other : std::as_const(container->groups)) {
        if (!other || !other->contactTable)
            continue;
        const ContactTable &table = *other->contactTable;
        const auto was = std::find_if(found.cbegin(), found.cend(),
                                      [&](const auto &entry) { return entry.first == other; });
        for (qsizetype i = was == found.cend() ? 0 : was->second; i < table.size(); ++i) {
            const ContactRowPtr &row = table.at(i);
            if (row && !row->isNew && contacts.contains(row->uniqueId))
                read.append(row);
        }
    }
    return read;
}

// The grid is told when it it shows the group, or a table holding one of the rows changed.
void ContactGroupEdits::tellShownRows(const QList<ContactRowPtr> &rows, const GroupDictPtr &group,
                                      const ContactTable &affected, bool deleted)
{
    const ContactTablePtr &shown = m_book.contactTable();
    bool showsChange = sameTable(group->contactTable, shown);
    for (qsizetype i = 0; !showsChange && shown && i < affected.size(); ++i)
        showsChange = shown->contains(affected[i]);
    if (!showsChange)
        return;
    emit m_book.contactRowsChanged(rows, deleted);
}

// --- groups ----------------------------------------------------------------------------------

void ContactGroupEdits::undoAddGroup(const GroupDictPtr &group, const ContainerDictPtr &container)
{
    if (!group || !container)
        return;
    m_book.undoManager()->registerUndo([this, group, container] { undoDeleteGroup(group, container); });
    if (container->groups.contains(group))
        group->deleted = false;
    else
        container->groups.append(group);
    emit m_book.groupsChanged();
    emit m_book.membershipsChanged();
    m_book.markEditedOutsideUndo();
}

void ContactGroupEdits::undoDeleteGroup(const GroupDictPtr &group, const ContainerDictPtr &container)
{
    // Element 0 must stay the container's top group.
    if (!group || !container || group->top || container->groups.isEmpty())
        return;
    m_book.undoManager()->registerUndo([this, group, container] { undoAddGroup(group, container); });
    group->deleted = true;
    const qsizetype position = container->groups.indexOf(group);
    if (position >= 0)
        container->groups.swapItemsAt(position, container->groups.size() - 1);
    showGroups(container->topGroup());
    emit m_book.membershipsChanged();
    m_book.markEditedOutsideUndo();
}

bool ContactGroupEdits::undoChangeGroupName(const QString &name, const GroupDictPtr &group)
{
    if (!group)
        return false;
    const QString old = group->name;
    m_book.undoManager()->registerUndo([this, old, group] { undoChangeGroupName(old, group); });
    group->groupNameChanged = true;
    group->name = name;
    showGroups(group);
    emit m_book.membershipsChanged();
    m_book.markEditedOutsideUndo();
    return true;
}

void ContactGroupEdits::showGroups(const GroupDictPtr &selected)
{
    m_book.setSelectedGroupDict(selected);
    emit m_book.groupShown(selected);
}

GroupDictPtr ContactGroupEdits::topGroupOf(const GroupDict &group) const
{
    const ContainerDictPtr container = m_book.containerOfGroup(group);
    return container ? container->topGroup() : nullptr;
}
