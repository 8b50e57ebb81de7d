#include "AppFixture.h"

#include "app/MenuCommand.h"
#include "app/WindowController.h"
#include "platform/UndoManager.h"

#include <QAction>
#include <QTest>

namespace {

class MenuValidationTest : public AppFixture
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        m_window = std::make_unique<WindowController>();
        m_window->show();
        m_window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    }

    void pressUndo() { QTest::keyClick(m_window->mainViewController(), Qt::Key_Z, Qt::ControlModifier); }

    std::unique_ptr<WindowController> m_window;
};

// The item was disabled when last validated; the key press validates it again before the
// shortcut is looked up, so the undo registered since then runs.
TEST_F(MenuValidationTest, AShortcutIsValidatedBeforeItFires)
{
    QAction *undo = m_window->menuItem(MenuCommand::Undo);
    ASSERT_FALSE(undo->isEnabled());
    int undone = 0;
    m_window->undoManager()->registerUndo([&undone] { ++undone; });
    m_window->undoManager()->closeAutomaticGroup();
    pressUndo();
    EXPECT_EQ(undone, 1);
}

TEST_F(MenuValidationTest, AShortcutOfAnItemThatIsNoLongerValidDoesNothing)
{
    int undone = 0;
    m_window->undoManager()->registerUndo([&undone] { ++undone; });
    m_window->undoManager()->closeAutomaticGroup();
    m_window->validateMenuItems();
    ASSERT_TRUE(m_window->menuItem(MenuCommand::Undo)->isEnabled());
    m_window->undoManager()->removeAllActions();
    int triggered = 0;
    QObject::connect(m_window->menuItem(MenuCommand::Undo), &QAction::triggered,
                     [&triggered] { ++triggered; });
    pressUndo();
    EXPECT_EQ(triggered, 0);
    EXPECT_EQ(undone, 0);
}

} // namespace
