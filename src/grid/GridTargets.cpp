#include "grid/GridTargets.h"

#include <QSet>

#include <algorithm>

GridTargets::GridTargets(const GridRows &rows, QList<int> indexes)
{
    std::sort(indexes.begin(), indexes.end());
    for (int index : std::as_const(indexes)) {
        if (index >= 0 && index < rows.size())
            m_records.append(rows.at(index));
    }
}

GridTargets GridTargets::distinctContacts() const
{
    QList<SubContactRowPtr> distinct;
    QSet<const QNPerson *> taken;
    for (const SubContactRowPtr &record : m_records) {
        if (!record->person || taken.contains(record->person.get()))
            continue;
        taken.insert(record->person.get());
        distinct.append(record);
    }
    return GridTargets(std::move(distinct));
}

GridTargets GridTargets::remaining(const ContactTablePtr &table) const
{
    QSet<const QNPerson *> held;
    if (table) {
        for (const ContactRowPtr &contact : std::as_const(*table)) {
            if (contact && contact->person && !contact->deleted)
                held.insert(contact->person.get());
        }
    }
    QList<SubContactRowPtr> kept = m_records;
    kept.removeIf([&held](const SubContactRowPtr &record) { return !held.contains(record->person.get()); });
    return GridTargets(std::move(kept));
}

int GridTargets::rowOf(const GridRows &rows, const SubContactRow &record)
{
    for (qsizetype row = 0; row < rows.size(); ++row) {
        if (rows.person(row) == record.person.get() && rows.labelIndex(row) == record.labelIndex)
            return int(row);
    }
    return -1;
}
