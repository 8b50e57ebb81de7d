#pragma once

#include <QAbstractListModel>
#include <QStringList>
#include <QVariantList>

// The address list's item table: which fields are printed (a tick per row) and in which order (a
// row dragged to another place). It edits a copy of the options' "itemTable" and reports every
// change with changed(); entries() hands the table back.
//
// Drags: one row at a time, as its row number, within this table only; nothing goes above the
// first row, which holds "Name".
class ItemTableModel : public QAbstractListModel
{
    Q_OBJECT

public:
    static inline const QString RowMimeType = QStringLiteral("application/x-print-item-row");

    using QAbstractListModel::QAbstractListModel;

    void setEntries(const QVariantList &entries);
    QVariantList entries() const { return m_entries; }
    // Ticks the entries of the shown columns, never unticks; "Name" keeps its own state.
    static void tickColumns(QVariantList &entries, const QStringList &columns);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    Qt::DropActions supportedDropActions() const override { return Qt::MoveAction; }
    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;
    bool canDropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                         const QModelIndex &parent) const override;
    bool dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                      const QModelIndex &parent) override;

signals:
    void changed();

private:
    QVariantList m_entries;
};
