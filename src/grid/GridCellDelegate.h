#pragma once

#include "grid/GridCell.h"
#include "grid/GridState.h"

#include <QStyledItemDelegate>

class QTextLayout;

// Draws the grid's cells by kind: the name with the contact's picture (and the company under it),
// plain text, a labelled value with its label popup, the footer; multi-line values top-aligned,
// find occurrences on light grey and the current hit on orange. Its in-place editor never writes
// the model: the text it ends with is handed on (textCommitted) to the grid's commit, which goes
// through the undoable edits; a click on a label popup is handed on the same way.
class GridCellDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit GridCellDelegate(const GridState &state, QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;
    void updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                              const QModelIndex &index) const override;
    bool editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                     const QModelIndex &index) override;

    // Where a labelled value's popup and its text lie in the cell (empty when hidden).
    QRect labelRect(const QRect &cellRect, const GridCell &cell) const;
    QRect textRect(const QRect &cellRect, const GridCell &cell) const;

    static QColor findColor();
    static QColor currentHitColor();

signals:
    // An in-place edit of the cell ended with this text.
    void textCommitted(int row, int column, const QString &text);
    // A click on the cell's label popup, which lies at rect (viewport coordinates).
    void labelPopupClicked(int row, int column, const QRect &rect);

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
