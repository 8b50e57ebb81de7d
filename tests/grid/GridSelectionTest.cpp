#include "GridFixture.h"

#include "ui/widgets/FindHighlight.h"

#include <QContextMenuEvent>
#include <QTest>

namespace {

class GridSelectionTest : public GridFixture
{
protected:
    // Ann has phones 30 and 10, Bob 20, Cid 40; sorted by phone: Ann 10, Bob 20, Ann 30, Cid 40.
    void addPhoneContacts()
    {
        showColumns({"Name", "Phone"});
        addWithPhones("Ann", {{"work", "30"}, {"home", "10"}});
        addWithPhones("Bob", {{"work", "20"}});
        addWithPhones("Cid", {{"work", "40"}});
        grid()->updateTable();
    }

    static ItemAndRange hit(const ContactRowPtr &contact, const QString &identifier, int labelIndex,
                            qsizetype location, qsizetype length)
    {
        ItemAndRange found;
        found.uniqueId = contact->uniqueId;
        found.identifier = identifier;
        found.labelIndex = labelIndex;
        found.location = location;
        found.length = length;
        return found;
    }
};

TEST_F(GridSelectionTest, TheSelectedNumberStaysSelectedWhenAReloadMovesIt)
{
    addPhoneContacts();
    sortBy("Phone");
    table()->selectRow(1);
    ASSERT_EQ(rowNames().at(1), "Bob");
    m_delegate.selections.clear();

    // Bob's number now sorts last.
    setValues(m_table->at(1)->person, "Phone", {{"work", "99"}});
    grid()->updateTable();
    EXPECT_EQ(table()->selectedRowIndexes(), QList<int>{3});
    EXPECT_EQ(rowNames().at(3), "Bob");
    // Same contact and value: nothing new to show.
    EXPECT_TRUE(m_delegate.selections.isEmpty());
}

enum class Reshape
{
    PhoneView,
    NameView,
    LabelFilter
};

struct ReshapeCase
{
    const char *name;
    Reshape reshape;
    QStringList rowNames;
    // Of the selected row: the same value position where the contact still has a row.
    int labelIndex;
};

void PrintTo(const ReshapeCase &reshape, std::ostream *os)
{
    *os << reshape.name;
}

class GridReshapeTest : public GridSelectionTest, public ::testing::WithParamInterface<ReshapeCase>
{
};

// Other columns or another label filter change which rows there are: the rows are rebuilt and the
// selected contact stays selected, not its old row number.
TEST_P(GridReshapeTest, RowsAreRebuiltAndTheSelectedContactStays)
{
    showColumns({"Name", "Email"}, "Email");
    const ContactRowPtr ann = addWithPhones("Ann", {{"work", "1"}, {"work", "2"}, {"home", "3"}});
    setValues(ann->person, "Email", {{"home", "ann@example.com"}});
    const ContactRowPtr bob = addWithPhones("Bob", {{"home", "4"}, {"work", "5"}});
    setValues(bob->person, "Email", {{"home", "bob@example.com"}, {"work", "b@example.com"}});
    addWithPhones("Cid", {});
    grid()->updateTable();
    table()->selectRow(2);
    ASSERT_EQ(grid()->selectedSubContacts().first()->labelIndex, 1);

    switch (GetParam().reshape) {
    case Reshape::PhoneView:
        showColumns({"Name", "Phone"}, "Phone");
        break;
    case Reshape::NameView:
        showColumns({"Name"}, "Name");
        break;
    case Reshape::LabelFilter:
        grid()->setSelectedLabels({"home"});
        grid()->updateTable();
        break;
    }
    EXPECT_EQ(rowNames(), GetParam().rowNames);
    EXPECT_EQ(model()->rowCount(), GetParam().rowNames.size() + 1);
    const QList<SubContactRowPtr> selected = grid()->selectedSubContacts();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(selected.first()->person, bob->person);
    EXPECT_EQ(selected.first()->labelIndex, GetParam().labelIndex);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, GridReshapeTest,
    ::testing::Values(ReshapeCase{"PhoneView", Reshape::PhoneView, {"Ann", "Ann", "Ann", "Bob", "Bob", "Cid"}, 1},
                      ReshapeCase{"NameView", Reshape::NameView, {"Ann", "Bob", "Cid"}, 0},
                      ReshapeCase{"LabelFilter", Reshape::LabelFilter, {"Ann", "Bob", "Cid"}, 0}),
    [](const ::testing::TestParamInfo<ReshapeCase> &info) { return std::string(info.param.name); });

TEST_F(GridSelectionTest, DeletingTheSelectedContactSelectsTheSameRowNumbers)
{
    addPhoneContacts();
    sortBy("Phone");
    table()->selectRow(3);
    m_table->at(2)->deleted = true;
    grid()->updateTable();
    // Row 3 is gone with Cid; nothing else matches, and no row is left to select.
    EXPECT_TRUE(table()->selectedRowIndexes().isEmpty());

    table()->selectRow(1);
    m_table->at(1)->deleted = true;
    grid()->updateTable();
    EXPECT_EQ(table()->selectedRowIndexes(), QList<int>{1});
    ASSERT_FALSE(m_delegate.selections.isEmpty());
    EXPECT_EQ(m_delegate.selections.last()->person, m_table->at(0)->person);
}

TEST_F(GridSelectionTest, ANewContactIsNotSelectedByAReload)
{
    addPhoneContacts();
    table()->selectRow(0);
    addWithPhones("Aaron", {{"work", "5"}});
    grid()->updateTable();
    EXPECT_EQ(rowNames().first(), "Aaron");
    // Under the name sort too the selection follows Ann to her new row.
    EXPECT_EQ(table()->selectedRowIndexes(), QList<int>{1});
}

TEST_F(GridSelectionTest, SelectingContactsSelectsEveryRowOfThem)
{
    showColumns({"Name", "Phone"});
    const ContactRowPtr ann = addWithPhones("Ann", {{"work", "1"}, {"home", "2"}, {"other", "3"}});
    addWithPhones("Bob", {{"work", "4"}});
    grid()->updateTable();
    grid()->selectRowIndexesWithContacts({ann});
    EXPECT_EQ(table()->selectedRowIndexes(), QList<int>({0, 1, 2}));
    EXPECT_EQ(grid()->selectedContacts(), QList<ContactRowPtr>{ann});
    EXPECT_EQ(grid()->selectedSubContacts().size(), 3);
    EXPECT_FALSE(m_delegate.selections.isEmpty());
}

TEST_F(GridSelectionTest, ContactsOfRowsComeOnceAndWithoutDeletedOnes)
{
    addPhoneContacts();
    EXPECT_EQ(grid()->contactsForIndexes({1, 0, 2}), QList<ContactRowPtr>({m_table->at(0), m_table->at(1)}));
    m_table->at(0)->deleted = true;
    EXPECT_EQ(grid()->contactsForIndexes({0, 1, 2, 3}),
              QList<ContactRowPtr>({m_table->at(1), m_table->at(2)}));
}

TEST_F(GridSelectionTest, MergeTakesTwoDifferentContactsNotTwoRowsOfOne)
{
    addPhoneContacts();
    const ContactRowPtr ann = m_table->at(0);
    const ContactRowPtr cid = m_table->at(2);
    grid()->selectRowIndexesWithContacts({ann});
    ASSERT_EQ(grid()->selectedSubContacts().size(), 2);
    EXPECT_FALSE(grid()->canMergeContacts());
    grid()->mergeContacts();
    EXPECT_TRUE(m_delegate.merges.isEmpty());

    grid()->selectRowIndexesWithContacts({cid, ann});
    EXPECT_TRUE(grid()->canMergeContacts());
    grid()->mergeContacts();
    ASSERT_EQ(m_delegate.merges.size(), 1);
    // In the group's order.
    EXPECT_EQ(m_delegate.merges.first(), (QList<ContactRowPtr>{ann, cid}));

    cid->deleted = true;
    EXPECT_FALSE(grid()->canMergeContacts());
    grid()->mergeContacts();
    EXPECT_EQ(m_delegate.merges.size(), 1);
}

// The row a cell command acts on is the one shown chosen while its menu and sheets are up.
TEST_F(GridSelectionTest, ARightClickOutsideTheSelectionSelectsTheClickedRowAlone)
{
    addPhoneContacts();
    m_view->resize(800, 400);
    m_view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_view.get()));
    grid()->setDelegate(&m_delegate);
    table()->selectRow(3);
    const QPoint onAnn = table()->visualRect(model()->index(1, 1)).center();
    QTest::mouseClick(table()->viewport(), Qt::RightButton, {}, onAnn);
    EXPECT_EQ(table()->clickedRow(), 1);
    EXPECT_EQ(table()->selectedRowIndexes(), QList<int>{1});
    ASSERT_FALSE(m_delegate.selections.isEmpty());
    EXPECT_EQ(m_delegate.selections.last()->person, m_table->at(0)->person);
    EXPECT_EQ(grid()->selectedContactsWithClickedRowIndex(table()->clickedRow()),
              QList<ContactRowPtr>{m_table->at(0)});

    // Inside a selection of several rows it stays, as the menu's event finds it.
    table()->selectRows({1, 3});
    QContextMenuEvent inside(QContextMenuEvent::Mouse, onAnn, table()->viewport()->mapToGlobal(onAnn));
    QCoreApplication::sendEvent(table()->viewport(), &inside);
    EXPECT_EQ(table()->selectedRowIndexes(), QList<int>({1, 3}));

    // A click on the footer keeps the selection.
    QTest::mouseClick(table()->viewport(), Qt::LeftButton, {},
                      table()->visualRect(model()->index(4, 0)).center());
    EXPECT_EQ(table()->selectedRowIndexes(), QList<int>({1, 3}));

    m_table->clear();
    EXPECT_FALSE(grid()->selectedContactsWithClickedRowIndex(1));
}

TEST_F(GridSelectionTest, AFindHitSelectsItsValueAndMarksTheRange)
{
    showColumns({"Name", "Phone"});
    addWithPhones("Ann", {{"work", "111"}, {"home", "222"}, {"other", "333"}});
    const ContactRowPtr bob = addWithPhones("Bob", {{"work", "123"}, {"home", "456"}, {"mobile", "789"}});
    grid()->updateTable();
    grid()->setFindString("89");
    grid()->selectItemAndRange(hit(bob, "Phone", 2, 1, 2));
    ASSERT_EQ(table()->selectedRowIndexes(), QList<int>{5});
    EXPECT_EQ(grid()->selectedSubContacts().first()->labelIndex, 2);
    EXPECT_EQ(m_delegate.selections.last()->uniqueId, bob->uniqueId);
    EXPECT_EQ(cellData(5, "Phone", GridModel::CurrentHitRole),
              QVariant(FindHighlight::variantFromRange({1, 2})));
    EXPECT_EQ(cellData(5, "Phone", GridModel::FindRangesRole).toList().size(), 1);

    // A range that runs past the text marks nothing.
    grid()->selectItemAndRange(hit(bob, "Phone", 2, 2, 5));
    EXPECT_FALSE(cellData(5, "Phone", GridModel::CurrentHitRole).isValid());
}

TEST_F(GridSelectionTest, AHitWithoutItsRowSelectsItsContactNotAnotherOne)
{
    showColumns({"Name", "Phone"});
    addWithPhones("Ann", {{"work", "1"}, {"home", "2"}, {"home", "3"}});
    const ContactRowPtr bob = addWithPhones("Bob", {{"work", "4"}, {"work", "5"}, {"home", "6"}});
    grid()->setSelectedLabels({"home"});
    grid()->updateTable();
    ASSERT_EQ(labelIndexes(), QList<int>({0, 1, 2, 0, 2}));
    // Bob's second number is filtered out; Ann's row at that position is no answer.
    grid()->selectItemAndRange(hit(bob, "Phone", 1, 0, 1));
    EXPECT_EQ(table()->selectedRowIndexes(), QList<int>{3});

    auto stranger = std::make_shared<ContactRow>();
    stranger->uniqueId = "nobody";
    grid()->selectItemAndRange(hit(stranger, "Phone", 0, 0, 1));
    EXPECT_EQ(table()->selectedRowIndexes(), QList<int>{3});
}

TEST_F(GridSelectionTest, AClosedWindowLeavesTheDetachedWindows)
{
    QWidget window;
    grid()->setDetachedWindows(
        {std::make_shared<DetachedWindowEntry>(DetachedWindowEntry{nullptr, "A", &window}),
         std::make_shared<DetachedWindowEntry>(DetachedWindowEntry{nullptr, "B", nullptr})});
    // A popover reports its presenter's window, which no entry holds: its contact decides.
    grid()->detachedWindowDidClose({"B", table()});
    ASSERT_EQ(grid()->detachedWindows().size(), 1);
    grid()->detachedWindowDidClose({"X", &window});
    EXPECT_TRUE(grid()->detachedWindows().isEmpty());
}

} // namespace
