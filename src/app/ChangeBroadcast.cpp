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
    Refresh refresh;
    // The detail pane is redrawn also when it made the change itself.
    noteShownContact(refresh, *contact, Views::DetailPane);
    if (m_undoManager.isUndoing() || m_undoManager.isRedoing()) {
        noteShownContact(refresh, *contact, Views::Windows);
        refresh.grid = true;
        post(refresh);
        return;
    }
    if (!isDetailPane(sender)) {
        ContactInfoPopoverInterface *popover = contactPopover();
        refresh.popover = popover && sender && dynamic_cast<QObject *>(popover) == sender;
        noteShownContact(refresh, *contact, Views::Windows);
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
        noteShownContact(refresh, *contact, Views::DetailPane);
        noteShownContact(refresh, *contact, Views::Windows);
    }
    post(refresh);
}

// Only what a view shows counts: a command over 20,000 contacts would otherwise gather 20,000
// identifiers to find the one or two shown.
void ChangeBroadcast::noteShownContact(Refresh &refresh, const ContactRow &contact, Views views) const
{
    if (views == Views::DetailPane) {
        const ContactRowPtr shown = m_detailPane.contact();
        refresh.detail = refresh.detail || (shown && shown->uniqueId == contact.uniqueId);
        return;
    }
    for (const DetachedWindowEntryPtr &entry : m_grid.detachedWindows()) {
        if (entry && entry->uniqueId == contact.uniqueId) {
            refresh.windowContacts.insert(contact.uniqueId);
            return;
        }
    }
}

void ChangeBroadcast::Refresh::merge(const Refresh &other)
{
    detail = detail || other.detail;
    windowContacts.unite(other.windowContacts);
    grid = grid || other.grid;
    popover = popover || other.popover;
    markEdited = markEdited || other.markEdited;
}

void ChangeBroadcast::post(const Refresh &refresh)
{
    // A command over thousands of contacts, or its undo, comes here once per contact.
    BusySign::tick();
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
    if (refresh.detail)
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
