#include "GridCommandsFixture.h"

#include "grid/GridItemCommands.h"
#include "grid/GridMenus.h"
#include "grid/ReplaceAlertPanel.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>

namespace {

class ReplaceAlertPanelKeysTest : public GridCommandsFixture
{
protected:
    // Right-clicks the cell and clicks the item of the menu that opens.
    void choose(int row, const QString &identifier, GridCommand command)
    {
        rightClick(row, identifier);
        const QPoint at = table()->visualRect(model()->index(row, column(identifier))).center();
        QContextMenuEvent request(QContextMenuEvent::Mouse, at, table()->viewport()->mapToGlobal(at));
        QCoreApplication::sendEvent(table()->viewport(), &request);
        QMenu *menu = commands().menus().shownMenu();
        ASSERT_TRUE(menu && menu->isVisible());
        for (QAction *item : menu->actions()) {
            if (gridCommand(item) == command) {
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
                return;
            }
        }
        FAIL() << "no such item";
    }
};

// The sheet opens with its text field focused: typed text goes there and Return confirms.
TEST_F(ReplaceAlertPanelKeysTest, TypedTextGoesToTheFieldAndReturnConfirms)
{
    showColumns({"Name", "Phone"});
    const ContactRowPtr ann = addWithPhones("Ann", {{"work", "555"}});
    showGrid();
    for (const GridCommand command : {GridCommand::PrependText, GridCommand::ReplaceText}) {
        choose(rowOf(ann), "Phone", command);
        ReplaceAlertPanel *panel = commands().itemCommands().replaceAlertPanel();
        ASSERT_TRUE(panel && panel->isVisible());
        ASSERT_TRUE(QTest::qWaitFor([panel] { return panel->isActiveWindow(); }));
        QWidget *focused = QApplication::focusWidget();
        ASSERT_EQ(focused, panel->replaceTextField());
        QTest::keyClicks(focused, command == GridCommand::PrependText ? "+81 " : "+1 ");
        QTest::keyClick(focused, Qt::Key_Return);
        settle();
        EXPECT_FALSE(panel->isVisible());
    }
    // Replacing starts from the value's text selected, so typing replaces all of it.
    EXPECT_EQ(texts(ann, "Phone"), QStringList({"+1 "}));
    undoManager().undo();
    EXPECT_EQ(texts(ann, "Phone"), QStringList({"+81 555"}));
}

} // namespace
