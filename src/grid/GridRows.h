#pragma once

#include "ui/contracts/SubContactRow.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <vector>

struct GridSortColumn;

// One grid row as plain data: the contact it shows (an index into GridRows' contacts) and the
// value position ("labelIndex").
struct GridRow
{
    int contact = 0;
    int labelIndex = 0;
    int numLines = 1;
    // Not the contact's first row in the grid (its name is not repeated).
    bool notFirstRow = false;
};

// The grid's rows in display order. Rows are small structs; what other code takes as a row (a
// SubContactRow: editors, detail views, commands, drag and drop) is made on first ask and kept
// until the rows are built again, so a row asked for twice is the same object.
class GridRows
{
public:
    // A contact that has rows, as it was when they were built.
    struct Contact
    {
        QNPersonPtr person;
        QString uniqueId;
        size_t uniqueIdHash = 0;
        // Its values under the sort key; null without a sort.
        std::shared_ptr<const GridSortColumn> sort;
    };

    qsizetype size() const { return qsizetype(m_rows.size()); }
    bool isEmpty() const { return m_rows.empty(); }

    const GridRow &row(qsizetype i) const { return m_rows[size_t(i)]; }
    const Contact &contactOf(qsizetype i) const { return m_contacts[size_t(m_rows[size_t(i)].contact)]; }
    QNPerson *person(qsizetype i) const { return contactOf(i).person.get(); }
    const QString &uniqueId(qsizetype i) const { return contactOf(i).uniqueId; }
    int labelIndex(qsizetype i) const { return row(i).labelIndex; }
    // The row's value under the sort key: a text, date components or nil.
    QVariant sortValue(qsizetype i) const;
    // Rows whose labelIndex is 0: one per contact shown.
    qsizetype contactCount() const;

    // The row as a record, made on first ask.
    SubContactRowPtr at(qsizetype i) const;
    // Every row as a record.
    QList<SubContactRowPtr> toList() const;

    // --- building ---

    // Adds a contact whose rows follow; answers its number.
    int addContact(Contact contact);
    void addRow(const GridRow &row) { m_rows.push_back(row); }
    std::vector<GridRow> &rows() { return m_rows; }
    const std::vector<GridRow> &rows() const { return m_rows; }
    const std::vector<Contact> &contacts() const { return m_contacts; }
    // The label filter the sort values were read under.
    void setSelectedLabels(const QStringList &labels) { m_selectedLabels = labels; }
    const QStringList &selectedLabels() const { return m_selectedLabels; }
    // Marks each row that follows a row of the same contact (the same person or uniqueId).
    void markContinuationRows();

private:
    std::vector<Contact> m_contacts;
    std::vector<GridRow> m_rows;
    QStringList m_selectedLabels;
    mutable std::vector<SubContactRowPtr> m_made;
};
