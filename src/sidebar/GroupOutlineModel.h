#pragma once

#include "model/AddressBookRecords.h"

#include <QAbstractItemModel>

class GroupViewController;

// The sidebar's outline over the address book: one top-level row per container, under it one row
// per group not marked deleted, in array order. It reads the controller's tree on every call and
// keeps nothing of its own, so a change of the tree shows after reload(). What may be selected,
// edited and dropped on is the controller's decision.
class GroupOutlineModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    explicit GroupOutlineModel(GroupViewController &controller, QObject *parent = nullptr);

    // The tree may have changed in any way.
    void reload();

    // Null unless the index is a row of that kind.
    ContainerDictPtr containerAt(const QModelIndex &index) const;
    GroupDictPtr groupAt(const QModelIndex &index) const;
    QModelIndex indexOfContainer(const ContainerDictPtr &container) const;
    // Invalid for a group that is not shown (deleted, or in no container of the table).
    QModelIndex indexOfGroup(const GroupDictPtr &group) const;

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // A finished in-place edit; the controller hears of it once the editor has closed.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    QStringList mimeTypes() const override;
    Qt::DropActions supportedDropActions() const override;
    bool canDropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                         const QModelIndex &parent) const override;
    bool dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                      const QModelIndex &parent) override;

private:
    // The groups a container shows.
    static QList<GroupDictPtr> shownGroups(const ContainerDict &container);

    GroupViewController &m_controller;
};
