#pragma once

#include <QStyledItemDelegate>

#include <functional>

// Draws the sidebar's rows at the sidebar's row height and places the name editor inside the row,
// one point below its top and two points less high.
class GroupCellDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    GroupCellDelegate(std::function<double()> rowHeight, QObject *parent = nullptr);

    // The editor takes the row's font.
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                              const QModelIndex &index) const override;

private:
    std::function<double()> m_rowHeight;
};
