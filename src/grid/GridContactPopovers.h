#pragma once

#include "grid/GridState.h"
#include "ui/contracts/DetachedWindowEntry.h"

#include <QList>
#include <QObject>
#include <QRect>

class ContactInfoPopoverInterface;
class ContactsViewControllerDelegate;
class GridEditorPresenter;
class GridTableView;
class QWidget;

// The contact popovers of the grid: a contact's detail table in the grid's popover, anchored to
// the right of its cell, which can be torn off into a window of its own, one per contact. The
// list of entries (detachedWindows) holds one entry per contact shown outside the grid: a popover
// entry (no window) while its popover is open, a window entry once torn off. The popover and the
// windows remove their own entries as they close.
class GridContactPopovers : public QObject
{
    Q_OBJECT

public:
    static constexpr QSize ContentSize{450, 640};

    GridContactPopovers(GridState &state, GridTableView &table, GridEditorPresenter &editors,
                        QObject *parent = nullptr);

    void setDelegate(ContactsViewControllerDelegate *delegate) { m_delegate = delegate; }

    // Brings the contact's torn-off window to the front when it has one; otherwise shows its
    // detail table in the grid's popover at rect (a cell's frame in the table's coordinates).
    void showContactInfoPopover(const SubContactRowPtr &row, const QRect &rect);
    // The popover for the selected row, at its name cell; with editName the name is edited.
    void showContactInfoPopoverWithOption(bool editName);
    // The window for a popover being torn off: a new one showing the popover's own contact, or
    // null (the popover stays) when it shows none or no window can be made.
    QWidget *detachableWindowForPopover();
    // Drops the entry of the closed popover or window: the one holding that window, else the
    // first of that contact.
    void detachedWindowDidClose(const ClosedWindow &closed);

    QList<DetachedWindowEntryPtr> detachedWindows() const { return m_detachedWindows; }
    void setDetachedWindows(const QList<DetachedWindowEntryPtr> &entries) { m_detachedWindows = entries; }

    // The contact popover in the grid's popover, if that is what it shows.
    ContactInfoPopoverInterface *openContactPopover() const;
    // After the grid reloaded: the popover and the windows of the row's contact take the row.
    void refreshDetailViews(const SubContactRowPtr &row);
    // The grid is going: the popover and the windows close without telling anyone, since the
    // delegate may be going too.
    void closeAllSilently();
    // The grid's new font, for the popover and every window.
    void setSelectedFont(const QFont &font);

private:
    DetachedWindowEntryPtr entryOfContact(const QString &uniqueId) const;
    void configure(ContactInfoPopoverInterface &content);

    GridState &m_state;
    GridTableView &m_table;
    GridEditorPresenter &m_editors;
    ContactsViewControllerDelegate *m_delegate = nullptr;
    QList<DetachedWindowEntryPtr> m_detachedWindows;
};
