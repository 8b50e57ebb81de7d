#pragma once

#include "grid/GridCell.h"
#include "grid/GridState.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QPixmap>

#include <functional>

class QNPerson;

// The grid's table model: a thin adapter over the controller's rows and columns. It holds no rows
// of its own; the controller rebuilds them inside reset(). The last row is the footer, which
// cannot be selected or edited.
class GridModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Role
    {
        // The row's value under the current sort key ("sortValue"): a text or date components.
        SortRole = Qt::UserRole + 1,
        // GridCell::Kind as an int.
        CellKindRole,
        // The second line of a name cell.
        DetailTextRole,
        // The shown title of a labelled value's popup; empty when hidden.
        LabelTitleRole,
        LabelIsCustomRole,
        // The labelled value a cell shows (a map), empty for none.
        LabeledValueRole,
        // The row's "labelIndex", "uniqueId", "notFirstRow" and "numLines".
        LabelIndexRole,
        UniqueIdRole,
        NotFirstRowRole,
        NumLinesRole,
        // The column's field.
        IdentifierRole,
        // Whether the cell's text may be edited in place.
        TextEditableRole,
        // The find marks: a list of {"location", "length"}, and the current hit or nothing.
        FindRangesRole,
        CurrentHitRole,
    };

    explicit GridModel(const GridState &state, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    GridCell cell(const QModelIndex &index) const;
    bool isFooterRow(int row) const;
    // The contact's picture, cached until the next reset.
    QPixmap thumbnail(const QModelIndex &index) const;

    // Runs change between a model reset's begin and end: the only way the rows or columns change.
    void reset(const std::function<void()> &change);
    // The cells are to be drawn again (font, find marks).
    void cellsChanged();

private:
    QVariant rowData(int row, int role) const;
    QVariant cellData(const QModelIndex &index, int role) const;

    const GridState &m_state;
    mutable QHash<const QNPerson *, QPixmap> m_thumbnails;
};
