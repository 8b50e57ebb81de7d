#pragma once

#include "model/AddressBookRecords.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariantList>

class ContactInfoPopoverDelegate;
class Popover;
class QFont;
class QWidget;
class UndoManager;

// What the main view controller needs of the detail table shown in the grid's contact popover or
// in a torn-off detail window.
class ContactInfoPopoverInterface
{
public:
    virtual ~ContactInfoPopoverInterface() = default;

    // The row shown, with its "uniqueId".
    virtual ContactRowPtr contact() const = 0;
    // Rebuilds the rows from the shown contact's person.
    virtual void updateTable() = 0;
    // The groups or their members changed: the "Groups" row alone is redrawn.
    virtual void groupsDidChange() {}
    // These contacts left the shown table. When the shown contact is one of them, its open edit
    // and value editor are given up without writing and the popover or torn-off window closes,
    // reporting its closing as OK does; answers whether it closed.
    virtual bool contactsDidLeave(const QSet<QString> &) { return false; }

    // What a presenter sets before and after showing it. The setters below have empty defaults so
    // that stand-ins need not carry them.
    // Shows the row at once; a null row is ignored.
    virtual void setContact(const ContactRowPtr &) {}
    virtual void setCustomItems(const QVariantList &) {}
    virtual QVariantList customItems() const { return {}; }
    virtual void setSelectedLabels(const QStringList &) {}
    virtual void setSelectedFont(const QFont &) {}
    // The initial Edit/Lock state; its own button changes it afterwards.
    virtual void setEditState(bool) {}
    // The main window's: undo and redo in the popover replay the whole address book's history.
    virtual void setMyUndoManager(UndoManager *) {}
    // The window that receives the edited mark: the main window, or the torn-off window itself.
    virtual void setParentWindow(QWidget *) {}
    // The popover that shows it; null in a torn-off window.
    virtual void setParentPopover(Popover *) {}
    // Held as a plain pointer; it receives every edit and the close notices.
    virtual void setDelegate(ContactInfoPopoverDelegate *) {}
    // Starts editing the first row of that field in place; nothing when no row shows it.
    virtual void editForIdentifier(const QString &) {}
    // The widget to show; null for a stand-in.
    virtual QWidget *view() { return nullptr; }
};
