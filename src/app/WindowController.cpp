#include "app/WindowController.h"

#include "app/DefaultsKey.h"
#include "app/FontManager.h"
#include "app/MainMenu.h"
#include "app/MenuValidation.h"
#include "app/ViewController.h"
#include "model/QNPerson.h"
#include "platform/Localizer.h"
#include "platform/UndoManager.h"
#include "platform/UserDefaults.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QToolBar>

WindowController::WindowController(QWidget *parent)
    : WindowController(UserDefaults::standard(), SplitPanes::makeDefault(UserDefaults::standard()), parent)
{
}

WindowController::WindowController(UserDefaults &defaults, SplitPanes panes, QWidget *parent)
    : QMainWindow(parent), m_defaults(defaults),
      m_mainViewController(new ViewController(defaults, std::move(panes))), m_mainMenu(new MainMenu(this)),
      m_menuValidation(new MenuValidation(this, [this](QAction *item) { return validateMenuItem(item); }))
{
    setWindowTitle(QApplication::applicationName() + QStringLiteral("[*]"));
    setCentralWidget(m_mainViewController);
    buildToolbar();
    // The view's defaults are in place before the window reads any.
    m_mainViewController->viewDidLoad();
    connectMenuItems();
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
    return m_mainMenu->item(command);
}

void WindowController::buildToolbar()
{
    m_toolbar = addToolBar(L(QStringLiteral("Toolbar")));
    m_toolbar->setObjectName(QStringLiteral("toolbar"));
    m_toolbar->setMovable(false);
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

void WindowController::connectMenuItems()
{
    ViewController *view = m_mainViewController;
    FontManager &fonts = FontManager::shared();
    const QList<std::pair<MenuCommand, std::function<void()>>> handlers = {
        {MenuCommand::Close, [this] { close(); }},
        // Quitting never asks: unsaved changes are dropped, but each window keeps its state.
        {MenuCommand::Quit, [] { QApplication::closeAllWindows(); }},
        {MenuCommand::Undo, [view] { view->undo(); }},
        {MenuCommand::Redo, [view] { view->redo(); }},
        {MenuCommand::FindBarButtonClicked, [this] { findBarButtonClicked(); }},
        {MenuCommand::ShowFonts, [this, &fonts] { fonts.orderFrontFontPanel(this); }},
        {MenuCommand::BiggerFont, [&fonts] { fonts.modifyFontBigger(); }},
        {MenuCommand::SmallerFont, [&fonts] { fonts.modifyFontSmaller(); }},
        {MenuCommand::RevertToDefaultFont, [view] { view->revertToDefaultFont(); }},
        {MenuCommand::ToggleToolbar, [this] { m_toolbar->setVisible(!m_toolbar->isVisible()); }},
        {MenuCommand::ToggleFullScreen, [this] { setWindowState(windowState() ^ Qt::WindowFullScreen); }},
        {MenuCommand::ToggleContactInfo, [this] { toggleContactInfo(); }},
        {MenuCommand::ToggleGroupView, [this] { toggleGroupView(); }},
        {MenuCommand::EditButtonClicked, [this] { editButtonClicked(); }},
        {MenuCommand::Minimize, [this] { showMinimized(); }},
        {MenuCommand::Zoom, [this] { isMaximized() ? showNormal() : showMaximized(); }},
    };
    for (const auto &[command, handler] : handlers) {
        if (QAction *item = menuItem(command))
            connect(item, &QAction::triggered, this, handler);
    }
}

// --- panes ----------------------------------------------------------------------------------

void WindowController::showGroupView(bool show)
{
    ViewController *view = m_mainViewController;
    if (show) {
        if (view->isSidebarCollapsed()) {
            view->setSidebarCollapsed(false);
            view->groupViewController()->updateTable();
            view->groupViewController()->outlineView()->setFocus();
        }
    } else if (!view->isSidebarCollapsed()) {
        view->setSidebarCollapsed(true);
        view->contactsViewController()->tableView()->setFocus();
    }
}

void WindowController::toggleGroupView()
{
    const bool show = m_mainViewController->isSidebarCollapsed();
    showGroupView(show);
    m_defaults.setBool(show, DefaultsKey::ShowGroupView);
}

void WindowController::showContactInfo(bool show)
{
    ViewController *view = m_mainViewController;
    ContactInfoInterface *detail = view->contactInfoController();
    if (show) {
        if (view->contactInfoVisible())
            return;
        detail->setCustomItems(m_customItems);
        view->setDetailCollapsed(false);
        if (view->editState()) {
            detail->updateTable();
            detail->tableView()->setFocus();
        } else {
            detail->updateWebView();
        }
        view->setContactInfoVisible(true);
        return;
    }
    if (view->contactInfoVisible()) {
        view->setDetailCollapsed(true);
        view->contactsViewController()->tableView()->setFocus();
    }
    view->setContactInfoVisible(false);
}

void WindowController::toggleContactInfo()
{
    showContactInfo(!m_mainViewController->contactInfoVisible());
}

void WindowController::editButtonClicked()
{
    ViewController *view = m_mainViewController;
    const bool editing = !view->editState();
    if (view->contactInfoVisible()) {
        if (editing)
            view->contactInfoController()->updateTable();
        else
            view->contactInfoController()->updateWebView();
    }
    view->setEditState(editing);
    m_defaults.setBool(editing, DefaultsKey::LastEditState);
}

void WindowController::findBarButtonClicked()
{
    const bool show = !m_mainViewController->findBarController()->isVisible();
    m_findBarButton->setText(show ? L(QStringLiteral("Hide")) : L(QStringLiteral("Find")));
    // The bar enables the button again once it has finished showing or hiding.
    m_findBarButton->setEnabled(false);
    m_mainViewController->showFindBar(show);
}

void WindowController::updateCustomItems()
{
    m_customItems = QNPerson::customItems().value_or(QVariantList());
    m_mainViewController->contactInfoController()->setCustomItems(m_customItems);
    m_mainViewController->contactsViewController()->setCustomItems(m_customItems);
    m_mainViewController->setCustomItems(m_customItems);
}

// --- menus ----------------------------------------------------------------------------------

bool WindowController::validateMenuItem(QAction *item)
{
    ViewController *view = m_mainViewController;
    switch (menuCommand(item)) {
    case MenuCommand::ToggleContactInfo:
        item->setText(view->contactInfoVisible() ? L(QStringLiteral("Hide Contact Info"))
                                                 : L(QStringLiteral("Show Contact Info")));
        return true;
    case MenuCommand::ToggleGroupView:
        item->setText(view->isSidebarCollapsed() ? L(QStringLiteral("Show Group"))
                                                 : L(QStringLiteral("Hide Group")));
        return true;
    case MenuCommand::EditButtonClicked:
        item->setChecked(view->editState());
        return true;
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
    windowWillClose();
    QMainWindow::closeEvent(event);
}

void WindowController::windowWillClose()
{
    m_mainViewController->saveColumnWithDictionary();
    m_defaults.setBool(m_mainViewController->editState(), DefaultsKey::LastEditState);
    saveFrame();
}
