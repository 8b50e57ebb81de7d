#include "detail/DetailTableModel.h"

#include "model/QNPerson.h"

DetailTableModel::DetailTableModel(const DetailRowTable &rows, QObject *parent)
    : QAbstractTableModel(parent), m_rows(rows)
{
}

void DetailTableModel::reload(const std::function<void()> &rebuild)
{
    beginResetModel();
    rebuild();
    endResetModel();
}

int DetailTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int DetailTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant DetailTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size() || role != Qt::AccessibleTextRole)
        return QVariant();
    const DetailRow &row = *m_rows.at(index.row());
    return index.column() == 0 ? QNPerson::localizedIdentifierForKey(row.type)
                               : row.label.value_or(QString());
}

QVariant DetailTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QVariant();
    return columnIdentifier(section);
}

QString DetailTableModel::columnIdentifier(int column)
{
    return column == 0 ? QStringLiteral("Type") : QStringLiteral("Value");
}
