#include "sidebar/GroupOutlineModel.h"

#include "sidebar/GroupViewController.h"
#include "platform/widgets/PasteboardTypes.h"

#include <QMimeData>

namespace {

// Group rows carry their container's row plus one; container rows carry 0.
constexpr quintptr ContainerRowId = 0;

} // namespace

GroupOutlineModel::GroupOutlineModel(GroupViewController &controller, QObject *parent)
    : QAbstractItemModel(parent), m_controller(controller)
{
}

void GroupOutlineModel::reload()
{
    beginResetModel();
    endResetModel();
}

QList<GroupDictPtr> GroupOutlineModel::shownGroups(const ContainerDict &container)
{
    QList<GroupDictPtr> groups;
    for (const GroupDictPtr &group : container.groups) {
        if (group && !group->deleted)
            groups.append(group);
    }
    return groups;
}

ContainerDictPtr GroupOutlineModel::containerAt(const QModelIndex &index) const
{
    if (!index.isValid() || index.internalId() != ContainerRowId)
        return nullptr;
    return m_controller.containerTable().value(index.row());
}

GroupDictPtr GroupOutlineModel::groupAt(const QModelIndex &index) const
{
    if (!index.isValid() || index.internalId() == ContainerRowId)
        return nullptr;
    const ContainerDictPtr container = m_controller.containerTable().value(int(index.internalId() - 1));
    return container ? shownGroups(*container).value(index.row()) : nullptr;
}

QModelIndex GroupOutlineModel::indexOfContainer(const ContainerDictPtr &container) const
{
    const qsizetype row = container ? m_controller.containerTable().indexOf(container) : -1;
    return row < 0 ? QModelIndex() : createIndex(int(row), 0, ContainerRowId);
}

QModelIndex GroupOutlineModel::indexOfGroup(const GroupDictPtr &group) const
{
    if (!group)
        return {};
    const ContainerTable &table = m_controller.containerTable();
    for (qsizetype row = 0; row < table.size(); ++row) {
        if (!table[row])
            continue;
        const qsizetype position = shownGroups(*table[row]).indexOf(group);
        if (position >= 0)
            return createIndex(int(position), 0, quintptr(row + 1));
    }
    return {};
}

QModelIndex GroupOutlineModel::index(int row, int column, const QModelIndex &parent) const
{
    if (!hasIndex(row, column, parent))
        return {};
    if (!parent.isValid())
        return createIndex(row, column, ContainerRowId);
    return createIndex(row, column, quintptr(parent.row() + 1));
}

QModelIndex GroupOutlineModel::parent(const QModelIndex &child) const
{
    if (!child.isValid() || child.internalId() == ContainerRowId)
        return {};
    return createIndex(int(child.internalId() - 1), 0, ContainerRowId);
}

int GroupOutlineModel::rowCount(const QModelIndex &parent) const
{
    if (!parent.isValid())
        return int(m_controller.containerTable().size());
    if (parent.column() != 0)
        return 0;
    const ContainerDictPtr container = containerAt(parent);
    return container ? int(shownGroups(*container).size()) : 0;
}

int GroupOutlineModel::columnCount(const QModelIndex &) const
{
    return 1;
}

QVariant GroupOutlineModel::data(const QModelIndex &index, int role) const
{
    const ContainerDictPtr container = containerAt(index);
    const GroupDictPtr group = container ? nullptr : groupAt(index);
    if (!container && !group)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return container ? container->name : group->name;
    case Qt::FontRole:
        return m_controller.selectedFont();
    default:
        return {};
    }
}

Qt::ItemFlags GroupOutlineModel::flags(const QModelIndex &index) const
{
    if (containerAt(index))
        return Qt::ItemIsEnabled;
    if (!groupAt(index))
        return Qt::NoItemFlags;
    Qt::ItemFlags flags =
        Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren | Qt::ItemIsDropEnabled;
    if (m_controller.shouldEditTableColumn(index))
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool GroupOutlineModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    const GroupDictPtr group = groupAt(index);
    if (role != Qt::EditRole || !group)
        return false;
    // The rename reloads this model, which must not happen while the view is still committing.
    const QString text = value.toString();
    QMetaObject::invokeMethod(
        this, [this, group, text] { m_controller.textFieldCellChanged(group, text); }, Qt::QueuedConnection);
    return true;
}

// The grid's drag carries text and vCard data besides its row positions.
QStringList GroupOutlineModel::mimeTypes() const
{
    return {PasteboardTypes::mimeType(PasteboardTypes::String),
            PasteboardTypes::mimeType(PasteboardTypes::VCard),
            PasteboardTypes::mimeType(PasteboardTypes::StringIndexes)};
}

Qt::DropActions GroupOutlineModel::supportedDropActions() const
{
    return Qt::CopyAction;
}

// A row of -1 is a drop on the parent item itself; otherwise between its children.
bool GroupOutlineModel::canDropMimeData(const QMimeData *data, Qt::DropAction, int row, int,
                                        const QModelIndex &parent) const
{
    return m_controller.validateDrop(data, m_controller.draggingSource(), parent, row) == Qt::CopyAction;
}

bool GroupOutlineModel::dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                                     const QModelIndex &parent)
{
    return canDropMimeData(data, action, row, column, parent) && m_controller.acceptDrop(data, parent, row);
}
