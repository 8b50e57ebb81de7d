#pragma once

#include "grid/GridCell.h"
#include "grid/GridState.h"

#include <QStyledItemDelegate>

class QTextLayout;

// Draws the grid's cells by kind: the name with the contact's picture (and the company under it),
// plain text, a labelled value with its label popup, the footer; multi-line values top-aligned,
// find occurrences on light grey and the current hit on orange. Edits do not happen here: they go
// through the view controller's undoable methods.
class GridCellDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit GridCellDelegate(const GridState &state, QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    // Where a labelled value's popup and its text lie in the cell (empty when hidden).
    QRect labelRect(const QRect &cellRect, const GridCell &cell) const;
    QRect textRect(const QRect &cellRect, const GridCell &cell) const;

    static QColor findColor();
    static QColor currentHitColor();

private:
    void paintName(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index,
                   const GridCell &cell) const;
    void paintPopup(QPainter *painter, const QStyleOptionViewItem &option, const GridCell &cell) const;
    void paintFooter(QPainter *painter, const QStyleOptionViewItem &option, const GridCell &cell) const;
    void paintText(QPainter *painter, const QRect &rect, const QFont &font, const QColor &color,
                   const GridCell &cell) const;
    QColor textColor(const QStyleOptionViewItem &option) const;
    int bandTop(const QRect &cellRect, qreal lineHeight) const;
    int imageSide() const;

    const GridState &m_state;
};
