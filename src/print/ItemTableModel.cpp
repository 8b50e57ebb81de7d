#include "print/ItemTableModel.h"

#include "model/QNPerson.h"
#include "print/OptionValue.h"
#include "print/PrintKeys.h"

#include <QMimeData>

using namespace PrintKey;

namespace {

const QString NameTitle = QStringLiteral("Name");

QVariantMap entryAt(const QVariantList &entries, int row)
{
    return entries.value(row).toMap();
}

bool isEnabled(const QVariantMap &entry)
{
    return entry.value(Title).toString() != NameTitle && OptionValue::toBool(entry.value(Enabled, true));
}

} // namespace

void ItemTableModel::setEntries(const QVariantList &entries)
{
    beginResetModel();
    m_entries = entries;
    endResetModel();
}

void ItemTableModel::tickColumns(QVariantList &entries, const QStringList &columns)
{
    for (QVariant &value : entries) {
        QVariantMap entry = value.toMap();
        const QString title = entry.value(Title).toString();
        if (title == NameTitle || !columns.contains(title))
            continue;
        entry.insert(State, true);
        value = entry;
    }
}

int ItemTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_entries.size());
}

QVariant ItemTableModel::data(const QModelIndex &index, int role) const
{
    const QVariantMap entry = entryAt(m_entries, index.row());
    switch (role) {
    case Qt::DisplayRole:
        return QNPerson::localizedIdentifierForKey(entry.value(Title).toString());
    case Qt::CheckStateRole:
        return OptionValue::toBool(entry.value(State)) ? Qt::Checked : Qt::Unchecked;
    case Qt::UserRole:
        return entry.value(Title);
    default:
        return {};
    }
}

bool ItemTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::CheckStateRole || !index.isValid() || !isEnabled(entryAt(m_entries, index.row())))
        return false;
    QVariantMap entry = entryAt(m_entries, index.row());
    entry.insert(State, value.toInt() == Qt::Checked);
    m_entries[index.row()] = entry;
    emit dataChanged(index, index, {Qt::CheckStateRole});
    emit changed();
    return true;
}

Qt::ItemFlags ItemTableModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;
    if (isEnabled(entryAt(m_entries, index.row())))
        flags |= Qt::ItemIsEnabled | Qt::ItemIsDragEnabled;
    return flags;
}

QStringList ItemTableModel::mimeTypes() const
{
    return {RowMimeType, QStringLiteral("text/plain")};
}

QMimeData *ItemTableModel::mimeData(const QModelIndexList &indexes) const
{
    // "Name" stays first: it cannot be dragged, and nothing can be dropped above it.
    if (indexes.size() != 1 || entryAt(m_entries, indexes.first().row()).value(Title) == NameTitle)
        return nullptr;
    auto *data = new QMimeData;
    const QByteArray row = QByteArray::number(indexes.first().row());
    data->setData(RowMimeType, row);
    data->setText(QString::fromLatin1(row));
    return data;
}

bool ItemTableModel::canDropMimeData(const QMimeData *data, Qt::DropAction action, int row, int,
                                     const QModelIndex &parent) const
{
    // A drop between rows only (the view gives -1 for one onto a row or past the end).
    return data && data->hasFormat(RowMimeType) && action == Qt::MoveAction && !parent.isValid() && row > 0 &&
           row <= rowCount();
}

bool ItemTableModel::dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                                  const QModelIndex &parent)
{
    if (!canDropMimeData(data, action, row, column, parent))
        return false;
    bool ok = false;
    const int from = data->data(RowMimeType).toInt(&ok);
    if (!ok || from < 0 || from >= rowCount())
        return false;
    // Moved here rather than removed by the view afterwards: the model has no removeRows.
    beginResetModel();
    const QVariant entry = m_entries.takeAt(from);
    m_entries.insert(from >= row ? row : row - 1, entry);
    endResetModel();
    emit changed();
    return true;
}
