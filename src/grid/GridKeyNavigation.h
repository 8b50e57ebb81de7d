#pragma once

#include "grid/GridCommandHost.h"
#include "grid/GridEditorRequest.h"

#include <QObject>

#include <optional>

class QKeyEvent;

// Return and Tab while a grid cell is edited in place. Tab moves the edit to the next cell of the
// row, wrapping to the second column of the next row (and from the last row to the first); Return
// moves down the same column to the next row that holds a value there, or opens that row's editor
// for the columns edited in popovers. Escape, Shift-Tab, and every key of a locked grid are left
// to the editor.
//
// It watches every editor the table shows in its viewport, and their parts, from their first
// showing on; the edited cell is found from the editor's place in the table. The search for the
// next row stops after one round. When the edited cell's commit re-sorts the grid, the key is
// taken again from that cell's new row: Tab goes on in that row, Return with the row that was
// below it as the user saw the grid, wherever that row now stands.
class GridKeyNavigation : public QObject
{
    Q_OBJECT

public:
    // What a key leads to: nothing (the editor handles the key itself), an in-place edit of
    // another cell, or an editor over another cell. OpenEditor with passOn leaves the key to the
    // editor as well.
    struct Move
    {
        enum class Kind
        {
            Pass,
            Edit,
            OpenEditor,
        };
        Kind kind = Kind::Pass;
        int row = -1;
        int column = -1;
        GridEditor editor = GridEditor::MultiValue;
        bool passOn = false;
    };

    explicit GridKeyNavigation(GridCommandHost &host, QObject *parent = nullptr);

    Move moveForTab(int row, int column) const;
    // The walk starts at the row below, or at `below`: where the row that was below the edited
    // one stands after a re-sort.
    Move moveForReturn(int row, int column, std::optional<int> below = std::nullopt) const;
    // Carries out the key for the cell edited at row and column; false when the editor should
    // handle it.
    bool handleKey(int key, Qt::KeyboardModifiers modifiers, int row, int column);

    // A cell edited in place: a labelled value, an address part or a text field of a grid row.
    bool hasTextField(int row, int column) const;

signals:
    void editorRequested(const GridEditorRequest &request);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Nothing when the editor keeps the key to itself.
    std::optional<Move> moveForKey(int key, Qt::KeyboardModifiers modifiers, int row, int column,
                                   std::optional<int> below = std::nullopt) const;
    // The key of an edit whose commit re-sorted the grid, from the edited row's new place; Return
    // from belowRow unless it is -1.
    void retakeStep(int key, int row, int column, int belowRow);
    // False when the key is left to the editor as well. The key left the cell at row and column.
    bool perform(const Move &move, int key, int row, int column);
    int rowCount() const;
    // Starting at `from`, the first row other than `current` for which qualifies holds, wrapping,
    // one round at most (`current` is tested only when it is the only row); -1 for none.
    template <typename Qualifies> int searchRows(int from, int current, Qualifies qualifies) const;
    bool holdsValue(int row, const QString &listIdentifier) const;
    void watchEditor(QWidget *editor);
    void closeEditor(QWidget *editor);

    GridCommandHost &m_host;
};
