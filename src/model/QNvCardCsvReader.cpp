#include "model/QNvCard.h"

#include "model/CellEscapes.h"
#include "model/CsvDateText.h"
#include "model/CsvHeaderTable.h"
#include "model/CsvTokenizer.h"
#include "model/QNPersonKeys.h"
#include "model/StrayControls.h"
#include "platform/ContactFormatter.h"
#include "platform/Localizer.h"

#include <QDate>
#include <QHash>
#include <QRegularExpression>

#include <algorithm>

namespace {

using CsvHeaderTable::LabelPart;
using CsvHeaderTable::ValuePart;

const QString NameKey = QStringLiteral("Name");
const QString CompanyKey = QStringLiteral("Company");
const QString NoteKey = QStringLiteral("Note");
const QString BirthdayKey = QStringLiteral("Birthday");
const QString SocialNetworkKey = QStringLiteral("Social Network");
// Web address books list the values of one numbered pair in one cell.
const QString SeriesSeparator = QStringLiteral(" ::: ");

// Identifiers moved from an import row into its record, in this order.
const QStringList &applyList()
{
    static const QStringList identifiers{QStringLiteral("Name"),           QStringLiteral("Phonetic Name"),
                                         QStringLiteral("Email"),          QStringLiteral("Instant Message"),
                                         QStringLiteral("Social Network"), QStringLiteral("URL"),
                                         QStringLiteral("Phone"),          QStringLiteral("Address"),
                                         QStringLiteral("Nickname"),       QStringLiteral("Birthday"),
                                         QStringLiteral("Relationship"),   QStringLiteral("Suffix"),
                                         QStringLiteral("Title"),          QStringLiteral("Company"),
                                         QStringLiteral("Department"),     QStringLiteral("Job Title"),
                                         QStringLiteral("Dates"),          QStringLiteral("Note")};
    return identifiers;
}

// Year, month and day columns: the components of a valid date; the year 0 or 1 stands for none.
std::optional<QVariantMap> dateComponents(int year, int month, int day)
{
    if (!QDate(year > 1 ? year : 2000, month, day).isValid())
        return std::nullopt;
    QVariantMap components{{PersonKey::Month, month}, {PersonKey::Day, day}};
    if (year > 1)
        components.insert(PersonKey::Year, year);
    return components;
}

// The birthday of a cell: its text, and its date when the text reads as one.
QVariantMap birthdayOf(const QString &text, const CsvDateText::Reading &reading)
{
    QVariantMap birthday{{PersonKey::StringValue, text}};
    if (!reading.components.isEmpty())
        birthday.insert(PersonKey::Value, reading.components);
    return birthday;
}

// A label column's text as a label: a word of the kind's built-in labels in their spelling
// ("Home" and "* Home", the primary mark of web address books, are "home"), any other text as it
// stands.
QString labelFromText(const QString &kind, const QString &text)
{
    QString label = text.trimmed();
    if (label.startsWith(QLatin1Char('*')))
        label = label.mid(1).trimmed();
    const QStringList custom = QNPerson::customLabelsForIdentifier(kind).value_or(QStringList());
    for (const QString &known : QNPerson::labelsForIdentifier(kind).value_or(QStringList())) {
        if (known.compare(label, Qt::CaseInsensitive) == 0 && !custom.contains(known))
            return known;
    }
    return label;
}

// What a cell of a column does to its row; decided once from the header.
enum class Action
{
    Skip,
    DisplayName,
    NamePart,
    PhoneticPart,
    Text,
    Note,
    Birthday,
    BirthdayPart,
    EntryPart,
};

struct ImportColumn
{
    CsvHeaderTable::Column column;
    Action action = Action::Skip;
    // The list entry the column fills, an index into the layout's entries.
    qsizetype entry = -1;
    // The column's place among the fields of a line.
    qsizetype field = 0;
};

// The entries of one list kind, in the order of their first columns; each entry built by one
// column or several, with the label it gets when no label column gives one.
struct EntryList
{
    QString kind;
    QList<qsizetype> entries;
    QStringList labels;
};

// The columns that are read, in the order of their fields; the others are passed over.
struct ImportLayout
{
    QList<ImportColumn> columns;
    QList<EntryList> lists;
    qsizetype entryCount = 0;
    // How a date that could be read either way is read, when no cell of the file shows it.
    CsvDateText::Order dateOrder = CsvDateText::Order::MonthFirst;
    // Our own export (its header row, column for column) escapes backslashes, tabs and line breaks.
    bool escapesCells = false;
};

Action actionFor(const CsvHeaderTable::Column &column)
{
    if (column.kind.isEmpty())
        return Action::Skip;
    if (QNPerson::labeledKindForIdentifier(column.kind))
        return Action::EntryPart;
    if (column.kind == NameKey)
        return column.part.isEmpty() ? Action::DisplayName : Action::NamePart;
    if (column.kind == PersonIdentifier::PhoneticName)
        return Action::PhoneticPart;
    if (column.kind == BirthdayKey)
        return column.part.isEmpty() ? Action::Birthday : Action::BirthdayPart;
    return column.kind == NoteKey ? Action::Note : Action::Text;
}

void addEntry(ImportLayout &layout, const CsvHeaderTable::Column &column)
{
    auto list = std::find_if(layout.lists.begin(), layout.lists.end(),
                             [&](const EntryList &entries) { return entries.kind == column.kind; });
    if (list == layout.lists.end())
        list = layout.lists.insert(layout.lists.end(), EntryList{column.kind, {}, {}});
    list->entries.append(layout.entryCount++);
    list->labels.append(column.label);
}

// The language most recognised headers are written in: German and French files write the day
// first, English and Japanese ones the month.
CsvDateText::Order dateOrderOf(const QList<ImportColumn> &columns)
{
    QHash<CsvHeaderTable::Language, int> votes;
    for (const ImportColumn &column : columns) {
        if (column.column.language != CsvHeaderTable::Language::Any)
            ++votes[column.column.language];
    }
    const int dayFirst =
        votes.value(CsvHeaderTable::Language::German) + votes.value(CsvHeaderTable::Language::French);
    const int monthFirst =
        votes.value(CsvHeaderTable::Language::English) + votes.value(CsvHeaderTable::Language::Japanese);
    return dayFirst > monthFirst ? CsvDateText::Order::DayFirst : CsvDateText::Order::MonthFirst;
}

// Other programs' files, and ours from before, may name the same columns in another order.
bool isOwnExportHeader(const QStringList &headerRow)
{
    const QList<QNvCard::CsvColumn> &columns = QNvCard::csvColumns();
    return std::equal(
        headerRow.begin(), headerRow.end(), columns.begin(), columns.end(),
        [](const QString &header, const QNvCard::CsvColumn &column) { return header == column.fieldName; });
}

// Builds the layout from the header line, one header after another.
class LayoutBuilder
{
public:
    void add(const QString &header)
    {
        m_headerRow.append(header);
        ImportColumn column{m_headers.columnFor(header)};
        column.field = m_fieldCount++;
        column.action = actionFor(column.column);
        if (column.action == Action::Skip)
            return;
        if (column.action == Action::EntryPart) {
            const QString &key = column.column.entryKey;
            column.entry = m_sharedEntries.value(key, m_layout.entryCount);
            if (column.entry == m_layout.entryCount) {
                addEntry(m_layout, column.column);
                if (!key.isEmpty())
                    m_sharedEntries.insert(key, column.entry);
            }
        }
        m_layout.columns.append(column);
    }

    ImportLayout finish()
    {
        m_layout.dateOrder = dateOrderOf(m_layout.columns);
        m_layout.escapesCells = isOwnExportHeader(m_headerRow);
        return std::move(m_layout);
    }

private:
    CsvHeaderTable::HeaderReader m_headers;
    QHash<QString, qsizetype> m_sharedEntries;
    ImportLayout m_layout;
    qsizetype m_fieldCount = 0;
    QStringList m_headerRow;
};

// The text without the NULs and control characters that stray into otherwise good files; nothing
// when they are so many that the file is no text but binary data.
std::optional<QString> withoutStrayControls(const QString &text)
{
    const qsizetype controls = StrayControls::count(text);
    if (controls * 20 > text.size())
        return std::nullopt;
    return StrayControls::removed(text);
}

// The dates of the birthday columns: which order the file shows, and the cells that could be read
// either way, read again once the whole file has shown its order.
struct BirthdayColumn
{
    std::optional<CsvDateText::Order> shown;
    QList<std::pair<QNPersonPtr, QString>> undecided;

    void readAgain(CsvDateText::Order assumed) const
    {
        if (!shown || *shown == assumed)
            return;
        for (const auto &[person, text] : undecided)
            person->setValue(birthdayOf(text, CsvDateText::read(text, *shown)), BirthdayKey);
    }
};

// The values of one data line, gathered column by column, then handed to a new record.
class ImportRow
{
public:
    ImportRow(const ImportLayout &layout, BirthdayColumn &birthdays)
        : m_layout(layout), m_birthdays(birthdays), m_entries(layout.entryCount)
    {
    }

    void add(const ImportColumn &column, const QString &cell);
    ContactRowPtr finish();

private:
    void addBirthday(const QString &text);
    void addEntryPart(const ImportColumn &column, const QString &cell);
    static void fillEntry(QVariantMap &entry, const CsvHeaderTable::Column &column, const QString &text);
    static void appendEntry(QVariantList &list, QVariantMap &entry, const QString &seriesLabel);
    void finishName();
    void finishBirthday();
    void finishEntries();

    const ImportLayout &m_layout;
    BirthdayColumn &m_birthdays;
    // A birthday cell whose day and month could be swapped.
    QString m_undecidedBirthday;
    // Values by identifier, as the record takes them.
    QVariantMap m_values;
    QVariantMap m_name;
    QString m_displayName;
    bool m_hasName = false;
    QVariantMap m_phoneticName;
    QVariantMap m_birthdayParts;
    // The entries of the layout; a numbered pair's cell that lists several values makes the
    // further entries of its series.
    QList<QVariantMap> m_entries;
    QHash<qsizetype, QList<QVariantMap>> m_seriesEntries;
};

void ImportRow::add(const ImportColumn &column, const QString &cell)
{
    if (cell.isEmpty())
        return;
    const CsvHeaderTable::Column &what = column.column;
    switch (column.action) {
    case Action::Skip:
        break;
    case Action::DisplayName:
        m_displayName = cell;
        m_hasName = true;
        break;
    case Action::NamePart:
        m_name.insert(what.part, cell);
        m_hasName = true;
        break;
    case Action::PhoneticPart:
        m_phoneticName.insert(what.part, cell);
        break;
    case Action::Text:
        // The record holds one: a second column of the kind does not replace the first.
        if (!m_values.contains(what.kind))
            m_values.insert(what.kind, cell);
        break;
    case Action::Note: {
        const QString note = m_values.value(NoteKey).toString();
        m_values.insert(NoteKey, note.isEmpty() ? cell : note + QLatin1Char('\n') + cell);
        break;
    }
    case Action::Birthday:
        addBirthday(cell);
        break;
    case Action::BirthdayPart:
        m_birthdayParts.insert(what.part, cell);
        break;
    case Action::EntryPart:
        addEntryPart(column, cell);
        break;
    }
}

void ImportRow::addBirthday(const QString &text)
{
    const CsvDateText::Reading reading = CsvDateText::read(text, m_layout.dateOrder);
    if (reading.blank)
        return;
    if (reading.shows && !m_birthdays.shown)
        m_birthdays.shown = reading.shows;
    m_undecidedBirthday = reading.ambiguous ? text : QString();
    m_values.insert(BirthdayKey, birthdayOf(text, reading));
}

void ImportRow::addEntryPart(const ImportColumn &column, const QString &cell)
{
    if (!column.column.listsValues) {
        fillEntry(m_entries[column.entry], column.column, cell);
        return;
    }
    const QStringList values = cell.split(SeriesSeparator);
    for (qsizetype i = 0; i < values.size(); ++i) {
        const QString value = values.at(i).trimmed();
        if (value.isEmpty())
            continue;
        if (i == 0) {
            fillEntry(m_entries[column.entry], column.column, value);
            continue;
        }
        QList<QVariantMap> &series = m_seriesEntries[column.entry];
        if (series.size() < i)
            series.resize(i);
        fillEntry(series[i - 1], column.column, value);
    }
}

void ImportRow::fillEntry(QVariantMap &entry, const CsvHeaderTable::Column &column, const QString &text)
{
    if (column.part == LabelPart) {
        const QString label = labelFromText(column.kind, text);
        if (!label.isEmpty())
            entry.insert(PersonKey::Label, label);
    } else if (column.part == ValuePart) {
        entry.insert(PersonKey::Value, text);
        if (column.kind != SocialNetworkKey)
            entry.insert(PersonKey::StringValue, text);
    } else if (column.part == PersonKey::Street && entry.contains(PersonKey::Street)) {
        // Further street columns ("Business Street 2", "PO Box") are further lines.
        entry.insert(PersonKey::Street, entry.value(PersonKey::Street).toString() + QLatin1Char('\n') + text);
    } else {
        entry.insert(column.part, text);
    }
}

// A name column alone gives the name: a company's when it repeats the company, else the first
// name. A name without "showAsPerson" is a person's.
void ImportRow::finishName()
{
    if (!m_hasName)
        return;
    QVariantMap name = m_name;
    name.insert(PersonKey::ShowAsPerson, true);
    QString first = name.value(PersonKey::FirstName).toString();
    const QString last = name.value(PersonKey::LastName).toString();
    if (first.isEmpty() && last.isEmpty() && !m_displayName.isEmpty()) {
        if (m_displayName.trimmed() == m_values.value(CompanyKey).toString().trimmed()) {
            name.insert(PersonKey::ShowAsPerson, false);
        } else {
            first = m_displayName;
            name.insert(PersonKey::FirstName, first);
        }
    }
    // In the order a card of the same name is read in (a Japanese name family name first).
    name.insert(PersonKey::NameOrdering, ContactFormatter::nameOrderForParts(
                                             first, name.value(PersonKey::MiddleName).toString(), last));
    m_values.insert(NameKey, name);
}

// Year, month and day columns make a birthday when no column held the whole date.
void ImportRow::finishBirthday()
{
    if (m_birthdayParts.isEmpty() || m_values.contains(BirthdayKey))
        return;
    const std::optional<QVariantMap> components = dateComponents(
        m_birthdayParts.value(PersonKey::Year).toInt(), m_birthdayParts.value(PersonKey::Month).toInt(),
        m_birthdayParts.value(PersonKey::Day).toInt());
    if (components)
        m_values.insert(BirthdayKey, QVariantMap{{PersonKey::Value, *components}});
}

// An entry that got only a label is none; one without a label of its own takes its series' label.
void ImportRow::appendEntry(QVariantList &list, QVariantMap &entry, const QString &seriesLabel)
{
    if (entry.size() <= (entry.contains(PersonKey::Label) ? 1 : 0))
        return;
    if (!entry.contains(PersonKey::Label))
        entry.insert(PersonKey::Label, seriesLabel);
    entry.insert(PersonKey::LabelIndex, static_cast<int>(list.size()));
    list.append(entry);
}

// Each list numbers its entries in the order of their first columns.
void ImportRow::finishEntries()
{
    for (const EntryList &kind : m_layout.lists) {
        QVariantList list;
        for (qsizetype i = 0; i < kind.entries.size(); ++i) {
            const qsizetype position = kind.entries.at(i);
            QVariantMap &first = m_entries[position];
            const QString seriesLabel = first.value(PersonKey::Label, kind.labels.at(i)).toString();
            appendEntry(list, first, seriesLabel);
            const auto series = m_seriesEntries.find(position);
            if (series == m_seriesEntries.end())
                continue;
            for (QVariantMap &entry : *series)
                appendEntry(list, entry, seriesLabel);
        }
        if (!list.isEmpty())
            m_values.insert(kind.kind, list);
    }
}

ContactRowPtr ImportRow::finish()
{
    finishName();
    if (!m_phoneticName.isEmpty())
        m_values.insert(PersonIdentifier::PhoneticName, m_phoneticName);
    finishBirthday();
    finishEntries();
    auto person = std::make_shared<QNPerson>();
    for (const QString &identifier : applyList()) {
        const auto value = m_values.constFind(identifier);
        if (value != m_values.constEnd())
            person->setValue(*value, identifier);
    }
    if (!m_undecidedBirthday.isEmpty())
        m_birthdays.undecided.append({person, m_undecidedBirthday});
    auto row = std::make_shared<ContactRow>();
    row->person = person;
    row->uniqueId = person->uniqueId();
    return row;
}

// A cell of our own export or Copy as it was before escaping; a label's colons are escaped too.
// Any other backslash is text, as older exports wrote it.
QString unescaped(QStringView cell, bool label)
{
    QString text;
    text.reserve(cell.size());
    for (qsizetype i = 0; i < cell.size(); ++i) {
        const QChar next = i + 1 < cell.size() ? cell.at(i + 1) : QChar();
        QChar escaped;
        if (cell.at(i) == QLatin1Char('\\'))
            escaped = label && next == QLatin1Char(':') ? next : cellEscapedCharacter(next);
        if (escaped.isNull()) {
            text += cell.at(i);
        } else {
            text += escaped;
            ++i;
        }
    }
    return text;
}

// Tells the caller's handler how far the reading got, as an offset into the text it gave.
class CsvProgress
{
public:
    CsvProgress(const QNvCard::ProgressHandler &handler, qsizetype readSize, qsizetype textSize)
        : m_handler(handler), m_scale(readSize > 0 ? double(textSize) / double(readSize) : 1.0)
    {
    }

    // True when the handler asks to stop.
    bool stopsAt(qsizetype offset) const
    {
        if (!m_handler)
            return false;
        bool stop = false;
        m_handler(&stop, quint64(double(offset) * m_scale));
        return stop;
    }

private:
    const QNvCard::ProgressHandler &m_handler;
    const double m_scale;
};

// The columns of the header line; nothing when stopped.
std::optional<ImportLayout> readHeader(CsvTokenizer &tokenizer, const CsvProgress &progress)
{
    LayoutBuilder builder;
    bool more = !tokenizer.atEnd();
    while (more) {
        builder.add(tokenizer.nextField(more));
        if (progress.stopsAt(tokenizer.position()))
            return std::nullopt;
    }
    return builder.finish();
}

// The row of the next line, made from the fields of the columns read; the fields after the last
// of them are passed over. Null for a line shorter than two characters.
ContactRowPtr readRow(CsvTokenizer &tokenizer, const ImportLayout &layout, BirthdayColumn &birthdays)
{
    ImportRow row(layout, birthdays);
    bool more = true;
    qsizetype field = 0;
    for (const ImportColumn &column : layout.columns) {
        for (; more && field < column.field; ++field)
            tokenizer.skipField(more);
        if (!more)
            break;
        const QString cell = tokenizer.nextField(more);
        row.add(column, layout.escapesCells ? QNvCard::unescapedCell(cell) : cell);
        ++field;
    }
    if (more)
        tokenizer.skipRecord();
    if (tokenizer.recordLength() < 2)
        return nullptr;
    return row.finish();
}

} // namespace

QString QNvCard::unescapedCell(const QString &cell)
{
    return cell.contains(QLatin1Char('\\')) ? unescaped(cell, false) : cell;
}

std::optional<QNvCard::LabeledCell> QNvCard::labeledCell(const QString &cell)
{
    for (qsizetype i = 0; i < cell.size(); ++i) {
        if (cell.at(i) == QLatin1Char('\\'))
            ++i;
        else if (cell.at(i) == QLatin1Char(':'))
            return LabeledCell{unescaped(QStringView(cell).first(i), true), unescapedCell(cell.mid(i + 1))};
    }
    return std::nullopt;
}

bool QNvCard::hasCsvHeader(const QString &text) const
{
    const std::optional<QString> table = withoutStrayControls(text);
    if (!table || table->isEmpty())
        return false;
    CsvTokenizer tokenizer(*table, CsvTokenizer::separatorOf(*table));
    CsvHeaderTable::HeaderReader headers;
    qsizetype fields = 0;
    qsizetype named = 0;
    qsizetype read = 0;
    bool more = true;
    while (more) {
        const QString header = tokenizer.nextField(more);
        ++fields;
        if (header.trimmed().isEmpty())
            continue;
        ++named;
        if (actionFor(headers.columnFor(header)) != Action::Skip)
            ++read;
    }
    // Two read columns make a header whatever else the line names (a form's "Timestamp", "T-shirt
    // size"); a line of fewer read columns still needs them to outnumber the rest.
    return read >= 2 || (fields >= 2 && read * 2 > named);
}

QNvCard::CsvImport QNvCard::contactsFromCSV(const QString &text) const
{
    return contactsFromCSV(text, {}).value_or(CsvImport());
}

std::optional<QNvCard::CsvImport> QNvCard::contactsFromCSV(const QString &text,
                                                           const ProgressHandler &progressHandler) const
{
    CsvImport result;
    if (text.isEmpty())
        return result;
    const std::optional<QString> table = withoutStrayControls(text);
    if (!table) {
        result.error = L(QStringLiteral("The file is not a text file, so it holds no table of contacts."));
        return result;
    }
    const CsvProgress progress(progressHandler, table->size(), text.size());
    CsvTokenizer tokenizer(*table, CsvTokenizer::separatorOf(*table));
    // The first line only names the columns, in our own layout ("Name" first) or any other.
    const std::optional<ImportLayout> layout = readHeader(tokenizer, progress);
    if (!layout)
        return std::nullopt;
    if (layout->columns.isEmpty()) {
        result.error = L(QStringLiteral("The file's first line names no column that can be read, such as "
                                        "Name, First Name, Phone, E-mail or Address."));
        return result;
    }
    BirthdayColumn birthdays;
    while (!tokenizer.atEnd()) {
        if (ContactRowPtr row = readRow(tokenizer, *layout, birthdays))
            result.rows.append(row);
        if (progress.stopsAt(tokenizer.position()))
            return std::nullopt;
    }
    birthdays.readAgain(layout->dateOrder);
    return result;
}
