#include "GridFixture.h"

#include "grid/CollationKeys.h"
#include "grid/GridColumns.h"
#include "addressbook/GridSortKey.h"
#include "grid/GridSorter.h"

namespace {

class GridSortTest : public GridFixture
{
};

struct KeyCase
{
    QString key;
    QString identifier;
    QString valueKey;
};

class GridSortKeyTest : public ::testing::TestWithParam<KeyCase>
{
};

TEST_P(GridSortKeyTest, KeysSplitIntoFieldAndPart)
{
    const auto split = GridSortKey::separateSortKeyIntoIdentifierAndKey(GetParam().key);
    ASSERT_TRUE(split);
    EXPECT_EQ(split->identifier, GetParam().identifier);
    EXPECT_EQ(split->valueKey, GetParam().valueKey);
}

INSTANTIATE_TEST_SUITE_P(
    Table, GridSortKeyTest,
    ::testing::Values(KeyCase{"Phone", "Phone", "stringValue"}, KeyCase{"Phone label", "Phone", "label"},
                      KeyCase{"Email domain", "Email", "domain"}, KeyCase{"Address ZIP", "Address", "ZIP"},
                      KeyCase{"City", "Address", "City"},
                      KeyCase{"Instant Message service name", "Instant Message", "service"},
                      KeyCase{"Social Network username", "Social Network", "username"},
                      KeyCase{"Phonetic Name LastName", "Phonetic Name", "Phonetic LastName"},
                      KeyCase{"compositeName", "Name", "compositeName"},
                      KeyCase{"FirstName", "Name", "FirstName"},
                      // Keys outside the table: a custom field's label, or a field's text.
                      KeyCase{"Hobby label", "Hobby", "label"}, KeyCase{"Hobby", "Hobby", "stringValue"},
                      KeyCase{"Note", "Note", "stringValue"}));

TEST(CollationKeys, CaseDoesNotCountButLettersDo)
{
    CollationKeys keys;
    const qsizetype anna = keys.add("anna"), upper = keys.add("ANNA"), bob = keys.add("Bob"),
                    alice = keys.add("alice");
    EXPECT_EQ(keys.compare(anna, upper), 0);
    EXPECT_GT(keys.compare(bob, alice), 0);
    EXPECT_LT(keys.compare(alice, anna), 0);
}

// Keys are kept between sorts: a text met again must sort as before, and only under the language
// it was keyed for.
TEST(CollationKeys, KeptKeysFollowTheLanguage)
{
    const QLocale previous;
    QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
    for (int pass = 0; pass < 2; ++pass) {
        CollationKeys keys;
        const qsizetype oil = keys.add("Öl"), zebra = keys.add("Zebra"), again = keys.add("öl");
        EXPECT_LT(keys.compare(oil, zebra), 0);
        EXPECT_EQ(keys.compare(oil, again), 0);
    }
    QLocale::setDefault(QLocale(QStringLiteral("sv_SE")));
    CollationKeys swedish;
    const qsizetype oil = swedish.add("Öl"), zebra = swedish.add("Zebra");
    EXPECT_GT(swedish.compare(oil, zebra), 0);
    QLocale::setDefault(previous);
}

TEST(GridSortKey, ANullKeyHasNoSplit)
{
    EXPECT_FALSE(GridSortKey::separateSortKeyIntoIdentifierAndKey(QString()));
}

struct DateCase
{
    QVariant first;
    QVariant second;
    bool ascending;
    int result;
};

class GridDateCompareTest : public ::testing::TestWithParam<DateCase>
{
};

TEST_P(GridDateCompareTest, MissingDatesComeLast)
{
    const DateCase &c = GetParam();
    EXPECT_EQ(GridSorter::compareDateComponents(c.first, c.second, c.ascending), c.result);
}

const QVariantMap may1990{{"year", 1990}, {"month", 5}, {"day", 1}};
const QVariantMap june1985{{"year", 1985}, {"month", 6}, {"day", 2}};
const QVariantMap leapDay{{"month", 2}, {"day", 29}};
const QVariantMap firstOfMarch{{"month", 3}, {"day", 1}};

INSTANTIATE_TEST_SUITE_P(
    Dates, GridDateCompareTest,
    ::testing::Values(DateCase{QVariant(), QVariant(), true, 0}, DateCase{may1990, QVariant(), true, -1},
                      DateCase{may1990, QVariant(), false, -1}, DateCase{QVariant(), may1990, false, 1},
                      DateCase{june1985, may1990, true, -1}, DateCase{june1985, may1990, false, 1},
                      DateCase{leapDay, firstOfMarch, true, -1}, DateCase{leapDay, june1985, true, -1}));

// Contacts with and without a value sorted both ways: the empty ones come last each time.
struct EmptyLastCase
{
    const char *name;
    QString key;
    bool ascending;
    QStringList order;
};

class GridEmptyLastTest : public GridFixture, public ::testing::WithParamInterface<EmptyLastCase>
{
};

TEST_P(GridEmptyLastTest, EmptyValuesSortLast)
{
    const EmptyLastCase &c = GetParam();
    showColumns({"Name", "Phone", "Birthday"});
    auto withBirthday = [this](const QString &name, const QString &phone, std::optional<QVariantMap> day) {
        const QNPersonPtr contact = person(name);
        if (!phone.isEmpty())
            setValues(contact, "Phone", {{"work", phone}});
        if (day)
            contact->setBirthdayValue(QVariantMap{{PersonKey::Value, *day}});
        add(contact);
    };
    withBirthday("Ann", "", may1990);
    withBirthday("Bob", "200", std::nullopt);
    withBirthday("Cid", "100", june1985);
    sortBy(c.key, c.ascending);
    EXPECT_EQ(rowNames(), c.order);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, GridEmptyLastTest,
    ::testing::Values(EmptyLastCase{"PhoneUp", "Phone", true, {"Cid", "Bob", "Ann"}},
                      EmptyLastCase{"PhoneDown", "Phone", false, {"Bob", "Cid", "Ann"}},
                      EmptyLastCase{"BirthdayUp", "Birthday", true, {"Cid", "Ann", "Bob"}},
                      EmptyLastCase{"BirthdayDown", "Birthday", false, {"Ann", "Cid", "Bob"}}),
    [](const ::testing::TestParamInfo<EmptyLastCase> &info) { return std::string(info.param.name); });

TEST_F(GridSortTest, EmailsSortByDomainOrLabel)
{
    showColumns({"Name", "Email"});
    for (const auto &[name, label, address] :
         {std::tuple{"Ann", "work", "ann@zeta.org"}, std::tuple{"Bob", "home", "bob@alpha.org"},
          std::tuple{"Cid", "other", "aaa@mid.org"}}) {
        const QNPersonPtr contact = person(name);
        setValues(contact, "Email", {{label, address}});
        add(contact);
    }
    sortBy("Email domain");
    EXPECT_EQ(rowNames(), QStringList({"Bob", "Cid", "Ann"}));
    EXPECT_EQ(model()->data(model()->index(0, 1), GridModel::SortRole).toString(), "alpha.org");
    sortBy("Email label");
    EXPECT_EQ(rowNames(), QStringList({"Bob", "Cid", "Ann"}));
    sortBy("Email");
    EXPECT_EQ(rowNames(), QStringList({"Cid", "Ann", "Bob"}));
}

// Records read from the store sort their lists from the store contact's texts where they can: dates
// must still sort by their day (a yearless date is in year 1), and social profiles as their texts.
TEST_F(GridSortTest, UnreadDatesSortByDayAndProfilesByText)
{
    showColumns({"Name", "Dates"});
    for (const auto &[name, date, user] :
         {std::tuple{"Ann", DateComponents{std::nullopt, 12, 31}, "zed"},
          std::tuple{"Bob", DateComponents{1100, 1, 1}, "amy"}}) {
        StoreContact contact;
        contact.givenName = QString::fromLatin1(name);
        contact.dates = {{QString(), QStringLiteral("_$!<Anniversary>!$_"), date}};
        contact.socialProfiles = {{QString(), QString(), StoreSocialProfile{"", user, "", "twitter"}}};
        contact.makeAllKeysAvailable();
        add(std::make_shared<QNPerson>(contact));
    }
    sortBy("Dates");
    EXPECT_EQ(rowNames(), QStringList({"Ann", "Bob"}));
    sortBy("Dates", false);
    EXPECT_EQ(rowNames(), QStringList({"Bob", "Ann"}));
    sortBy("Social Network");
    EXPECT_EQ(rowNames(), QStringList({"Bob", "Ann"}));
}

TEST_F(GridSortTest, AddressesSortByTheirZip)
{
    showColumns({"Name", "ZIP", "City"});
    for (const auto &[name, zip] : {std::pair{"Ann", "90210"}, std::pair{"Bob", "10001"}}) {
        const QNPersonPtr contact = person(name);
        contact->setValue(QVariantList{QVariantMap{{"label", "home"}, {"ZIP", zip}, {"City", "X"}}},
                          "Address");
        add(contact);
    }
    sortBy("ZIP");
    EXPECT_EQ(rowNames(), QStringList({"Bob", "Ann"}));
    EXPECT_EQ(cellData(0, "ZIP").toString(), "10001");
}

TEST_F(GridSortTest, EqualRowsKeepTheirOrderAndKeysOutsideTheTableSortByTheField)
{
    showColumns({"Name", "Phone"});
    addWithPhones("Sam", {{"work", "3"}, {"home", "1"}});
    addWithPhones("Sam", {{"work", "2"}});
    const QNPersonPtr noted = person("Ann");
    noted->setValue(QStringLiteral("zzz"), "Note");
    add(noted);
    sortBy("compositeName", false);
    EXPECT_EQ(rowNames(), QStringList({"Sam", "Sam", "Sam", "Ann"}));
    // Ties stay in table order, then position, in either direction.
    EXPECT_EQ(labelIndexes(), QList<int>({0, 1, 0, 0}));
    EXPECT_EQ(grid()->subContactTable().at(0)->person, m_table->at(0)->person);

    // "Note" is not shown and not in the key table: the field's text decides, empty last.
    sortBy("Note");
    EXPECT_EQ(rowNames().first(), "Ann");
}

TEST_F(GridSortTest, AHeaderClickSortsTurnsTheDirectionAndKeepsTheSelectedValue)
{
    showColumns({"Name", "Phone"});
    addWithPhones("Ann", {{"work", "30"}, {"home", "10"}});
    addWithPhones("Bob", {{"work", "20"}});
    grid()->updateTable();
    table()->selectRow(1);
    ASSERT_EQ(grid()->selectedSubContacts().first()->labelIndex, 1);
    m_delegate.sorts.clear();

    const int phone = 1;
    emit table()->horizontalHeader()->sectionClicked(phone);
    ASSERT_EQ(m_delegate.sorts.size(), 1);
    EXPECT_EQ(m_delegate.sorts.first(), QList<SortDescriptor>({{"Phone", true}}));
    // The selected number "10" is now the first row.
    EXPECT_EQ(table()->selectedRowIndexes(), QList<int>{0});
    EXPECT_EQ(defaults().dictionaryForKey(DefaultsKey::LastSortDesc),
              (QVariantMap{{"key", "Phone"}, {"ascending", true}}));

    emit table()->horizontalHeader()->sectionClicked(phone);
    EXPECT_EQ(grid()->sortDescriptors(), QList<SortDescriptor>({{"Phone", false}}));
    EXPECT_EQ(table()->selectedRowIndexes(), QList<int>{2});
    EXPECT_EQ(table()->horizontalHeader()->sortIndicatorSection(), phone);
    EXPECT_EQ(table()->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
}

// An option chosen in a sort-options menu sorts at once, a custom labelled field as a built-in one.
class GridSortOptionTest : public GridFixture, public ::testing::WithParamInterface<const char *>
{
};

TEST_P(GridSortOptionTest, AChosenOptionSortsByTheFieldAndOption)
{
    const QString field = QString::fromUtf8(GetParam());
    grid()->setCustomItems({QVariantMap{{"Name", "Hobby"}, {"Type", "Labeled Value"}}});
    showColumns({"Name", field});
    for (const auto &[name, label, text] :
         {std::tuple{"Ann", "work", "a@x.org"}, std::tuple{"Bob", "home", "b@y.org"}}) {
        const QNPersonPtr contact = person(name);
        setValues(contact, field, {{label, text}});
        add(contact);
    }
    const auto choose = [&](const QString &option) {
        grid()->sortOptionsChanged(
            {{"type", field}, {"items", QStringList{field, "label"}}, {"selected", option}}, field);
    };
    choose("label");
    EXPECT_EQ(grid()->sortDescriptors(), QList<SortDescriptor>({{field + " label", true}}));
    EXPECT_EQ(rowNames(), QStringList({"Bob", "Ann"}));
    // The column built from the stored choice gets the same key.
    EXPECT_EQ(GridColumns::sortKeyForColumn(field, {{field, QVariantMap{{"selected", "label"}}}}),
              field + " label");
    choose(field);
    EXPECT_EQ(grid()->columns().at(1).sortPrototype.key, field);
    EXPECT_EQ(rowNames(), QStringList({"Ann", "Bob"}));
}

INSTANTIATE_TEST_SUITE_P(Fields, GridSortOptionTest, ::testing::Values("Email", "Hobby"));

TEST_F(GridSortTest, AColumnThatIsNotShownIgnoresItsSortOption)
{
    showColumns({"Name", "Email"});
    grid()->sortOptionsChanged({{"type", "Name"}, {"selected", "LastName"}}, "Name");
    EXPECT_EQ(grid()->sortDescriptors(), QList<SortDescriptor>({{"LastName", true}}));
    grid()->sortOptionsChanged({{"type", "Phone"}, {"selected", "label"}}, "Phone");
    EXPECT_EQ(grid()->sortDescriptors().first().key, "LastName");
}

} // namespace
