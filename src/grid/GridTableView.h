#pragma once

#include <QPersistentModelIndex>
#include <QTableView>
#include <QTimer>

// The grid's table. It remembers the row and column of the last click (the right-clicked row of a
// context menu, the double-clicked cell) until the next key press and never lets a click empty the
// selection. A right-click outside the selection selects the clicked row alone, so that the row a
// menu command acts on is the one shown chosen; inside the selection it keeps it. A click on one
// of several selected rows selects it alone only once no double-click follows, so that a
// double-click acts on all of them. Its last column takes the width left over by the others.
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
    // Selects these whole rows and nothing else; the current index stays.
    void selectRows(const QList<int> &rows);
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
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void startDrag(Qt::DropActions) override { emit dragRequested(); }
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event = nullptr) const override;

private:
    bool isSelectableRow(int row) const;
    void noteClickAt(const QPoint &position);
    void selectRightClickedRow();
    // The click that wanted one of several selected rows alone gets it now.
    void collapseSelection();

    int m_clickedRow = -1;
    int m_clickedColumn = -1;
    bool m_appeared = false;
    // The row a click on the selection will select alone, unless a double-click follows in time.
    mutable QPersistentModelIndex m_collapseTo;
    QTimer m_collapseTimer;
    // The last column is being given back its own width.
    bool m_refitting = false;
};
