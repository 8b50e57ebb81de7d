#pragma once

#include "find/FindPanelCursor.h"
#include "find/FindPanelFilters.h"
#include "find/FindPanelRunner.h"
#include "find/FindPanelSearch.h"
#include "find/FindPanelSetup.h"
#include "find/FindPanelWriter.h"
#include "platform/widgets/Popover.h"
#include "platform/widgets/Sheet.h"

#include <QPointer>

#include <functional>
#include <memory>
#include <optional>

class FindPanelResultsModel;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QModelIndex;
class QProgressBar;
class QPushButton;
class QTableView;
class QToolButton;
class SegmentedControl;
class SeparatorBox;
class UndoManager;

// The find-and-replace window: searches the selected group's contacts on the pool with item,
// sub-item and label filters in one of three modes, lists one row per matching text, steps from
// match to match, replaces one match or all listed matches, and edits a listed value in place or,
// for dates, in the date editor. Every write goes through the edit funnel; the window keeps its
// own undo manager for its changes, whose undo writes through the funnel again.
//
// A search takes the records' texts on the main thread and scans them on the pool; each search
// has a generation number, and a newer search, Done and closing stop the one under way and drop
// its hand-over. A search that runs long shows its progress; the message line then says when it
// has ended, and how many texts a pattern took too long on, which are left out of the list.
// Previous, Next, Replace and All act on the text the search field shows: text typed since the
// last search is searched first, as Return does, and the action waits for that search's
// hand-over; with an empty field they do nothing. Next on such text is that search alone: its
// hand-over makes the first match current, where Return lands too.
class FindPanel : public Sheet
{
    Q_OBJECT

public:
    explicit FindPanel(FindPanelSetup setup, QWidget *parent = nullptr);
    ~FindPanel() override;

    // Opens a new window application-modal over the window and returns when it has closed.
    static void showFindPanel(FindPanelSetup setup, QWidget *window);

    QString searchString() const { return m_searchString; }
    unsigned compareOptions() const { return m_compareOptions; }
    const FindPanelFilters &filters() const { return m_filters; }
    const QList<SearchResultRowPtr> &searchResults() const;
    int selectedRow() const { return m_cursor.row; }
    int selectedRangeIndex() const { return m_cursor.rangeIndex; }
    bool isEditing() const;
    // The search is under way: a hand-over is due.
    bool isSearching() const { return m_runner->isRunning(); }
    UndoManager *undoManager() const { return m_undoManager; }
    // What the window says about the search (an invalid pattern, one under way or just ended, texts
    // a pattern took too long on); empty when there is nothing to say.
    QString message() const;

    SeparatorBox *redSeparator() const { return m_redSeparator; }
    QPushButton *editButton() const { return m_editButton; }
    QToolButton *itemPopup() const { return m_itemPopup; }
    QToolButton *subItemPopup() const { return m_subItemPopup; }
    QToolButton *labelPopup() const { return m_labelPopup; }
    QComboBox *searchModePopup() const { return m_searchModePopup; }
    QLineEdit *searchField() const { return m_searchField; }
    SegmentedControl *directionControl() const { return m_directionControl; }
    SegmentedControl *replaceButtons() const { return m_replaceButtons; }
    QLineEdit *replaceField() const { return m_replaceField; }
    QTableView *tableView() const { return m_tableView; }
    QPushButton *closeButton() const { return m_closeButton; }
    QProgressBar *searchProgress() const { return m_searchProgress; }
    Popover *popover() const { return m_popover; }

    // Starts a new search; the results arrive later (searchFinished).
    void updateTable();
    void searchModePopupDidSelect(int index);
    void itemPopupDidSelect(const QString &key);
    void subItemPopupDidSelect(const QString &key);
    void labelPopupDidSelect(const QString &label, const QString &title);
    void textDidEnter();
    void setEditing(bool editing);
    // Segment 0 previous, 1 next; either may act later, after the search of the field's text.
    void directionButtonDidClick(int segment);
    // Segment 0 the current match, 1 every listed match; either may act later, as above.
    void replaceButtonDidClick(int segment);
    // A user's choice of a table row: it holds the current match from now on.
    void tableViewDidSelectRow(int row);
    void tableViewDoubleAction(const QModelIndex &index);
    // An in-place edit of a value cell ended with that text.
    void textFieldCellChanged(int row, const QString &text);
    void sortResults(int column, Qt::SortOrder order);
    // Writes a new value into a row and the address book, its inverse on the window's undo manager.
    void undoReplaceValue(const QVariant &value, const QList<MatchScan::TextRange> &ranges,
                          const SearchResultRowPtr &row);

    // Every ending stops the search under way, and a click that waits for it writes nothing.
    void done(int code) override;

signals:
    void searchFinished();

private:
    void buildLayout();
    QWidget *buildFilterBar();
    QWidget *buildReplaceBar();
    void buildTable();
    void fillFilterMenus();
    void fillLabelMenu();
    void updateCheckMarks();
    void retitleFilters();
    void handOver(quint64 generation, const FindPanelSearch::Outcome &outcome);
    void showSearchProgress(qsizetype searched, qsizetype total);
    // The message line once a search has ended.
    void showSearchEnd(const FindPanelSearch::Outcome &outcome);
    void showCurrentMatch(int previousRow);
    // Runs the action now when the table lists the search of the field's text, else when that
    // search hands over; replacing also searches the text the window opened with, unlisted so far.
    void actOnShownText(std::function<void()> action, bool needsListedMatches);
    // The field's text is the one the latest search was started for.
    bool isShownTextSearched() const;
    // The field holds text typed since the latest search.
    bool isShownTextNew() const;
    void stepCurrentMatch(int segment);
    void selectTableRow(int row);
    int tableSelectedRow() const;
    // Both buttons are off with an empty field and on a date row; Replace is on only while it has
    // a match to act on. Text not yet searched turns both on: a click searches it first.
    void updateReplaceButtons();
    // The current match, when it is one Replace can replace: a range inside its row's text, in a
    // row other than a date.
    bool hasReplaceableMatch() const;
    void replaceCurrentMatch();
    void replaceAllMatches();
    void showDatePopover(const SearchResultRowPtr &row, const QRect &rect);
    void popoverDidClose();

    FindPanelSetup m_setup;
    FindPanelFilters m_filters;
    FindPanelSearch m_search;
    FindPanelWriter m_writer;
    QString m_searchString;
    unsigned m_compareOptions = MatchScan::CaseInsensitive;
    FindPanelCursor m_cursor;
    quint64 m_generation = 0;
    // The generation whose results the table lists.
    quint64 m_listedGeneration = 0;
    struct PendingAction
    {
        quint64 generation;
        std::function<void()> action;
    };
    // A click that waits for its search; dropped when a newer search supersedes that one.
    std::optional<PendingAction> m_pendingAction;
    FindPanelRunner *m_runner;
    bool m_selectingRow = false;
    UndoManager *m_undoManager;
    FindPanelResultsModel *m_model;

    SeparatorBox *m_redSeparator;
    QPushButton *m_editButton;
    QToolButton *m_itemPopup;
    QToolButton *m_subItemPopup;
    QToolButton *m_labelPopup;
    QComboBox *m_searchModePopup;
    QLineEdit *m_searchField;
    SegmentedControl *m_directionControl;
    SegmentedControl *m_replaceButtons;
    QLineEdit *m_replaceField;
    QTableView *m_tableView;
    QPushButton *m_closeButton;
    QLabel *m_messageLabel;
    QProgressBar *m_searchProgress;

    QPointer<Popover> m_popover;
    std::unique_ptr<DateEditorInterface> m_dateEditor;
    SearchResultRowPtr m_dateRow;
};
