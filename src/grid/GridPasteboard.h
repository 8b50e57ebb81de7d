#pragma once

#include "ui/contracts/ContactsGridInterface.h"
#include "ui/contracts/SubContactRow.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QMimeData;

// What the grid puts on the pasteboard for Copy, Copy as CSV and Copy as vCard. Each builds its
// data afresh from the rows it is given; a null result leaves the pasteboard as it was.
class GridPasteboard
{
public:
    static const QString TabSeparator;
    static const QString CommaSeparator;
    // The file that Copy as vCard offers, in the process's temporary folder.
    static const QString SelectedContactsFileName;
    // The identifiers of our own Copy's fields, so that Paste gives each field back to its own,
    // whatever the columns by then.
    static const QString CopiedIdentifiersType;

    // The shown columns in on-screen order; every identifier of the record when only "Name" shows.
    static QStringList copyIdentifiers(const QStringList &tableIdentifiers);
    // One line per row (empty fields keep their separators), lines separated by "\n" and not
    // ended by one; empty when the rows give fewer than two characters.
    static QString textForRows(const QList<SubContactRowPtr> &rows, const QStringList &identifiers,
                               const QString &separator);
    // The text as plain text and as tab- or comma-separated text, with the identifiers of its
    // fields; null without text.
    static std::unique_ptr<QMimeData> textData(const QList<SubContactRowPtr> &rows,
                                               const QStringList &identifiers, GridCopyFormat format);
    // The identifiers that our own Copy put with its text; nothing on other data.
    static std::optional<QStringList> copiedIdentifiers(const QMimeData *data);
    // One card per contact, written to the temporary "SelectedContacts.vcf" (replacing the last
    // copy) and offered as that file; null when no card results. A file that cannot be written
    // still leaves the URL, as a drag's does.
    static std::unique_ptr<QMimeData> vCardData(const QList<ContactRowPtr> &contacts);
};
