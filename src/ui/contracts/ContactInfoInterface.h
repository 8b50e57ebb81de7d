#pragma once

#include "model/AddressBookRecords.h"
#include "ui/contracts/ItemAndRange.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <optional>

class ContactInfoControllerDelegate;
class QAbstractItemView;
class QAbstractScrollArea;
class QFont;
class QWidget;

// What the main view controller needs of the detail pane: one contact as an editable table, or
// as a read-only card while the window is locked.
class ContactInfoInterface
{
public:
    virtual ~ContactInfoInterface() = default;

    // The pane's widget, still owned by the controller. It is also the sender the pane passes
    // with contactDidUpdate.
    virtual QWidget *view() = 0;
    // The same widget handed over to the caller, who places it in a layout.
    virtual QWidget *takeView() = 0;
    // The card, the table's scroll view and the table, swapped by the edit state.
    virtual QWidget *webView() = 0;
    virtual QAbstractScrollArea *scrollView() = 0;
    virtual QAbstractItemView *tableView() = 0;

    // A ContactRow or a grid row; shows it at once, in the card too while the pane is locked. A
    // null row is ignored. The "Groups" row shows what the edit delegate names, or without one the
    // row's "groupNames".
    virtual void setContact(const ContactRowPtr &contact) = 0;
    virtual ContactRowPtr contact() const = 0;
    // Shows no contact: an empty table and an empty card.
    virtual void clearContact() = 0;
    // These contacts left the shown table (deleted, or a paste or drop undone). When the shown
    // contact is one of them, the pane gives up its open edit and value editor without writing
    // and shows no contact.
    virtual void contactsDidLeave(const QSet<QString> &uniqueIds) = 0;
    // Rebuilds the rows of the shown contact keeping the selected row, and the card while the pane
    // is locked; nothing without a contact.
    virtual void updateTable() = 0;
    // The groups or their members changed: the "Groups" row asks the edit delegate again, and
    // nothing else is redrawn (the selection and an open edit stay).
    virtual void groupsDidChange() = 0;
    // Renders the shown contact into the card.
    virtual void updateWebView() = 0;

    // The setters below store; they redraw nothing of their own.
    virtual void setEditState(bool editState) = 0;
    // The filter holding "All" shows every label.
    virtual void setSelectedLabels(const QStringList &labels) = 0;
    virtual void setSelectedFont(const QFont &font) = 0;
    virtual void setCustomItems(const QVariantList &customItems) = 0;
    // The text to highlight; empty highlights nothing.
    virtual void setFindString(const QString &findString) = 0;
    virtual void setFindOptions(Qt::CaseSensitivity findOptions) = 0;
    // Switches to the hit's contact, selects the hit's row and marks the hit; nullopt clears the
    // mark. Nothing while no contact is shown.
    virtual void selectItemAndRange(const std::optional<ItemAndRange> &hit) = 0;
    // The fields of the detail rows in their order.
    virtual QStringList rowOrderTable() const = 0;
    // Held as a plain pointer, or null: then the pane reports no changes.
    virtual void setDelegate(ContactInfoControllerDelegate *delegate) = 0;

    // Marks the window edited and tells the delegate, with view() as the sender.
    virtual void sendContactDidUpdate() = 0;
};
