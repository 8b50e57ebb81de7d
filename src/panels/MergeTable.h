#pragma once

#include "panels/MergeCellFactory.h"
#include "panels/MergeRow.h"

#include <QObject>
#include <QLineEdit>
#include <QPointer>
#include <QTableView>

class MergeTableModel;
class QWidget;

// One side of the merge sheet: its table view, its rows and their cells. The sheet hands it new
// rows at every reload; the table keeps its selected rows across reloads and edits a text in place
// when asked to.
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

signals:
    // The user double-clicked a row.
    void rowDoubleClicked(int row);
    // An edit in place began; textEdited ends it.
    void textEditBegan();
    void textEdited(int row, const QString &text);
    // The Name Display popup chose person (true) or company.
    void nameDisplayChosen(bool showAsPerson);

private:
    void applyCells(const MergeCellFactory::Context &context);
    void fitTypeColumn(const QFont &font);

    QPointer<QTableView> m_tableView;
    MergeTableModel *m_model;
    MergeRowTable m_rows;
    double m_rowHeight = 20.0;
    QPointer<QLineEdit> m_editor;
    int m_editingRow = -1;
};
