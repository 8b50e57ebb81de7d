#pragma once

#include "model/AddressBookRecords.h"

#include <QSet>
#include <QString>

#include <functional>

class ContactInfoInterface;
class ContactInfoPopoverInterface;
class ContactsGridInterface;
class QObject;
class UndoManager;

// Tells every view that shows a contact that it changed: the detail pane, the grid, the grid's
// contact popover and the torn-off detail windows of that contact.
//
// The view that made a change has redrawn itself, so it is spared where that is safe; the detail
// pane is always rebuilt. While the undo manager undoes or redoes, only the grid and the torn-off
// windows are refreshed and the window's edited mark is left to undo and redo themselves.
class ChangeBroadcast
{
public:
    using MarkEdited = std::function<void()>;

    ChangeBroadcast(UndoManager &undoManager, ContactsGridInterface &grid, ContactInfoInterface &detailPane,
                    MarkEdited markEdited);

    // sender: the detail pane's view, the grid's popover content, the grid, another object or null.
    void contactDidUpdate(const ContactRowPtr &contact, QObject *sender);

    // Closes the grid's contact popover and the torn-off windows showing one of these contacts;
    // a value editor in the grid's popover stays open.
    void closeViewsOfContacts(const QSet<QString> &uniqueIds);
    void closeAllDetachedWindows();
    // The grid's contact popover and every torn-off window, whichever contact they show.
    void closeAllContactViews();

private:
    void updateDetachedWindows(const QString &uniqueId);
    ContactInfoPopoverInterface *contactPopover() const;
    bool isDetailPane(QObject *sender) const;
    bool isGrid(QObject *sender) const;

    UndoManager &m_undoManager;
    ContactsGridInterface &m_grid;
    ContactInfoInterface &m_detailPane;
    MarkEdited m_markEdited;
};
