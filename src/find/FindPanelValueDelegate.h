#pragma once

#include <QStyledItemDelegate>

// Draws a result's value with its matches marked: the current match orange, the others in the
// selected-text colour. Ranges that do not lie in the text are not drawn.
class FindPanelValueDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
