#pragma once

#include "find/FindFields.h"
#include "find/SearchResultRow.h"

#include <QVariant>

class EditFunnel;

// Writes a result row's new value into the address book through the edit funnel: a name or
// phonetic part into the whole name, an address part or a list entry into its entry (found by its
// own number, so an earlier change of the list does not misplace it), a date into the birthday or
// the Dates list, a text into its field. Without a funnel nothing is written.
class FindPanelWriter
{
public:
    FindPanelWriter(EditFunnel *funnel, FindFields fields) : m_funnel(funnel), m_fields(std::move(fields)) {}

    // What the row's field holds now, as write() takes it back: the BirthdayDict for "Birthday",
    // the dated entry for "Dates" (nil for both when there is none), the row's text otherwise.
    QVariant currentValue(const SearchResultRow &row) const;
    // A text for text rows; a date dictionary {"value", "stringValue"} or nil (cleared) for the
    // birthday and a dated entry. A cleared dated entry is deleted: an entry without a date would
    // not survive a save. False when nothing was written (the funnel refused, the entry or the
    // contact is gone).
    bool write(const SearchResultRow &row, const QVariant &value) const;

    // The text a row shows for a value written with write().
    static QString shownText(const SearchResultRow &row, const QVariant &value);
    // "Birthday" and "Dates" change only through the date editor.
    static bool isDateRow(const SearchResultRow &row);

private:
    bool writeDates(const SearchResultRow &row, const QVariant &value) const;
    bool writeEntry(const SearchResultRow &row, const QString &key, const QString &text) const;

    EditFunnel *m_funnel;
    FindFields m_fields;
};
