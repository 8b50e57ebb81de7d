#include "sidebar/GroupCellDelegate.h"

#include <QFont>
#include <QWidget>

#include <cmath>

GroupCellDelegate::GroupCellDelegate(std::function<double()> rowHeight, QObject *parent)
    : QStyledItemDelegate(parent), m_rowHeight(std::move(rowHeight))
{
}

QWidget *GroupCellDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                         const QModelIndex &index) const
{
    QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
    const QVariant font = index.data(Qt::FontRole);
    if (editor && font.canConvert<QFont>())
        editor->setFont(font.value<QFont>());
    return editor;
}

QSize GroupCellDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(int(std::ceil(m_rowHeight())));
    return size;
}

void GroupCellDelegate::updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                                             const QModelIndex &index) const
{
    QStyledItemDelegate::updateEditorGeometry(editor, option, index);
    QRect frame = editor->geometry();
    frame.setTop(option.rect.top() + 1);
    frame.setHeight(qMax(1, int(std::ceil(m_rowHeight())) - 2));
    editor->setGeometry(frame);
}
