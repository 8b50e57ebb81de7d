#include "find/FindWalk.h"

#include "model/QNPerson.h"

#include <algorithm>

namespace FindWalk {

namespace {

// The cursor's part and range go to the first search only.
class StartPlace
{
public:
    explicit StartPlace(const ItemAndRange &cursor) : m_cursor(cursor) {}

    FieldPlace next(const QString &identifier, int labelIndex)
    {
        FieldPlace place{identifier, QString(), labelIndex, {}, std::nullopt};
        if (m_first) {
            place.subIdentifier = m_cursor.subIdentifier;
            place.cursor = m_cursor.range();
            place.itemCursor = m_cursor.itemRange;
            m_first = false;
        }
        return place;
    }
    void skip() { m_first = false; }

private:
    const ItemAndRange &m_cursor;
    bool m_first = true;
};

qsizetype gridStartRow(const FindFields &fields, const ItemAndRange &cursor, const GridSnapshot &grid)
{
    for (qsizetype i = 0; i < grid.rows.size(); ++i) {
        const SubContactRow &row = *grid.rows.at(i);
        if (row.uniqueId != cursor.uniqueId || !row.person)
            continue;
        if (row.labelIndex == fields.gridPosition(*row.person, cursor))
            return i;
    }
    return 0;
}

// The row's entry of the field, by its label index; none when the row has no entry there.
std::optional<int> gridEntry(const FindFields &fields, const SubContactRow &row, const QString &identifier)
{
    const QString list = fields.listIdentifier(*row.person, identifier);
    if (list.isEmpty())
        return row.labelIndex == 0 ? std::optional<int>(0) : std::nullopt;
    return FindFields::entryLabelIndex(*row.person, list, row.labelIndex);
}

} // namespace

std::optional<ItemAndRange> walkGrid(FindDirection direction, const FieldSearch &search, const FindFields &fields,
                                     const ItemAndRange &cursor, const GridSnapshot &grid)
{
    const qsizetype rowCount = grid.rows.size();
    const qsizetype columnCount = grid.columns.size();
    if (rowCount == 0 || columnCount == 0)
        return std::nullopt;
    const bool forward = direction == FindDirection::Forward;
    const qsizetype cursorColumn = grid.columns.indexOf(cursor.identifier);
    const qsizetype startColumn = cursorColumn >= 0 ? cursorColumn : (forward ? 0 : columnCount - 1);
    qsizetype row = gridStartRow(fields, cursor, grid);
    StartPlace place(cursor);
    bool startRow = true;
    int wraps = 0;
    while (wraps < 2) {
        const SubContactRowPtr &contact = grid.rows.at(row);
        qsizetype column = startRow ? startColumn : (forward ? 0 : columnCount - 1);
        for (; column >= 0 && column < columnCount; column += forward ? 1 : -1) {
            const QString &identifier = grid.columns.at(column);
            const std::optional<int> entry =
                contact->person ? gridEntry(fields, *contact, identifier) : std::nullopt;
            if (!entry) {
                place.skip();
                continue;
            }
            if (auto hit = search.find(direction, FieldLayout::Grid, contact, place.next(identifier, *entry)))
                return hit;
        }
        startRow = false;
        row += forward ? 1 : -1;
        if (row == rowCount || row < 0) {
            row = forward ? 0 : rowCount - 1;
            ++wraps;
        }
    }
    return std::nullopt;
}

namespace {

// The field's entries by label index: a labelled field's real entries, else the one entry 0.
QList<int> detailEntries(const FindFields &fields, QNPerson &person, const QString &identifier)
{
    const QString list = fields.listIdentifier(person, identifier);
    return list.isEmpty() ? QList<int>{0} : FindFields::entryLabelIndexes(person, list);
}

// Where the walk begins among the cursor field's entries: at the cursor's entry; forward, an
// entry that is gone begins past the end, backward at the last entry.
qsizetype firstEntry(const QList<int> &entries, const ItemAndRange &cursor, FindDirection direction,
                     bool labelled)
{
    if (!labelled)
        return 0;
    const qsizetype position = entries.indexOf(cursor.labelIndex);
    if (position >= 0)
        return position;
    return direction == FindDirection::Forward ? entries.size() : entries.size() - 1;
}

} // namespace

std::optional<ItemAndRange> walkDetail(FindDirection direction, const FieldSearch &search,
                                       const FindFields &fields, const ItemAndRange &cursor,
                                       const DetailSnapshot &detail)
{
    const qsizetype count = detail.rowOrder.size();
    if (count == 0 || !detail.contact || !detail.contact->person)
        return std::nullopt;
    QNPerson &person = *detail.contact->person;
    const bool forward = direction == FindDirection::Forward;
    const qsizetype start = std::max<qsizetype>(detail.rowOrder.indexOf(cursor.identifier), 0);
    const qsizetype steps = forward ? count + 1 : count;
    StartPlace place(cursor);
    for (qsizetype step = 0; step < steps; ++step) {
        const qsizetype at = forward ? (start + step) % count : (start - step + count) % count;
        const QString &identifier = detail.rowOrder.at(at);
        const QList<int> entries = detailEntries(fields, person, identifier);
        const bool labelled = !fields.listIdentifier(person, identifier).isEmpty();
        qsizetype entry = step == 0 ? firstEntry(entries, cursor, direction, labelled)
                                    : (forward ? 0 : entries.size() - 1);
        if (step == 0 && (entry < 0 || entry >= entries.size()))
            place.skip();
        for (; entry >= 0 && entry < entries.size(); entry += forward ? 1 : -1) {
            if (auto hit = search.find(direction, FieldLayout::Detail, detail.contact,
                                       place.next(identifier, entries.at(entry))))
                return hit;
        }
    }
    return std::nullopt;
}

} // namespace FindWalk
