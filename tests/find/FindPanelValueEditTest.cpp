// The find-and-replace window's in-place value editor, driven by the mouse and keys.

#include "FindFixture.h"

#include "find/FindPanel.h"
#include "find/FindPanelResultsModel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

class FindPanelValueEditTest : public FindHostFixture
{
protected:
    std::unique_ptr<FindPanel> openOn(const QString &text)
    {
        FindPanelSetup setup;
        setup.contacts = m_table;
        setup.selectedItems = {"All"};
        setup.editState = true;
        setup.funnel = &m_book->funnel();
        setup.mainUndoManager = m_book->undoManager();
        auto panel = std::make_unique<FindPanel>(std::move(setup));
        panel->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(panel.get()));
        panel->searchField()->setText(text);
        panel->textDidEnter();
        QElapsedTimer waited;
        waited.start();
        while (panel->isSearching() && waited.elapsed() < 10000)
            QTest::qWait(5);
        return panel;
    }

    // A double-click on the row's value, then typed (after End) and Return on the open editor.
    static void editValue(FindPanel &panel, int row, const QString &typed)
    {
        QTableView *results = panel.tableView();
        const QPoint value =
            results->visualRect(results->model()->index(row, FindPanelResultsModel::ValueColumn)).center();
        QTest::mouseClick(results->viewport(), Qt::LeftButton, {}, value);
        QTest::mouseDClick(results->viewport(), Qt::LeftButton, {}, value);
        auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        ASSERT_NE(editor, nullptr);
        if (!typed.isEmpty()) {
            QTest::keyClick(editor, Qt::Key_End);
            QTest::keyClicks(editor, typed);
        }
        QTest::keyClick(editor, Qt::Key_Return);
        // The delegate commits on a queued call.
        QCoreApplication::processEvents();
    }
};

TEST_F(FindPanelValueEditTest, ALongValueConfirmedUnchangedWritesNothingAndAnAdditionKeepsItWhole)
{
    StoreContact ann = storeContact("Ann", "Lee");
    ann.jobTitle = "Chair " + QString(40000, 'x');
    const ContactRowPtr annRow = add(ann);
    auto panel = openOn("Chair");
    ASSERT_EQ(panel->searchResults().size(), 1);

    editValue(*panel, 0, QString());
    EXPECT_TRUE(annRow->person->stringValueForIdentifier("Job Title") == ann.jobTitle);
    EXPECT_FALSE(panel->undoManager()->canUndo());

    editValue(*panel, 0, " emeritus");
    EXPECT_TRUE(annRow->person->stringValueForIdentifier("Job Title") == ann.jobTitle + " emeritus");
}
