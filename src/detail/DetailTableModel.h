#pragma once

#include "ui/contracts/DetailRow.h"

#include <QAbstractTableModel>

#include <functional>

// The detail table's rows for the view: two columns ("Type" and "Value") over the rows the
// controller holds. The cells are widgets, so the model carries only each row's accessible text.
class DetailTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit DetailTableModel(const DetailRowTable &rows, QObject *parent = nullptr);

    // Runs the rebuild of the rows between the begin and end of a model reset.
    void reload(const std::function<void()> &rebuild);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The columns' identifiers, "Type" and "Value".
    static QString columnIdentifier(int column);

private:
    const DetailRowTable &m_rows;
};
