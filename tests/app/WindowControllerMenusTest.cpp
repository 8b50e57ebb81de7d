#include "WindowFixture.h"

#include "addressbook/DefaultsKey.h"
#include "ui/widgets/SegmentedControl.h"
#include "ui/widgets/ViewAlpha.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"

#include <QAbstractScrollArea>
#include <QImage>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QToolButton>

namespace {

class WindowMenusTest : public WindowFixture
{
protected:
    QMenu *contactMenu() const { return m_window->contactPopup()->menu(); }
    QMenu *groupMenu() const { return m_window->groupsPopup()->menu(); }

    // Each item as "command:title", separators as "-".
    static QStringList layoutOf(QMenu *menu)
    {
        QStringList items;
        for (QAction *item : menu->actions())
            items.append(item->isSeparator() ? QString("-")
                                             : QString::number(int(menuCommand(item))) + ":" + item->text());
        return items;
    }
    static QString entry(MenuCommand command, const QString &title)
    {
        return QString::number(int(command)) + ":" + title;
    }

    QWidget *card() const { return view()->contactInfoController()->webView(); }

    // The window's pixels on screen where the view lies are those of a fresh drawing of the window.
    bool showsAsDrawn(QWidget *view) const
    {
        QCoreApplication::processEvents();
        const QRect area(view->mapTo(m_window.get(), QPoint()), view->size());
        const QImage onScreen = m_window->screen()
                                    ->grabWindow(m_window->winId(), area.x(), area.y(), area.width(),
                                                 area.height())
                                    .toImage()
                                    .convertToFormat(QImage::Format_RGB32);
        return onScreen == m_window->grab(area).toImage().convertToFormat(QImage::Format_RGB32);
    }
    QWidget *table() const { return view()->contactInfoController()->scrollView(); }
};

TEST_F(WindowMenusTest, TheContactMenuHangsUnderNavigateToo)
{
    emit contactMenu()->aboutToShow();
    EXPECT_EQ(
        layoutOf(contactMenu()),
        QStringList({entry(MenuCommand::PopupTitle, "Contact"), entry(MenuCommand::PopupTitle, "Contact"),
                     entry(MenuCommand::ToggleContactInfo, "Show Contact Info"),
                     entry(MenuCommand::ShowQRCode, "Show QRCode"),
                     entry(MenuCommand::MergeContacts, "Merge Contacts"), "-",
                     entry(MenuCommand::AddContact, "Add New Contact"),
                     entry(MenuCommand::DeleteContacts, "Delete Contacts"),
                     entry(MenuCommand::DuplicateContacts, "Duplicate Contacts"),
                     entry(MenuCommand::ExportToVCard, "Export Contacts as vCard"),
                     entry(MenuCommand::ExportContactsAsCSV, "Export Contacts as CSV"), "-",
                     entry(MenuCommand::ToggleShowCompany, "Show Company in the Name Cell"),
                     entry(MenuCommand::None, "Phone Number Layout")}));
    EXPECT_EQ(m_window->menuItem(MenuCommand::ContactMenu)->menu(), contactMenu());
    EXPECT_EQ(m_window->menuItem(MenuCommand::GroupMenu)->menu(), groupMenu());
    QAction *info = m_window->menuItem(MenuCommand::ToggleContactInfo);
    EXPECT_EQ(info->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I));
    m_window->show();
    m_window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    QTest::keyClick(m_window.get(), Qt::Key_I, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(view()->contactInfoVisible());
    EXPECT_FALSE(validated(contactMenu()->actions().at(1))) << "the heading";
}

TEST_F(WindowMenusTest, TheGroupMenuNamesTheSelectedGroup)
{
    const QStringList expected = {entry(MenuCommand::PopupTitle, "Group"),
                                  entry(MenuCommand::ToggleGroupView, "Hide Group"),
                                  "-",
                                  entry(MenuCommand::ToggleGroupView, "Group not selected"),
                                  "-",
                                  entry(MenuCommand::AddGroup, "Add Group"),
                                  entry(MenuCommand::DeleteGroup, "Delete Group"),
                                  "-"};
    emit groupMenu()->aboutToShow();
    EXPECT_EQ(layoutOf(groupMenu()), expected);

    auto friends = std::make_shared<GroupDict>();
    friends->name = "Friends";
    friends->containerName = "On My Mac";
    view()->setSelectedGroupDict(friends);
    emit groupMenu()->aboutToShow();
    QAction *selected = groupMenu()->actions().at(3);
    EXPECT_EQ(selected->text(), "On My Mac:Friends");

    // Validation swaps only the hide and show titles; the selected group's item toggles too.
    selected->trigger();
    EXPECT_TRUE(view()->isSidebarCollapsed());
    EXPECT_TRUE(validated(selected));
    EXPECT_EQ(selected->text(), "On My Mac:Friends");
    QAction *hide = groupMenu()->actions().at(1);
    validated(hide);
    EXPECT_EQ(hide->text(), "Show Group");
}

TEST_F(WindowMenusTest, TheSegmentsToggleTheSidePanes)
{
    m_window->show();
    SegmentedControl *segments = m_window->splitButtons();
    ASSERT_EQ(segments->segmentCount(), 2);
    EXPECT_EQ(segments->selectedSegment(), -1);
    const bool sidebarCollapsed = view()->isSidebarCollapsed();
    segments->performClick(0);
    EXPECT_NE(view()->isSidebarCollapsed(), sidebarCollapsed);
    EXPECT_EQ(defaults().boolForKey(DefaultsKey::ShowGroupView), !view()->isSidebarCollapsed());
    segments->performClick(1);
    EXPECT_TRUE(view()->contactInfoVisible());
    segments->performClick(1);
    EXPECT_FALSE(view()->contactInfoVisible());

    // A real click; each segment shows whether its pane is shown.
    QToolButton *info = segments->segmentButton(1);
    QTest::mouseClick(info, Qt::LeftButton);
    EXPECT_TRUE(view()->contactInfoVisible());
    EXPECT_TRUE(info->isChecked());
    QTest::mouseClick(info, Qt::LeftButton);
    EXPECT_FALSE(view()->contactInfoVisible());
    EXPECT_FALSE(info->isChecked());
    EXPECT_EQ(segments->segmentButton(0)->isChecked(), !view()->isSidebarCollapsed());
}

TEST_F(WindowMenusTest, TheSegmentImagesPutTheBarOnTheirSide)
{
    const QColor blue(0, 0, 255);
    const QImage left = WindowController::splitButtonImageWithSize({26, 26}, blue, false);
    const QImage right = WindowController::splitButtonImageWithSize({26, 26}, blue, true);
    ASSERT_EQ(left.size(), QSize(26, 26));
    auto filled = [&](const QImage &image, int x, int y) { return image.pixelColor(x, y) == blue; };
    EXPECT_TRUE(filled(left, 8, 13));
    EXPECT_FALSE(filled(left, 17, 13));
    EXPECT_TRUE(filled(right, 17, 13));
    EXPECT_FALSE(filled(right, 8, 13));
    EXPECT_FALSE(filled(left, 13, 13)) << "the frame is hollow";
    EXPECT_EQ(left.pixelColor(2, 2).alpha(), 0);
}

// A restart starts in the state of the last Edit/Lock click.
class EditStateTest : public WindowMenusTest, public ::testing::WithParamInterface<bool>
{
};

TEST_P(EditStateTest, EditLockIsRestoredAtTheNextStart)
{
    const bool editing = GetParam();
    m_window->show();
    if (view()->editState() == editing)
        m_window->editButtonClicked();
    m_window->editButtonClicked();
    ASSERT_EQ(view()->editState(), editing);
    EXPECT_EQ(m_window->editButton()->text(), editing ? "Lock" : "Edit");
    EXPECT_EQ(defaults().boolForKey(DefaultsKey::LastEditState), editing);

    makeWindow();
    m_window->show();
    EXPECT_EQ(view()->editState(), editing);
    EXPECT_EQ(m_window->editButton()->text(), editing ? "Lock" : "Edit");
}

INSTANTIATE_TEST_SUITE_P(States, EditStateTest, ::testing::Bool(),
                         [](const auto &info) { return info.param ? "Editing" : "Locked"; });

// Switched while hidden, the pane opens in the new mode; while shown, it cross-fades, and once the
// fade is over the screen shows the new mode, not pixels left from the old one.
TEST_F(WindowMenusTest, TheDetailPaneCrossFadesBetweenCardAndTable)
{
    m_window->resize(1000, 600);
    m_window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
    auto row = std::make_shared<ContactRow>();
    row->person = std::make_shared<QNPerson>();
    row->person->setValue("Annabelle", PersonKey::FirstName);
    view()->contactInfoController()->setContact(row);
    if (!view()->editState())
        m_window->editButtonClicked();
    m_window->editButtonClicked();
    m_window->editButtonClicked();
    m_window->showContactInfo(true);
    EXPECT_FALSE(table()->isHidden());
    EXPECT_EQ(ViewAlpha::alpha(table()), 1.0);
    EXPECT_TRUE(card()->isHidden());

    m_window->editButtonClicked();
    EXPECT_FALSE(card()->isHidden());
    ASSERT_TRUE(spinUntil([this] { return !m_window->isDetailPaneFading(); }));
    EXPECT_TRUE(table()->isHidden());
    EXPECT_EQ(ViewAlpha::alpha(card()), 1.0);
    EXPECT_TRUE(showsAsDrawn(card())) << "the card after Lock";

    m_window->editButtonClicked();
    EXPECT_FALSE(table()->isHidden());
    ASSERT_TRUE(spinUntil([this] { return !m_window->isDetailPaneFading(); }));
    EXPECT_TRUE(card()->isHidden());
    EXPECT_EQ(ViewAlpha::alpha(table()), 1.0);
    EXPECT_TRUE(showsAsDrawn(table())) << "the table after Edit";
}

} // namespace
