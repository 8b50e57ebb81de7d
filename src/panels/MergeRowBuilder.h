#pragma once

#include "panels/MergeRow.h"

#include <QHash>
#include <QStringList>
#include <QVariantList>

class QNPerson;

// Builds the rows of one side of the merge sheet. The row budget of the labelled kinds is taken
// from both sides first, so that each kind gets the same number of rows on both.
class MergeRowBuilder
{
public:
    // The window's custom-item definitions; their names follow the fixed kinds.
    QVariantList customItems() const { return m_customItems; }
    void setCustomItems(const QVariantList &items) { m_customItems = items; }

    // The Name Ordering titles (keys), the first being the system default the left person's
    // sort order names.
    QStringList nameOrderingLabels() const { return m_nameOrderingLabels; }
    void setNameOrderingLabelsFor(QNPerson &left);

    // The kinds in the order both tables show them.
    QStringList rowOrder() const;
    // The person's type of the identifier, else its custom item's "Type"; empty for neither.
    QString valueType(const QNPerson &person, const QString &identifier) const;

    // Rows of each labelled kind on both sides: the larger count, at least 1.
    static QHash<QString, qsizetype> labeledValueCount(QNPerson &left, QNPerson &right);

    MergeRowTable tableFromContact(QNPerson &person, const QHash<QString, qsizetype> &labeledValueCount) const;

    // Lines a row takes on this side: a multi-line text takes one per line, the photo two.
    int numberOfLines(const MergeRow &row, QNPerson &person) const;

private:
    void appendNameRows(MergeRowTable &rows, const QString &type, const QStringList &parts) const;
    void appendLabeledRows(MergeRowTable &rows, const QString &type, const QVariantList &entries,
                           qsizetype budget) const;
    MergeRow nameOrderingRow(QNPerson &person) const;
    MergeRow nameDisplayRow(QNPerson &person) const;

    QVariantList m_customItems;
    QStringList m_nameOrderingLabels;
};
