#pragma once

#include <QPointer>
#include <QTreeView>

// The sidebar's outline view. Clicking a row that cannot be selected (a container) leaves the
// selection alone, the view reports each time it is about to appear, and it remembers where the
// drag over it comes from, which its model's drop checks ask for.
class GroupOutlineView : public QTreeView
{
    Q_OBJECT

public:
    explicit GroupOutlineView(QWidget *parent = nullptr);

    // The source of the drag now over the view; null for another program's drag or none.
    QObject *draggingSource() const { return m_draggingSource; }

signals:
    void viewWillAppear();

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event = nullptr) const override;
    void showEvent(QShowEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    QPointer<QObject> m_draggingSource;
};
