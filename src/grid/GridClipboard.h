#pragma once

#include "ui/contracts/ContactsGridInterface.h"

#include <QString>
#include <QStringList>

#include <optional>

class ContactsViewController;
class QWidget;
class UserDefaults;

// The grid's Copy, Copy as CSV, Copy as vCard and Paste on the application's clipboard. New
// contacts go to the grid's delegate, which adds them to the selected group as one undoable step.
class GridClipboard
{
public:
    GridClipboard(ContactsViewController &grid, UserDefaults &defaults);

    // Nothing selected (or only the footer): the clipboard keeps what it holds.
    void copy(GridCopyFormat format);
    // What the clipboard holds becomes contacts, read as a drop's data is: vCards (as data, files
    // or text) by the vCard reader, other text (or CSV data) as addContactsFromText reads it.
    // Other data changes nothing.
    void paste();
    // Hands the contacts of the text to the delegate as one undoable step: the cards of a vCard;
    // the lines of our own Copy, whose fields go back to copiedIdentifiers; the records of a CSV
    // text whose first line is a header (QNvCard::hasCsvHeader), as the CSV import reads them;
    // else one contact per line. False when none results. Lines too many or too long to be
    // contacts are refused with an alert that names the limits, and nothing changes.
    bool addContactsFromText(const QString &text, const std::optional<QStringList> &copiedIdentifiers = {});

    enum class TextKind
    {
        Lines,
        VCards
    };
    // Names the limits of GridTextParser::isTooLargeForContacts and where a longer text goes.
    static void showTooLargeAlert(QWidget *window, TextKind kind);

private:
    // The vCard reader makes the cards' contacts.
    bool addCards(const QString &vCards);
    // The contacts of a text that is no vCard.
    QList<ContactRowPtr> contactsOfText(const QString &text,
                                        const std::optional<QStringList> &copiedIdentifiers) const;

    ContactsViewController &m_grid;
    UserDefaults &m_defaults;
};
