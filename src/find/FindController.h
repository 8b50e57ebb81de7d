#pragma once

#include "find/FindFields.h"
#include "find/FindPanelSetup.h"
#include "find/FindWalk.h"
#include "ui/contracts/DetailRow.h"
#include "ui/contracts/FindBarDelegate.h"
#include "ui/contracts/ItemAndRange.h"
#include "ui/contracts/SubContactRow.h"

#include <QSet>
#include <QString>

#include <optional>

class FindHost;
class QWidget;

// The find bar's work: one find string, shared with other programs through the find pasteboard
// (a search the user cleared from the field is not taken back from there);
// the find cursor, moved by the walks and by the views' selections; highlighting in the grid and
// the detail pane; replacing at the cursor and everywhere. The window's view controller holds one
// and forwards the find bar's calls, the Find menu's items and its panes' selections to it.
//
// The cursor's label index is an entry's own number (see ItemAndRange); the grid gets positions.
class FindController : public FindBarDelegate
{
public:
    // The items of Edit > Find.
    enum class MenuCommand
    {
        Find,
        FindAndReplace,
        FindNext,
        FindPrevious,
        UseSelectionForFind
    };

    explicit FindController(FindHost &host);

    QString findString() const { return m_findString; }
    std::optional<ItemAndRange> selectedItemAndRange() const { return m_cursor; }
    void setSelectedItemAndRange(const std::optional<ItemAndRange> &cursor) { m_cursor = cursor; }

    // The toolbar's button: a shown bar takes the find pasteboard's string; the button comes back
    // on when the bar has come to rest.
    void showFindBar(bool show);
    // Every item first takes the find pasteboard's string. Find and Find and Replace show or hide
    // the bar (hiding clears the find string and the marks); Next and Previous step both views.
    // While the bar is shown, Next and Previous act on the text its field shows, as its buttons
    // do: nothing for an empty field; text typed since the last search is searched first, and
    // Next then stays on that search's first match.
    void performFindBarAction(MenuCommand command);

    // The find-and-replace window's opening: the find pasteboard's string (which also becomes the
    // find string here), the selected group's rows, the custom items, the grid's columns as the
    // item filter, the edit state, the funnel and the undo manager of the window.
    FindPanelSetup findPanelSetup(bool editState, DateEditorFactory dateEditorFactory);
    // Runs the find-and-replace window application-modal over the window, then refreshes the grid.
    void showFindPanel(bool editState, DateEditorFactory dateEditorFactory, QWidget *window);

    // FindBarDelegate: the bar may report here directly, or through the view controller.
    void findStringDidChange(const QString &findString) override;
    void findBarButtonDidPress(FindBarCommand command) override;

    // The grid selected rows: the cursor goes to the start of the first one's name.
    void rowSelectionDidChange(const SubContactRowPtr &firstSelected);
    // A detail table selected a row: the cursor goes to the start of its value; its contact stays.
    void rowSelectionDidChange(const DetailRow &detailRow);

    // The cursor moved to the next or previous hit over the detail table (shown) or the grid; the
    // cursor unchanged when nothing is found; nothing, and no change, for an empty string.
    std::optional<ItemAndRange> findNextString(const QString &findString, bool contactInfoVisible);
    std::optional<ItemAndRange> findPreviousString(const QString &findString, bool contactInfoVisible);
    // False when the position's contact is gone, its field is empty or it has no location; a
    // replacement leaves the cursor over the new text and refreshes the views.
    bool replaceByString(const QString &replacement, const ItemAndRange &position);
    // Every occurrence in the grid's columns of the selected group's contacts, and in every text
    // field of the detail pane's contact while the pane is shown. The caller groups the undo.
    void replaceAll(const QString &replacement, Qt::CaseSensitivity cs);

private:
    // Which action a found position is shown for; each gives it to the views differently.
    enum class Shown
    {
        Menu,
        StringChange,
        Step,
        Replace
    };
    class DelegatesOff;

    std::optional<ItemAndRange> walk(FindDirection direction, const QString &findString,
                                     bool contactInfoVisible);
    void show(Shown shown);
    void step(FindDirection direction);
    // True when the shown bar's field settles the menu's step: it is empty, or the search of its
    // new text was all of it.
    bool searchShownText(MenuCommand command);
    void replaceAtCursor();
    void replaceEverywhere();
    void toggleFindBar();
    void done();
    void optionChanged();
    void refreshFromPasteboard();
    // The find pasteboard's string, or null while it still holds the search the user cleared.
    QString sharedFindString() const;
    // The string goes to the search field and to both views' marks.
    void takeFindString(const QString &findString);

    Qt::CaseSensitivity caseSensitivity() const;
    FindFields fields() const;
    GridSnapshot gridSnapshot() const;
    DetailSnapshot detailSnapshot() const;
    // The uniqueIds of the shown table's rows marked deleted (FindScope).
    QSet<QString> deletedContacts() const;

    FindHost &m_host;
    QString m_findString;
    // The pasteboard keeps a search that the user cleared from the field, for other programs; it
    // is not taken back here until another string is shared.
    QString m_clearedSharedString;
    std::optional<ItemAndRange> m_cursor;
};
