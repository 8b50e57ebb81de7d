#pragma once

#include <QObject>
#include <QPointer>

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

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QSplitter> m_splitView;
    UserDefaults &m_defaults;
    int m_sidebar;
    int m_detail;
};
