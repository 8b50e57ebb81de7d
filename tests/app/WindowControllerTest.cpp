#include "AppFixture.h"

#include "addressbook/DefaultsKey.h"
#include "app/MainMenu.h"
#include "app/MenuCommand.h"
#include "addressbook/TextFormat.h"
#include "app/PaneWidths.h"
#include "app/WindowController.h"
#include "detail/DetailFont.h"
#include "find/FindBarController.h"

#include <QAction>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QTest>

namespace {

class WindowControllerTest : public AppFixture
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        m_window = std::make_unique<WindowController>();
        m_window->show();
        view()->setRepresentedObject(QVariant());
    }

    ViewController *view() const { return m_window->mainViewController(); }
    QString titleOf(MenuCommand command)
    {
        QAction *item = m_window->menuItem(command);
        m_window->validateMenuItem(item);
        return item->text();
    }

    std::unique_ptr<WindowController> m_window;
};

TEST_F(WindowControllerTest, TheSidebarToggleIsKeptForTheNextStart)
{
    ASSERT_FALSE(view()->isSidebarCollapsed());
    EXPECT_EQ(titleOf(MenuCommand::ToggleGroupView), "Hide Group");
    m_window->menuItem(MenuCommand::ToggleGroupView)->trigger();
    EXPECT_TRUE(view()->isSidebarCollapsed());
    EXPECT_FALSE(defaults().boolForKey(DefaultsKey::ShowGroupView));
    EXPECT_EQ(titleOf(MenuCommand::ToggleGroupView), "Show Group");
    m_window->toggleGroupView();
    EXPECT_FALSE(view()->isSidebarCollapsed());
    EXPECT_TRUE(defaults().boolForKey(DefaultsKey::ShowGroupView));
}

TEST_F(WindowControllerTest, TheDetailPaneStartsHiddenAndFollowsItsToggle)
{
    EXPECT_FALSE(view()->contactInfoVisible());
    EXPECT_TRUE(view()->isDetailCollapsed());
    EXPECT_EQ(titleOf(MenuCommand::ToggleContactInfo), "Show Contact Info");
    m_window->toggleContactInfo();
    EXPECT_TRUE(view()->contactInfoVisible());
    EXPECT_FALSE(view()->isDetailCollapsed());
    m_window->showContactInfo(true);
    EXPECT_TRUE(view()->contactInfoVisible());
    m_window->toggleContactInfo();
    EXPECT_FALSE(view()->contactInfoVisible());
    EXPECT_TRUE(view()->isDetailCollapsed());
}

// Whether the bar is closed with this button or with its own Done, the button reads "Find" again.
TEST_F(WindowControllerTest, TheFindButtonShowsAndHidesTheBar)
{
    // Past the hide that the view's appearance asks for shortly after.
    QTest::qWait(600);
    auto *bar = dynamic_cast<FindBarController *>(view()->findBarController());
    ASSERT_TRUE(bar);
    QPushButton *button = m_window->findBarButton();
    for (QPushButton *closer : {button, bar->doneButton()}) {
        button->click();
        EXPECT_TRUE(bar->isVisible());
        EXPECT_EQ(button->text(), "Hide");
        EXPECT_FALSE(button->isEnabled()) << "no second click while the bar moves";
        EXPECT_EQ(m_window->focusWidget(), bar->searchField()) << "ready for typing";
        // The bar gives the button back when it has finished showing.
        ASSERT_TRUE(spinUntil([button] { return button->isEnabled(); }));
        EXPECT_TRUE(bar->isVisible());
        closer->click();
        EXPECT_TRUE(bar->isVisible()) << "still fading out";
        ASSERT_TRUE(spinUntil([button, bar] { return button->isEnabled() && !bar->isVisible(); }));
        EXPECT_EQ(button->text(), "Find") << closer->text().toStdString();
    }
}

TEST_F(WindowControllerTest, TheFindBarIsHiddenShortlyAfterTheViewAppears)
{
    view()->findBarController()->setVisible(true, {});
    EXPECT_TRUE(spinUntil([this] { return !view()->findBarController()->isVisible(); }));
}

TEST_F(WindowControllerTest, MenuItemsAreToldApartByTheirCommand)
{
    for (QAction *item : m_window->mainMenu()->items())
        EXPECT_NE(menuCommand(item), MenuCommand::None) << item->text().toStdString();
    EXPECT_EQ(menuCommand(m_window->menuItem(MenuCommand::RateUs)), MenuCommand::RateUs);
}

TEST(TextFormatTest, PlaceholdersTakeTheArgumentsInTurn)
{
    EXPECT_EQ(TextFormat::fill("Version %@ (%@)", {"1.0", "7"}), "Version 1.0 (7)");
    EXPECT_EQ(TextFormat::fill("\"%@\"", {"Sorvina"}), "\"Sorvina\"");
    EXPECT_EQ(TextFormat::fill("100%% of %@", {"all"}), "100% of all");
    EXPECT_EQ(TextFormat::fill("%@ and %@", {"one"}), "one and ");
    EXPECT_EQ(TextFormat::fill("50% off %", {}), "50% off %");
}

} // namespace

namespace {

// Wide side panes saved in a wide window leave the grid its Name and one value column in a narrow one.
TEST(PaneWidthsTest, SidePanesGiveUpWidthBeforeTheGrid)
{
    TestEnvironment::resetUserFolders();
    UserDefaults::standard().removePersistentDomain();
    UserDefaults::standard().setObject(QVariantMap{{"sidebar", 250}, {"detail", 542}}, DefaultsKey::PaneWidths);
    WindowController window;
    window.resize(1000, 700);
    window.show();
    window.showContactInfo(true);
    QCoreApplication::processEvents();
    const QList<int> sizes = window.mainViewController()->splitView()->sizes();
    ASSERT_EQ(sizes.size(), 3);
    EXPECT_GE(sizes[1], 360);
    EXPECT_LE(sizes[0] + sizes[1] + sizes[2], 1000);
    EXPECT_GT(sizes[2], 0);
}

// With no width of the user's, the pane opens wide enough for a label, its menu and an e-mail
// address, where the old fixed width cut them off.
TEST(PaneWidthsTest, ThePaneOpensFittedToItsValues)
{
    TestEnvironment::resetUserFolders();
    UserDefaults::standard().removePersistentDomain();
    WindowController window;
    window.resize(1300, 700);
    window.show();
    window.showContactInfo(true);
    QCoreApplication::processEvents();
    const int fitted = PaneWidths::fittedDetailWidth(DetailFont::fontFromDefaults(UserDefaults::standard()));
    EXPECT_GT(fitted, 400);
    EXPECT_EQ(window.mainViewController()->splitView()->sizes()[2], fitted);
}

// The grid keeps room for its name column and first value column at their widths of the moment.
TEST(PaneWidthsTest, TheGridKeepsItsNameAndFirstValueColumn)
{
    TestEnvironment::resetUserFolders();
    UserDefaults::standard().removePersistentDomain();
    UserDefaults::standard().setObject(QVariantMap{{"sidebar", 170}, {"detail", 462}}, DefaultsKey::PaneWidths);
    WindowController window;
    window.resize(1000, 700);
    window.show();
    window.showContactInfo(true);
    QCoreApplication::processEvents();
    ContactsGridInterface *grid = window.mainViewController()->contactsViewController();
    QHeaderView *header = qobject_cast<QTableView *>(grid->tableView())->horizontalHeader();
    ASSERT_GE(header->count(), 2);
    QSplitter *split = window.mainViewController()->splitView();
    const int columns = grid->leadingColumnsWidth();
    EXPECT_GE(columns, header->sectionSize(0) + 100);
    EXPECT_GT(split->sizes()[1], columns);

    header->resizeSection(0, header->sectionSize(0) + 150);
    QCoreApplication::processEvents();
    EXPECT_EQ(grid->leadingColumnsWidth(), columns + 150);
    EXPECT_TRUE(spinUntil([&] { return split->sizes()[1] > columns + 150; }, 2000));
    EXPECT_GT(split->sizes()[2], 0);
    EXPECT_LE(split->sizes()[0] + split->sizes()[1] + split->sizes()[2], 1000);
}

} // namespace
