#include "grid/GridClipboard.h"

#include "addressbook/TextFormat.h"
#include "grid/ContactsViewController.h"
#include "grid/GridDropRules.h"
#include "grid/GridPasteboard.h"
#include "grid/GridTextParser.h"
#include "model/QNvCard.h"
#include "platform/Localizer.h"
#include "platform/widgets/Alert.h"
#include "ui/contracts/ContactsViewControllerDelegate.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLocale>
#include <QMimeData>

GridClipboard::GridClipboard(ContactsViewController &grid, UserDefaults &defaults)
    : m_grid(grid), m_defaults(defaults)
{
}

void GridClipboard::copy(GridCopyFormat format)
{
    std::unique_ptr<QMimeData> data =
        format == GridCopyFormat::VCard
            ? GridPasteboard::vCardData(m_grid.selectedContacts())
            : GridPasteboard::textData(m_grid.selectedSubContacts(),
                                       GridPasteboard::copyIdentifiers(m_grid.tableIdentifiers()), format);
    if (data)
        QGuiApplication::clipboard()->setMimeData(data.release());
}

void GridClipboard::paste()
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    const GridDropRules::Drop drop = GridDropRules::acceptDrop(data, GridDropRules::Source::OtherApplication);
    if (drop.kind == GridDropRules::Drop::Kind::VCardText)
        addCards(drop.text);
    else if (drop.kind == GridDropRules::Drop::Kind::Text)
        addContactsFromText(drop.text, GridPasteboard::copiedIdentifiers(data));
}

bool GridClipboard::addContactsFromText(const QString &text,
                                        const std::optional<QStringList> &copiedIdentifiers)
{
    if (GridTextParser::isVCard(text))
        return addCards(text);
    ContactsViewControllerDelegate *delegate = m_grid.delegate();
    if (!delegate)
        return false;
    if (GridTextParser::isTooLargeForContacts(text)) {
        showTooLargeAlert(m_grid.view() ? m_grid.view()->window() : nullptr, TextKind::Lines);
        return false;
    }
    const QList<ContactRowPtr> rows = contactsOfText(text, copiedIdentifiers);
    if (rows.isEmpty())
        return false;
    delegate->addContactRows(rows);
    return true;
}

QList<ContactRowPtr> GridClipboard::contactsOfText(const QString &text,
                                                   const std::optional<QStringList> &copiedIdentifiers) const
{
    // Our own Copy's first line is a contact, whatever its words.
    if (copiedIdentifiers)
        return GridTextParser::contactsFromString(text, *copiedIdentifiers, true);
    // A header names where each value goes, as it does in a file that File > Import CSV reads.
    const QNvCard reader;
    if (reader.hasCsvHeader(text))
        return reader.contactsFromCSV(text).rows;
    return GridTextParser::contactsFromString(
        text, GridTextParser::pasteIdentifiers(m_grid.tableIdentifiers(), m_defaults));
}

bool GridClipboard::addCards(const QString &vCards)
{
    ContactsViewControllerDelegate *delegate = m_grid.delegate();
    if (!delegate)
        return false;
    delegate->addContactByVCardString(vCards);
    return true;
}

void GridClipboard::showTooLargeAlert(QWidget *window, TextKind kind)
{
    const QLocale numbers(QLocale::English);
    const QString limits =
        kind == TextKind::VCards
            ? L(QStringLiteral("Paste and drop make contacts of at most %@ lines and %@ characters "
                               "at a time. Import more contacts from a vCard file."))
            : L(QStringLiteral("Paste and drop make contacts of at most %@ lines and %@ characters "
                               "at a time. Import a longer list from a CSV file."));
    Alert alert;
    alert.setMessageText(L(QStringLiteral("The text is too large to make contacts of.")));
    alert.setInformativeText(TextFormat::fill(limits, {numbers.toString(GridTextParser::MaxLines),
                                                       numbers.toString(GridTextParser::MaxCharacters)}));
    alert.addButton(L(QStringLiteral("OK")));
    alert.beginSheetModalForWindow(window);
}
