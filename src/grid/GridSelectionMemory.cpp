#include "grid/GridSelectionMemory.h"

#include "grid/GridField.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"

#include <QSet>

#include <algorithm>

GridSelectionMemory::GridSelectionMemory(const QList<SubContactRowPtr> &rows, const QList<int> &selectedRows,
                                         const QString &sortIdentifier, const QVariantList &customItems)
    : m_selectedRows(selectedRows), m_sortIdentifier(sortIdentifier), m_customItems(customItems)
{
    if (selectedRows.isEmpty() || selectedRows.last() >= rows.size())
        return;
    for (int selected : selectedRows) {
        const SubContactRow &row = *rows.at(selected);
        m_remembered[row.uniqueId].append(valueIndex(row));
        m_positions[row.uniqueId].append(row.labelIndex);
    }
}

int GridSelectionMemory::valueIndex(const SubContactRow &row) const
{
    if (GridField::valueType(m_sortIdentifier, *row.person, m_customItems) != PersonValueType::Labeled)
        return row.labelIndex;
    const auto value = row.person->labeledValueForIdentifierAtIndex(m_sortIdentifier, row.labelIndex);
    return value ? value->value(PersonKey::LabelIndex).toInt() : row.labelIndex;
}

bool GridSelectionMemory::matches(const SubContactRow &row, const QList<int> &indexes) const
{
    const QString type = GridField::valueType(m_sortIdentifier, *row.person, m_customItems);
    if (type == PersonValueType::String)
        return true;
    if (type != PersonValueType::Labeled)
        return false;
    const auto value = row.person->labeledValueForIdentifierAtIndex(m_sortIdentifier, row.labelIndex);
    return value && indexes.contains(value->value(PersonKey::LabelIndex).toInt());
}

QList<int> GridSelectionMemory::rowsToSelect(const QList<SubContactRowPtr> &newRows) const
{
    QList<int> rows;
    if (!m_remembered.isEmpty()) {
        for (qsizetype i = 0; i < newRows.size(); ++i) {
            const SubContactRow &row = *newRows.at(i);
            const auto remembered = m_remembered.constFind(row.uniqueId);
            if (remembered != m_remembered.cend() && matches(row, *remembered))
                rows.append(int(i));
        }
    }
    if (!rows.isEmpty())
        return rows;
    for (int row : m_selectedRows) {
        if (row < newRows.size())
            rows.append(row);
    }
    return rows;
}

QList<int> GridSelectionMemory::rowsOfSelectedContacts(const QList<SubContactRowPtr> &newRows) const
{
    QList<int> rows;
    QHash<QString, int> firstRows;
    QSet<QString> kept;
    for (qsizetype i = 0; i < newRows.size(); ++i) {
        const SubContactRow &row = *newRows.at(i);
        const auto positions = m_positions.constFind(row.uniqueId);
        if (positions == m_positions.cend())
            continue;
        if (!firstRows.contains(row.uniqueId))
            firstRows.insert(row.uniqueId, int(i));
        if (positions->contains(row.labelIndex)) {
            rows.append(int(i));
            kept.insert(row.uniqueId);
        }
    }
    for (auto first = firstRows.cbegin(); first != firstRows.cend(); ++first) {
        if (!kept.contains(first.key()))
            rows.append(first.value());
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}
