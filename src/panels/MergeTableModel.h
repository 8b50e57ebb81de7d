#pragma once

#include "panels/MergeRow.h"

#include <QAbstractTableModel>

#include <functional>

// One merge table's rows for the view: the columns "Type" and "Value" over the rows its table
// holds. The cells are widgets, so the model carries only each row's accessible text.
class MergeTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit MergeTableModel(const MergeRowTable &rows, QObject *parent = nullptr);

    // Runs the rebuild of the rows between the begin and end of a model reset.
    void reload(const std::function<void()> &rebuild);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    // Every row may be dragged; where a drag may land is the sheet's question, asked row by row
    // as it moves, so no row claims drops here.
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // The localized column identifier.
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    static QString columnIdentifier(int column);

private:
    const MergeRowTable &m_rows;
};
