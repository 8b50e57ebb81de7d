#pragma once

#include "sidebar/GroupOutlineView.h"
#include "ui/contracts/GroupSidebarInterface.h"
#include "ui/widgets/OwnedView.h"

#include <QFont>
#include <QList>
#include <QModelIndex>
#include <QObject>
#include <QPointer>

class GroupOutlineModel;
class QItemSelection;
class QMimeData;

// The group sidebar: the containers of the address book with their groups, in an outline beside
// the grid. Choosing a group, renaming one in place and dropping grid rows on one are handed to the
// delegate (the main view controller), which changes the tree and asks for updateTable().
//
// The tree is the view controller's own (never a copy); the sidebar adds to it only the store
// groups of a container of which just the top group is known, each time the view is about to
// appear. Containers are headings: they cannot be selected, edited or dropped on.
class GroupViewController : public QObject, public GroupSidebarInterface
{
    Q_OBJECT

public:
    // The text of a group that is never renamed, whatever its place.
    static const QString AllContacts;

    GroupViewController();
    ~GroupViewController() override;

    QWidget *view() override;
    QWidget *takeView() override { return m_outline.take(); }
    QAbstractItemView *outlineView() override;
    GroupOutlineView *outline() const { return m_outline; }
    GroupOutlineModel *model() const { return m_model; }

    GroupViewControllerDelegate *delegate() const { return m_delegate; }
    void setDelegate(GroupViewControllerDelegate *delegate) override { m_delegate = delegate; }
    const ContainerTable &containerTable() const { return m_containerTable; }
    void setContainerTable(const ContainerTable &containerTable) override;
    const GroupDictPtr &selectedGroupDict() const { return m_selectedGroupDict; }
    void setSelectedGroupDict(const GroupDictPtr &group) override { m_selectedGroupDict = group; }
    bool editState() const { return m_editState; }
    void setEditState(bool editState) override { m_editState = editState; }
    QFont selectedFont() const { return m_selectedFont; }
    void setSelectedFont(const QFont &font) override;
    double rowHeight() const { return m_rowHeight; }
    void updateTable() override;

    // The line height plus 9 points, or 1.42 times the size when that is more; never under 20.
    static double rowHeightForFont(const QFont &font);

    // Reads the store groups of every container that knows only its top group, then shows the
    // selected group half a second later.
    void viewWillAppear();
    // Appends the container's store groups to its groups. Nothing for a container without
    // identifier, of type 0, or of a vCard document.
    void updateGroupTable(const ContainerDictPtr &container);

    // The outline's questions and actions.
    // A group is selected and reported to the delegate; a container is refused.
    bool shouldSelectItem(const QModelIndex &item);
    // Only in edit state, only a group, never the top group or one named "All Contacts".
    bool shouldEditTableColumn(const QModelIndex &item) const;
    // Copy for grid rows over a group other than the selected one, while editing; nothing
    // otherwise. proposedChildIndex -1 is a drop on the item itself.
    Qt::DropAction validateDrop(const QMimeData *data, QObject *draggingSource,
                                const QModelIndex &proposedItem, int proposedChildIndex) const;
    // Adds the dragged grid rows to the group, then selects it; false for a drop between rows.
    bool acceptDrop(const QMimeData *data, const QModelIndex &item, int childIndex);
    QObject *draggingSource() const;
    // Starts editing the clicked group's name, its text selected; only in edit state.
    void outlineViewDoubleAction(const QModelIndex &clicked);
    // The edit of a group's name ended with text.
    void textFieldCellChanged(const GroupDictPtr &group, const QString &text);

private:
    void reloadOutline();
    void expandContainers();
    void selectRow(const GroupDictPtr &group, bool scroll);
    void selectionDidChange(const QItemSelection &selected);
    void showSelectedGroup();
    void reportGroupReadFailure(const QString &containerName);
    bool isOwnDrag(QObject *draggingSource) const;

    OwnedView<GroupOutlineView> m_outline;
    GroupOutlineModel *m_model;
    GroupViewControllerDelegate *m_delegate = nullptr;
    ContainerTable m_containerTable;
    GroupDictPtr m_selectedGroupDict;
    bool m_editState = false;
    QFont m_selectedFont;
    double m_rowHeight = 20.0;
    // Containers are shown expanded unless the user collapsed them.
    QList<ContainerDictPtr> m_collapsedContainers;
    bool m_selecting = false;
};
