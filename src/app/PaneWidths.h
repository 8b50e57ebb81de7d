#pragma once

#include <QObject>
#include <QPointer>

class QFont;
class QSplitter;
class UserDefaults;

// The widths of the split view's side panes, the sidebar (child 0) and the detail pane (child 2),
// kept in "QN1DpaneWidths" so that the next start shows them as the user left them. A hidden pane
// keeps the width it had when last shown.
class PaneWidths : public QObject
{
public:
    // Gives the panes their stored widths and follows every change of a shown pane's width.
    PaneWidths(QSplitter *splitView, UserDefaults &defaults);

    int sidebarWidth() const { return m_sidebar; }
    int detailWidth() const { return m_detail; }
    void save();

    // Shows the detail pane at its width. A window too narrow for the pane beside the grid's
    // least width grows, as far as its screen has room.
    void openDetail(const QFont &valueFont);
    // Wide enough for a value's label, its label menu and a 25-character e-mail address, whole:
    // the width a pane opens at until the user chooses another (none stored).
    static int fittedDetailWidth(const QFont &font);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QSplitter> m_splitView;
    UserDefaults &m_defaults;
    int m_sidebar;
    int m_detail;
};
