#include "grid/GridModel.h"

#include "grid/GridCellBuilder.h"
#include "model/QNPerson.h"

namespace {

constexpr int ThumbnailSide = 64;

QVariantList variantFromRanges(const QList<FindHighlight::Range> &ranges)
{
    QVariantList list;
    for (const FindHighlight::Range &range : ranges)
        list.append(FindHighlight::variantFromRange(range));
    return list;
}

} // namespace

GridModel::GridModel(const GridState &state, QObject *parent) : QAbstractTableModel(parent), m_state(state) {}

int GridModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() || !m_state.contactTable)
        return 0;
    return int(m_state.subContactTable.size()) + 1;
}

int GridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_state.columns.size());
}

bool GridModel::isFooterRow(int row) const
{
    return m_state.contactTable && row == m_state.subContactTable.size();
}

Qt::ItemFlags GridModel::flags(const QModelIndex &index) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return Qt::NoItemFlags;
    if (isFooterRow(index.row()))
        return Qt::ItemIsEnabled;
    // The grid decides which cells edit in place and starts the edit itself; the table has no
    // edit triggers of its own.
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsDragEnabled;
}

GridCell GridModel::cell(const QModelIndex &index) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    return GridCellBuilder(m_state).cellAt(index.row(), index.column());
}

QVariant GridModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return QVariant();
    if (role == IdentifierRole)
        return m_state.columns.at(index.column()).identifier;
    if (!isFooterRow(index.row())) {
        const QVariant value = rowData(index.row(), role);
        if (value.isValid())
            return value;
    }
    return cellData(index, role);
}

QVariant GridModel::rowData(int row, int role) const
{
    const GridRows &rows = m_state.subContactTable;
    switch (role) {
    case SortRole:
        return rows.sortValue(row);
    case LabelIndexRole:
        return rows.labelIndex(row);
    case UniqueIdRole:
        return rows.uniqueId(row);
    case NotFirstRowRole:
        return rows.row(row).notFirstRow;
    case NumLinesRole:
        return rows.row(row).numLines;
    default:
        return QVariant();
    }
}

QVariant GridModel::cellData(const QModelIndex &index, int role) const
{
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return cell(index).text;
    case Qt::FontRole:
        return cell(index).kind == GridCell::Kind::Name ? m_state.selectedBoldfont : m_state.selectedFont;
    case Qt::DecorationRole: {
        const QPixmap picture = cell(index).showsImage ? thumbnail(index) : QPixmap();
        return picture.isNull() ? QVariant() : QVariant(picture);
    }
    case CellKindRole:
        return int(cell(index).kind);
    case DetailTextRole:
        return cell(index).detailText;
    case LabelTitleRole:
        return cell(index).labelTitle;
    case LabelIsCustomRole:
        return cell(index).customLabel;
    case LabeledValueRole:
        return cell(index).labeledValue;
    case TextEditableRole:
        return cell(index).textEditable;
    case FindRangesRole:
        return variantFromRanges(cell(index).findRanges);
    case CurrentHitRole: {
        const GridCell found = cell(index);
        return found.currentHit ? QVariant(FindHighlight::variantFromRange(*found.currentHit)) : QVariant();
    }
    default:
        return QVariant();
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_state.columns.size())
        return QVariant();
    if (role == Qt::DisplayRole)
        return m_state.columns.at(section).title;
    if (role == IdentifierRole)
        return m_state.columns.at(section).identifier;
    return QVariant();
}

QPixmap GridModel::thumbnail(const QModelIndex &index) const
{
    if (index.row() < 0 || index.row() >= m_state.subContactTable.size())
        return {};
    QNPerson *person = m_state.subContactTable.person(index.row());
    const auto cached = m_thumbnails.constFind(person);
    if (cached != m_thumbnails.cend())
        return *cached;
    QImage image = person->thumbnail();
    if (image.width() > ThumbnailSide || image.height() > ThumbnailSide)
        image = image.scaled(ThumbnailSide, ThumbnailSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    const QPixmap picture = QPixmap::fromImage(image);
    m_thumbnails.insert(person, picture);
    return picture;
}

void GridModel::reset(const std::function<void()> &change)
{
    beginResetModel();
    change();
    // A changed photo shows at the next reset; every edit ends in one.
    m_thumbnails.clear();
    endResetModel();
}

void GridModel::cellsChanged()
{
    if (rowCount() > 0 && columnCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}
