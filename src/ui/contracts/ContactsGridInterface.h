#pragma once

#include "ui/contracts/DetachedWindowEntry.h"
#include "ui/contracts/ItemAndRange.h"
#include "ui/contracts/PhoneLayout.h"
#include "ui/contracts/SubContactRow.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

#include <optional>

// What the Edit menu's copy commands put on the pasteboard.
enum class GridCopyFormat
{
    Text,
    CSV,
    VCard,
};

class ContactsViewControllerDelegate;
class GridEditDelegate;
class Popover;
class QAbstractItemView;
class QFont;
class QWidget;

// What the main view controller needs of the contacts grid: the shown group's contacts with one
// row (SubContactRow) per shown value.
class ContactsGridInterface
{
public:
    virtual ~ContactsGridInterface() = default;

    // The grid's widget, still owned by the controller.
    virtual QWidget *view() = 0;
    // The same widget handed over to the caller, who places it in a layout.
    virtual QWidget *takeView() = 0;
    virtual QAbstractItemView *tableView() = 0;
    // The widths the user gave the name column and the first shown value column; a column that
    // fills the rest of the table counts with its own width.
    virtual int leadingColumnsWidth() const { return 0; }

    // The shown group's rows (the view controller's table, not a copy); they appear at the next
    // updateTable.
    virtual void setContactTable(const ContactTablePtr &contactTable) = 0;
    // Rebuilds the rows from the contact table, sorts them and reloads keeping the selection;
    // refreshes an open contact popover and the torn-off detail windows.
    virtual void updateTable() = 0;
    // Takes the columns stored for that view type in the "QN1DviewTypeDict" default and rebuilds
    // the rows for them, keeping the selected contacts.
    virtual void setSelectedViewType(const QString &viewType) = 0;
    // ["All"] for no filter; takes effect at the next updateTable, which keeps the selected
    // contacts.
    virtual void setSelectedLabels(const QStringList &labels) = 0;
    virtual void setEditState(bool editState) = 0;
    // The row height follows the font; reloads keeping the selection.
    virtual void setSelectedFont(const QFont &font) = 0;
    virtual void setCustomItems(const QVariantList &customItems) = 0;
    // Held as a plain pointer; the delegate outlives the grid.
    virtual void setDelegate(ContactsViewControllerDelegate *delegate) = 0;

    // Selects every row of the given contacts (matched by "uniqueId"), scrolling to the first;
    // nothing changes when none matches.
    virtual void selectRowIndexesWithContacts(const QList<ContactRowPtr> &contacts) = 0;
    // The distinct contact rows behind the selected grid rows, rows marked deleted left out.
    virtual QList<ContactRowPtr> selectedContacts() = 0;
    // The selected grid rows in row order.
    virtual QList<SubContactRowPtr> selectedSubContacts() = 0;
    // The contact rows, in table order, of the selected rows and of the clicked row (-1 for
    // none); nothing when the table is empty or no row matches.
    virtual std::optional<QList<ContactRowPtr>> selectedContactsWithClickedRowIndex(int clickedRow) = 0;
    // The rows in display order, the footer left out; a drag of rows writes positions in it.
    virtual QList<SubContactRowPtr> subContactTable() = 0;

    // The grid's one popover (a contact popover or a value editor), or none.
    virtual Popover *popover() = 0;
    virtual void setPopover(Popover *popover) = 0;
    // A torn-off detail window closed: its entry leaves the list.
    virtual void detachedWindowDidClose(const ClosedWindow &closed) = 0;
    // The torn-off detail windows, one entry per window.
    virtual QList<DetachedWindowEntryPtr> detachedWindows() const { return {}; }
    // Opens the contact popover at the selected row's name, editing the name when editName.
    virtual void showContactInfoPopoverWithOption(bool editName) = 0;

    // Stores the column widths and the current view type's column order in the defaults.
    virtual void saveColumnWithDictionary() = 0;
    // Sorts by that column with the entry's selected option when the column is shown.
    virtual void sortOptionsChanged(const QVariantMap &sortOptions, const QString &columnName) = 0;

    // Menu actions the grid answers.
    virtual void showQRCode() = 0;
    virtual void toggleShowCompany() = 0;

    // The operations below have empty defaults so that stand-ins need not carry them.

    // Find state. The setters only store; the caller reloads (updateTable) or shows a hit with
    // selectItemAndRange.
    virtual void setFindString(const QString &) {}
    virtual void setFindOptions(Qt::CaseSensitivity) {}
    virtual void setSelectedItemAndRange(const std::optional<ItemAndRange> &) {}
    // Draws the hit and selects its row: the row of its contact and position, else the contact's
    // first row; with neither the selection stays.
    virtual void selectItemAndRange(const std::optional<ItemAndRange> &) {}

    // The identifiers of the shown columns in on-screen order.
    virtual QStringList tableIdentifiers() { return {}; }
    // Hands the selected contacts to the delegate's merge sheet when they are two different
    // contacts at least; rows of one contact count once.
    virtual void mergeContacts() {}
    // The merge command's validation: at least two different contacts are selected.
    virtual bool canMergeContacts() { return false; }
    // The company shows under the name (toggleShowCompany's check mark).
    virtual bool showCompanyInNameCell() const { return false; }
    // The distinct contact rows behind the given grid rows, in row order, deleted ones left out.
    virtual QList<ContactRowPtr> contactsForIndexes(const QList<int> &) { return {}; }
    // Edit menu: Copy, Copy as CSV and Copy as vCard put the selected rows on the clipboard;
    // Paste makes a new contact of each line of copied text. All are always enabled.
    virtual void copy(GridCopyFormat) {}
    virtual void paste() {}

    // The undoable edits the grid's own commands (cell menu, item and contact commands) end in;
    // held as a plain pointer.
    virtual void setEditDelegate(GridEditDelegate *) {}
    // Lays out the phone number of each selected row anew, in one undo step.
    virtual void normalizePhoneNumber(PhoneLayout) {}
    // The phone-layout items' validation: the grid shows a "Phone" column.
    virtual bool canNormalizePhoneNumber() { return false; }
};
