#pragma once

#include "ui/contracts/SubContactRow.h"

#include <QList>
#include <QSet>
#include <QStringList>
#include <QVarLengthArray>
#include <QVariantList>

#include <functional>

// Builds the grid's rows: one per contact and value position of the shown multi-valued columns
// (the row with "labelIndex" n shows the value at position n in each of them), at least one per
// contact, with the label filter able to leave positions out. Each row gets its "numLines", the
// most text lines of any value it shows, notes counting at most five.
class GridRowBuilder
{
public:
    // identifiers: the shown columns in on-screen order; with showCompanyInNameCell the name cell
    // shows the company (or a company card's person) on a second line.
    GridRowBuilder(const QStringList &identifiers, const QStringList &selectedLabels,
                   const QVariantList &customItems, bool showCompanyInNameCell = false);

    // The rows of every contact of the table not marked deleted, in table order. rowsAdded hears of
    // each contact's rows (from the given index on) as soon as they are made.
    using RowsAdded = std::function<void(const QList<SubContactRowPtr> &rows, qsizetype first)>;
    QList<SubContactRowPtr> rowsForContactTable(const ContactTable &contactTable,
                                                const RowsAdded &rowsAdded = {}) const;

    // Marks each row that follows a row of the same contact.
    static void markContinuationRows(const QList<SubContactRowPtr> &rows);
    // With the company shown under the name, a contact's first row needs two lines when it has
    // both a name and a company; to be run once the rows are in display order and marked.
    void addNameCellLines(const QList<SubContactRowPtr> &rows) const;

private:
    struct Column
    {
        QString identifier;
        // The value type for a contact without custom items of its own.
        QString type;
        bool addressPart = false;
        bool note = false;
    };
    // What one contact shows in one column: a list of values, or one text on every row.
    struct ColumnValues
    {
        QVariantList values;
        bool listed = false;
        int lines = 1;
    };
    // One contact's columns, kept on the stack: the build runs once per contact.
    using ContactColumns = QVarLengthArray<ColumnValues, 8>;

    void appendRows(const ContactRow &contact, QList<SubContactRowPtr> &rows) const;
    SubContactRowPtr newRow(const ContactRow &contact, const QString &uniqueId, int labelIndex) const;
    ColumnValues columnValues(const Column &column, QNPerson &person, bool ownItems, QVariantList &addresses,
                              bool &addressesRead) const;
    int linesOfRow(const SubContactRow &row, const ContactColumns &columns) const;

    QList<Column> m_columns;
    QStringList m_selectedLabels;
    bool m_noFilter;
    QVariantList m_customItems;
    bool m_showCompanyInNameCell;
    // Contacts with both a name and a company, noted while their values are at hand.
    mutable QSet<const QNPerson *> m_twoLineNames;
};
