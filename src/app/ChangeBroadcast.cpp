#include "app/ChangeBroadcast.h"

#include "ui/contracts/ContactInfoInterface.h"
#include "ui/contracts/ContactInfoPopoverInterface.h"
#include "ui/contracts/ContactsGridInterface.h"
#include "ui/contracts/DetachedWindowController.h"
#include "platform/UndoManager.h"
#include "platform/widgets/Popover.h"

#include <QAbstractItemView>
#include <QWidget>

ChangeBroadcast::ChangeBroadcast(UndoManager &undoManager, ContactsGridInterface &grid,
                                 ContactInfoInterface &detailPane, MarkEdited markEdited)
    : m_undoManager(undoManager), m_grid(grid), m_detailPane(detailPane), m_markEdited(std::move(markEdited))
{
}

void ChangeBroadcast::contactDidUpdate(const ContactRowPtr &contact, QObject *sender)
{
    if (!contact)
        return;
    if (m_undoManager.isUndoing() || m_undoManager.isRedoing()) {
        m_detailPane.updateTable();
        m_grid.updateTable();
        updateDetachedWindows(contact->uniqueId);
        return;
    }
    m_detailPane.updateTable();
    if (!isDetailPane(sender)) {
        ContactInfoPopoverInterface *popover = contactPopover();
        if (popover && sender && dynamic_cast<QObject *>(popover) == sender)
            popover->updateTable();
        updateDetachedWindows(contact->uniqueId);
    }
    if (!isGrid(sender))
        m_grid.updateTable();
    if (m_markEdited)
        m_markEdited();
}

void ChangeBroadcast::updateDetachedWindows(const QString &uniqueId)
{
    for (const DetachedWindowEntryPtr &entry : m_grid.detachedWindows()) {
        if (!entry || entry->uniqueId != uniqueId || !entry->windowController)
            continue;
        if (ContactInfoPopoverInterface *content = entry->windowController->contentViewController())
            content->updateTable();
    }
}

void ChangeBroadcast::closeViewsOfContacts(const QSet<QString> &uniqueIds)
{
    ContactInfoPopoverInterface *popover = contactPopover();
    if (popover && popover->contact() && uniqueIds.contains(popover->contact()->uniqueId)) {
        m_grid.popover()->close();
        m_grid.setPopover(nullptr);
    }
    // A closing window removes its entry from the grid's list; this walks a copy of it.
    const QList<DetachedWindowEntryPtr> entries = m_grid.detachedWindows();
    for (auto entry = entries.crbegin(); entry != entries.crend(); ++entry) {
        if (*entry && (*entry)->windowController && uniqueIds.contains((*entry)->uniqueId))
            (*entry)->windowController->close();
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
