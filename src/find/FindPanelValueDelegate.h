#pragma once

#include <QStyledItemDelegate>

// Draws the line of a result's value that its row shows, with its matches marked: the current
// match orange, the others in the selected-text colour. Ranges that do not lie in the text are not
// drawn. Its editor takes a value of any length.
class FindPanelValueDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit FindPanelValueDelegate(QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
};
