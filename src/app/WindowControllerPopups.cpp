// The toolbar's pull-down menus of the main window: view type, items (columns), label filter and
// sort options. Each menu is one object, hung under its toolbar button and under "Navigate".

#include "app/WindowController.h"

#include "addressbook/DefaultsKey.h"
#include "ui/widgets/FontService.h"
#include "app/MenuValidation.h"
#include "addressbook/SortOptions.h"
#include "app/ToolbarChoices.h"
#include "app/ViewController.h"
#include "addressbook/ViewTypes.h"
#include "model/QNPerson.h"
#include "platform/Localizer.h"
#include "platform/UserDefaults.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QToolButton>

namespace {

const QString All = QStringLiteral("All");
const QString SelectedKey = QStringLiteral("selected");

// The columns the items menu offers; "Name" is always shown and not offered.
const QStringList &itemIdentifiers()
{
    static const QStringList identifiers = {
        QStringLiteral("Email"),           QStringLiteral("Phone"),          QStringLiteral("Address"),
        QStringLiteral("Instant Message"), QStringLiteral("Social Network"), QStringLiteral("URL"),
        QStringLiteral("Phonetic Name"),   QStringLiteral("Nickname"),       QStringLiteral("Birthday"),
        QStringLiteral("Relationship"),    QStringLiteral("Suffix"),         QStringLiteral("Title"),
        QStringLiteral("Company"),         QStringLiteral("Department"),     QStringLiteral("Job Title"),
        QStringLiteral("Dates"),           QStringLiteral("Note"),           QStringLiteral("ZIP"),
        QStringLiteral("State"),           QStringLiteral("City"),           QStringLiteral("Street"),
        QStringLiteral("Country"),
    };
    return identifiers;
}

// Submenus and action groups made for the menu go with its items.
void clearMenu(QMenu *menu)
{
    const QList<QMenu *> submenus = menu->findChildren<QMenu *>(Qt::FindDirectChildrenOnly);
    const QList<QActionGroup *> groups = menu->findChildren<QActionGroup *>(Qt::FindDirectChildrenOnly);
    menu->clear();
    qDeleteAll(submenus);
    qDeleteAll(groups);
}

// The items of a menu of which one is chosen show as such.
void makeExclusive(QMenu *menu)
{
    auto *group = new QActionGroup(menu);
    for (QAction *item : menu->actions()) {
        if (item->isCheckable())
            group->addAction(item);
    }
}

QStringList customItemNames(const QVariantList &customItems)
{
    QStringList names;
    for (const QVariant &item : customItems)
        names.append(item.toMap().value(QStringLiteral("Name")).toString());
    return names;
}

} // namespace

// --- building -------------------------------------------------------------------------------

QAction *WindowController::addMenuItem(QMenu *menu, const QString &title, MenuCommand command,
                                       const QVariant &object)
{
    QAction *item = menu->addAction(title);
    setMenuCommand(item, command, object);
    item->setCheckable(true);
    connect(item, &QAction::triggered, this, [this, item, command] {
        switch (command) {
        case MenuCommand::ViewTypePopupSelected:
            viewTypePopupSelected(item);
            break;
        case MenuCommand::ItemsPopupSelected:
            itemsPopupSelected(item);
            break;
        case MenuCommand::LabelsPopupSelected:
            labelsPopupSelected(item);
            break;
        case MenuCommand::SortOptionsSelected:
            sortOptionsSelected(item);
            break;
        default:
            break;
        }
    });
    return item;
}

// A pull-down's first item names the menu and does nothing.
void WindowController::addTitleItem(QMenu *menu, const QString &titleKey, const QVariant &object)
{
    QAction *title = menu->addAction(L(titleKey));
    setMenuCommand(title, MenuCommand::PopupTitle, object);
    title->setEnabled(false);
}

void WindowController::hangUnderNavigate(MenuCommand navigateItem, QToolButton *popup)
{
    if (QAction *item = menuItem(navigateItem))
        item->setMenu(popup->menu());
}

void WindowController::initViewTypeMenu()
{
    QMenu *menu = m_viewTypePopup->menu();
    clearMenu(menu);
    addTitleItem(menu, QStringLiteral("View Type"), QStringLiteral("View Type"));
    for (const QString &name : ViewTypes::builtInNames())
        addMenuItem(menu, QNPerson::localizedIdentifierForKey(name), MenuCommand::ViewTypePopupSelected,
                    name);
    makeExclusive(menu);
    hangUnderNavigate(MenuCommand::SelectViewTypeMenu, m_viewTypePopup);
}

void WindowController::initItemsMenu()
{
    QMenu *menu = m_itemsPopup->menu();
    clearMenu(menu);
    addTitleItem(menu, QStringLiteral("Items"));
    for (const QString &identifier : itemIdentifiers())
        addMenuItem(menu, QNPerson::localizedIdentifierForKey(identifier), MenuCommand::ItemsPopupSelected,
                    identifier);
    if (!customItems().isEmpty()) {
        menu->addSeparator();
        addCustomItemsToItemsMenu(menu);
    }
    menu->addSeparator();
    QAction *show = menu->addAction(L(QStringLiteral("Show Custom Items")));
    setMenuCommand(show, MenuCommand::ShowCustomItems);
    hangUnderNavigate(MenuCommand::ItemsMenu, m_itemsPopup);
}

// Custom items are set apart by the font and by their type after the name.
void WindowController::addCustomItemsToItemsMenu(QMenu *menu)
{
    QFont font = FontService::systemFont(DefaultsKey::DefaultFontSize);
    if (const std::optional<QFont> selected = m_mainViewController->selectedFont()) {
        font = QFont(selected->family());
        font.setPointSizeF(selected->pointSizeF());
        font.setBold(true);
    }
    for (const QVariant &item : customItems()) {
        const QVariantMap definition = item.toMap();
        const QString name = definition.value(QStringLiteral("Name")).toString();
        const QString type = definition.value(QStringLiteral("Type")).toString();
        QAction *action = addMenuItem(menu, L(name) + QStringLiteral(" (%1)").arg(type),
                                      MenuCommand::ItemsPopupSelected, name);
        action->setFont(font);
    }
}

void WindowController::menuNeedsUpdate(QMenu *menu)
{
    if (menu && m_groupsPopup && menu == m_groupsPopup->menu()) {
        updateSelectedGroupItem(menu);
        return;
    }
    if (!menu || menu != m_labelsPopup->menu())
        return;
    buildLabelsMenu(menu);
    hangUnderNavigate(MenuCommand::SelectLabelMenu, m_labelsPopup);
    // The menu is rebuilt as it opens, after its items were last validated.
    m_menuValidation->validateMenu(menu);
}

// The labels of the labelled columns that the stored view type shows; a label that several of
// them share is listed once.
void WindowController::buildLabelsMenu(QMenu *menu)
{
    clearMenu(menu);
    addTitleItem(menu, QStringLiteral("Labels"));
    addMenuItem(menu, L(All), MenuCommand::LabelsPopupSelected, All);
    const QStringList columns = storedColumnsOfSelectedViewType();
    const QNPerson::LabelTable labelTable = QNPerson::labelTableDict();
    QStringList listed{All};
    for (const QString &identifier : QNPerson::labeledIdentifiers()) {
        if (!columns.contains(identifier))
            continue;
        for (const QString &label : labelTable.value(identifier)) {
            if (listed.contains(label))
                continue;
            listed.append(label);
            addMenuItem(menu, QNPerson::localizedLabelFromCNLabel(QNPerson::CNLabelFromLabel(label)),
                        MenuCommand::LabelsPopupSelected, label);
        }
    }
}

void WindowController::initSortOptionsMenu()
{
    initSortOptionsDict();
    QMenu *menu = m_sortOptionsPopup->menu();
    clearMenu(menu);
    addTitleItem(menu, QStringLiteral("Sort Options"), QStringLiteral("Sort Options"));
    for (const QString &column : SortOptions::columnOrder(m_sortOptionsDict, customItems())) {
        const QVariantMap entry = m_sortOptionsDict.value(column).toMap();
        auto *submenu = new QMenu(QNPerson::localizedIdentifierForKey(column), menu);
        setMenuCommand(submenu->menuAction(), MenuCommand::None, column);
        menu->addMenu(submenu);
        const QString selected = entry.value(SelectedKey).toString();
        for (const QString &option : entry.value(QStringLiteral("items")).toStringList()) {
            QAction *item = addMenuItem(submenu, QNPerson::localizedIdentifierForKey(option),
                                        MenuCommand::SortOptionsSelected, option);
            item->setChecked(option == selected);
        }
        makeExclusive(submenu);
    }
    hangUnderNavigate(MenuCommand::SortOptionsMenu, m_sortOptionsPopup);
}

void WindowController::initSortOptionsDict()
{
    const QVariant stored = m_defaults.objectForKey(DefaultsKey::SortOptionsDefault);
    const QVariantMap chosen = stored.isValid() ? stored.toMap() : SortOptions::builtInChoices();
    m_sortOptionsDict = SortOptions::makeDict(chosen, customItems());
    m_defaults.setObject(m_sortOptionsDict, DefaultsKey::SortOptionsDict);
}

// --- the stored view types ------------------------------------------------------------------

QVariantMap WindowController::storedViewTypeDict() const
{
    return m_defaults.dictionaryForKey(DefaultsKey::ViewTypeDict);
}

QStringList WindowController::storedColumnsOfSelectedViewType() const
{
    return storedViewTypeDict().value(m_defaults.stringForKey(DefaultsKey::SelectedViewType)).toStringList();
}

void WindowController::updateViewTypeDict()
{
    std::optional<QStringList> known;
    // Before the custom items are gathered, their columns cannot be told from stale ones.
    if (m_customItems)
        known = QNPerson::allIdentifiers() + QNPerson::addressIdentifiers() + customItemNames(*m_customItems);
    m_viewTypeDict = ToolbarChoices::cleanedViewTypeDict(storedViewTypeDict(), known);
    m_defaults.setObject(m_viewTypeDict, DefaultsKey::ViewTypeDict);
}

// --- choices --------------------------------------------------------------------------------

// The grid is told before and after the clean-up of the stored view types, which may drop
// columns of the chosen type.
void WindowController::viewTypePopupSelected(QAction *item)
{
    const QString viewType = representedObject(item).toString();
    if (viewType.isEmpty())
        return;
    ContactsGridInterface *grid = m_mainViewController->contactsViewController();
    m_selectedViewType = viewType;
    grid->setSelectedViewType(viewType);
    m_defaults.setObject(viewType, DefaultsKey::SelectedViewType);
    updateViewTypeDict();
    m_mainViewController->setSelectedViewType(viewType);
    m_mainViewController->setViewTypeDict(m_viewTypeDict);
    grid->setSelectedViewType(viewType);
}

void WindowController::itemsPopupSelected(QAction *item)
{
    const QString identifier = representedObject(item).toString();
    if (identifier.isEmpty() || m_selectedViewType.isEmpty())
        return;
    m_viewTypeDict = storedViewTypeDict();
    // A view type without a list yet starts from the name column, which every list holds.
    const QStringList columns = m_viewTypeDict.contains(m_selectedViewType)
                                    ? m_viewTypeDict.value(m_selectedViewType).toStringList()
                                    : QStringList{QStringLiteral("Name")};
    m_viewTypeDict.insert(m_selectedViewType,
                          QVariant(ToolbarChoices::toggledColumns(columns, identifier)).toList());
    m_defaults.setObject(m_viewTypeDict, DefaultsKey::ViewTypeDict);
    m_mainViewController->setViewTypeDict(m_viewTypeDict);
    m_mainViewController->contactsViewController()->setSelectedViewType(m_selectedViewType);
}

// The detail pane filters by the same labels as the grid.
void WindowController::labelsPopupSelected(QObject *sender)
{
    auto *item = qobject_cast<QAction *>(sender);
    if (!item)
        return;
    const QString label = representedObject(item).toString();
    if (label.isEmpty())
        return;
    m_selectedLabels = ToolbarChoices::toggledLabels(m_selectedLabels, label);
    m_defaults.setObject(m_selectedLabels, DefaultsKey::SelectedLabels);
    ViewController *view = m_mainViewController;
    view->setSelectedLabels(m_selectedLabels);
    view->contactsViewController()->setSelectedLabels(m_selectedLabels);
    view->contactsViewController()->updateTable();
    view->contactInfoController()->setSelectedLabels(m_selectedLabels);
    if (view->contactInfoVisible())
        view->contactInfoController()->updateTable();
}

// Choosing the option already chosen writes nothing, but the grid still sorts by the column.
void WindowController::sortOptionsSelected(QAction *item)
{
    const auto *parent = item ? qobject_cast<const QMenu *>(item->parent()) : nullptr;
    const QString column = parent ? representedObject(parent->menuAction()).toString() : QString();
    if (column.isEmpty() || !m_sortOptionsDict.contains(column))
        return;
    QVariantMap entry = m_sortOptionsDict.value(column).toMap();
    const QString option = representedObject(item).toString();
    if (option != entry.value(SelectedKey).toString()) {
        entry.insert(SelectedKey, option);
        m_sortOptionsDict.insert(column, entry);
        m_defaults.setObject(m_sortOptionsDict, DefaultsKey::SortOptionsDict);
        m_defaults.setObject(SortOptions::choicesOf(m_sortOptionsDict), DefaultsKey::SortOptionsDefault);
    }
    m_mainViewController->contactsViewController()->sortOptionsChanged(entry, column);
}
