#include "grid/GridKeyNavigation.h"

#include "grid/ContactsViewController.h"
#include "grid/GridCellEditing.h"
#include "grid/GridField.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"

#include <QAbstractItemDelegate>
#include <QChildEvent>
#include <QHeaderView>
#include <QKeyEvent>

namespace {

const QString AddressIdentifier = QStringLiteral("Address");
const QString InstantMessageIdentifier = QStringLiteral("Instant Message");
const QString DatesIdentifier = QStringLiteral("Dates");

// Columns whose values are edited in popovers, never in the cell.
bool isPopoverColumn(const QString &identifier)
{
    static const QStringList popoverColumns{PersonIdentifier::Name, PersonIdentifier::PhoneticName,
                                            AddressIdentifier,      InstantMessageIdentifier,
                                            DatesIdentifier,        PersonIdentifier::Birthday,
                                            PersonIdentifier::Photo};
    return popoverColumns.contains(identifier);
}

} // namespace

GridKeyNavigation::GridKeyNavigation(GridCommandHost &host, QObject *parent) : QObject(parent), m_host(host)
{
    // Cell editors are children of the viewport: each is watched from its first showing on.
    if (GridTableView *table = m_host.grid().gridTableView())
        table->viewport()->installEventFilter(this);
    connect(m_host.grid().cellEditing(), &GridCellEditing::stepRetaken, this, &GridKeyNavigation::retakeStep);
}

void GridKeyNavigation::watchEditor(QWidget *editor)
{
    editor->installEventFilter(this);
    for (QWidget *part : editor->findChildren<QWidget *>())
        part->installEventFilter(this);
}

int GridKeyNavigation::rowCount() const
{
    return int(m_host.grid().gridRows().size());
}

bool GridKeyNavigation::hasTextField(int row, int column) const
{
    const SubContactRowPtr subContact = m_host.rowAt(row);
    const QString identifier = m_host.identifierOfColumn(column);
    if (!subContact || identifier.isEmpty() || isPopoverColumn(identifier))
        return false;
    if (GridField::isAddressPart(identifier))
        return true;
    const QString type = m_host.valueType(identifier, *subContact->person);
    return type == PersonValueType::Labeled || type == PersonValueType::String;
}

bool GridKeyNavigation::holdsValue(int row, const QString &listIdentifier) const
{
    const SubContactRowPtr subContact = m_host.rowAt(row);
    return subContact &&
           subContact->person->labeledValueForIdentifierAtIndex(listIdentifier, subContact->labelIndex)
               .has_value();
}

template <typename Qualifies>
int GridKeyNavigation::searchRows(int from, int current, Qualifies qualifies) const
{
    // `from` may lie anywhere after a re-sort, so the current row is passed over, not the end.
    const int count = rowCount();
    for (int tested = 0; tested < count; ++tested) {
        const int row = (from + tested) % count;
        if ((row != current || count == 1) && qualifies(row))
            return row;
    }
    return -1;
}

GridKeyNavigation::Move GridKeyNavigation::moveForTab(int row, int column) const
{
    const int columns = int(m_host.grid().columns().size());
    const int count = rowCount();
    if (row < 0 || row >= count || column < 0 || column >= columns)
        return {};
    // Columns follow each other as the header shows them, moved ones included.
    const QHeaderView *header = m_host.grid().gridTableView()->horizontalHeader();
    int nextRow = row;
    int nextVisual = header->visualIndex(column) + 1;
    if (nextVisual >= columns) {
        // The first column is the name, which is never edited in place.
        nextVisual = std::min(1, columns - 1);
        nextRow = (row + 1) % count;
    }
    const int nextColumn = header->logicalIndex(nextVisual);
    if (!hasTextField(nextRow, nextColumn))
        return {};
    return {Move::Kind::Edit, nextRow, nextColumn};
}

GridKeyNavigation::Move GridKeyNavigation::moveForReturn(int row, int column, std::optional<int> below) const
{
    const int count = rowCount();
    const QString identifier = m_host.identifierOfColumn(column);
    if (row < 0 || row >= count || identifier.isEmpty() || (below && (*below < 0 || *below >= count)))
        return {};
    const int nextRow = below.value_or((row + 1) % count);
    auto openEditor = [&](GridEditor editor, bool passOn = false) {
        return Move{Move::Kind::OpenEditor, nextRow, column, editor, passOn};
    };
    if (identifier == PersonIdentifier::Name)
        return openEditor(GridEditor::Name);
    if (identifier == PersonIdentifier::PhoneticName)
        return openEditor(GridEditor::PhoneticName);
    if (identifier == AddressIdentifier)
        return openEditor(GridEditor::Address);
    if (identifier == InstantMessageIdentifier)
        return openEditor(GridEditor::InstantMessage);
    if (identifier == DatesIdentifier || identifier == PersonIdentifier::Birthday)
        return openEditor(GridEditor::Date, true);
    const SubContactRowPtr current = m_host.rowAt(row);
    const bool labeled = GridField::isAddressPart(identifier) ||
                         m_host.valueType(identifier, *current->person) == PersonValueType::Labeled;
    const QString list = GridField::isAddressPart(identifier) ? AddressIdentifier : identifier;
    const int found = searchRows(nextRow, row, [&](int candidate) {
        return hasTextField(candidate, column) && (!labeled || holdsValue(candidate, list));
    });
    if (found < 0)
        return {};
    return {Move::Kind::Edit, found, column};
}

std::optional<GridKeyNavigation::Move> GridKeyNavigation::moveForKey(int key, Qt::KeyboardModifiers modifiers,
                                                                     int row, int column,
                                                                     std::optional<int> below) const
{
    if (!m_host.grid().editState() || (modifiers & Qt::ShiftModifier))
        return std::nullopt;
    Move move;
    if (key == Qt::Key_Tab)
        move = moveForTab(row, column);
    else if (key == Qt::Key_Return || key == Qt::Key_Enter)
        move = moveForReturn(row, column, below);
    if (move.kind == Move::Kind::Pass)
        return std::nullopt;
    return move;
}

bool GridKeyNavigation::handleKey(int key, Qt::KeyboardModifiers modifiers, int row, int column)
{
    const std::optional<Move> move = moveForKey(key, modifiers, row, column);
    return move && perform(*move, key, row, column);
}

void GridKeyNavigation::retakeStep(int key, int row, int column, int belowRow)
{
    const std::optional<int> below = belowRow >= 0 ? std::optional<int>(belowRow) : std::nullopt;
    if (const std::optional<Move> move = moveForKey(key, {}, row, column, below))
        perform(*move, key, row, column);
}

bool GridKeyNavigation::perform(const Move &move, int key, int row, int column)
{
    const SubContactRowPtr next = m_host.rowAt(move.row);
    if (!next)
        return false;
    m_host.selectRowAlone(move.row);
    if (move.kind == Move::Kind::Edit) {
        // The text goes to the row it is typed in, whatever is selected when the edit ends.
        const SubContactRowPtr below = m_host.rowAt((row + 1) % rowCount());
        m_host.grid().cellEditing()->startInPlaceEditing(
            move.column, move.row, {move.row}, GridCellEditing::Step{key, m_host.rowAt(row), column, below});
        return true;
    }
    emit editorRequested({move.editor, next, m_host.identifierOfColumn(move.column), next->labelIndex,
                          m_host.cellRect(move.row, move.column),
                          GridTargets(m_host.grid().gridRows(), {move.row})});
    return !move.passOn;
}

void GridKeyNavigation::closeEditor(QWidget *editor)
{
    GridTableView *table = m_host.grid().gridTableView();
    QAbstractItemDelegate *delegate = table->itemDelegate();
    if (!delegate)
        return;
    emit delegate->commitData(editor);
    emit delegate->closeEditor(editor, QAbstractItemDelegate::NoHint);
}

// The editor's place in the table's viewport names the cell it edits. The move is decided before
// the editor commits, since its commit may reload the rows.
bool GridKeyNavigation::eventFilter(QObject *watched, QEvent *event)
{
    GridTableView *table = m_host.grid().gridTableView();
    if (!table)
        return false;
    if (watched == table->viewport()) {
        if (event->type() == QEvent::ChildPolished) {
            if (auto *child = qobject_cast<QWidget *>(static_cast<QChildEvent *>(event)->child()))
                watchEditor(child);
        }
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    auto *editor = qobject_cast<QWidget *>(watched);
    if (!editor || !table->viewport()->isAncestorOf(editor))
        return false;
    const QModelIndex index = table->indexAt(editor->mapTo(table->viewport(), editor->rect().center()));
    if (!index.isValid())
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    const std::optional<Move> move = moveForKey(key->key(), key->modifiers(), index.row(), index.column());
    if (!move)
        return false;
    if (!move->passOn)
        closeEditor(editor);
    return perform(*move, key->key(), index.row(), index.column());
}
