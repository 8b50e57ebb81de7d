#pragma once

#include <QTableView>

// The grid's table. It remembers the row and column of the last click (the right-clicked row of a
// context menu, the double-clicked cell) until the next key press, never lets a click empty the
// selection, and leaves the selection alone on a right-click, which acts on the clicked row beside
// the selected ones. Its last column takes the width left over by the others.
class GridTableView : public QTableView
{
    Q_OBJECT

public:
    explicit GridTableView(QWidget *parent = nullptr);

    // -1 when the last click hit no row or column.
    int clickedRow() const { return m_clickedRow; }
    int clickedColumn() const { return m_clickedColumn; }
    void setClickedRow(int row) { m_clickedRow = row; }
    // Rows from top to bottom; the row of the current index when it is selected, else the last.
    QList<int> selectedRowIndexes() const;
    int selectedRow() const;
    // The last shown column, which is widened to fill the table: its width then is the table's,
    // not one the user chose.
    bool isFillingColumn(int column) const;

signals:
    // The first time the table is shown.
    void willAppear();
    // A right-click at the clicked row and column (either may be -1).
    void contextMenuRequested(const QPoint &globalPosition);
    // The user began dragging the selected rows.
    void dragRequested();

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void startDrag(Qt::DropActions) override { emit dragRequested(); }
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event = nullptr) const override;

private:
    bool isSelectableRow(int row) const;

    int m_clickedRow = -1;
    int m_clickedColumn = -1;
    bool m_appeared = false;
    // The last column is being given back its own width.
    bool m_refitting = false;
};
