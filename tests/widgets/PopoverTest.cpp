#include "WidgetsFixture.h"

#include "platform/widgets/Popover.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

namespace {

using Edge = Popover::Edge;

struct PlacementCase
{
    const char *name;
    QRect anchor;
    Edge edge;
    QPoint expected;
};

class PopoverPlacement : public ::testing::TestWithParam<PlacementCase>
{
};

// A 100 by 50 popover on an 800 by 600 screen.
TEST_P(PopoverPlacement, StaysOnScreen)
{
    const PlacementCase &c = GetParam();
    EXPECT_EQ(Popover::placement(c.anchor, QSize(100, 50), c.edge, QRect(0, 0, 800, 600)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PopoverPlacement,
    ::testing::Values(PlacementCase{"Below", QRect(300, 200, 40, 20), Edge::MaxY, QPoint(270, 220)},
                      PlacementCase{"Above", QRect(300, 200, 40, 20), Edge::MinY, QPoint(270, 150)},
                      PlacementCase{"Right", QRect(300, 200, 40, 20), Edge::MaxX, QPoint(340, 185)},
                      PlacementCase{"Left", QRect(300, 200, 40, 20), Edge::MinX, QPoint(200, 185)},
                      PlacementCase{"BelowFlipsAbove", QRect(300, 570, 40, 20), Edge::MaxY, QPoint(270, 520)},
                      PlacementCase{"RightFlipsLeft", QRect(750, 200, 40, 20), Edge::MaxX, QPoint(650, 185)},
                      PlacementCase{"ClampedAtTheLeft", QRect(0, 200, 20, 20), Edge::MaxY, QPoint(0, 220)},
                      PlacementCase{"ClampedAtTheBottom", QRect(300, 580, 40, 20), Edge::MaxX,
                                    QPoint(340, 550)}),
    [](const auto &info) { return std::string(info.param.name); });

class PopoverTest : public WidgetsFixture
{
protected:
    void SetUp() override
    {
        WidgetsFixture::SetUp();
        m_window.resize(400, 300);
        m_window.show();
        m_content = new QLabel("content");
        m_popover = new Popover;
        m_popover->setContentWidget(m_content);
        m_popover->setContentSize(QSize(120, 80));
    }
    void TearDown() override
    {
        delete m_popover;
        WidgetsFixture::TearDown();
    }

    void show() { m_popover->showRelativeToRect(QRect(10, 10, 50, 20), &m_window, Edge::MaxY); }

    QWidget m_window;
    QPointer<QLabel> m_content;
    QPointer<Popover> m_popover;
};

TEST_F(PopoverTest, ShowsTheContentUnderTheAnchor)
{
    show();
    EXPECT_TRUE(m_popover->isShown());
    EXPECT_EQ(m_popover->windowType(), Qt::Popup);
    EXPECT_EQ(m_content->size(), QSize(120, 80));
    const QPoint anchorBottom = m_window.mapToGlobal(QPoint(10, 30));
    EXPECT_EQ(m_popover->frameGeometry().top(), anchorBottom.y());
}

// Content that grows once shown (an editor fitting its controls) is placed again on the screen.
TEST_F(PopoverTest, ContentThatGrowsOnceShownStaysOnTheScreen)
{
    const QRect screen = m_window.screen()->availableGeometry();
    const QPoint nearTheRightEdge = m_window.mapFromGlobal(screen.topRight()) + QPoint(-60, 40);
    m_popover->showRelativeToRect(QRect(nearTheRightEdge, QSize(50, 20)), &m_window, Edge::MaxY);
    m_popover->setContentSize(QSize(300, 80));
    EXPECT_LE(m_popover->frameGeometry().right(), screen.right());
    EXPECT_GE(m_popover->frameGeometry().left(), screen.left());
}

TEST_F(PopoverTest, CloseReportsWillCloseThenClosedOnce)
{
    QStringList order;
    QObject::connect(m_popover, &Popover::willClose, [&order] { order << "will"; });
    QObject::connect(m_popover, &Popover::closed, [&order] { order << "closed"; });
    show();
    m_popover->close();
    m_popover->hide();
    EXPECT_EQ(order, QStringList({"will", "closed"}));
    EXPECT_FALSE(m_popover->isShown());
    EXPECT_FALSE(m_content.isNull());
}

TEST_F(PopoverTest, TransientClosesOnAClickOutside)
{
    QSignalSpy closed(m_popover, &Popover::closed);
    show();
    QTest::mouseClick(m_popover->windowHandle(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(m_popover->isShown());
    QTest::mouseClick(m_window.windowHandle(), Qt::LeftButton, {}, QPoint(300, 250));
    ASSERT_EQ(closed.count(), 1);
    EXPECT_EQ(closed.at(0).at(0).value<Popover::CloseReason>(), Popover::CloseReason::OutsideClick);
}

TEST_F(PopoverTest, SemitransientIgnoresTheRestOfTheWindowAndClosesOnEscape)
{
    QSignalSpy closed(m_popover, &Popover::closed);
    m_popover->setBehavior(Popover::Behavior::Semitransient);
    show();
    EXPECT_NE(m_popover->windowType(), Qt::Popup);
    QTest::mouseClick(m_window.windowHandle(), Qt::LeftButton, {}, QPoint(200, 200));
    EXPECT_TRUE(m_popover->isShown());
    QTest::keyClick(m_popover, Qt::Key_Escape);
    ASSERT_EQ(closed.count(), 1);
    EXPECT_EQ(closed.at(0).at(0).value<Popover::CloseReason>(), Popover::CloseReason::Escape);
}

// A field, a list and a button with a menu, as the value editors have.
class PopoverWithListsTest : public PopoverTest, public ::testing::WithParamInterface<Popover::Behavior>
{
protected:
    void SetUp() override
    {
        PopoverTest::SetUp();
        auto *content = new QWidget;
        m_field = new QLineEdit(content);
        m_list = new QComboBox(content);
        m_list->addItems({"home", "work", "other"});
        m_menuButton = new QPushButton("Country", content);
        m_menu = new QMenu(content);
        m_menu->addAction("Japan");
        m_menuButton->setMenu(m_menu);
        auto *layout = new QVBoxLayout(content);
        layout->addWidget(m_field);
        layout->addWidget(m_list);
        layout->addWidget(m_menuButton);
        m_popover->setContentWidget(content);
        m_popover->setBehavior(GetParam());
        show();
        m_field->setFocus();
        QTest::keyClicks(m_field, "Kyoto");
    }

    // Escape as the window system delivers it: a shortcut check, then the key to the window.
    static void pressEscape(QWidget *window) { QTest::keyClick(window->windowHandle(), Qt::Key_Escape); }

    QPointer<QLineEdit> m_field;
    QComboBox *m_list = nullptr;
    QPushButton *m_menuButton = nullptr;
    QMenu *m_menu = nullptr;
};

TEST_P(PopoverWithListsTest, EscapeClosesAnOpenListAndKeepsThePopoverAndItsTyping)
{
    QSignalSpy closed(m_popover, &Popover::closed);
    m_list->showPopup();
    QWidget *list = m_list->view()->window();
    ASSERT_TRUE(list->isVisible());
    pressEscape(list);
    EXPECT_FALSE(list->isVisible());
    EXPECT_TRUE(m_popover->isShown());
    EXPECT_EQ(closed.count(), 0);
    EXPECT_EQ(m_field->text(), "Kyoto");

    // With the list closed, Escape is the popover's again.
    pressEscape(m_popover);
    EXPECT_FALSE(m_popover->isShown());
    ASSERT_EQ(closed.count(), 1);
    EXPECT_EQ(closed.at(0).at(0).value<Popover::CloseReason>(), Popover::CloseReason::Escape);
}

TEST_P(PopoverWithListsTest, EscapeClosesAnOpenMenuAndKeepsThePopover)
{
    QSignalSpy closed(m_popover, &Popover::closed);
    bool menuWasOpen = false;
    QTimer::singleShot(0, m_menu, [this, &menuWasOpen] {
        menuWasOpen = m_menu->isVisible();
        pressEscape(m_menu);
    });
    m_menuButton->showMenu();
    EXPECT_TRUE(menuWasOpen);
    EXPECT_FALSE(m_menu->isVisible());
    EXPECT_TRUE(m_popover->isShown());
    EXPECT_EQ(closed.count(), 0);
    EXPECT_EQ(m_field->text(), "Kyoto");
}

INSTANTIATE_TEST_SUITE_P(Behaviors, PopoverWithListsTest,
                         ::testing::Values(Popover::Behavior::Transient, Popover::Behavior::Semitransient),
                         [](const auto &info) {
                             return info.param == Popover::Behavior::Transient ? "Transient"
                                                                               : "Semitransient";
                         });

TEST_F(PopoverTest, DetachMovesTheContentIntoAWindow)
{
    QSignalSpy closed(m_popover, &Popover::closed);
    QSignalSpy detached(m_popover, &Popover::detached);
    m_popover->setDetachable(true);
    show();
    m_popover->detach();

    ASSERT_EQ(detached.count(), 1);
    auto *window = detached.at(0).at(0).value<QWidget *>();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isWindow());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(m_content->window(), window);
    EXPECT_EQ(m_popover->contentWidget(), nullptr);
    ASSERT_EQ(closed.count(), 1);
    EXPECT_EQ(closed.at(0).at(0).value<Popover::CloseReason>(), Popover::CloseReason::Detached);
    delete window;
}

TEST_F(PopoverTest, FactoryMayRefuseTheDetach)
{
    QSignalSpy detached(m_popover, &Popover::detached);
    m_popover->setDetachedWindowFactory([] { return nullptr; });
    show();
    m_popover->detach(); // not detachable
    m_popover->setDetachable(true);
    m_popover->detach(); // refused
    EXPECT_EQ(detached.count(), 0);
    EXPECT_TRUE(m_popover->isShown());
    EXPECT_EQ(m_popover->contentWidget(), m_content);
}

} // namespace
