#pragma once

#include "ui/contracts/ContactsGridInterface.h"

#include <QString>

class ContactsViewController;
class UserDefaults;

// The grid's Copy, Copy as CSV, Copy as vCard and Paste on the application's clipboard. New
// contacts go to the grid's delegate, which adds them to the selected group as one undoable step.
class GridClipboard
{
public:
    GridClipboard(ContactsViewController &grid, UserDefaults &defaults);

    // Nothing selected (or only the footer): the clipboard keeps what it holds.
    void copy(GridCopyFormat format);
    // Each line of the clipboard's text becomes a contact; other data changes nothing.
    void paste();
    // Hands the contacts of the text's lines to the delegate; false when none results.
    bool addContactsFromText(const QString &text);

private:
    ContactsViewController &m_grid;
    UserDefaults &m_defaults;
};
