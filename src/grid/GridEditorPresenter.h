#pragma once

#include "grid/GridState.h"
#include "grid/GridTargets.h"
#include "platform/widgets/Popover.h"
#include "ui/contracts/EditorContext.h"
#include "ui/contracts/ValueEditorFactory.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>

#include <optional>

class ContactsViewControllerDelegate;
class GridTableView;

// The grid as presenter of the value editors: it opens one editor at a time in the grid's one
// popover, anchored below a cell, hands it a fresh EditorContext and, when the popover closes
// with a dirty result, writes the result to every chosen contact through the undoable edits, as
// one undo step. The contact popovers share the same popover object.
//
// The chosen rows are held as their records (GridTargets) from the choice on: the grid may reload
// and re-sort under an open editor (an edit elsewhere, a store change), and every write rebuilds
// it again. A contact shown in several chosen rows is written once; one deleted meanwhile, not at
// all.
class GridEditorPresenter : public QObject
{
    Q_OBJECT

public:
    using Editor = ValueEditorFactory::Kind;

    GridEditorPresenter(GridState &state, GridTableView &table, QObject *parent = nullptr);

    void setDelegate(ContactsViewControllerDelegate *delegate) { m_delegate = delegate; }

    // The grid's one popover; null until a show operation makes one, and again once it closed.
    Popover *popover() const { return m_popover; }
    void setPopover(Popover *popover);
    // The popover to show new content in: the open one, else a new one of that behaviour.
    Popover *popoverForShowing(Popover::Behavior behavior);

    // The rows a dirty result is to be written to. Set by whoever opens an editor or edits a cell
    // in place; taken as the editor's targets when it opens, or ended by an in-place commit.
    const std::optional<GridTargets> &chosenRows() const { return m_chosenRows; }
    void setChosenRows(const std::optional<GridTargets> &rows) { m_chosenRows = rows; }
    // The same for rows by their numbers now.
    void setSelectedRowIndexes(const std::optional<QList<int>> &rows);

    // rect is in the grid table's coordinates (a cell's frame). A labelIndex of -1 asks for a new
    // entry.
    void showMultiValuePopover(const SubContactRowPtr &row, const QString &type, int labelIndex, const QRect &rect);
    void showAddressPopover(const SubContactRowPtr &row, const QString &type, int labelIndex, const QRect &rect);
    void showSNSPopover(const SubContactRowPtr &row, const QString &type, int labelIndex, const QRect &rect);
    void showIMSPopover(const SubContactRowPtr &row, const QString &type, int labelIndex, const QRect &rect);
    // "Dates" or "Birthday"; any other type shows nothing. The birthday takes no index.
    void showDatePopover(const SubContactRowPtr &row, const QString &type, int labelIndex, const QRect &rect);
    void showPhoneticNamePopover(const SubContactRowPtr &row, const QString &type, const QRect &rect);
    void showNamePopover(const SubContactRowPtr &row, const QString &type, const QRect &rect);

    // The content size of an editor; the list editor's depends on the kind.
    static QSize contentSize(Editor editor, const QString &type);

private:
    void showEditor(Editor editor, const SubContactRowPtr &row, const QString &type,
                    std::optional<int> labelIndex, const QRect &rect);
    void popoverDidClose(Popover *popover);
    void writeBack(const EditorContext &result);
    bool writeValue(const EditorContext &result, const SubContactRowPtr &row);

    GridState &m_state;
    GridTableView &m_table;
    ContactsViewControllerDelegate *m_delegate = nullptr;
    QPointer<Popover> m_popover;
    std::optional<GridTargets> m_chosenRows;
    // The open editor's chosen contacts, taken when it opened.
    GridTargets m_targets;
};
