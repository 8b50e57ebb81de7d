#include "app/PlaceholderSidebar.h"

#include "app/GroupViewControllerDelegate.h"

#include <QHeaderView>
#include <QTreeWidget>

namespace {
constexpr int GroupRole = Qt::UserRole + 1;
} // namespace

PlaceholderSidebar::PlaceholderSidebar() : m_outline(new QTreeWidget)
{
    m_outline->setHeaderHidden(true);
    m_outline->setColumnCount(1);
    m_outline->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(m_outline, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem *current) { itemChosen(current); });
}

PlaceholderSidebar::~PlaceholderSidebar()
{
    if (m_outline && !m_outline->parent())
        delete m_outline;
}

QWidget *PlaceholderSidebar::view()
{
    return m_outline;
}

QAbstractItemView *PlaceholderSidebar::outlineView()
{
    return m_outline;
}

void PlaceholderSidebar::setSelectedFont(const QFont &font)
{
    m_outline->setFont(font);
}

void PlaceholderSidebar::updateTable()
{
    m_reloading = true;
    m_outline->clear();
    m_shownGroups.clear();
    for (const ContainerDictPtr &container : std::as_const(m_containerTable)) {
        auto *containerItem = new QTreeWidgetItem(m_outline, {container->name});
        containerItem->setFlags(Qt::ItemIsEnabled);
        for (const GroupDictPtr &group : std::as_const(container->groups)) {
            if (group->deleted)
                continue;
            auto *groupItem = new QTreeWidgetItem(containerItem, {group->name});
            groupItem->setData(0, GroupRole, int(m_shownGroups.size()));
            m_shownGroups.append(group);
            if (group == m_selectedGroupDict)
                m_outline->setCurrentItem(groupItem);
        }
    }
    m_outline->expandAll();
    m_reloading = false;
}

void PlaceholderSidebar::itemChosen(QTreeWidgetItem *item)
{
    if (m_reloading || !item || !item->data(0, GroupRole).isValid())
        return;
    m_selectedGroupDict = m_shownGroups.value(item->data(0, GroupRole).toInt());
    if (m_delegate && m_selectedGroupDict)
        m_delegate->groupSelectionDidChange(m_selectedGroupDict);
}
