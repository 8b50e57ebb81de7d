#pragma once

#include "model/AddressBookRecords.h"

#include <QObject>
#include <QSet>
#include <QString>

#include <functional>

class ContactInfoInterface;
class ContactInfoPopoverInterface;
class ContactsGridInterface;
class UndoManager;

// Tells every view that shows a contact that it changed: the detail pane, the grid, the grid's
// contact popover and the torn-off detail windows of that contact.
//
// The view that made a change has redrawn itself, so it is spared where that is safe; the detail
// pane redraws whenever it shows the changed contact. While the undo manager undoes or redoes,
// the window's edited mark is left to undo and redo themselves.
//
// A command over many contacts is one undo group. While a caller's group is open, or an undo or
// redo replays one, the changes are gathered and each view redraws once when it ends: redrawing
// per contact made an edit of a thousand contacts take minutes.
class ChangeBroadcast : public QObject
{
public:
    using MarkEdited = std::function<void()>;

    ChangeBroadcast(UndoManager &undoManager, ContactsGridInterface &grid, ContactInfoInterface &detailPane,
                    MarkEdited markEdited);

    // sender: the detail pane's view, the grid's popover content, the grid, another object or null.
    void contactDidUpdate(const ContactRowPtr &contact, QObject *sender);
    // A list written whole (an item command, a list editor): the views redraw; the edited mark is
    // the writer's. Null for a change of the rows' order only, which the grid alone shows.
    void listDidUpdate(const ContactRowPtr &contact);

    // Closes the grid's contact popover and the torn-off windows showing one of these contacts;
    // a value editor in the grid's popover stays open.
    void closeViewsOfContacts(const QSet<QString> &uniqueIds);
    void closeAllDetachedWindows();
    // The grid's contact popover and every torn-off window, whichever contact they show.
    void closeAllContactViews();
    // Groups or memberships changed: every view of a contact redraws its Groups row.
    void groupsDidChange();

private:
    // What is still to be redrawn.
    struct Refresh
    {
        bool detail = false; // the detail pane showed a changed contact
        QSet<QString> windowContacts; // their torn-off windows redraw
        bool grid = false;
        bool popover = false;
        bool markEdited = false;

        void merge(const Refresh &other);
        bool isEmpty() const
        {
            return !detail && windowContacts.isEmpty() && !grid && !popover && !markEdited;
        }
    };

    enum class Views
    {
        DetailPane,
        Windows
    };
    void noteShownContact(Refresh &refresh, const ContactRow &contact, Views views) const;
    void post(const Refresh &refresh);
    void flush();
    void apply(const Refresh &refresh);
    bool isGathering() const;
    void updateDetachedWindows(const QSet<QString> &uniqueIds);
    ContactInfoPopoverInterface *contactPopover() const;
    bool isDetailPane(QObject *sender) const;
    bool isGrid(QObject *sender) const;

    UndoManager &m_undoManager;
    ContactsGridInterface &m_grid;
    ContactInfoInterface &m_detailPane;
    MarkEdited m_markEdited;
    Refresh m_pending;
};
