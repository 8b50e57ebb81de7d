#pragma once

#include "app/GroupSidebarInterface.h"

#include <QObject>
#include <QPointer>

class QTreeWidget;
class QTreeWidgetItem;

// Stands in for the group sidebar: the containers with their groups; choosing a group tells the
// delegate.
class PlaceholderSidebar : public QObject, public GroupSidebarInterface
{
    Q_OBJECT

public:
    PlaceholderSidebar();
    // Deletes the widget unless a layout took it.
    ~PlaceholderSidebar() override;

    QWidget *view() override;
    QAbstractItemView *outlineView() override;
    void setDelegate(GroupViewControllerDelegate *delegate) override { m_delegate = delegate; }
    void setContainerTable(const ContainerTable &containerTable) override
    {
        m_containerTable = containerTable;
    }
    void setSelectedGroupDict(const GroupDictPtr &group) override { m_selectedGroupDict = group; }
    void setEditState(bool editState) override { m_editState = editState; }
    void setSelectedFont(const QFont &font) override;
    void updateTable() override;

private:
    void itemChosen(QTreeWidgetItem *item);

    QPointer<QTreeWidget> m_outline;
    GroupViewControllerDelegate *m_delegate = nullptr;
    ContainerTable m_containerTable;
    GroupDictPtr m_selectedGroupDict;
    QList<GroupDictPtr> m_shownGroups;
    bool m_editState = false;
    bool m_reloading = false;
};
