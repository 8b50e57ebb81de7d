#include "GridFixture.h"

namespace {

class GridRowsTest : public GridFixture
{
};

TEST_F(GridRowsTest, TheNameViewShowsOneRowPerContact)
{
    showColumns({"Name"});
    addWithPhones("Ann", {{"work", "1"}, {"home", "2"}, {"home", "3"}});
    addWithPhones("Bob", {});
    grid()->updateTable();
    EXPECT_EQ(labelIndexes(), QList<int>({0, 0}));
    // The footer follows the rows.
    EXPECT_EQ(model()->rowCount(), 3);
}

TEST_F(GridRowsTest, NoTableGivesNoRowsAndAnEmptyTableTheFooterAlone)
{
    grid()->setContactTable(nullptr);
    grid()->updateTable();
    EXPECT_EQ(model()->rowCount(), 0);

    grid()->setContactTable(m_table);
    grid()->updateTable();
    ASSERT_EQ(model()->rowCount(), 1);
    EXPECT_TRUE(model()->isFooterRow(0));
    EXPECT_EQ(model()->flags(model()->index(0, 0)), Qt::ItemIsEnabled);
}

TEST_F(GridRowsTest, DeletedContactsGetNoRows)
{
    showColumns({"Name", "Phone"});
    addWithPhones("Ann", {{"work", "1"}});
    addWithPhones("Bob", {{"work", "2"}, {"home", "3"}})->deleted = true;
    grid()->updateTable();
    EXPECT_EQ(rowNames(), QStringList{"Ann"});
}

// Phones and e-mails of one contact, a label filter, and the positions that get rows.
struct RowCase
{
    const char *name;
    QStringList columns;
    QStringList phoneLabels;
    QStringList emailLabels;
    QStringList filter;
    QList<int> labelIndexes;
};

class GridRowCaseTest : public GridFixture, public ::testing::WithParamInterface<RowCase>
{
};

TEST_P(GridRowCaseTest, RowsFollowThePositionsThatPassTheFilter)
{
    const RowCase &c = GetParam();
    showColumns(c.columns);
    const QNPersonPtr contact = person("Ann");
    QList<Value> phones, emails;
    for (const QString &label : c.phoneLabels)
        phones.append({label, "555 " + QString::number(phones.size())});
    for (const QString &label : c.emailLabels)
        emails.append({label, QStringLiteral("a%1@x.org").arg(emails.size())});
    setValues(contact, "Phone", phones);
    setValues(contact, "Email", emails);
    add(contact);
    grid()->setSelectedLabels(c.filter);
    grid()->updateTable();
    EXPECT_EQ(labelIndexes(), c.labelIndexes);
}

const QStringList labeledValues{"Name",           "Phone", "Email",        "Address", "Instant Message",
                                "Social Network", "URL",   "Relationship", "Dates"};

INSTANTIATE_TEST_SUITE_P(
    Filters, GridRowCaseTest,
    ::testing::Values(
        RowCase{"NoValuesOneRow", {"Name", "Phone"}, {}, {}, {"All"}, {0}},
        RowCase{"EveryPhone", {"Name", "Phone"}, {"work", "home", "home"}, {}, {"All"}, {0, 1, 2}},
        // Position 0 is always there; 1 and 2 pass the filter.
        RowCase{"HomeFilter", {"Name", "Phone"}, {"work", "home", "home"}, {}, {"home"}, {0, 1, 2}},
        RowCase{"NothingPasses", {"Name", "Phone"}, {"work", "work"}, {}, {"home"}, {0}},
        // The phone at position 2 makes row 2 first, so the e-mail at position 1 makes no row.
        RowCase{"LabeledValues", labeledValues, {"work", "work", "home"}, {"work", "home"}, {"home"}, {0, 2}},
        RowCase{"LabeledValuesUnfiltered",
                labeledValues,
                {"work"},
                {"work", "home", "other"},
                {"All"},
                {0, 1, 2}},
        // A later column never adds a position below one already built, nor one twice.
        RowCase{"NoDuplicates",
                labeledValues,
                {"work", "work", "work", "home"},
                {"work", "work", "home"},
                {"home"},
                {0, 3}},
        RowCase{"EmptyFilterShowsAll", {"Name", "Phone"}, {"work", "home"}, {}, {}, {0, 1}}),
    [](const ::testing::TestParamInfo<RowCase> &info) { return std::string(info.param.name); });

TEST_F(GridRowsTest, ContinuationRowsAreMarkedInDisplayOrder)
{
    showColumns({"Name", "Phone"});
    addWithPhones("Ann", {{"work", "30"}, {"home", "10"}});
    addWithPhones("Bob", {{"work", "20"}});
    grid()->updateTable();
    QList<bool> marks;
    for (const SubContactRowPtr &row : grid()->subContactTable())
        marks.append(row->notFirstRow);
    EXPECT_EQ(marks, QList<bool>({false, true, false}));

    // Sorted by phone the rows of one contact come apart, and each is a first row.
    sortBy("Phone");
    EXPECT_EQ(rowNames(), QStringList({"Ann", "Bob", "Ann"}));
    for (const SubContactRowPtr &row : grid()->subContactTable())
        EXPECT_FALSE(row->notFirstRow);
    EXPECT_EQ(cellData(2, "Name").toString(), "Ann");
}

TEST_F(GridRowsTest, TheModelPassesTheTester)
{
    showColumns({"Name", "Phone", "Email", "Note"});
    addWithPhones("Ann", {{"work", "1"}, {"home", "2"}});
    addWithPhones("Bob", {{"work", "3"}});
    const ModelTesterLog log;
    QAbstractItemModelTester tester(model(), QAbstractItemModelTester::FailureReportingMode::Warning);
    grid()->updateTable();
    sortBy("Phone", false);
    grid()->setSelectedLabels({"home"});
    grid()->updateTable();
    showColumns({"Name"});
    grid()->setContactTable(nullptr);
    grid()->updateTable();
    EXPECT_EQ(model()->rowCount(), 0);
    EXPECT_EQ(log.failures(), QStringList());
}

} // namespace
