#pragma once

#include <QHash>
#include <QList>
#include <QString>

// How the CSV import reads a column, recognised from its header text. Our own export's headers,
// the mail programs' ("Business Phone 2", "E-mail 2 Address", and their German, French and
// Japanese exports: "Telefon geschäftlich", "Téléphone (bureau)", "会社電話"), the web address
// books' numbered pairs ("Phone 1 - Type", "Phone 1 - Value") and kind-first headers ("Email Home")
// are known; a header the table does not know gives a column that is not read, so that its cells
// never land in another field.
namespace CsvHeaderTable {

// The language a header is written in; it decides how dates of the file are read.
enum class Language
{
    Any,
    English,
    German,
    French,
    Japanese,
};

// Parts of a list entry besides the address parts.
inline const QString ValuePart = QStringLiteral("value");
inline const QString LabelPart = QStringLiteral("label");

struct Column
{
    // The identifier the cells fill ("Name", "Phone", "Address", "Company", ...); empty when the
    // column is not read.
    QString kind;
    // What a cell fills of it: a name part ("FirstName"), an address part ("City"), a birthday
    // part ("year"), the value or the label of a list entry; empty for the whole value.
    QString part;
    // The label of the column's list entries ("home", a service name); a label column's cells
    // replace it.
    QString label;
    // Columns that build one entry together share a key ("Address home", "Phone #1"); empty for a
    // column whose cells are entries of their own.
    QString entryKey;
    // A cell may hold several values of the entry's series, separated by " ::: ".
    bool listsValues = false;
    Language language = Language::Any;
};

// Reads the headers of one file in their order. Each distinct header is matched against the
// table once, however often the file repeats it, so that a line of a million headers is read in
// a time in step with its length.
class HeaderReader
{
public:
    // The column of the file's next header. A header that the file repeats (French exports name
    // the title and the job title both "Titre") takes the table's next reading of it at each
    // repeat, and its last reading once they run out.
    Column columnFor(const QString &header);

private:
    struct Readings
    {
        QList<Column> columns;
        qsizetype repeats = 0;
    };
    QHash<QString, Readings> m_headers;
};

} // namespace CsvHeaderTable
