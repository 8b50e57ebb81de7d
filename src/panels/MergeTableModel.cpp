#include "panels/MergeTableModel.h"

#include "model/QNPerson.h"
#include "platform/Localizer.h"

MergeTableModel::MergeTableModel(const MergeRowTable &rows, QObject *parent)
    : QAbstractTableModel(parent), m_rows(rows)
{
}

void MergeTableModel::reload(const std::function<void()> &rebuild)
{
    beginResetModel();
    rebuild();
    endResetModel();
}

int MergeTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int MergeTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant MergeTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size() || role != Qt::AccessibleTextRole)
        return QVariant();
    const MergeRow &row = m_rows.at(index.row());
    return index.column() == 0 ? QNPerson::localizedIdentifierForKey(row.type) : row.label.value_or(QString());
}

Qt::ItemFlags MergeTableModel::flags(const QModelIndex &index) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}

QVariant MergeTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section > 1)
        return QVariant();
    return L(columnIdentifier(section));
}

QString MergeTableModel::columnIdentifier(int column)
{
    return column == 0 ? QStringLiteral("Type") : QStringLiteral("Value");
}
