#include "app/WindowController.h"

#include "addressbook/DefaultsKey.h"
#include "addressbook/ViewTypes.h"
#include "app/BusyWait.h"
#include "app/FileExporter.h"
#include "app/FileImporter.h"
#include "app/FontManager.h"
#include "app/MainMenu.h"
#include "app/MenuValidation.h"
#include "app/PaneWidths.h"
#include "app/ToolbarChoices.h"
#include "app/ViewController.h"
#include "grid/ContactsViewController.h"
#include "grid/GridCommands.h"
#include "platform/Localizer.h"
#include "platform/Log.h"
#include "platform/UndoManager.h"
#include "platform/UserDefaults.h"
#include "platform/widgets/Alert.h"
#include "print/PrintWindowServices.h"
#include "ui/widgets/ToolbarIcon.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QToolBar>
#include <QToolButton>

namespace {

// The toolbar's small size.
constexpr int SmallIconSize = 24;

} // namespace

WindowController::WindowController(QWidget *parent)
    : WindowController(UserDefaults::standard(), SplitPanes::makeDefault(UserDefaults::standard()), parent)
{
}

WindowController::WindowController(UserDefaults &defaults, SplitPanes panes, QWidget *parent)
    : QMainWindow(parent), m_defaults(defaults),
      m_mainViewController(new ViewController(defaults, std::move(panes))), m_mainMenu(new MainMenu(this)),
      m_menuValidation(new MenuValidation(this, [this](QAction *item) { return validateMenuItem(item); })),
      m_printServices(std::make_unique<PrintWindowServices>(defaults))
{
    setWindowTitle(QApplication::applicationName() + QStringLiteral("[*]"));
    setCentralWidget(m_mainViewController);
    buildToolbar();
    // The view's defaults are in place before the window reads any.
    m_mainViewController->viewDidLoad();
    connectMenuItems();
    connectCustomItemCommands();
    connectFileCommands();
    // The grid's header menu stores a column's sort option itself; the toolbar's menu reads it again.
    if (auto *grid = dynamic_cast<ContactsViewController *>(m_mainViewController->contactsViewController()))
        connect(&grid->commands(), &GridCommands::sortOptionsDictChanged, this,
                [this] { m_sortOptionsDict = m_defaults.dictionaryForKey(DefaultsKey::SortOptionsDict); });
    windowDidLoad();
    for (QMenu *menu : m_mainMenu->menus())
        m_menuValidation->watchMenu(menu);
    setGeometry(firstRunFrame(
        QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry() : QRect()));
    validateMenuItems();
}

WindowController::~WindowController() = default;

UndoManager *WindowController::undoManager() const
{
    return m_mainViewController->undoManager();
}

QAction *WindowController::menuItem(MenuCommand command) const
{
    if (QAction *item = m_mainMenu->item(command))
        return item;
    return toolbarMenuItem(command);
}

// --- set-up ---------------------------------------------------------------------------------

void WindowController::windowDidLoad()
{
    m_toolbar->setIconSize(QSize(SmallIconSize, SmallIconSize));
    readStoredChoices();
    m_toolbar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_mainMenu->translate();
    initViewTypeMenu();
    initItemsMenu();
    QMenu *labels = m_labelsPopup->menu();
    menuNeedsUpdate(labels);
    disconnect(m_labelsMenuDelegate);
    m_labelsMenuDelegate =
        connect(labels, &QMenu::aboutToShow, this, [this, labels] { menuNeedsUpdate(labels); });
    initSortOptionsMenu();
    initContactMenu();
    initGroupMenu();
    QMenu *groups = m_groupsPopup->menu();
    disconnect(m_groupsMenuDelegate);
    m_groupsMenuDelegate =
        connect(groups, &QMenu::aboutToShow, this, [this, groups] { menuNeedsUpdate(groups); });
    initSplitButttons();
    m_findBarButton->setText(L(QStringLiteral("Find")));
    setSplitButtonState(false, 1);
    // Without this the grid would show only the name column until a view type is chosen.
    if (!m_selectedViewType.isEmpty())
        m_mainViewController->contactsViewController()->setSelectedViewType(m_selectedViewType);
}

void WindowController::readStoredChoices()
{
    const QStringList method{QStringLiteral("WindowController::windowDidLoad")};
    const QVariant labels = m_defaults.objectForKey(DefaultsKey::SelectedLabels);
    if (labels.isValid()) {
        m_selectedLabels = ToolbarChoices::normalizedLabels(labels.toStringList());
    } else {
        m_selectedLabels = ViewTypes::allLabels();
        m_defaults.setObject(m_selectedLabels, DefaultsKey::SelectedLabels);
    }

    m_viewTypeDict = m_defaults.dictionaryForKey(DefaultsKey::ViewTypeDict);
    if (m_viewTypeDict.isEmpty())
        Log::write("%s: Error viewTypeDict is nil", method);

    m_selectedViewType = m_defaults.stringForKey(DefaultsKey::SelectedViewType);

    // Missing on every first start (the sort menu stores it): nothing to tell the user.
    m_sortOptionsDict = m_defaults.dictionaryForKey(DefaultsKey::SortOptionsDict);
}

void WindowController::windowDidBecomeKey()
{
    ViewController *view = m_mainViewController;
    if (view)
        FontManager::shared().setTarget(view, [view](FontManager *sender) { view->changeFont(sender); });
}

void WindowController::buildToolbar()
{
    m_toolbar = addToolBar(L(QStringLiteral("Toolbar")));
    m_toolbar->setObjectName(QStringLiteral("toolbar"));
    m_toolbar->setMovable(false);
    buildPaneControls();
    m_viewTypePopup = addPopup(QStringLiteral("viewtype"), QStringLiteral("View Type"));
    m_itemsPopup = addPopup(QStringLiteral("items"), QStringLiteral("Items"));
    m_labelsPopup = addPopup(QStringLiteral("labels"), QStringLiteral("Labels"));
    m_sortOptionsPopup = addPopup(QStringLiteral("sortoptions"), QStringLiteral("Sort Options"));
    auto *spacer = new QWidget;
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    m_toolbar->addWidget(spacer);
    m_findBarButton = new QPushButton(L(QStringLiteral("Find")));
    m_editButton = new QPushButton(L(QStringLiteral("Edit")));
    m_toolbar->addWidget(m_findBarButton);
    m_toolbar->addWidget(m_editButton);
    connect(m_findBarButton, &QPushButton::clicked, this, &WindowController::findBarButtonClicked);
    connect(m_editButton, &QPushButton::clicked, this, &WindowController::editButtonClicked);
}

// A pull-down: the button opens its menu at once and follows the toolbar's icon size and style.
// The menu belongs to the window, since the same menu also hangs under "Navigate".
QToolButton *WindowController::addPopup(const QString &icon, const QString &titleKey)
{
    auto *button = new QToolButton;
    button->setIcon(ToolbarIcon::icon(icon));
    button->setText(L(titleKey));
    button->setToolTip(L(titleKey));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setMenu(new QMenu(L(titleKey), this));
    button->setPopupMode(QToolButton::InstantPopup);
    button->setIconSize(m_toolbar->iconSize());
    button->setToolButtonStyle(m_toolbar->toolButtonStyle());
    connect(m_toolbar, &QToolBar::iconSizeChanged, button, &QToolButton::setIconSize);
    connect(m_toolbar, &QToolBar::toolButtonStyleChanged, button, &QToolButton::setToolButtonStyle);
    m_toolbar->addWidget(button);
    return button;
}

void WindowController::connectMenuItems()
{
    ViewController *view = m_mainViewController;
    FontManager &fonts = FontManager::shared();
    const QList<std::pair<MenuCommand, std::function<void()>>> handlers = {
        {MenuCommand::PrintDocument, [this] { printDocument(); }},
        {MenuCommand::Close, [this] { close(); }},
        // Each window asks about its unsaved changes as it closes; one that stays open stops the quit.
        {MenuCommand::Quit, [] { QApplication::closeAllWindows(); }},
        {MenuCommand::Undo, [view] { view->undo(); }},
        {MenuCommand::Redo, [view] { view->redo(); }},
        {MenuCommand::Copy, [view] { view->contactsViewController()->copy(GridCopyFormat::Text); }},
        {MenuCommand::CopyAsCSV, [view] { view->contactsViewController()->copy(GridCopyFormat::CSV); }},
        {MenuCommand::CopyAsVCard, [view] { view->contactsViewController()->copy(GridCopyFormat::VCard); }},
        {MenuCommand::Paste, [view] { view->contactsViewController()->paste(); }},
        {MenuCommand::Find, [view] { view->performFindBarAction(MenuCommand::Find); }},
        {MenuCommand::FindAndReplace, [view] { view->performFindBarAction(MenuCommand::FindAndReplace); }},
        {MenuCommand::FindNext, [view] { view->performFindBarAction(MenuCommand::FindNext); }},
        {MenuCommand::FindPrevious, [view] { view->performFindBarAction(MenuCommand::FindPrevious); }},
        {MenuCommand::ShowFindPanel, [view] { view->showFindPanel(); }},
        {MenuCommand::UseSelectionForFind,
         [view] { view->performFindBarAction(MenuCommand::UseSelectionForFind); }},
        {MenuCommand::ShowFonts, [this, &fonts] { fonts.orderFrontFontPanel(this); }},
        {MenuCommand::BiggerFont, [&fonts] { fonts.modifyFontBigger(); }},
        {MenuCommand::SmallerFont, [&fonts] { fonts.modifyFontSmaller(); }},
        {MenuCommand::RevertToDefaultFont, [view] { view->revertToDefaultFont(); }},
        {MenuCommand::ToggleToolbar, [this] { m_toolbar->setVisible(!m_toolbar->isVisible()); }},
        {MenuCommand::ToggleFullScreen, [this] { setWindowState(windowState() ^ Qt::WindowFullScreen); }},
        {MenuCommand::EditButtonClicked, [this] { editButtonClicked(); }},
        {MenuCommand::Minimize, [this] { showMinimized(); }},
        {MenuCommand::Zoom, [this] { isMaximized() ? showNormal() : showMaximized(); }},
    };
    for (const auto &[command, handler] : handlers) {
        if (QAction *item = menuItem(command))
            connect(item, &QAction::triggered, this, handler);
    }
}

// Everything that shows the definitions follows them: the items menu, the view types' columns and
// the sort options. While no contacts have been handed over they stay unknown.
void WindowController::updateCustomItems()
{
    startCustomItems();
    initItemsMenu();
    updateViewTypeDict();
    initSortOptionsMenu();
    const QVariantList items = customItems();
    m_mainViewController->contactInfoController()->setCustomItems(items);
    m_mainViewController->contactInfoController()->updateTable();
    m_mainViewController->contactsViewController()->setCustomItems(items);
    m_mainViewController->setCustomItems(items);
}

// --- menus ----------------------------------------------------------------------------------

bool WindowController::hasSelectedRows() const
{
    return !m_mainViewController->contactsViewController()->selectedSubContacts().isEmpty();
}

bool WindowController::validateMenuItem(QAction *item)
{
    ViewController *view = m_mainViewController;
    const QVariant object = representedObject(item);
    switch (menuCommand(item)) {
    case MenuCommand::None:
    case MenuCommand::PopupTitle:
        return false;
    case MenuCommand::ViewTypePopupSelected:
        item->setChecked(object.toString() == m_selectedViewType);
        return true;
    case MenuCommand::ItemsPopupSelected:
        item->setChecked(m_viewTypeDict.value(m_selectedViewType).toStringList().contains(object.toString()));
        return true;
    case MenuCommand::LabelsPopupSelected:
        item->setChecked(m_selectedLabels.contains(object.toString()));
        return true;
    case MenuCommand::SortOptionsSelected: {
        const auto *parent = qobject_cast<const QMenu *>(item->parent());
        const QString column = parent ? representedObject(parent->menuAction()).toString() : QString();
        if (!column.isEmpty()) {
            const QVariantMap entry = m_sortOptionsDict.value(column).toMap();
            item->setChecked(object.toString() == entry.value(QStringLiteral("selected")).toString());
        }
        return true;
    }
    case MenuCommand::ToggleContactInfo:
        item->setText(view->contactInfoVisible() ? L(QStringLiteral("Hide Contact Info"))
                                                 : L(QStringLiteral("Show Contact Info")));
        return true;
    // The item that shows the selected group keeps its title.
    case MenuCommand::ToggleGroupView: {
        const QString hide = L(QStringLiteral("Hide Group"));
        const QString show = L(QStringLiteral("Show Group"));
        if (view->isSidebarCollapsed() && item->text() == hide)
            item->setText(show);
        else if (!view->isSidebarCollapsed() && item->text() == show)
            item->setText(hide);
        return true;
    }
    case MenuCommand::EditButtonClicked:
        item->setChecked(view->editState());
        return true;
    case MenuCommand::PrintDocument:
    case MenuCommand::ExportToVCard:
    case MenuCommand::ExportContactsAsCSV:
        return hasSelectedRows();
    // The CSV export is not offered.
    case MenuCommand::ExportToCSV:
        return false;
    case MenuCommand::ImportFromVCard:
    case MenuCommand::ImportFromCSV:
        return true;
    // Offered while there is something to save or to throw away.
    case MenuCommand::SaveDocument:
    case MenuCommand::RevertAddressBookToSaved:
        return isWindowModified();
    case MenuCommand::ToggleToolbar:
        item->setText(m_toolbar->isVisible() ? L(QStringLiteral("Hide Toolbar"))
                                             : L(QStringLiteral("Show Toolbar")));
        return true;
    case MenuCommand::ToggleFullScreen:
        item->setText(isFullScreen() ? L(QStringLiteral("Exit Full Screen"))
                                     : L(QStringLiteral("Enter Full Screen")));
        return true;
    default:
        return view->validateMenuItem(item);
    }
}

void WindowController::validateMenuItems()
{
    m_menuValidation->validateAll();
}

// --- frame and closing ----------------------------------------------------------------------

QRect WindowController::firstRunFrame(const QRect &visibleFrame)
{
    // Placed from the bottom edge of the visible area: origin (100, H - 600), 900 by 500.
    const int height = visibleFrame.height();
    const QRect fromBottom(100, height - 600, 900, 500);
    return {visibleFrame.left() + fromBottom.x(),
            visibleFrame.top() + height - fromBottom.y() - fromBottom.height(), fromBottom.width(),
            fromBottom.height()};
}

void WindowController::placeAtFirstRunFrame()
{
    QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    setGeometry(firstRunFrame(screen ? screen->availableGeometry() : QRect()));
}

void WindowController::setFrameAutosaveName(const QString &name)
{
    m_frameAutosaveName = name;
    const QVariantMap frame = m_defaults.dictionaryForKey(DefaultsKey::WindowFramePrefix + name);
    const QRect rect(frame.value(QStringLiteral("x")).toInt(), frame.value(QStringLiteral("y")).toInt(),
                     frame.value(QStringLiteral("width")).toInt(),
                     frame.value(QStringLiteral("height")).toInt());
    if (rect.width() > 0 && rect.height() > 0)
        setGeometry(rect);
}

void WindowController::saveFrame()
{
    if (m_frameAutosaveName.isEmpty())
        return;
    const QRect rect = geometry();
    m_defaults.setObject(QVariantMap{{QStringLiteral("x"), rect.x()},
                                     {QStringLiteral("y"), rect.y()},
                                     {QStringLiteral("width"), rect.width()},
                                     {QStringLiteral("height"), rect.height()}},
                         DefaultsKey::WindowFramePrefix + m_frameAutosaveName);
}

void WindowController::closeEvent(QCloseEvent *event)
{
    // A close from the window system or the session during a save or reload is answered once
    // that work has ended, so that its question cannot start a second save inside the first.
    if (BusyWait::isRunning()) {
        event->ignore();
        if (!std::exchange(m_closeWaiting, true))
            BusyWait::whenIdle(this, [this] {
                m_closeWaiting = false;
                close();
            });
        return;
    }
    if (!windowShouldClose()) {
        event->ignore();
        return;
    }
    windowWillClose();
    QMainWindow::closeEvent(event);
}

void WindowController::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        windowDidBecomeKey();
}

bool WindowController::windowShouldClose()
{
    if (!askToSaveChanges())
        return false;
    disconnect(m_labelsMenuDelegate);
    disconnect(m_groupsMenuDelegate);
    return true;
}

// Quitting drops what was not saved, so the user is asked once; a load in progress has nothing
// of theirs yet.
bool WindowController::askToSaveChanges()
{
    ViewController *view = m_mainViewController;
    if (!view || !view->isDocumentEdited() || view->isAddressBookLoading())
        return true;
    Alert alert;
    alert.setMessageText(L(QStringLiteral("Do you want to save the changes you made?")));
    alert.setInformativeText(L(QStringLiteral("Your changes will be lost if you don't save them.")));
    alert.addButton(L(QStringLiteral("Save")));
    alert.addButton(L(QStringLiteral("Don't Save")));
    alert.addButton(L(QStringLiteral("Cancel")), Alert::ButtonRole::Cancel);
    switch (alert.runModal()) {
    case Alert::FirstButton:
        return m_documentSaver && m_documentSaver();
    case Alert::SecondButton:
        return true;
    default:
        return false;
    }
}

void WindowController::windowWillClose()
{
    if (!m_mainViewController)
        return;
    m_mainViewController->saveColumnWithDictionary();
    m_defaults.setBool(m_mainViewController->editState(), DefaultsKey::LastEditState);
    if (PaneWidths *paneWidths = m_mainViewController->paneWidths())
        paneWidths->save();
    saveFrame();
}
