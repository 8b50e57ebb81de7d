#pragma once

#include "grid/GridState.h"
#include "grid/GridTargets.h"

#include <QList>
#include <QObject>
#include <QRect>
#include <QString>

#include <functional>
#include <optional>

class ContactsGridInterface;
class ContactsViewControllerDelegate;
class GridContactPopovers;
class GridEditorPresenter;
class GridTableView;
class QLineEdit;
class QNPerson;

// What a double-click on a grid cell does, and the commits of the edits made inside cells.
//
// A double-click opens the cell's value editor, the contact popover (on a name) or edits the
// cell's text in place; Command (Ctrl) asks for the list editor of the whole field. In edit state
// a double-click with several rows chosen first asks whether the same value is to go to all of
// them. A commit writes every chosen row through the undoable edits as one undo step. The rows are
// held as their records from the choice on (GridTargets): a reload may re-sort the grid while the
// question waits, the commit arrives after the table has closed the editor, when Return, Tab or a
// click may already have moved the selection, and every write re-sorts the grid.
class GridCellEditing : public QObject
{
    Q_OBJECT

public:
    // Test hook: stands in for the keyboard's modifier state; empty asks the keyboard.
    using ModifierQuery = std::function<Qt::KeyboardModifiers()>;
    static void setModifierQuery(ModifierQuery query);
    static bool isCommandHeld();

    GridCellEditing(GridState &state, GridTableView &table, ContactsGridInterface &grid,
                    GridEditorPresenter &editors, GridContactPopovers &contactPopovers,
                    QObject *parent = nullptr);

    void setDelegate(ContactsViewControllerDelegate *delegate) { m_delegate = delegate; }

    // The table's double action on its clicked cell.
    void tableViewDoubleAction();
    // The same for a given cell (the keys' edited cell).
    void doubleActionAt(int column, int row);
    // Opens the cell's editor, or starts editing its text in place, for the chosen rows already
    // set on the presenter; the entry point for keys and menus.
    void editTableViewCellOrShowPopoverForColumn(int column, int row);

    // A key (Tab, Return) that moved the in-place edit on from another cell: the key, the cell it
    // left and the row below that cell's row as the user saw the grid (the first row below the
    // last), which Return's walk goes on from after a re-sort.
    struct Step
    {
        int key = 0;
        SubContactRowPtr from;
        int column = -1;
        SubContactRowPtr below;
    };

    // Edits the cell's text in place; the text goes to these rows (their contacts as they are
    // now) when the edit ends. False when no editor opened.
    bool startInPlaceEditing(int column, int row, const QList<int> &targetRows,
                             std::optional<Step> step = std::nullopt);

    // The text of an in-place edit of that cell: written to the rows the edit began with.
    void textFieldCellChanged(int row, int column, const QString &text);
    // The cell's editor ended with this text. Its rows are taken now; the commit follows once the
    // table has closed the editor, and an edit begun meanwhile (by Return or Tab) goes on after
    // the commit's reload.
    void inPlaceEditEnded(int row, int column, const QString &text);
    // The label popup of that cell chose its item: the label goes to the selected rows and this one.
    void popupLabelCellChanged(int row, int column, int itemIndex);
    // Opens the cell's label popup under rect (viewport coordinates).
    void showLabelPopup(int row, int column, const QRect &rect);

signals:
    // The commit of the cell that a step left re-sorted the grid: the step is to be taken again
    // from the edited row's new place, so Tab goes on inside the same contact's row. Return goes
    // on from belowRow, where the row that was below the edited one now stands; -1 when it is gone.
    void stepRetaken(int key, int row, int column, int belowRow);

private:
    // An in-place edit: its cell, the rows its text goes to, taken when it began, and the step
    // that began it.
    struct InPlaceEdit
    {
        int row = -1;
        int column = -1;
        SubContactRowPtr edited;
        QList<SubContactRowPtr> targets;
        std::optional<Step> step;
    };

    SubContactRowPtr rowAt(int row) const;
    // The rows chosen on the presenter, else this one.
    QList<SubContactRowPtr> chosenTargets(int row) const;
    QString identifierAt(int column) const;
    QString kindOf(const QString &identifier, QNPerson &person) const;
    QRect cellFrame(int column, int row) const;
    bool beginEdit(InPlaceEdit edit);
    // The edit of that cell, ended: the one begun there, else the chosen rows' or the row alone.
    InPlaceEdit takeEdit(int row, int column);
    void commitEdit(const InPlaceEdit &edit, const QString &text);
    QString storedText(const QString &identifier, const SubContactRow &row) const;
    QLineEdit *editorOf(const InPlaceEdit &edit) const;
    // The edit under way when its editor is still open.
    std::optional<InPlaceEdit> openEdit() const;
    // After a reload: a step from the committed row is taken again from that row's new place (and
    // the new place of the row that was below it); any other edit goes on in its own row's new
    // place. What was typed is kept.
    void resumeEdit(InPlaceEdit edit, const std::optional<QString> &typed, const SubContactRow &committed);
    // The answer OK to the question about several rows: the clicked cell's edit for the targets
    // that remain.
    void editForTargets(int column, const SubContactRow &clicked, const GridTargets &targets);
    void lockedDoubleAction(int column, int row);
    // The editor of one of the fields with their own, for the locked grid's double-click.
    bool showLockedEditor(const SubContactRowPtr &row, const QString &identifier, const QString &kind,
                          const QRect &rect, bool command);
    QList<int> chosenRows(int row) const;
    bool commitText(const QList<SubContactRowPtr> &rows, const QString &identifier, const QString &text);
    bool writeLabel(const SubContactRowPtr &row, const QString &kind, const QString &label);

    GridState &m_state;
    GridTableView &m_table;
    ContactsGridInterface &m_grid;
    GridEditorPresenter &m_editors;
    GridContactPopovers &m_contactPopovers;
    ContactsViewControllerDelegate *m_delegate = nullptr;
    std::optional<InPlaceEdit> m_edit;
};
