#include "grid/GridRowBuilder.h"

#include "grid/GridField.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"

namespace {

const QString AddressIdentifier = QStringLiteral("Address");
const QString NoteIdentifier = QStringLiteral("Note");
constexpr int MaximumNoteLines = 5;

} // namespace

SubContactRowPtr GridRowBuilder::newRow(const ContactRow &contact, const QString &uniqueId,
                                        int labelIndex) const
{
    auto row = std::make_shared<SubContactRow>();
    row->person = contact.person;
    row->uniqueId = uniqueId;
    row->labelIndex = labelIndex;
    return row;
}

namespace {

int lineCount(const QString &text)
{
    return int(text.count(QLatin1Char('\n'))) + 1;
}

// The name's text without recomputing a name that has been read already.
QString nameText(QNPerson &person)
{
    const std::optional<QVariantMap> held = person.heldNameValue();
    return (held ? *held : person.nameValue()).value(PersonKey::StringValue).toString();
}

// The text of a single-valued field, the same on every row of the contact.
QString singleText(const QString &identifier, const QString &type, QNPerson &person)
{
    if (type == PersonValueType::String)
        return person.stringValueForIdentifier(identifier);
    if (identifier == PersonIdentifier::Name)
        return nameText(person);
    return person.valueForIdentifier(identifier).toMap().value(PersonKey::StringValue).toString();
}

} // namespace

GridRowBuilder::GridRowBuilder(const QStringList &identifiers, const QStringList &selectedLabels,
                               const QVariantList &customItems, bool showCompanyInNameCell)
    : m_selectedLabels(selectedLabels), m_noFilter(GridField::isNoFilter(selectedLabels)),
      m_customItems(customItems), m_showCompanyInNameCell(showCompanyInNameCell)
{
    for (const QString &identifier : identifiers)
        m_columns.append({identifier, GridField::valueType(identifier, customItems),
                          GridField::isAddressPart(identifier), identifier == NoteIdentifier});
}

QList<SubContactRowPtr> GridRowBuilder::rowsForContactTable(const ContactTable &contactTable,
                                                            const RowsAdded &rowsAdded) const
{
    QList<SubContactRowPtr> rows;
    rows.reserve(contactTable.size());
    for (const ContactRowPtr &contact : contactTable) {
        if (contact->deleted || !contact->person)
            continue;
        const qsizetype first = rows.size();
        appendRows(*contact, rows);
        if (rowsAdded)
            rowsAdded(rows, first);
    }
    return rows;
}

GridRowBuilder::ColumnValues GridRowBuilder::columnValues(const Column &column, QNPerson &person,
                                                          bool ownItems, QVariantList &addresses,
                                                          bool &addressesRead) const
{
    ColumnValues result;
    if (column.addressPart) {
        if (!addressesRead)
            addresses = person.labeledValueForIdentifier(AddressIdentifier);
        addressesRead = true;
        result.values = addresses;
        result.listed = true;
        return result;
    }
    const QString type =
        ownItems ? GridField::valueType(column.identifier, person, m_customItems) : column.type;
    if (type == PersonValueType::Labeled) {
        result.values = person.labeledValueForIdentifier(column.identifier);
        result.listed = true;
    } else if (type == PersonValueType::String || type == PersonValueType::Dictionary) {
        result.lines = lineCount(singleText(column.identifier, type, person));
    }
    return result;
}

void GridRowBuilder::appendRows(const ContactRow &contact, QList<SubContactRowPtr> &rows) const
{
    QNPerson &person = *contact.person;
    const QString uniqueId = person.uniqueId();
    const bool ownItems = !person.ownCustomItems().isEmpty();
    const qsizetype first = rows.size();
    rows.append(newRow(contact, uniqueId, 0));
    int built = 1;
    ContactColumns columns;
    QVariantList addresses;
    bool addressesRead = false;
    for (const Column &column : m_columns) {
        columns.append(columnValues(column, person, ownItems, addresses, addressesRead));
        if (column.identifier == PersonIdentifier::Name)
            continue;
        const QVariantList &values = columns.back().values;
        // Only a position above every one built adds a row, even when the filter left it out of
        // the earlier columns, so the rows stay in increasing position without duplicates.
        for (int position = built; position < values.size(); ++position) {
            if (!m_noFilter && !m_selectedLabels.contains(GridField::textOf(
                                   GridField::mapOf(values.at(position)), PersonKey::Label)))
                continue;
            rows.append(newRow(contact, uniqueId, position));
            built = position + 1;
        }
    }
    for (qsizetype i = first; i < rows.size(); ++i)
        rows.at(i)->numLines = linesOfRow(*rows.at(i), columns);
    if (m_showCompanyInNameCell && !nameText(person).isEmpty() &&
        !person.stringValueForIdentifier(PersonIdentifier::Company).isEmpty())
        m_twoLineNames.insert(&person);
}

// Every shown value counts, filtered or not.
int GridRowBuilder::linesOfRow(const SubContactRow &row, const ContactColumns &columns) const
{
    int lines = 1;
    for (qsizetype c = 0; c < m_columns.size(); ++c) {
        const ColumnValues &values = columns.at(c);
        int count = values.lines;
        if (values.listed && row.labelIndex < values.values.size()) {
            const QString &key =
                m_columns.at(c).addressPart ? m_columns.at(c).identifier : PersonKey::StringValue;
            count = lineCount(GridField::textOf(GridField::mapOf(values.values.at(row.labelIndex)), key));
        }
        lines = std::max(lines, count);
        // Notes show at most five lines; a later column may still ask for more.
        if (m_columns.at(c).note && lines > MaximumNoteLines)
            lines = MaximumNoteLines;
    }
    return lines;
}

void GridRowBuilder::markContinuationRows(const QList<SubContactRowPtr> &rows)
{
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const SubContactRow &row = *rows.at(i);
        const SubContactRow *previous = i > 0 ? rows.at(i - 1).get() : nullptr;
        rows.at(i)->notFirstRow =
            previous && (previous->person == row.person || previous->uniqueId == row.uniqueId);
    }
}

void GridRowBuilder::addNameCellLines(const QList<SubContactRowPtr> &rows) const
{
    if (m_twoLineNames.isEmpty())
        return;
    for (const SubContactRowPtr &row : rows) {
        if (!row->notFirstRow && row->numLines < 2 && m_twoLineNames.contains(row->person.get()))
            row->numLines = 2;
    }
}
