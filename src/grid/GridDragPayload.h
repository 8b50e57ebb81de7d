#pragma once

#include "ui/contracts/SubContactRow.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class QMimeData;

// What a drag of grid rows carries: the dragged contacts as tab-separated text, as vCard data and
// as a vCard file in the process's temporary folder (a file manager that takes it copies it and
// settles any clash of names itself), the rows' positions ("QN1PstringIndexes", read by the
// sidebar's drop) and the first row's value position (read by a detail table's drop).
class GridDragPayload
{
public:
    static const QString DraggingContactsFileName;

    // The positions of the grid rows among them, ascending, joined by commas ("2,3,9"); the
    // footer and anything past it left out.
    static QString stringIndexes(const QList<int> &rows, qsizetype gridRowCount);
    // The distinct contacts of those rows in order of first appearance, each the first contact
    // of the table with the row's "uniqueId".
    static QList<ContactRowPtr> draggedContacts(const QList<int> &rows,
                                                const QList<SubContactRowPtr> &subContactTable,
                                                const ContactTable &contactTable);
    // The fields of a dragged contact's line of text: 18 fixed ones, then its custom items.
    static QStringList dragTextIdentifiers(QNPerson &person);
    // One line per contact (an empty line for a contact without text), no final line break.
    static QString dragText(const QList<ContactRowPtr> &contacts);
    // The contacts' cards, each followed by "\r\n".
    static QString dragVCards(const QList<ContactRowPtr> &contacts);

    // Null when no grid row is among the rows: a drag of the footer alone offers nothing.
    static std::unique_ptr<QMimeData> mimeData(const QList<int> &rows,
                                               const QList<SubContactRowPtr> &subContactTable,
                                               const ContactTable &contactTable);
};
