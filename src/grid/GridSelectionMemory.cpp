#include "grid/GridSelectionMemory.h"

#include "grid/GridField.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"

#include <QHash>

#include <algorithm>

namespace {

// Up to this many selected contacts a plain comparison finds them faster than a hash.
constexpr size_t MaximumScannedContacts = 16;

} // namespace

GridSelectionMemory::GridSelectionMemory(const GridRows &rows, const QList<int> &selectedRows,
                                         const QString &sortIdentifier, const QVariantList &customItems)
    : m_selectedRows(selectedRows), m_sortIdentifier(sortIdentifier), m_customItems(customItems),
      m_sharedType(GridField::valueType(sortIdentifier, customItems))
{
    if (selectedRows.isEmpty() || selectedRows.last() >= rows.size())
        return;
    // A select-all holds every contact: looking each row's contact up in a list was quadratic.
    QHash<QString, size_t> byId;
    for (int selected : selectedRows) {
        const QString &uniqueId = rows.uniqueId(selected);
        auto found = byId.constFind(uniqueId);
        if (found == byId.constEnd()) {
            found = byId.insert(uniqueId, m_remembered.size());
            m_remembered.push_back(Remembered{uniqueId, {}, {}});
        }
        Remembered &remembered = m_remembered[*found];
        const int position = rows.labelIndex(selected);
        if (const std::optional<int> key = valueKey(*rows.person(selected), position))
            remembered.valueKeys.append(*key);
        remembered.positions.append(position);
    }
}

std::optional<int> GridSelectionMemory::valueKey(QNPerson &person, int position) const
{
    const QString type = person.ownCustomItems().isEmpty()
                             ? m_sharedType
                             : GridField::valueType(m_sortIdentifier, person, m_customItems);
    if (type != PersonValueType::Labeled)
        return std::nullopt;
    const auto value = person.labeledValueForIdentifierAtIndex(m_sortIdentifier, position);
    return value ? value->value(PersonKey::LabelIndex).toInt() : -1 - position;
}

std::vector<int> GridSelectionMemory::rememberedPerContact(const GridRows &rows) const
{
    const std::vector<GridRows::Contact> &contacts = rows.contacts();
    std::vector<int> found(contacts.size(), -1);
    if (m_remembered.empty())
        return found;
    if (m_remembered.size() <= MaximumScannedContacts) {
        for (size_t c = 0; c < contacts.size(); ++c) {
            for (size_t r = 0; r < m_remembered.size() && found[c] < 0; ++r) {
                if (contacts[c].uniqueId == m_remembered[r].uniqueId)
                    found[c] = int(r);
            }
        }
        return found;
    }
    QHash<QString, int> byId;
    for (size_t r = 0; r < m_remembered.size(); ++r)
        byId.insert(m_remembered[r].uniqueId, int(r));
    for (size_t c = 0; c < contacts.size(); ++c)
        found[c] = byId.value(contacts[c].uniqueId, -1);
    return found;
}

QList<int> GridSelectionMemory::rowsToSelect(const GridRows &newRows) const
{
    QList<int> rows = rowsOfRemembered(newRows, true);
    if (!rows.isEmpty())
        return rows;
    for (int row : m_selectedRows) {
        if (row < newRows.size())
            rows.append(row);
    }
    return rows;
}

QList<int> GridSelectionMemory::rowsOfSelectedContacts(const GridRows &newRows) const
{
    return rowsOfRemembered(newRows, false);
}

QList<int> GridSelectionMemory::rowsOfRemembered(const GridRows &newRows, bool byValue) const
{
    QList<int> rows;
    if (m_remembered.empty())
        return rows;
    const std::vector<int> remembered = rememberedPerContact(newRows);
    // Per remembered contact: its first row, and whether one of its rows matched.
    std::vector<int> firstRows(m_remembered.size(), -1);
    std::vector<bool> kept(m_remembered.size(), false);
    for (qsizetype i = 0; i < newRows.size(); ++i) {
        const int r = remembered[size_t(newRows.row(i).contact)];
        if (r < 0)
            continue;
        const Remembered &contact = m_remembered[size_t(r)];
        if (firstRows[size_t(r)] < 0)
            firstRows[size_t(r)] = int(i);
        const std::optional<int> key =
            byValue ? valueKey(*newRows.person(i), newRows.labelIndex(i)) : std::nullopt;
        if (key ? contact.valueKeys.contains(*key) : contact.positions.contains(newRows.labelIndex(i))) {
            rows.append(int(i));
            kept[size_t(r)] = true;
        }
    }
    for (size_t r = 0; r < m_remembered.size(); ++r) {
        if (!kept[r] && firstRows[r] >= 0)
            rows.append(firstRows[r]);
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}
