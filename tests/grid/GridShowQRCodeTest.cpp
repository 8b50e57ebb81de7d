#include "GridFixture.h"

#include <QTest>

namespace {

class GridShowQRCodeTest : public GridFixture
{
protected:
    void SetUp() override
    {
        GridFixture::SetUp();
        showColumns({"Name", "Phone"});
        addWithPhones("Ann", {{"work", "10"}, {"home", "20"}});
        addWithPhones("Bob", {{"work", "30"}});
        grid()->updateTable();
        m_view->resize(800, 400);
        m_view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_view.get()));
        // Showing the window hands the grid to the view controller.
        grid()->setDelegate(&m_delegate);
    }

    void click(int row, Qt::MouseButton button)
    {
        QTest::mouseClick(table()->viewport(), button, {},
                          table()->visualRect(model()->index(row, 0)).center());
    }
    SubContactRowPtr rowAt(int row) const { return grid()->subContactTable().at(row); }
};

TEST_F(GridShowQRCodeTest, TheRightClickedRowElseTheSelectedRowGoesToTheShell)
{
    table()->selectRow(1);
    grid()->showQRCode();
    ASSERT_EQ(m_delegate.qrCodeRows.size(), 1);
    EXPECT_EQ(m_delegate.qrCodeRows.at(0), rowAt(1));

    // A context menu's row beside the selection.
    click(2, Qt::RightButton);
    grid()->showQRCode();
    EXPECT_EQ(m_delegate.qrCodeRows.last(), rowAt(2));
    EXPECT_EQ(m_delegate.qrCodeRows.last()->person->compositeName(), "Bob");

    // Once the keyboard moves the selection, the old click no longer counts.
    click(0, Qt::LeftButton);
    QTest::keyClick(table(), Qt::Key_Down);
    ASSERT_EQ(table()->selectedRowIndexes(), QList<int>{1});
    grid()->showQRCode();
    EXPECT_EQ(m_delegate.qrCodeRows.last(), rowAt(1));
}

TEST_F(GridShowQRCodeTest, TheFooterOrNoRowShowsNothing)
{
    table()->clearSelection();
    grid()->showQRCode();
    EXPECT_TRUE(m_delegate.qrCodeRows.isEmpty());
    table()->selectRow(0);
    grid()->showQRCode();
    ASSERT_EQ(m_delegate.qrCodeRows.size(), 1);
    table()->setClickedRow(int(grid()->subContactTable().size()));
    grid()->showQRCode();
    EXPECT_EQ(m_delegate.qrCodeRows.size(), 1);
}

} // namespace
