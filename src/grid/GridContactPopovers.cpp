#include "grid/GridContactPopovers.h"

#include "grid/GridEditorPresenter.h"
#include "grid/GridTableView.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/widgets/Popover.h"
#include "ui/contracts/ContactInfoPopoverInterface.h"
#include "ui/contracts/ContactsViewControllerDelegate.h"
#include "ui/contracts/DetachedWindowController.h"

#include <QWidget>

#include <utility>

GridContactPopovers::GridContactPopovers(GridState &state, GridTableView &table, GridEditorPresenter &editors,
                                         QObject *parent)
    : QObject(parent), m_state(state), m_table(table), m_editors(editors)
{
}

DetachedWindowEntryPtr GridContactPopovers::entryOfContact(const QString &uniqueId) const
{
    for (const DetachedWindowEntryPtr &entry : m_detachedWindows) {
        if (entry->uniqueId == uniqueId)
            return entry;
    }
    return nullptr;
}

ContactInfoPopoverInterface *GridContactPopovers::openContactPopover() const
{
    Popover *popover = m_editors.popover();
    if (!popover || !popover->contentWidget())
        return nullptr;
    return dynamic_cast<ContactInfoPopoverInterface *>(popover->contentWidget());
}

void GridContactPopovers::showContactInfoPopover(const SubContactRowPtr &row, const QRect &rect)
{
    if (!row || !row->person || !m_delegate)
        return;
    const QString uniqueId = row->person->uniqueId();
    if (const DetachedWindowEntryPtr entry = entryOfContact(uniqueId)) {
        if (entry->windowController && entry->window) {
            entry->window->raise();
            entry->window->activateWindow();
            return;
        }
        // The contact's popover is open already; an entry whose popover or window is gone is
        // dropped and the popover opens anew.
        const ContactInfoPopoverInterface *open = openContactPopover();
        if (!entry->windowController && open && open->contact() && open->contact()->uniqueId == uniqueId &&
            m_editors.popover()->isShown())
            return;
        m_detachedWindows.removeOne(entry);
    }

    ContactInfoPopoverInterface *content = m_delegate->makeContactInfoPopover();
    if (!content || !content->view()) {
        delete content;
        return;
    }
    Popover *popover = m_editors.popoverForShowing(Popover::Behavior::Semitransient);
    content->setParentPopover(popover);
    // The contact popover it replaces reports its closing here, before this contact's entry is added.
    popover->setContentWidget(content->view());
    popover->setContentSize(ContentSize);
    popover->setDetachable(true);
    popover->setDetachedWindowFactory([this] { return detachableWindowForPopover(); });
    content->setCustomItems(m_state.customItems);
    content->setContact(row);
    auto entry = std::make_shared<DetachedWindowEntry>();
    entry->uniqueId = uniqueId;
    m_detachedWindows.append(entry);
    configure(*content);
    content->setParentWindow(m_table.window());
    popover->showRelativeToRect(rect, m_table.viewport(), Popover::Edge::MaxX);
    // Showing the table set its row height back.
    content->setSelectedFont(m_state.selectedFont);
}

void GridContactPopovers::configure(ContactInfoPopoverInterface &content)
{
    content.setSelectedLabels(m_state.selectedLabels);
    content.setSelectedFont(m_state.selectedFont);
    content.setMyUndoManager(m_delegate->undoManager());
    content.setDelegate(m_delegate->contactEditDelegate());
    content.setEditState(m_state.editState);
}

void GridContactPopovers::showContactInfoPopoverWithOption(bool editName)
{
    const int row = m_table.selectedRow();
    if (row < 0 || row >= m_state.subContactTable.size())
        return;
    const QRect rect = m_table.visualRect(m_table.model()->index(row, 0));
    showContactInfoPopover(m_state.subContactTable.at(row), rect);
    if (!editName)
        return;
    if (ContactInfoPopoverInterface *open = openContactPopover())
        open->editForIdentifier(PersonIdentifier::Name);
}

// The popover's own contact, custom items included: the grid's selection may have moved since.
QWidget *GridContactPopovers::detachableWindowForPopover()
{
    ContactInfoPopoverInterface *shown = openContactPopover();
    const ContactRowPtr contact = shown ? shown->contact() : nullptr;
    if (!contact || !contact->person || !m_delegate)
        return nullptr;
    DetachedWindowController *controller = m_delegate->makeDetachedWindow();
    QWidget *window = controller ? controller->window() : nullptr;
    ContactInfoPopoverInterface *content = controller ? controller->contentViewController() : nullptr;
    if (!window || !content) {
        delete window;
        return nullptr;
    }
    content->setCustomItems(shown->customItems());
    configure(*content);
    content->setContact(contact);
    // The content titles its window with the contact's name, and keeps it so.
    content->setParentWindow(window);
    auto entry = std::make_shared<DetachedWindowEntry>();
    entry->windowController = controller;
    entry->uniqueId = contact->person->uniqueId();
    entry->window = window;
    m_detachedWindows.append(entry);
    return window;
}

void GridContactPopovers::detachedWindowDidClose(const ClosedWindow &closed)
{
    auto removeFirst = [this](auto predicate) {
        const auto found = std::find_if(m_detachedWindows.begin(), m_detachedWindows.end(), predicate);
        if (found == m_detachedWindows.end())
            return false;
        m_detachedWindows.erase(found);
        return true;
    };
    QObject *window = closed.window;
    // A popover reports its presenter's window, which no entry holds: then the contact decides.
    if (window &&
        removeFirst([window](const DetachedWindowEntryPtr &entry) { return entry->window == window; }))
        return;
    const QString &uniqueId = closed.uniqueId;
    if (!uniqueId.isEmpty())
        removeFirst([&uniqueId](const DetachedWindowEntryPtr &entry) { return entry->uniqueId == uniqueId; });
}

// Only views of the row's own contact take the row: another contact's popover keeps its contact
// (and its entry) and is merely redrawn.
void GridContactPopovers::refreshDetailViews(const SubContactRowPtr &row)
{
    if (!row)
        return;
    if (ContactInfoPopoverInterface *open = openContactPopover()) {
        if (open->contact() && open->contact()->uniqueId == row->uniqueId)
            open->setContact(row);
        open->updateTable();
    }
    for (const DetachedWindowEntryPtr &entry : std::as_const(m_detachedWindows)) {
        if (!entry->windowController || !entry->window || entry->uniqueId != row->uniqueId)
            continue;
        if (ContactInfoPopoverInterface *content = entry->windowController->contentViewController()) {
            content->setContact(row);
            content->updateTable();
        }
    }
}

void GridContactPopovers::setSelectedFont(const QFont &font)
{
    if (ContactInfoPopoverInterface *open = openContactPopover())
        open->setSelectedFont(font);
    for (const DetachedWindowEntryPtr &entry : std::as_const(m_detachedWindows)) {
        if (!entry->windowController || !entry->window)
            continue;
        if (ContactInfoPopoverInterface *content = entry->windowController->contentViewController())
            content->setSelectedFont(font);
    }
}

void GridContactPopovers::closeAllSilently()
{
    if (ContactInfoPopoverInterface *open = openContactPopover())
        open->setDelegate(nullptr);
    delete m_editors.popover();
    const QList<DetachedWindowEntryPtr> entries = std::exchange(m_detachedWindows, {});
    for (const DetachedWindowEntryPtr &entry : entries) {
        if (!entry->windowController || !entry->window)
            continue;
        if (ContactInfoPopoverInterface *content = entry->windowController->contentViewController())
            content->setDelegate(nullptr);
        delete entry->window;
    }
}
