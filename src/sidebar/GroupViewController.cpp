#include "sidebar/GroupViewController.h"

#include "addressbook/DefaultsKey.h"
#include "ui/widgets/FontService.h"
#include "sidebar/GroupCellDelegate.h"
#include "sidebar/GroupOutlineModel.h"
#include "sidebar/GroupOutlineView.h"
#include "ui/contracts/GroupViewControllerDelegate.h"
#include "addressbook/TextFormat.h"
#include "platform/ContactStore.h"
#include "platform/Dispatch.h"
#include "platform/Localizer.h"
#include "platform/Log.h"
#include "platform/widgets/Alert.h"
#include "platform/widgets/PasteboardTypes.h"

#include <QFontMetricsF>
#include <QMimeData>

#include <cmath>
#include <exception>

namespace {

constexpr double MinimumRowHeight = 20.0;
// The store groups are shown once the view has settled after appearing.
constexpr int AppearanceDelay = 500;
const QString VCardContainerName = QStringLiteral("vCard");

} // namespace

const QString GroupViewController::AllContacts = QStringLiteral("All Contacts");

GroupViewController::GroupViewController()
    : m_outline(new GroupOutlineView), m_model(new GroupOutlineModel(*this, this))
{
    m_selectedFont = FontService::systemFont(DefaultsKey::DefaultFontSize);
    m_outline->setModel(m_model);
    // The outline may outlive the controller inside its layout.
    m_outline->setItemDelegate(new GroupCellDelegate(
        [self = QPointer<GroupViewController>(this)] { return self ? self->m_rowHeight : MinimumRowHeight; },
        m_outline));
    connect(m_outline->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection &selected) { selectionDidChange(selected); });
    connect(m_outline, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex &index) { outlineViewDoubleAction(index); });
    connect(m_outline, &GroupOutlineView::viewWillAppear, this, &GroupViewController::viewWillAppear);
    connect(m_outline, &QTreeView::collapsed, this, [this](const QModelIndex &index) {
        if (const ContainerDictPtr container = m_model->containerAt(index))
            m_collapsedContainers.append(container);
    });
    connect(m_outline, &QTreeView::expanded, this, [this](const QModelIndex &index) {
        m_collapsedContainers.removeAll(m_model->containerAt(index));
    });
}

// An outline handed to a layout lets go of the model, which reads this controller.
GroupViewController::~GroupViewController()
{
    if (m_outline)
        m_outline->setModel(nullptr);
}

QWidget *GroupViewController::view()
{
    return m_outline;
}

QAbstractItemView *GroupViewController::outlineView()
{
    return m_outline;
}

// The outline reads the table live, so it is reloaded with every table handed over.
void GroupViewController::setContainerTable(const ContainerTable &containerTable)
{
    if (containerTable != m_containerTable)
        m_collapsedContainers.clear();
    m_containerTable = containerTable;
    reloadOutline();
}

// --- reloading ------------------------------------------------------------------------------

void GroupViewController::reloadOutline()
{
    m_selecting = true;
    m_model->reload();
    expandContainers();
    m_selecting = false;
}

void GroupViewController::expandContainers()
{
    for (int row = 0; row < m_model->rowCount(); ++row) {
        const QModelIndex index = m_model->index(row, 0);
        if (!m_collapsedContainers.contains(m_model->containerAt(index)))
            m_outline->expand(index);
    }
}

// Selecting from here is no choice of the user's: the delegate is not told.
void GroupViewController::selectRow(const GroupDictPtr &group, bool scroll)
{
    const QModelIndex index = m_model->indexOfGroup(group);
    if (!index.isValid())
        return;
    m_collapsedContainers.removeAll(m_model->containerAt(index.parent()));
    m_outline->expand(index.parent());
    m_selecting = true;
    m_outline->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                            QItemSelectionModel::Rows);
    m_selecting = false;
    if (scroll)
        m_outline->scrollTo(index);
}

void GroupViewController::updateTable()
{
    reloadOutline();
    if (!m_containerTable.isEmpty())
        selectRow(m_selectedGroupDict, true);
}

void GroupViewController::setSelectedFont(const QFont &font)
{
    m_selectedFont = font;
    m_rowHeight = rowHeightForFont(font);
    if (m_containerTable.isEmpty())
        return;
    m_collapsedContainers.clear();
    reloadOutline();
    selectRow(m_selectedGroupDict, false);
}

double GroupViewController::rowHeightForFont(const QFont &font)
{
    const QFontMetricsF metrics(font);
    const double lineHeight = std::ceil(metrics.ascent() + metrics.descent() + metrics.leading()) + 9.0;
    const double scaled = std::ceil(font.pointSizeF() * 1.42);
    return std::max({lineHeight, scaled, MinimumRowHeight});
}

// --- appearance -----------------------------------------------------------------------------

void GroupViewController::viewWillAppear()
{
    if (m_containerTable.isEmpty())
        return;
    bool added = false;
    for (const ContainerDictPtr &container : std::as_const(m_containerTable)) {
        if (container && container->groups.size() == 1) {
            updateGroupTable(container);
            added = true;
        }
    }
    // The outline must not show rows the tree no longer matches until the delayed reload.
    if (added)
        reloadOutline();
    Dispatch::runAfter(AppearanceDelay, this, [this] { showSelectedGroup(); });
}

void GroupViewController::showSelectedGroup()
{
    reloadOutline();
    if (m_selectedGroupDict)
        selectRow(m_selectedGroupDict, true);
}

void GroupViewController::updateGroupTable(const ContainerDictPtr &container)
{
    if (!container || container->identifier.isEmpty() || container->type == 0 ||
        container->name == VCardContainerName)
        return;
    const QString method = QStringLiteral("GroupViewController::updateGroupTable");
    try {
        const StoreResult<QList<StoreGroup>> groups = ContactStore().groupsInContainer(container->identifier);
        if (!groups.ok()) {
            Log::write("%s: ERROR can't find groups in %@, %@", {method, container->name, groups.error});
            return;
        }
        for (const StoreGroup &group : groups.value) {
            auto record = std::make_shared<GroupDict>();
            record->name = group.name;
            record->containerName = container->name;
            record->uniqueId = group.identifier;
            record->cnGroup = group;
            record->containerIdentifier = container->identifier;
            container->groups.append(record);
        }
    } catch (const std::exception &) {
        Log::write("%s: Exception ERROR at groupsMatchingPredicate for %@", {method, container->name});
        reportGroupReadFailure(container->name);
    }
}

void GroupViewController::reportGroupReadFailure(const QString &containerName)
{
    Dispatch::postToMain(this, [containerName] {
        Alert alert;
        alert.setMessageText(
            TextFormat::fill(L(QStringLiteral("Error on reading a group in the '%@'.")), {containerName}));
        alert.setInformativeText(L(QStringLiteral("Please check the account settings.")));
        alert.runModal();
    });
}

// --- selection ------------------------------------------------------------------------------

bool GroupViewController::shouldSelectItem(const QModelIndex &item)
{
    const GroupDictPtr group = m_model->groupAt(item);
    if (!group)
        return false;
    m_selectedGroupDict = group;
    if (m_delegate)
        m_delegate->groupSelectionDidChange(group);
    return true;
}

void GroupViewController::selectionDidChange(const QItemSelection &selected)
{
    if (m_selecting || selected.indexes().isEmpty())
        return;
    shouldSelectItem(selected.indexes().first());
}

// --- renaming -------------------------------------------------------------------------------

bool GroupViewController::shouldEditTableColumn(const QModelIndex &item) const
{
    const GroupDictPtr group = m_model->groupAt(item);
    return m_editState && group && !group->top && group->name != AllContacts;
}

void GroupViewController::outlineViewDoubleAction(const QModelIndex &clicked)
{
    if (!clicked.isValid() || !m_editState)
        return;
    const QModelIndex name = clicked.siblingAtColumn(0);
    if (shouldEditTableColumn(name))
        m_outline->edit(name);
}

// The delegate renames the selected group, so an edited group that is not selected is selected
// first. The checks are made again: the window may have been locked while the editor was open.
void GroupViewController::textFieldCellChanged(const GroupDictPtr &group, const QString &text)
{
    const QModelIndex item = m_model->indexOfGroup(group);
    if (!group || text.isEmpty() || text == group->name || !shouldEditTableColumn(item))
        return;
    if (group != m_selectedGroupDict) {
        selectRow(group, false);
        shouldSelectItem(item);
    }
    if (m_delegate)
        m_delegate->groupNameWillChange(text);
}

// --- drops of grid rows ---------------------------------------------------------------------

QObject *GroupViewController::draggingSource() const
{
    return m_outline ? m_outline->draggingSource() : nullptr;
}

bool GroupViewController::isOwnDrag(QObject *draggingSource) const
{
    return draggingSource &&
           (draggingSource == this || draggingSource == m_outline || draggingSource == m_outline->viewport());
}

// Rows of the grid belong to the selected group's container; another container's group cannot
// hold them (the store refuses members from another container, which would fail the whole save).
Qt::DropAction GroupViewController::validateDrop(const QMimeData *data, QObject *draggingSource,
                                                 const QModelIndex &proposedItem, int) const
{
    if (!m_editState || isOwnDrag(draggingSource) || !data)
        return Qt::IgnoreAction;
    if (PasteboardTypes::string(data, PasteboardTypes::StringIndexes).isEmpty())
        return Qt::IgnoreAction;
    const GroupDictPtr group = m_model->groupAt(proposedItem);
    if (!group || group == m_selectedGroupDict)
        return Qt::IgnoreAction;
    if (m_selectedGroupDict && group->containerIdentifier != m_selectedGroupDict->containerIdentifier)
        return Qt::IgnoreAction;
    return Qt::CopyAction;
}

bool GroupViewController::acceptDrop(const QMimeData *data, const QModelIndex &item, int childIndex)
{
    const GroupDictPtr group = m_model->groupAt(item);
    if (childIndex != -1 || !m_delegate || !group || !data)
        return false;
    m_delegate->addContactByStringIndexes(PasteboardTypes::string(data, PasteboardTypes::StringIndexes),
                                          group);
    m_selectedGroupDict = group;
    selectRow(group, true);
    m_delegate->groupSelectionDidChange(group);
    return true;
}
