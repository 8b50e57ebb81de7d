#pragma once

#include "model/AddressBookRecords.h"

#include <QString>
#include <QVariantList>

class ContactInfoControllerDelegate;
class ContactInfoInterface;
class ContactsGridInterface;
class ContactsViewControllerDelegate;
class EditFunnel;
class FindBarInterface;
class UndoManager;

// What the find code needs of the window that holds it: the views it searches and marks, the
// address book it changes and the toolbar's find button. The main view controller implements it.
class FindHost
{
public:
    virtual ~FindHost() = default;

    virtual ContactsGridInterface *contactsViewController() const = 0;
    virtual ContactInfoInterface *contactInfoController() const = 0;
    virtual FindBarInterface *findBarController() const = 0;
    // The delegates the grid and the detail pane report to. Find unsets them while it moves their
    // selection, so that the move does not come back as a selection that resets the cursor.
    virtual ContactsViewControllerDelegate *contactsViewControllerDelegate() = 0;
    virtual ContactInfoControllerDelegate *contactInfoControllerDelegate() = 0;

    // The detail pane is shown: find walks its table instead of the grid.
    virtual bool contactInfoVisible() const = 0;
    // The selected group's rows, those marked deleted included.
    virtual const ContactTablePtr &contactTable() const = 0;
    virtual QVariantList customItems() const = 0;
    // Replacements go through the funnel; replace all is one group of this undo manager.
    virtual EditFunnel &editFunnel() = 0;
    virtual UndoManager *undoManager() const = 0;
    virtual void setDocumentEdited(bool edited) = 0;

    // The toolbar's find button: its title follows the bar, and it is off while the bar moves.
    virtual void setFindBarButtonTitle(const QString &title) = 0;
    virtual void setFindBarButtonEnabled(bool enabled) = 0;
    // The button's action: hides a shown bar, shows a hidden one.
    virtual void findBarButtonClicked() = 0;
};
