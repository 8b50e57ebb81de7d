#pragma once

#include <QPointer>
#include <QStyledItemDelegate>

// The dates table's delegate, which tells of typing in a cell and can hand an edit in progress to
// the table: Done takes the text being typed, as leaving the cell would.
class DatesCellDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void destroyEditor(QWidget *editor, const QModelIndex &index) const override;
    void commitOpenEditor();

signals:
    void editorTextEdited();

private:
    mutable QPointer<QWidget> m_editor;
};
