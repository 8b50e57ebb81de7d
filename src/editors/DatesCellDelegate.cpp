#include "editors/DatesCellDelegate.h"

#include <QLineEdit>

QWidget *DatesCellDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                         const QModelIndex &index) const
{
    QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto *field = qobject_cast<QLineEdit *>(editor))
        connect(field, &QLineEdit::textEdited, this, &DatesCellDelegate::editorTextEdited);
    m_editor = editor;
    return editor;
}

void DatesCellDelegate::commitOpenEditor()
{
    if (m_editor)
        emit commitData(m_editor);
}
