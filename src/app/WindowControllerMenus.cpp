// The main window's contact and group menus, the two side panes with their toolbar segments, the
// Edit/Lock switch with the detail pane's cross-fade, and the Find button.

#include "app/WindowController.h"

#include "addressbook/DefaultsKey.h"
#include "app/MainMenu.h"
#include "ui/widgets/SegmentedControl.h"
#include "ui/widgets/ToolbarIcon.h"
#include "ui/widgets/ViewAlpha.h"
#include "app/ViewController.h"
#include "platform/Localizer.h"
#include "platform/UserDefaults.h"

#include <QAbstractAnimation>
#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>

namespace {

const QString SelectedGroupItem = QStringLiteral("SelectedGroup");
constexpr int MenuImageSize = 32;
constexpr int SplitButtonImageSize = 26;
constexpr int DetailFadeDuration = 1000;

QIcon menuImage(const QString &name)
{
    const QIcon icon = ToolbarIcon::icon(name);
    return icon.isNull() ? icon : QIcon(icon.pixmap(MenuImageSize, MenuImageSize));
}

} // namespace

// --- the toolbar's controls -----------------------------------------------------------------

// Placed first in the toolbar: the pane segments, then the group and contact menus.
void WindowController::buildPaneControls()
{
    m_splitButtons = new SegmentedControl(2);
    m_splitButtons->setToolTip(L(QStringLiteral("Group")), 0);
    m_splitButtons->setToolTip(L(QStringLiteral("Contact Info")), 1);
    m_toolbar->addWidget(m_splitButtons);
    connect(m_splitButtons, &SegmentedControl::action, this, &WindowController::splitButtonsPressed);
    m_groupsPopup = addPopup(QStringLiteral("group"), QStringLiteral("Group"));
    m_contactPopup = addPopup(QStringLiteral("contact"), QStringLiteral("Contact"));
}

QAction *WindowController::addActionItem(QMenu *menu, const QString &titleKey, MenuCommand command,
                                         const std::function<void()> &handler, const QVariant &object)
{
    QAction *item = menu->addAction(L(titleKey));
    setMenuCommand(item, command, object);
    connect(item, &QAction::triggered, this, handler);
    return item;
}

QAction *WindowController::toolbarMenuItem(MenuCommand command) const
{
    for (const QToolButton *popup : {m_contactPopup, m_groupsPopup}) {
        if (!popup || !popup->menu())
            continue;
        for (QAction *item : popup->menu()->actions()) {
            if (menuCommand(item) == command)
                return item;
        }
    }
    return nullptr;
}

// The export of the File menu does the work, so both items act alike.
void WindowController::initContactMenu()
{
    QMenu *menu = m_contactPopup->menu();
    menu->clear();
    ViewController *view = m_mainViewController;
    // The button shows the title; the heading below it names the menu under "Navigate" too.
    addTitleItem(menu, QStringLiteral("Contact"));
    menu->actions().constLast()->setVisible(false);
    addTitleItem(menu, QStringLiteral("Contact"));
    QAction *info = addActionItem(menu, QStringLiteral("Hide Contact Info"), MenuCommand::ToggleContactInfo,
                                  [this] { toggleContactInfo(); });
    info->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I));
    info->setIcon(menuImage(QStringLiteral("contact")));
    addActionItem(menu, QStringLiteral("Show QRCode"), MenuCommand::ShowQRCode,
                  [view] { view->contactsViewController()->showQRCode(); });
    addActionItem(menu, QStringLiteral("Merge Contacts"), MenuCommand::MergeContacts,
                  [view] { view->contactsViewController()->mergeContacts(); });
    menu->addSeparator();
    addActionItem(menu, QStringLiteral("Add New Contact"), MenuCommand::AddContact,
                  [view] { view->addContact(); });
    addActionItem(menu, QStringLiteral("Delete Contacts"), MenuCommand::DeleteContacts,
                  [view] { view->deleteContacts(); });
    addActionItem(menu, QStringLiteral("Duplicate Contacts"), MenuCommand::DuplicateContacts,
                  [view] { view->duplicateContacts(); });
    addActionItem(menu, QStringLiteral("Export Contacts as vCard"), MenuCommand::ExportToVCard, [this] {
        if (QAction *exportItem = m_mainMenu->item(MenuCommand::ExportToVCard))
            exportItem->trigger();
    });
    // The File menu's CSV item stays disabled; this one is offered like the vCard item.
    addActionItem(menu, QStringLiteral("Export Contacts as CSV"), MenuCommand::ExportContactsAsCSV,
                  [this] { exportToCSV(toolbarMenuItem(MenuCommand::ExportContactsAsCSV)); });
    menu->addSeparator();
    addActionItem(menu, QStringLiteral("Show Company in the Name Cell"), MenuCommand::ToggleShowCompany,
                  [view] { view->contactsViewController()->toggleShowCompany(); });
    // The layouts' titles are sample numbers, never translated.
    QMenu *layouts = menu->addMenu(L(QStringLiteral("Phone Number Layout")));
    for (const PhoneLayout layout : AllPhoneLayouts) {
        QAction *item = layouts->addAction(phoneLayoutTitle(layout));
        setMenuCommand(item, MenuCommand::NormalizePhoneNumber, int(layout));
        connect(item, &QAction::triggered, this,
                [view, layout] { view->contactsViewController()->normalizePhoneNumber(layout); });
    }
    hangUnderNavigate(MenuCommand::ContactMenu, m_contactPopup);
}

void WindowController::initGroupMenu()
{
    QMenu *menu = m_groupsPopup->menu();
    menu->clear();
    ViewController *view = m_mainViewController;
    addTitleItem(menu, QStringLiteral("Group"));
    QAction *hide = addActionItem(menu, QStringLiteral("Hide Group"), MenuCommand::ToggleGroupView,
                                  [this] { toggleGroupView(); });
    hide->setIcon(menuImage(QStringLiteral("group")));
    menu->addSeparator();
    addActionItem(
        menu, QStringLiteral("Selected Group"), MenuCommand::ToggleGroupView, [this] { toggleGroupView(); },
        SelectedGroupItem);
    menu->addSeparator();
    addActionItem(menu, QStringLiteral("Add Group"), MenuCommand::AddGroup, [view] { view->addGroup(); });
    addActionItem(menu, QStringLiteral("Delete Group"), MenuCommand::DeleteGroup,
                  [view] { view->deleteGroup(); });
    menu->addSeparator();
    hangUnderNavigate(MenuCommand::GroupMenu, m_groupsPopup);
}

// "container:group" without blanks.
void WindowController::updateSelectedGroupItem(QMenu *menu)
{
    const GroupDictPtr group = m_mainViewController->selectedGroupDict();
    for (QAction *item : menu->actions()) {
        if (menuCommand(item) != MenuCommand::ToggleGroupView || representedObject(item) != SelectedGroupItem)
            continue;
        item->setText(group ? group->containerName + QLatin1Char(':') + group->name
                            : L(QStringLiteral("Group not selected")));
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
    setSplitButtonState(show, 0);
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
        detail->setCustomItems(customItems());
        view->setDetailCollapsed(false);
        const bool editing = view->editState();
        if (editing)
            detail->updateTable();
        else
            detail->updateWebView();
        // Hidden is enough: an opacity effect on these scroll areas would leave stale pixels
        // (ViewAlpha::crossFade).
        detail->webView()->setHidden(editing);
        detail->scrollView()->setHidden(!editing);
        if (editing)
            detail->tableView()->setFocus();
        view->setContactInfoVisible(true);
        setSplitButtonState(true, 1);
        return;
    }
    if (view->contactInfoVisible()) {
        view->setDetailCollapsed(true);
        view->contactsViewController()->tableView()->setFocus();
    }
    view->setContactInfoVisible(false);
    setSplitButtonState(false, 1);
}

void WindowController::toggleContactInfo()
{
    showContactInfo(!m_mainViewController->contactInfoVisible());
}

void WindowController::splitButtonsPressed(SegmentedControl *sender)
{
    switch (sender ? sender->selectedSegment() : -1) {
    case 0:
        toggleGroupView();
        break;
    case 1:
        toggleContactInfo();
        break;
    default:
        break;
    }
}

void WindowController::initSplitButttons()
{
    const QSize size(SplitButtonImageSize, SplitButtonImageSize);
    const QColor color = QApplication::palette().color(QPalette::Highlight);
    for (int segment : {0, 1}) {
        m_splitButtons->setImage(
            QIcon(QPixmap::fromImage(splitButtonImageWithSize(size, color, segment == 1))), segment);
    }
    m_splitButtons->segmentButton(0)->setIconSize(size);
    m_splitButtons->segmentButton(1)->setIconSize(size);
    m_splitButtons->setSelectedSegment(-1);
    setSplitButtonState(!m_mainViewController->isSidebarCollapsed(), 0);
    setSplitButtonState(m_mainViewController->contactInfoVisible(), 1);
}

QImage WindowController::splitButtonImageWithSize(const QSize &size, const QColor &color, bool side)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    const double w = size.width();
    const double h = size.height();
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.setPen(QPen(color, 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(0.25 * w, 0.25 * h, 0.5 * w, 0.5 * h));
    const double barX = side ? 7.0 * w / 12.0 : 0.25 * w;
    painter.fillRect(QRectF(barX, 0.25 * h, w / 6.0, 0.5 * h), color);
    return image;
}

// The segment stays down while its pane is shown, so the toolbar tells the pane's state.
void WindowController::setSplitButtonState(bool state, int segment)
{
    if (QToolButton *button = m_splitButtons ? m_splitButtons->segmentButton(segment) : nullptr) {
        button->setCheckable(true);
        button->setChecked(state);
    }
}

// --- edit state -----------------------------------------------------------------------------

void WindowController::editButtonClicked()
{
    ViewController *view = m_mainViewController;
    const bool editing = !view->editState();
    if (view->contactInfoVisible()) {
        if (editing)
            view->contactInfoController()->updateTable();
        else
            view->contactInfoController()->updateWebView();
        crossFadeDetailPane(editing);
    }
    view->setEditState(editing);
    m_editButton->setText(editing ? L(QStringLiteral("Lock")) : L(QStringLiteral("Edit")));
    m_defaults.setBool(editing, DefaultsKey::LastEditState);
}

// A fade still running is cut short: its picture of the view it replaced goes with it.
void WindowController::crossFadeDetailPane(bool toTable)
{
    ContactInfoInterface *detail = m_mainViewController->contactInfoController();
    QWidget *card = detail->webView();
    QWidget *table = detail->scrollView();
    if (m_detailFade)
        m_detailFade->stop();
    m_detailFade = toTable ? ViewAlpha::crossFade(card, table, DetailFadeDuration)
                           : ViewAlpha::crossFade(table, card, DetailFadeDuration);
}

// --- find bar -------------------------------------------------------------------------------

void WindowController::findBarButtonClicked()
{
    const bool show = !m_mainViewController->findBarController()->isVisible();
    m_findBarButton->setText(show ? L(QStringLiteral("Hide")) : L(QStringLiteral("Find")));
    // The bar enables the button again once it has finished showing or hiding.
    m_findBarButton->setEnabled(false);
    m_mainViewController->showFindBar(show);
}
