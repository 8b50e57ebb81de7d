#pragma once

#include "model/AddressBookRecords.h"

#include <QList>
#include <QString>
#include <QStringList>

class UserDefaults;

// New contacts from pasted or dropped text: each line one contact, its fields cut at tabs (else
// at commas) and given to the identifiers in order. Fields are kept as they stand; a line break
// never joins two lines into one field.
class GridTextParser
{
public:
    // The shown columns in on-screen order; with "Name" alone, the detail table's saved field
    // order ("QN1DlastRowOrder"), else its default order.
    static QStringList pasteIdentifiers(const QStringList &tableIdentifiers, UserDefaults &defaults);

    // One new row per line that yields a field ("person" marked created, "new"); empty lines and
    // lines of empty fields give none.
    static QList<ContactRowPtr> contactsFromString(const QString &text, const QStringList &identifiers);
    // The contact of one line; null when no identifier took a field.
    static ContactRowPtr contactFromString(const QString &line, const QStringList &identifiers);

    static QStringList fieldsOfLine(const QString &line);
};
