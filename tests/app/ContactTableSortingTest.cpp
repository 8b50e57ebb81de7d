#include "FunnelFixture.h"

#include "addressbook/ContactTableSorting.h"

namespace {

ContactRowPtr person(const QString &name, const QList<std::pair<QString, QString>> &phones = {})
{
    StoreContact contact;
    contact.givenName = name;
    for (const auto &[label, number] : phones)
        contact.phoneNumbers.append({{}, label, number});
    contact.emailAddresses = {{{}, QStringLiteral("_$!<Work>!$_"), QStringLiteral("z@b.example")},
                              {{}, QStringLiteral("_$!<Home>!$_"), QStringLiteral("a@c.example")}};
    return rowOf(contact);
}

QStringList phoneLabels(const ContactRowPtr &row)
{
    QStringList labels;
    for (const QVariant &entry : row->person->labeledValueForIdentifier(QStringLiteral("Phone")))
        labels.append(entry.toMap().value(PersonKey::Label).toString());
    return labels;
}

QVariantMap date(int year, int month, int day)
{
    return {{PersonKey::Year, year}, {PersonKey::Month, month}, {PersonKey::Day, day}};
}

} // namespace

class ContactTableSortingTest : public FunnelFixture
{
protected:
    void SetUp() override
    {
        FunnelFixture::SetUp();
        mixed = person("Ann", {{"_$!<Work>!$_", "1"}, {"_$!<Home>!$_", "2"}});
        ordered = person("Bob", {{"_$!<Home>!$_", "3"}, {"_$!<Work>!$_", "4"}});
        table = std::make_shared<ContactTable>(ContactTable{mixed, ordered});
        view->setContactTable(table);
        for (const ContactRowPtr &row : *table)
            row->person->setChanged(false);
    }

    ContactRowPtr mixed, ordered;
    ContactTablePtr table;
};

TEST_F(ContactTableSortingTest, SortingByPhoneLabelReordersInsideTheContactsThatNeedIt)
{
    const QStringList before = phoneLabels(mixed);
    view->sortDescriptorsDidChange({{"Phone label", true}});
    EXPECT_EQ(phoneLabels(mixed), QStringList({before.at(1), before.at(0)}));
    EXPECT_TRUE(mixed->person->isChanged());
    EXPECT_FALSE(ordered->person->isChanged());
    EXPECT_TRUE(view->isDocumentEdited());

    nextEvent();
    view->undo();
    EXPECT_EQ(phoneLabels(mixed), before);
    EXPECT_FALSE(mixed->person->isChanged());
    view->redo();
    EXPECT_EQ(phoneLabels(mixed), QStringList({before.at(1), before.at(0)}));
}

class KeysThatReorderNothing : public ContactTableSortingTest, public ::testing::WithParamInterface<const char *>
{
};

TEST_P(KeysThatReorderNothing, LeaveEveryContactAlone)
{
    view->sortDescriptorsDidChange({{GetParam(), true}});
    view->sortDescriptorsDidChange({});
    EXPECT_FALSE(mixed->person->isChanged());
    EXPECT_FALSE(view->isDocumentEdited());
    EXPECT_FALSE(view->undoManager()->canUndo());
}

INSTANTIATE_TEST_SUITE_P(Keys, KeysThatReorderNothing, ::testing::Values("Company", "Email domain", "Name"));

TEST(ContactTableSortingKeys, CustomItemKeysSplitIntoNameAndPart)
{
    EXPECT_EQ(ContactTableSorting::separateSortKeyIntoIdentifierAndKey("Hobby"), QStringList({"Hobby", "stringValue"}));
    EXPECT_EQ(ContactTableSorting::separateSortKeyIntoIdentifierAndKey("Hobby label"), QStringList({"Hobby", "label"}));
    EXPECT_EQ(ContactTableSorting::separateSortKeyIntoIdentifierAndKey("Address ZIP"), QStringList({"Address", "ZIP"}));
    EXPECT_FALSE(ContactTableSorting::separateSortKeyIntoIdentifierAndKey(QString()));
}

TEST(ContactTableSortingDates, MissingDatesSortLastAndDatesCompareAsDates)
{
    using S = ContactTableSorting;
    EXPECT_EQ(S::compareDateComponents(std::nullopt, std::nullopt, true), 0);
    for (bool ascending : {true, false}) {
        EXPECT_EQ(S::compareDateComponents(date(2000, 1, 1), std::nullopt, ascending), -1);
        EXPECT_EQ(S::compareDateComponents(std::nullopt, date(2000, 1, 1), ascending), 1);
    }
    // As text "10" would sort before "9".
    EXPECT_EQ(S::compareDateComponents(date(2000, 9, 30), date(2000, 10, 1), true), -1);
    EXPECT_EQ(S::compareDateComponents(date(2000, 9, 30), date(2000, 10, 1), false), 1);
    // Without a year, 29 February is a date: after the 28th, before 1 March and any dated day.
    const QVariantMap leapDay{{PersonKey::Month, 2}, {PersonKey::Day, 29}};
    EXPECT_EQ(
        S::compareDateComponents(leapDay, QVariantMap{{PersonKey::Month, 3}, {PersonKey::Day, 1}}, true), -1);
    EXPECT_EQ(
        S::compareDateComponents(leapDay, QVariantMap{{PersonKey::Month, 2}, {PersonKey::Day, 28}}, true), 1);
    EXPECT_EQ(S::compareDateComponents(leapDay, date(1900, 1, 1), true), -1);
}

TEST_F(ContactTableSortingTest, TheTableSortsEmptyValuesLastAndCompaniesByName)
{
    ContactRowPtr empty = person("");
    empty->person->setValue(QString(), PersonKey::FirstName);
    StoreContact company;
    company.organizationName = QStringLiteral("aardvark inc");
    company.setContactType(StoreContactType::Organization);
    ContactRowPtr firm = rowOf(company);
    table->prepend(empty);
    table->append(firm);
    for (bool ascending : {true, false}) {
        view->sortContactTable({{"FirstName", ascending}});
        EXPECT_EQ(table->last(), empty);
    }
    view->sortContactTable({{"FirstName", true}});
    EXPECT_EQ(table->first(), firm);

    mixed->person->setBirthdayValue(QVariantMap{{PersonKey::Value, date(1990, 10, 1)}});
    ordered->person->setBirthdayValue(QVariantMap{{PersonKey::Value, date(1990, 9, 30)}});
    view->sortContactTable({{"Birthday", true}});
    EXPECT_EQ(table->at(0), ordered);
    EXPECT_EQ(table->at(1), mixed);
}
