#include "find/FindPanelResultsModel.h"

#include "model/QNPerson.h"
#include "platform/Localizer.h"

#include <QCollator>
#include <QSize>

#include <algorithm>
#include <utility>

namespace {

const QStringList ColumnIdentifiers{QStringLiteral("Name"), QStringLiteral("Item"), QStringLiteral("SubItem"),
                                    QStringLiteral("Label"), QStringLiteral("Value")};

// The name as it is now: a replacement or an edit since the search may have renamed the contact.
QString currentName(const SearchResultRow &row)
{
    return row.contact && row.contact->person ? row.contact->person->compositeName() : QString();
}

// The line of the value around position: from the newline before it to the next one.
std::pair<qsizetype, qsizetype> lineAround(const QString &value, qsizetype position)
{
    position = std::clamp<qsizetype>(position, 0, value.size());
    const qsizetype start = position == 0 ? 0 : value.lastIndexOf(QLatin1Char('\n'), position - 1) + 1;
    const qsizetype newline = value.indexOf(QLatin1Char('\n'), position);
    return {start, newline < 0 ? value.size() : newline};
}

// A range clipped to the line [start, end) and counted from its start; {-1, 0} off the line.
MatchScan::TextRange onLine(const MatchScan::TextRange &range, qsizetype start, qsizetype end)
{
    const qsizetype from = std::max(range.location, start);
    const qsizetype to = std::min(range.location + range.length, end);
    if (to <= from)
        return {-1, 0};
    return {from - start, to - from};
}

} // namespace

FindPanelResultsModel::FindPanelResultsModel(QObject *parent) : QAbstractTableModel(parent) {}

void FindPanelResultsModel::setResults(const QList<SearchResultRowPtr> &results)
{
    beginResetModel();
    m_results = results;
    endResetModel();
}

void FindPanelResultsModel::valueChanged(int row)
{
    if (row >= 0 && row < m_results.size())
        emit dataChanged(index(row, ValueColumn), index(row, ValueColumn));
}

void FindPanelResultsModel::namesChanged()
{
    if (!m_results.isEmpty())
        emit dataChanged(index(0, NameColumn), index(int(m_results.size()) - 1, NameColumn));
}

int FindPanelResultsModel::rowOf(const SearchResultRow *row) const
{
    for (qsizetype i = 0; i < m_results.size(); ++i) {
        if (m_results.at(i).get() == row)
            return int(i);
    }
    return -1;
}

// The line holding the row's current match, else its first: a long note drawn whole made its row
// as tall as the note, and the match was off screen.
std::pair<qsizetype, qsizetype> FindPanelResultsModel::shownLine(int row) const
{
    const SearchResultRow &result = *m_results.at(row);
    const QList<MatchScan::TextRange> &ranges = result.ranges;
    const bool current =
        row == m_cursor.row && m_cursor.rangeIndex >= 0 && m_cursor.rangeIndex < ranges.size();
    const qsizetype position = ranges.isEmpty() ? 0 : ranges.at(current ? m_cursor.rangeIndex : 0).location;
    return lineAround(result.value, position);
}

QList<MatchScan::TextRange> FindPanelResultsModel::rangesOnShownLine(int row) const
{
    const auto [start, end] = shownLine(row);
    QList<MatchScan::TextRange> ranges;
    ranges.reserve(m_results.at(row)->ranges.size());
    for (const MatchScan::TextRange &range : std::as_const(m_results.at(row)->ranges))
        ranges.append(onLine(range, start, end));
    return ranges;
}

int FindPanelResultsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_results.size());
}

int FindPanelResultsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString FindPanelResultsModel::columnText(const SearchResultRow &row, int column)
{
    switch (column) {
    case NameColumn:
        return currentName(row);
    case ItemColumn:
        return QNPerson::localizedIdentifierForKey(row.item);
    case SubItemColumn:
        return row.subItem.isEmpty() ? QString() : QNPerson::localizedIdentifierForKey(row.subItem);
    case LabelColumn:
        return row.label.isEmpty()
                   ? QString()
                   : QNPerson::localizedLabelFromCNLabel(QNPerson::CNLabelFromLabel(row.label));
    case ValueColumn:
        return row.value;
    default:
        return {};
    }
}

QVariant FindPanelResultsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_results.size())
        return {};
    const SearchResultRow &row = *m_results.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        if (index.column() == ValueColumn) {
            const auto [start, end] = shownLine(index.row());
            return row.value.mid(start, end - start);
        }
        return columnText(row, index.column());
    case Qt::EditRole:
        return columnText(row, index.column());
    case Qt::SizeHintRole:
        return QSize(-1, RowHeight);
    case RangesRole:
        if (index.column() != ValueColumn || !m_searchStringShown)
            return {};
        return QVariant::fromValue(rangesOnShownLine(index.row()));
    case CurrentRangeRole:
        return index.row() == m_cursor.row ? m_cursor.rangeIndex : -1;
    default:
        return {};
    }
}

QVariant FindPanelResultsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    return L(ColumnIdentifiers.at(section));
}

Qt::ItemFlags FindPanelResultsModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (m_editable && index.column() == ValueColumn)
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool FindPanelResultsModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || index.column() != ValueColumn)
        return false;
    emit valueEdited(index.row(), value.toString());
    return true;
}

void FindPanelResultsModel::sort(int column, Qt::SortOrder order)
{
    if (m_results.isEmpty() || column < 0 || column >= ColumnCount)
        return;
    QCollator collator;
    collator.setNumericMode(true);
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::stable_sort(
        m_results.begin(), m_results.end(), [&](const SearchResultRowPtr &a, const SearchResultRowPtr &b) {
            const int compared = collator.compare(columnText(*a, column), columnText(*b, column));
            return order == Qt::AscendingOrder ? compared < 0 : compared > 0;
        });
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
