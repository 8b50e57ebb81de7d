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

// A closed editor has handed its text over already (a click on Done closes it as it takes the
// focus); the view deletes it later, so the pointer alone would still find it.
void DatesCellDelegate::destroyEditor(QWidget *editor, const QModelIndex &index) const
{
    if (editor == m_editor)
        m_editor = nullptr;
    QStyledItemDelegate::destroyEditor(editor, index);
}
