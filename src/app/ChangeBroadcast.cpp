#include "app/ChangeBroadcast.h"

#include "ui/contracts/ContactInfoInterface.h"
#include "ui/contracts/ContactInfoPopoverInterface.h"
#include "ui/contracts/ContactsGridInterface.h"
#include "ui/contracts/DetachedWindowController.h"
#include "platform/BusySign.h"
#include "platform/UndoManager.h"
#include "platform/widgets/Popover.h"

#include <QAbstractItemView>
#include <QWidget>

#include <utility>

ChangeBroadcast::ChangeBroadcast(UndoManager &undoManager, ContactsGridInterface &grid,
                                 ContactInfoInterface &detailPane, MarkEdited markEdited)
    : m_undoManager(undoManager), m_grid(grid), m_detailPane(detailPane), m_markEdited(std::move(markEdited))
{
    connect(&m_undoManager, &UndoManager::explicitGroupEnded, this, &ChangeBroadcast::flush);
    connect(&m_undoManager, &UndoManager::didUndo, this, &ChangeBroadcast::flush);
    connect(&m_undoManager, &UndoManager::didRedo, this, &ChangeBroadcast::flush);
}

void ChangeBroadcast::contactDidUpdate(const ContactRowPtr &contact, QObject *sender)
{
    if (!contact)
        return;
    // A command over thousands of contacts, or its undo, runs here once per contact.
    BusySign::tick();
    Refresh refresh;
    // The detail pane is redrawn also when it made the change itself.
    refresh.detailContacts.insert(contact->uniqueId);
    if (m_undoManager.isUndoing() || m_undoManager.isRedoing()) {
        refresh.windowContacts.insert(contact->uniqueId);
        refresh.grid = true;
        post(refresh);
        return;
    }
    if (!isDetailPane(sender)) {
        ContactInfoPopoverInterface *popover = contactPopover();
        refresh.popover = popover && sender && dynamic_cast<QObject *>(popover) == sender;
        refresh.windowContacts.insert(contact->uniqueId);
    }
    refresh.grid = !isGrid(sender);
    refresh.markEdited = true;
    post(refresh);
}

void ChangeBroadcast::listDidUpdate(const ContactRowPtr &contact)
{
    Refresh refresh;
    refresh.grid = true;
    if (contact) {
        refresh.detailContacts.insert(contact->uniqueId);
        refresh.windowContacts.insert(contact->uniqueId);
    }
    post(refresh);
}

void ChangeBroadcast::Refresh::merge(const Refresh &other)
{
    detailContacts.unite(other.detailContacts);
    windowContacts.unite(other.windowContacts);
    grid = grid || other.grid;
    popover = popover || other.popover;
    markEdited = markEdited || other.markEdited;
}

void ChangeBroadcast::post(const Refresh &refresh)
{
    if (!isGathering()) {
        apply(refresh);
        return;
    }
    m_pending.merge(refresh);
}

bool ChangeBroadcast::isGathering() const
{
    return m_undoManager.isInExplicitGroup() || m_undoManager.isUndoing() || m_undoManager.isRedoing();
}

void ChangeBroadcast::flush()
{
    if (m_pending.isEmpty() || isGathering())
        return;
    const Refresh refresh = std::exchange(m_pending, {});
    apply(refresh);
}

void ChangeBroadcast::apply(const Refresh &refresh)
{
    const ContactRowPtr shown = m_detailPane.contact();
    if (shown && refresh.detailContacts.contains(shown->uniqueId))
        m_detailPane.updateTable();
    if (refresh.popover) {
        if (ContactInfoPopoverInterface *popover = contactPopover())
            popover->updateTable();
    }
    updateDetachedWindows(refresh.windowContacts);
    if (refresh.grid)
        m_grid.updateTable();
    if (refresh.markEdited && m_markEdited)
        m_markEdited();
}

void ChangeBroadcast::updateDetachedWindows(const QSet<QString> &uniqueIds)
{
    if (uniqueIds.isEmpty())
        return;
    for (const DetachedWindowEntryPtr &entry : m_grid.detachedWindows()) {
        if (!entry || !uniqueIds.contains(entry->uniqueId) || !entry->windowController)
            continue;
        if (ContactInfoPopoverInterface *content = entry->windowController->contentViewController())
            content->updateTable();
    }
}

void ChangeBroadcast::closeViewsOfContacts(const QSet<QString> &uniqueIds)
{
    if (ContactInfoPopoverInterface *popover = contactPopover())
        popover->contactsDidLeave(uniqueIds);
    // A closing window removes its entry from the grid's list; this walks a copy of it.
    const QList<DetachedWindowEntryPtr> entries = m_grid.detachedWindows();
    for (auto entry = entries.crbegin(); entry != entries.crend(); ++entry) {
        if (!*entry || !(*entry)->windowController)
            continue;
        if (ContactInfoPopoverInterface *content = (*entry)->windowController->contentViewController())
            content->contactsDidLeave(uniqueIds);
    }
}

void ChangeBroadcast::closeAllDetachedWindows()
{
    const QList<DetachedWindowEntryPtr> entries = m_grid.detachedWindows();
    for (auto entry = entries.crbegin(); entry != entries.crend(); ++entry) {
        if (*entry && (*entry)->windowController)
            (*entry)->windowController->close();
    }
}

void ChangeBroadcast::closeAllContactViews()
{
    if (contactPopover()) {
        m_grid.popover()->close();
        m_grid.setPopover(nullptr);
    }
    closeAllDetachedWindows();
}

void ChangeBroadcast::groupsDidChange()
{
    m_detailPane.groupsDidChange();
    if (ContactInfoPopoverInterface *popover = contactPopover())
        popover->groupsDidChange();
    for (const DetachedWindowEntryPtr &entry : m_grid.detachedWindows()) {
        if (!entry || !entry->windowController)
            continue;
        if (ContactInfoPopoverInterface *content = entry->windowController->contentViewController())
            content->groupsDidChange();
    }
}

// The grid's popover holds a value editor or a contact's detail table; only the latter counts.
ContactInfoPopoverInterface *ChangeBroadcast::contactPopover() const
{
    Popover *popover = m_grid.popover();
    if (!popover || !popover->contentWidget())
        return nullptr;
    return dynamic_cast<ContactInfoPopoverInterface *>(popover->contentWidget());
}

bool ChangeBroadcast::isDetailPane(QObject *sender) const
{
    return sender && (sender == m_detailPane.view() || sender == dynamic_cast<QObject *>(&m_detailPane));
}

bool ChangeBroadcast::isGrid(QObject *sender) const
{
    return sender && (sender == m_grid.view() || sender == m_grid.tableView() ||
                      sender == dynamic_cast<QObject *>(&m_grid));
}
