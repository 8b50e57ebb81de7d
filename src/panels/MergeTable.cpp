#include "panels/MergeTable.h"

#include "panels/MergeTableModel.h"

#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "ui/widgets/DetailPopupAndTextCell.h"
#include "ui/widgets/ValueFields.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTableView>

#include <algorithm>

namespace {
constexpr int TypeColumnMinimumWidth = 100;
constexpr int TypeColumnMaximumWidth = 220;
// The icon, its gaps and the cell's margins.
constexpr int TypeColumnDecoration = 40;
} // namespace

MergeTable::MergeTable(QWidget *parentWidget, QObject *parent)
    : QObject(parent), m_tableView(new MergeTableView(parentWidget)), m_model(new MergeTableModel(m_rows, this)),
      m_rowMenu(new QMenu(m_tableView))
{
    m_tableView->setModel(m_model);
    m_tableView->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_tableView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tableView->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_tableView->setShowGrid(false);
    m_tableView->verticalHeader()->hide();
    m_tableView->horizontalHeader()->setStretchLastSection(true);
    m_tableView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_tableView, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex &index) { emit cellDoubleClicked(index.row(), index.column()); });
    connect(m_tableView, &QWidget::customContextMenuRequested, this, &MergeTable::showRowMenu);
}

void MergeTable::setDragHandler(MergeDragHandler *handler)
{
    m_tableView->setDragHandler(handler);
}

void MergeTable::installRowMenu(RowMenuBuilder builder)
{
    m_rowMenuBuilder = std::move(builder);
}

void MergeTable::menuNeedsUpdate(int row, int column)
{
    m_clickedRow = row;
    m_clickedColumn = column;
    m_rowMenu->clear();
    if (m_rowMenuBuilder)
        m_rowMenuBuilder(m_rowMenu, row, column);
}

void MergeTable::showRowMenu(const QPoint &position)
{
    const QModelIndex index = m_tableView->indexAt(position);
    menuNeedsUpdate(index.isValid() ? index.row() : -1, index.isValid() ? index.column() : -1);
    if (!m_rowMenu->isEmpty())
        m_rowMenu->popup(m_tableView->viewport()->mapToGlobal(position));
}

QRect MergeTable::cellRect(int row, int column) const
{
    const QRect rect = m_tableView->visualRect(m_model->index(row, column));
    return QRect(m_tableView->viewport()->mapTo(m_tableView, rect.topLeft()), rect.size());
}

void MergeTable::setRows(const MergeRowTable &rows, const MergeCellFactory::Context &context)
{
    const QList<int> selected = selectedRows();
    m_editor = nullptr;
    m_editingRow = -1;
    m_rowHeight = context.rowHeight;
    m_model->reload([&] { m_rows = rows; });
    for (int row = 0; row < m_rows.size(); ++row) {
        const int lines = std::max(m_rows.at(row).numLines.value_or(1), 1);
        m_tableView->verticalHeader()->resizeSection(row, int(lines < 2 ? m_rowHeight : lines * m_rowHeight));
    }
    applyCells(context);
    fitTypeColumn(context.font);
    selectRows(selected);
}

// Wide enough for the longest kind's name beside its icon, but never most of the table.
void MergeTable::fitTypeColumn(const QFont &font)
{
    const QFontMetrics metrics(font);
    int width = TypeColumnMinimumWidth;
    for (const MergeRow &row : std::as_const(m_rows))
        width = std::max(width, metrics.horizontalAdvance(QNPerson::localizedIdentifierForKey(row.type)) +
                                    TypeColumnDecoration);
    m_tableView->setColumnWidth(MergeCellFactory::TypeColumn, std::min(width, TypeColumnMaximumWidth));
}

void MergeTable::clear()
{
    setRows({}, {});
}

void MergeTable::applyCells(const MergeCellFactory::Context &context)
{
    const MergeCellFactory factory(context);
    for (int row = 0; row < m_rows.size(); ++row) {
        for (int column = 0; column < m_model->columnCount(); ++column) {
            QWidget *cell = factory.makeCell(m_rows, row, column);
            if (!cell)
                continue;
            m_tableView->setIndexWidget(m_model->index(row, column), cell);
            if (column == MergeCellFactory::ValueColumn)
                connectCell(cell, row);
        }
    }
}

void MergeTable::connectCell(QWidget *cell, int row)
{
    const QString type = m_rows.at(row).type;
    if (type == PersonIdentifier::NameDisplay) {
        if (auto *popup = qobject_cast<QComboBox *>(cell))
            connect(popup, &QComboBox::activated, this, [this](int index) { emit nameDisplayChosen(index == 0); });
        return;
    }
    auto *labeled = qobject_cast<DetailPopupAndTextCell *>(cell);
    if (!labeled)
        return;
    connect(labeled, &DetailPopupAndTextCell::labelChosen, this,
            [this, row](const QString &label) { emit labelChosen(row, label); });
}

QList<int> MergeTable::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex &index : m_tableView->selectionModel()->selectedRows())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void MergeTable::selectRows(const QList<int> &rows)
{
    QItemSelection selection;
    for (int row : rows) {
        if (row >= 0 && row < m_rows.size())
            selection.select(m_model->index(row, 0), m_model->index(row, m_model->columnCount() - 1));
    }
    m_tableView->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

QWidget *MergeTable::cellView(int row, int column) const
{
    return m_tableView->indexWidget(m_model->index(row, column));
}

void MergeTable::beginTextEdit(int row, const QString &text)
{
    if (row < 0 || row >= m_rows.size())
        return;
    commitTextEdit();
    auto *editor = new QLineEdit;
    ValueFields::takeWholeValues(editor);
    editor->setText(text);
    editor->setFont(m_tableView->font());
    editor->setFrame(false);
    // Return, Tab and a click elsewhere all end the edit.
    // An editor on its way out may still finish; only the open one commits.
    connect(editor, &QLineEdit::editingFinished, this, [this, editor] {
        if (m_editor == editor)
            commitTextEdit();
    });
    editor->installEventFilter(this);
    m_editingRow = row;
    m_editor = editor;
    m_tableView->setIndexWidget(m_model->index(row, MergeCellFactory::ValueColumn), editor);
    editor->setFocus();
    editor->selectAll();
    emit textEditBegan();
}

void MergeTable::commitTextEdit()
{
    if (!m_editor)
        return;
    const QString text = m_editor->text();
    const int row = m_editingRow;
    // Cleared first: the reload that follows replaces the editor.
    m_editor = nullptr;
    m_editingRow = -1;
    emit textEdited(row, text);
}

void MergeTable::cancelTextEdit()
{
    if (!m_editor)
        return;
    // Cleared first, so that the editor's losing the focus commits nothing.
    m_editor = nullptr;
    m_editingRow = -1;
    m_tableView->setFocus();
    emit textEditCancelled();
}

// Return and Tab end the edit and move it on; the focus does not leave for the next widget.
// Escape gives up the edit alone: the sheet around it would take it as its own Cancel.
bool MergeTable::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_editor || event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent *>(event)->key();
    if (key == Qt::Key_Escape) {
        cancelTextEdit();
        return true;
    }
    if (key != Qt::Key_Return && key != Qt::Key_Enter && key != Qt::Key_Tab)
        return false;
    const int row = m_editingRow;
    commitTextEdit();
    emit textEditAdvanced(row);
    return true;
}
