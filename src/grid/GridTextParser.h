#pragma once

#include "model/AddressBookRecords.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <limits>

class UserDefaults;

// New contacts from pasted or dropped text: each line one contact, its fields cut at tabs (else
// at commas) and given to the identifiers in order. A field wrapped in double quotes loses them;
// a line break never joins two lines into one field. NULs and other stray control characters are
// dropped, as the imports drop them.
//
// A line of our own Copy (fromCopy) has a field for every identifier, escaped as QNvCard writes a
// copied line (backslashes, tabs, line breaks and the colons of labels), and, as CSV, ", " between
// fields; each field goes back to the identifier it was copied from, exactly as it was. Other text
// gives a field to each identifier that can hold text, as it is written.
class GridTextParser
{
public:
    // The shown columns in on-screen order; with "Name" alone, the detail table's saved field
    // order ("QN1DlastRowOrder"), else its default order.
    static QStringList pasteIdentifiers(const QStringList &tableIdentifiers, UserDefaults &defaults);

    // The most text that Paste and a drop make contacts of: a longer text is a list to import
    // from a file, and making it into contacts would hold the window.
    static constexpr qsizetype MaxLines = 10'000;
    static constexpr qsizetype MaxCharacters = 1'000'000;
    // The text has more than MaxLines lines (an empty last line not counted) or MaxCharacters
    // characters.
    static bool isTooLargeForContacts(const QString &text);

    // The text is a vCard (its first line that is not blank opens a card).
    static bool isVCard(const QString &text);

    // One new row per line that yields a value ("person" marked created, "new"); empty lines and
    // lines of empty fields give none.
    static QList<ContactRowPtr> contactsFromString(const QString &text, const QStringList &identifiers,
                                                   bool fromCopy = false);
    // The contact of one line; null when no identifier took a value.
    static ContactRowPtr contactFromString(const QString &line, const QStringList &identifiers,
                                           bool fromCopy = false);

    // The line's fields as written (escapes and all), the first maxFields of them.
    static QStringList fieldsOfLine(const QString &line, bool fromCopy = false,
                                    qsizetype maxFields = std::numeric_limits<qsizetype>::max());
};
