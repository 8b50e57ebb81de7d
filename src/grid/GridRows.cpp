#include "grid/GridRows.h"

#include "grid/GridDisplayCache.h"
#include "grid/GridField.h"

int GridRows::addContact(Contact contact)
{
    m_contacts.push_back(std::move(contact));
    return int(m_contacts.size()) - 1;
}

QVariant GridRows::sortValue(qsizetype i) const
{
    const GridSortColumn *sort = contactOf(i).sort.get();
    if (!sort)
        return QVariant();
    const qsizetype value =
        sort->indexAt(labelIndex(i), m_selectedLabels, GridField::isNoFilter(m_selectedLabels));
    return value < 0 ? QVariant() : sort->values.at(value);
}

qsizetype GridRows::contactCount() const
{
    return std::count_if(m_rows.cbegin(), m_rows.cend(),
                         [](const GridRow &row) { return row.labelIndex == 0; });
}

SubContactRowPtr GridRows::at(qsizetype i) const
{
    if (m_made.empty())
        m_made.resize(m_rows.size());
    SubContactRowPtr &made = m_made[size_t(i)];
    if (made)
        return made;
    const GridRow &shown = row(i);
    const Contact &contact = m_contacts[size_t(shown.contact)];
    made = std::make_shared<SubContactRow>();
    made->person = contact.person;
    made->uniqueId = contact.uniqueId;
    made->labelIndex = shown.labelIndex;
    made->notFirstRow = shown.notFirstRow;
    made->numLines = shown.numLines;
    made->sortValue = sortValue(i);
    return made;
}

QList<SubContactRowPtr> GridRows::toList() const
{
    QList<SubContactRowPtr> list;
    list.reserve(size());
    for (qsizetype i = 0; i < size(); ++i)
        list.append(at(i));
    return list;
}

void GridRows::markContinuationRows()
{
    for (size_t i = 0; i < m_rows.size(); ++i) {
        if (i == 0) {
            m_rows[i].notFirstRow = false;
            continue;
        }
        const Contact &previous = m_contacts[size_t(m_rows[i - 1].contact)];
        const Contact &contact = m_contacts[size_t(m_rows[i].contact)];
        m_rows[i].notFirstRow =
            m_rows[i - 1].contact == m_rows[i].contact || previous.person == contact.person ||
            (previous.uniqueIdHash == contact.uniqueIdHash && previous.uniqueId == contact.uniqueId);
    }
}
