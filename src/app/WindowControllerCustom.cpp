// The custom labels and custom items of the main window: the two sheets that edit them, made at
// first use and kept, and the custom-item definitions that every view shows.

#include "app/WindowController.h"

#include "addressbook/CustomItemDefinitions.h"
#include "addressbook/DefaultsKey.h"
#include "ui/widgets/FontService.h"
#include "app/MainMenu.h"
#include "app/ViewController.h"
#include "editors/CustomItemPanel.h"
#include "editors/CustomLabelPanelController.h"
#include "model/CustomItemCloudValues.h"
#include "addressbook/AddressBook.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"

#include <QAction>
#include <QMenu>
#include <QToolButton>

#include <utility>

void WindowController::connectCustomItemCommands()
{
    if (QAction *item = menuItem(MenuCommand::ShowCustomLabelPanel))
        connect(item, &QAction::triggered, this, &WindowController::showCustomLabelPanel);
    // The items menu is rebuilt with every change of the definitions; the menu itself stays.
    connect(m_itemsPopup->menu(), &QMenu::triggered, this, [this](QAction *item) {
        if (menuCommand(item) == MenuCommand::ShowCustomItems)
            showCustomItems();
    });
    // Before the rows are shown, so that the grid already has the items' columns.
    connect(&m_mainViewController->addressBook(), &AddressBook::customItemsAdded, this,
            &WindowController::addCustomItemsOfContacts);
}

// Items that imported, pasted or dropped contacts bring are known at once: the Items menu lists
// them and an export writes them.
void WindowController::addCustomItemsOfContacts(const QVariantList &added)
{
    startCustomItems();
    QVariantList definitions = knownDefinitions();
    QVariantList grown;
    for (const QVariant &item : added) {
        const QVariantMap definition = item.toMap();
        if (CustomItemDefinitions::indexOf(definitions, definition.value(PersonKey::ItemName).toString(),
                                           definition.value(PersonKey::ItemType).toString()) >= 0)
            continue;
        definitions.append(item);
        grown.append(item);
    }
    if (grown.isEmpty())
        return;
    setDefinitions(definitions);
    CustomItemCloudValues::changeCustomItemDefinitions(grown, {}, QNPerson::cloudKeyValueStore());
    updateCustomItems();
}

CustomLabelPanelController *WindowController::customLabelPanelController() const
{
    return m_customLabelPanelController;
}

CustomItemPanel *WindowController::customItemPanel() const
{
    return m_customItemPanel;
}

// --- the custom-label sheet -----------------------------------------------------------------

void WindowController::showCustomLabelPanel()
{
    if (!m_customLabelPanelController)
        m_customLabelPanelController = new CustomLabelPanelController(m_defaults, this);
    CustomLabelPanelController *panel = m_customLabelPanelController;
    if (panel->isSheetOpen() || panel->isVisible()) {
        panel->endSheet(0);
        return;
    }
    ViewController *view = m_mainViewController;
    panel->setCustomItems(customItems());
    panel->setSelectedFont(
        view->selectedFont().value_or(FontService::systemFont(DefaultsKey::DefaultFontSize)));
    panel->setContainerTable(view->containerTable());
    panel->setContextInfo(EditorContext());
    panel->beginSheetModalForWindow(this, [this](int returnCode) { customLabelPanelDidEnd(returnCode); });
}

// Contacts relabelled in a run that was then cancelled are changed all the same.
void WindowController::customLabelPanelDidEnd(int returnCode)
{
    ViewController *view = m_mainViewController;
    view->contactsViewController()->updateTable();
    view->contactInfoController()->updateTable();
    if (returnCode == 1 || (m_customLabelPanelController && m_customLabelPanelController->contactsChanged()))
        view->setDocumentEdited(true);
}

// --- the custom-item sheet ------------------------------------------------------------------

void WindowController::showCustomItems()
{
    if (!m_customItemPanel)
        m_customItemPanel = new CustomItemPanel(this);
    CustomItemPanel *panel = m_customItemPanel;
    if (panel->isSheetOpen())
        return;
    ViewController *view = m_mainViewController;
    startCustomItems();
    takeStoredDefinitions();
    panel->setCustomItems(knownDefinitions());
    panel->setIsVCard(!view->documentName().isNull());
    panel->setContainerTable(view->containerTable());
    panel->beginSheetModalForWindow(this, [this](int returnCode) { customItemPanelDidEnd(returnCode); });
}

void WindowController::customItemPanelDidEnd(int returnCode)
{
    if (returnCode != 1 || !m_customItemPanel)
        return;
    ViewController *view = m_mainViewController;
    startCustomItems();
    QVariantList definitions = knownDefinitions();
    const CustomItemDefinitions::SheetResult result =
        CustomItemDefinitions::applySheetResult(definitions, m_customItemPanel->customItems());
    QVariantList removed;
    for (const CustomItemDefinitions::Deletion &deleted : result.deleted) {
        CustomItemDefinitions::removeFromRecords(view->containerTable(), deleted.definition);
        // Before the contacts are shown there is nothing to revert to, and the load must not
        // bring the item back: it goes at once. Otherwise it stays stored until the save.
        if (!m_customItems) {
            CustomItemDefinitions::removeFromCloud(deleted.definition, QNPerson::cloudKeyValueStore());
            removed.append(deleted.definition);
        }
    }
    if (m_customItems)
        m_pendingItemDeletions += result.deleted;
    setDefinitions(definitions);
    CustomItemCloudValues::changeCustomItemDefinitions(result.put, removed, QNPerson::cloudKeyValueStore());
    if (result.edited)
        view->setDocumentEdited(true);
    definitionsDidChange();
}

// The grid drops the columns of deleted items at once.
void WindowController::definitionsDidChange()
{
    updateCustomItems();
    m_mainViewController->setViewTypeDict(m_viewTypeDict);
    m_mainViewController->contactsViewController()->setSelectedViewType(m_selectedViewType);
}

// --- deleted items --------------------------------------------------------------------------

QVariantList WindowController::pendingCustomItemDeletions() const
{
    QVariantList definitions;
    for (const CustomItemDefinitions::Deletion &deleted : m_pendingItemDeletions)
        definitions.append(deleted.definition);
    return definitions;
}

void WindowController::customItemDeletionsSaved()
{
    if (m_pendingItemDeletions.isEmpty())
        return;
    const QVariantList removed =
        CustomItemDefinitions::stillDeleted(knownDefinitions(), std::exchange(m_pendingItemDeletions, {}));
    CustomItemCloudValues::changeCustomItemDefinitions({}, removed, QNPerson::cloudKeyValueStore());
}

void WindowController::restoreDeletedCustomItems()
{
    if (m_pendingItemDeletions.isEmpty())
        return;
    QVariantList definitions = knownDefinitions();
    CustomItemDefinitions::restoreDeleted(definitions, m_pendingItemDeletions);
    m_pendingItemDeletions.clear();
    setDefinitions(definitions);
    updateCustomItems();
}

// --- the definitions ------------------------------------------------------------------------

// Before the contacts are shown the definitions are only the records' class's; the gathering after
// the load takes them up from the store together with the contacts' items.
void WindowController::setDefinitions(const QVariantList &definitions)
{
    if (m_customItems)
        m_customItems = definitions;
    QNPerson::setCustomItems(definitions);
}

QVariantList WindowController::knownDefinitions() const
{
    if (m_customItems)
        return *m_customItems;
    return CustomItemCloudValues::loadCustomItemDefinitions(QNPerson::cloudKeyValueStore());
}

// Another program on the same store may have added or deleted items since they were read.
void WindowController::takeStoredDefinitions()
{
    if (!m_customItems)
        return;
    const QVariantList definitions = CustomItemDefinitions::withStored(
        CustomItemCloudValues::loadCustomItemDefinitions(QNPerson::cloudKeyValueStore()), *m_customItems,
        m_pendingItemDeletions, m_mainViewController->containerTable());
    if (definitions == *m_customItems)
        return;
    CustomItemDefinitions::offerLabels(definitions);
    setDefinitions(definitions);
    definitionsDidChange();
}

void WindowController::gatherCustomItemsAgain()
{
    const std::optional<QVariantList> known = std::exchange(m_customItems, std::nullopt);
    startCustomItems();
    if (m_customItems != known)
        definitionsDidChange();
}

// Once the definitions are known, only the custom-item sheet, and another program through the
// store, change them.
void WindowController::startCustomItems()
{
    if (m_customItems)
        return;
    const ContactTablePtr &contacts = m_mainViewController->contactTable();
    if (!contacts)
        return;
    const QVariantList stored =
        CustomItemCloudValues::loadCustomItemDefinitions(QNPerson::cloudKeyValueStore());
    m_customItems = CustomItemDefinitions::gather(stored, *contacts);
    // The vCard writer reads the address book's definitions from the record's class.
    QNPerson::setCustomItems(*m_customItems);
}
