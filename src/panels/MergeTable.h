#pragma once

#include "panels/MergeCellFactory.h"
#include "panels/MergeRow.h"
#include "panels/MergeTableView.h"

#include <QObject>
#include <QLineEdit>
#include <QPointer>
#include <QTableView>

#include <functional>

class MergeDragHandler;
class MergeTableModel;
class QMenu;
class QWidget;

// One side of the merge sheet: its table view, its rows and their cells. The sheet hands it new
// rows at every reload; the table keeps its selected rows across reloads, edits a text in place
// when asked to, and hands drags, drops and its row menu to the sheet.
class MergeTable : public QObject
{
    Q_OBJECT

public:
    explicit MergeTable(QWidget *parentWidget, QObject *parent = nullptr);

    QTableView *tableView() const { return m_tableView; }
    const MergeRowTable &rows() const { return m_rows; }
    double rowHeight() const { return m_rowHeight; }

    // Rebuilds the rows, their heights and cells, then selects the rows selected before.
    void setRows(const MergeRowTable &rows, const MergeCellFactory::Context &context);
    // No rows, no cells.
    void clear();
    // The rows that were selected, for the sheet to move the selection after a delete.
    QList<int> selectedRows() const;
    void selectRows(const QList<int> &rows);
    QWidget *cellView(int row, int column) const;

    // Edits that row's text in place, starting from `text`; the editor replaces the value cell.
    void beginTextEdit(int row, const QString &text);
    bool isEditingText() const { return m_editor != nullptr; }
    QLineEdit *textEditor() const { return m_editor; }
    // Ends an edit in place, handing its text on (textEdited); nothing when none is open.
    void commitTextEdit();
    // Gives up an edit in place: nothing is handed on (textEditCancelled) and the focus goes back
    // to the table.
    void cancelTextEdit();

    void setDragHandler(MergeDragHandler *handler);

    // The row menu, rebuilt by `builder` for the clicked row and column each time it opens; a
    // menu left empty does not open. Replaces any menu installed before.
    using RowMenuBuilder = std::function<void(QMenu *menu, int row, int column)>;
    void installRowMenu(RowMenuBuilder builder);
    QMenu *rowMenu() const { return m_rowMenu; }
    // Rebuilds the row menu for that cell as a right click there does; the clicked row and
    // column stay known to the menu's actions.
    void menuNeedsUpdate(int row, int column);
    int clickedRow() const { return m_clickedRow; }
    int clickedColumn() const { return m_clickedColumn; }
    // The rectangle of a cell in the table view's coordinates.
    QRect cellRect(int row, int column) const;

signals:
    // The user double-clicked a cell.
    void cellDoubleClicked(int row, int column);
    // An edit in place began; textEdited ends it.
    void textEditBegan();
    void textEdited(int row, const QString &text);
    // The edit in place was given up; its cell is to show the value again.
    void textEditCancelled();
    // Return or Tab ended the edit in place of that row: the edit moves on.
    void textEditAdvanced(int row);
    // The Name Display popup chose person (true) or company.
    void nameDisplayChosen(bool showAsPerson);
    // A labelled row's popup chose that label (stored, not shown, text).
    void labelChosen(int row, const QString &label);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void applyCells(const MergeCellFactory::Context &context);
    void connectCell(QWidget *cell, int row);
    void fitTypeColumn(const QFont &font);
    void showRowMenu(const QPoint &position);

    QPointer<MergeTableView> m_tableView;
    MergeTableModel *m_model;
    MergeRowTable m_rows;
    double m_rowHeight = 20.0;
    QPointer<QLineEdit> m_editor;
    int m_editingRow = -1;
    QMenu *m_rowMenu = nullptr;
    RowMenuBuilder m_rowMenuBuilder;
    int m_clickedRow = -1;
    int m_clickedColumn = -1;
};
