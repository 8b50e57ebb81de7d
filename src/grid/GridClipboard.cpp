#include "grid/GridClipboard.h"

#include "grid/ContactsViewController.h"
#include "grid/GridPasteboard.h"
#include "grid/GridTextParser.h"
#include "platform/widgets/PasteboardTypes.h"
#include "ui/contracts/ContactsViewControllerDelegate.h"

#include <QClipboard>
#include <QGuiApplication>
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
    if (data && PasteboardTypes::hasType(data, PasteboardTypes::String))
        addContactsFromText(PasteboardTypes::string(data, PasteboardTypes::String));
}

bool GridClipboard::addContactsFromText(const QString &text)
{
    ContactsViewControllerDelegate *delegate = m_grid.delegate();
    if (!delegate)
        return false;
    const QList<ContactRowPtr> rows = GridTextParser::contactsFromString(
        text, GridTextParser::pasteIdentifiers(m_grid.tableIdentifiers(), m_defaults));
    if (rows.isEmpty())
        return false;
    delegate->addContactRows(rows);
    return true;
}
