#pragma once

#include <QTableWidget>

// The list editor's table: it hands Tab and Return in a cell, and a row dropped between rows,
// to the editor instead of moving by itself.
class ListEditorTableView : public QTableWidget
{
    Q_OBJECT

public:
    explicit ListEditorTableView(QWidget *parent = nullptr);

signals:
    // The cell at row, column ended its edit with Tab (byReturn false) or Return.
    void cellEditEnded(int row, int column, bool byReturn);
    void rowDropped(int sourceRow, int targetRow);

protected:
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    // The row a drop at pos goes before; -1 on a row itself, which moves nothing.
    int dropRowAt(const QPoint &pos) const;

    int m_draggingSourceIndex = -1;
};
