#pragma once

#include "ui/contracts/DetailRow.h"
#include "model/AddressBookRecords.h"

#include <QStringList>
#include <QVariantList>

#include <optional>

class QNPerson;
class UserDefaults;

// The rows of the contact detail table: the field order (saved by the user, else the default
// order, plus the custom items) and one or more rows per field of one contact. Both hosts of the
// table build their rows with one of these.
class DetailRowBuilder
{
public:
    explicit DetailRowBuilder(UserDefaults &defaults);

    // The 22 fields of the default order.
    static QStringList defaultRowOrder();

    // Null until the first build.
    const std::optional<QStringList> &rowOrderTable() const { return m_rowOrderTable; }
    void setRowOrderTable(const std::optional<QStringList> &order) { m_rowOrderTable = order; }

    const QVariantList &customItems() const { return m_customItems; }
    void setCustomItems(const QVariantList &customItems) { m_customItems = customItems; }

    // Titles of the name-ordering popup, made while building the "Name Ordering" row.
    const QStringList &nameOrderingLabels() const { return m_nameOrderingLabels; }

    // The rows of the contact, every value whatever the label filter says, for the fields of the
    // order that exist (built in, or custom items now defined); empty for no contact.
    DetailRowTable tableFromContact(const ContactRowPtr &contact, const QStringList &selectedLabels);

    // "Labeled Value", "String Value", "Dictionary Value" or "": the person's answer, else the
    // type of the custom item of that name.
    QString valueTypeForIdentifier(QNPerson *person, const QString &identifier) const;
    // Lines the row takes (the photo row iconRowCount); also stored in the row.
    int numberOfLines(DetailRow &row, QNPerson *person, int iconRowCount) const;
    // One line is rowHeight high; a row of several lines gets 2 points more.
    static double heightForLines(int lines, double rowHeight);

private:
    QStringList customItemNames() const;
    void prepareRowOrder();
    void appendRows(DetailRowTable &rows, const QString &identifier, int position, QNPerson *person);
    void appendNameOrderingRow(DetailRowTable &rows, int position, QNPerson *person);

    UserDefaults &m_defaults;
    std::optional<QStringList> m_rowOrderTable;
    QVariantList m_customItems;
    QStringList m_nameOrderingLabels;
};
