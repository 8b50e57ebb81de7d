#include "GridCommandsFixture.h"

#include "grid/GridKeyNavigation.h"
#include "grid/GridPopoverWrapper.h"

#include <QLineEdit>

namespace {

using Move = GridKeyNavigation::Move;

class GridKeyNavigationTest : public GridCommandsFixture
{
protected:
    GridKeyNavigation &keys() const { return commands().keyNavigation(); }

    void recordRequests()
    {
        QObject::connect(&commands(), &GridCommands::editorRequested,
                         [this](const GridEditorRequest &request) { requests.append(request); });
    }

    QList<GridEditorRequest> requests;
};

TEST_F(GridKeyNavigationTest, TabMovesAlongTheRowAndWrapsToTheFirstRowsSecondColumn)
{
    showColumns({"Name", "Phone", "Email"});
    addWithPhones("Ann", {{"work", "10"}});
    addWithPhones("Bob", {{"work", "20"}});
    showGrid();
    Move move = keys().moveForTab(0, column("Phone"));
    EXPECT_EQ(move.kind, Move::Kind::Edit);
    EXPECT_EQ(move.row, 0);
    EXPECT_EQ(move.column, column("Email"));
    move = keys().moveForTab(0, column("Email"));
    EXPECT_EQ(move.row, 1);
    EXPECT_EQ(move.column, 1);
    move = keys().moveForTab(1, column("Email"));
    EXPECT_EQ(move.kind, Move::Kind::Edit);
    EXPECT_EQ(move.row, 0);
    EXPECT_EQ(move.column, 1);

    ASSERT_TRUE(keys().handleKey(Qt::Key_Tab, {}, 1, column("Email")));
    EXPECT_EQ(table()->selectedRowIndexes(), QList<int>{0});
    EXPECT_EQ(table()->currentIndex(), model()->index(0, 1));

    // Moved columns are followed in the order shown.
    const int phone = column("Phone");
    const int email = column("Email");
    table()->horizontalHeader()->moveSection(2, 1);
    move = keys().moveForTab(0, email);
    EXPECT_EQ(move.column, phone);
    EXPECT_EQ(move.row, 0);
    move = keys().moveForTab(0, phone);
    EXPECT_EQ(move.column, email);
    EXPECT_EQ(move.row, 1);
}

TEST_F(GridKeyNavigationTest, TabIntoAPopoverColumnEndsTheEditOnly)
{
    showColumns({"Name", "Phone", "Dates"});
    addWithPhones("Ann", {{"work", "10"}});
    showGrid();
    EXPECT_EQ(keys().moveForTab(0, column("Phone")).kind, Move::Kind::Pass);
    EXPECT_FALSE(keys().handleKey(Qt::Key_Tab, {}, 0, column("Phone")));
    // Out-of-range cells never move.
    EXPECT_EQ(keys().moveForTab(5, 1).kind, Move::Kind::Pass);
    EXPECT_EQ(keys().moveForReturn(-1, 1).kind, Move::Kind::Pass);
}

TEST_F(GridKeyNavigationTest, ReturnSkipsRowsWithoutAValueAndStopsAfterOneRound)
{
    showColumns({"Name", "Phone"});
    addWithPhones("Ann", {{"work", "10"}});
    add(person("Bob"));
    add(person("Cat"));
    addWithPhones("Dan", {{"work", "40"}});
    showGrid();
    Move move = keys().moveForReturn(0, column("Phone"));
    EXPECT_EQ(move.kind, Move::Kind::Edit);
    EXPECT_EQ(move.row, 3);
    // From Dan, wrapping to the top.
    move = keys().moveForReturn(3, column("Phone"));
    EXPECT_EQ(move.row, 0);
    // From a row above the edited one, as after a re-sort: the round passes over the edited row.
    move = keys().moveForReturn(3, column("Phone"), 1);
    EXPECT_EQ(move.kind, Move::Kind::Edit);
    EXPECT_EQ(move.row, 0);

    // Only one row holds a number: the search comes back to it and stops.
    m_table->removeLast();
    grid()->updateTable();
    EXPECT_EQ(keys().moveForReturn(0, column("Phone")).kind, Move::Kind::Pass);
    // One row in the grid is tested once.
    m_table->remove(1, 2);
    grid()->updateTable();
    move = keys().moveForReturn(0, column("Phone"));
    EXPECT_EQ(move.kind, Move::Kind::Edit);
    EXPECT_EQ(move.row, 0);
}

TEST_F(GridKeyNavigationTest, ReturnOpensTheNextRowsEditorInPopoverColumns)
{
    showColumns({"Name", "Dates"});
    add(person("Ann"));
    add(person("Bob"));
    showGrid();
    recordRequests();
    EXPECT_TRUE(keys().handleKey(Qt::Key_Return, {}, 1, 0));
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests.at(0).editor, GridEditor::Name);
    EXPECT_EQ(requests.at(0).row, grid()->subContactTable().at(0));
    EXPECT_EQ(table()->selectedRowIndexes(), QList<int>{0});
    // The dates editor opens and the key still reaches the cell's editor.
    EXPECT_FALSE(keys().handleKey(Qt::Key_Return, {}, 0, column("Dates")));
    ASSERT_EQ(requests.size(), 2);
    EXPECT_EQ(requests.at(1).editor, GridEditor::Date);
    EXPECT_EQ(requests.at(1).type, "Dates");
}

TEST_F(GridKeyNavigationTest, ShiftTabEscapeAndALockedGridAreLeftToTheEditor)
{
    showColumns({"Name", "Phone", "Email"});
    addWithPhones("Ann", {{"work", "10"}});
    showGrid();
    EXPECT_FALSE(keys().handleKey(Qt::Key_Tab, Qt::ShiftModifier, 0, 1));
    EXPECT_FALSE(keys().handleKey(Qt::Key_Escape, {}, 0, 1));
    grid()->setEditState(false);
    EXPECT_FALSE(keys().handleKey(Qt::Key_Tab, {}, 0, 1));
    EXPECT_FALSE(keys().handleKey(Qt::Key_Return, {}, 0, 1));
}

TEST_F(GridKeyNavigationTest, AnEditorWithTheFilterMovesOnTab)
{
    showColumns({"Name", "Phone", "Email"});
    addWithPhones("Ann", {{"work", "10"}});
    addWithPhones("Bob", {{"work", "20"}});
    showGrid();
    // Any widget over a cell stands for its editor; the table's are watched from their first showing.
    auto *editor = new QWidget(table()->viewport());
    auto *field = new QLineEdit(editor);
    editor->setGeometry(table()->visualRect(model()->index(0, column("Email"))));
    editor->show();
    QTest::keyClick(field, Qt::Key_Tab);
    EXPECT_EQ(table()->selectedRowIndexes(), QList<int>{1});
    EXPECT_EQ(table()->currentIndex(), model()->index(1, 1));
    delete editor;
}

class GridPopoverWrapperTest : public GridKeyNavigationTest
{
};

TEST_F(GridPopoverWrapperTest, SeveralRowsAskFirstAndCancelOpensNothing)
{
    showColumns({"Name", "Phone"});
    addWithPhones("Ann", {{"work", "10"}, {"home", "11"}});
    addWithPhones("Bob", {{"work", "20"}});
    showGrid();
    recordRequests();
    selectRows({0, 1, 2});
    rightClick(0, "Phone");
    Alert::setNextAnswer(Alert::SecondButton);
    commands().perform(GridCommand::OpenEditPanel);
    settle();
    ASSERT_EQ(Alert::shownAlerts().size(), 1);
    EXPECT_EQ(Alert::lastShown().messageText, "Do you want to set the same value in the selected rows");
    EXPECT_TRUE(requests.isEmpty());

    commands().perform(GridCommand::OpenEditPanel);
    settle();
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests.at(0).editor, GridEditor::MultiValue);
    EXPECT_EQ(requests.at(0).type, "Phone");
    EXPECT_EQ(requests.at(0).targets.records(), grid()->subContactTable().mid(0, 3));

    // The name panel never asks.
    rightClick(1, "Name");
    commands().perform(GridCommand::OpenNamePanel);
    EXPECT_EQ(Alert::shownAlerts().size(), 2);
    ASSERT_EQ(requests.size(), 2);
    EXPECT_EQ(requests.at(1).editor, GridEditor::Name);
}

TEST_F(GridPopoverWrapperTest, TheEditorFollowsColumnAndItem)
{
    using C = GridCommand;
    const auto editor = [](const QString &identifier, GridCommand command) {
        return GridPopoverWrapper::editorFor(identifier, command);
    };
    EXPECT_EQ(editor("Name", C::ShowContactInfo).editor, GridEditor::ContactInfo);
    EXPECT_EQ(editor("Address", C::OpenAddressPanel).editor, GridEditor::Address);
    EXPECT_EQ(editor("Address", C::OpenEditPanel).editor, GridEditor::MultiValue);
    EXPECT_EQ(editor("ZIP", C::OpenAddressPanel).type, "Address");
    EXPECT_EQ(editor("ZIP", C::OpenEditPanel).type, "ZIP");
    EXPECT_EQ(editor("Instant Message", C::OpenIMSPanel).editor, GridEditor::InstantMessage);
    EXPECT_EQ(editor("Social Network", C::OpenEditPanel).editor, GridEditor::MultiValue);
    EXPECT_EQ(editor("Birthday", C::OpenBirthdayPanel).editor, GridEditor::Date);
    EXPECT_EQ(editor("Phonetic Name", C::OpenPhoneticNamePanel).editor, GridEditor::PhoneticName);
}

} // namespace
