#include "app/ToolbarChoices.h"
#include "addressbook/DefaultsKey.h"
#include "addressbook/SortOptions.h"
#include "addressbook/ViewTypes.h"

#include <gtest/gtest.h>

namespace {

struct ChoiceRow
{
    const char *column;
    const char *stored;
    const char *expected;
};

class StoredSortChoiceTest : public ::testing::TestWithParam<ChoiceRow>
{
};

const SortOptions::Column &builtInColumn(const QString &name)
{
    for (const SortOptions::Column &column : SortOptions::builtIn()) {
        if (column.column == name)
            return column;
    }
    throw std::runtime_error("no such column");
}

TEST_P(StoredSortChoiceTest, TakesTheChoiceAloneAndOnlyWhatTheColumnOffers)
{
    const ChoiceRow row = GetParam();
    EXPECT_EQ(SortOptions::chosenOption(builtInColumn(row.column), row.stored), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, StoredSortChoiceTest,
    ::testing::Values(ChoiceRow{"Email", "Email domain", "domain"}, ChoiceRow{"Email", "Email", "Email"},
                      ChoiceRow{"Email", "label", "label"}, ChoiceRow{"Phone", "Phone label", "label"},
                      ChoiceRow{"Instant Message", "Instant Message service name", "service name"},
                      ChoiceRow{"Name", "FirstName", "FirstName"}, ChoiceRow{"Name", "Name", "compositeName"},
                      ChoiceRow{"Email", "Email ", "Email"}, ChoiceRow{"Email", "MyEmail domain", "Email"},
                      ChoiceRow{"Address", "", "Address"}));

TEST(ToolbarChoicesTest, EmptyOrMixedStoredChoicesAreMadeSound)
{
    EXPECT_EQ(ToolbarChoices::normalizedLabels({}), QStringList{"All"});
    EXPECT_EQ(ToolbarChoices::normalizedLabels({"home", "All"}), QStringList{"All"});
    EXPECT_EQ(ToolbarChoices::normalizedLabels({"home", "work"}), QStringList({"home", "work"}));
    EXPECT_EQ(ToolbarChoices::toggledLabels({}, "home"), QStringList{"home"});
    EXPECT_EQ(ToolbarChoices::toggledColumns({}, "Phone"), QStringList({"Phone"}));
}

TEST(DefaultsKeyTest, TheTablesDefaultsAreTheBuiltInOnes)
{
    using namespace DefaultsKey;
    EXPECT_EQ(defaultValue(ViewTypeDict).toMap(), ViewTypes::defaultViewTypeDict());
    EXPECT_EQ(defaultValue(SelectedViewType), "Email");
    EXPECT_EQ(defaultValue(SortOptionsDefault).toMap().value("Name"), "compositeName");
    EXPECT_EQ(defaultValue(SortOptionsDefault).toMap().value("Dates"), "Dates");
    EXPECT_EQ(defaultValue(SortOptionsDict).toMap().size(), 10);
    EXPECT_EQ(defaultValue(LastPrintStyle), "Address List");
    EXPECT_FALSE(defaultValue(QStringLiteral("QN1Dunknown")).isValid());
    for (const KeyInfo &info : allKeys())
        EXPECT_TRUE(info.key.startsWith("QN") || info.key == "Encodings") << info.key.toStdString();
}

} // namespace
