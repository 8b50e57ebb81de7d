#include "FindFixture.h"

#include "find/FieldSearch.h"
#include "find/FindText.h"

namespace {

using FindText::lookForString;
constexpr qsizetype NotFound = ItemAndRange::NotFound;

struct LookCase
{
    const char *text;
    const char *find;
    ItemAndRange::TextRange cursor;
    FindDirection direction;
    ItemAndRange::TextRange expected;
};

class LookForStringTest : public ::testing::TestWithParam<LookCase>
{
};

TEST_P(LookForStringTest, FindsAfterOrBeforeTheCursor)
{
    const LookCase &c = GetParam();
    EXPECT_EQ(lookForString(c.find, c.text, c.cursor, c.direction, Qt::CaseInsensitive), c.expected);
}

constexpr auto F = FindDirection::Forward;
constexpr auto B = FindDirection::Backward;

INSTANTIATE_TEST_SUITE_P(
    Cases, LookForStringTest,
    ::testing::Values(LookCase{"abcabc", "abc", {0, 3}, F, {3, 3}}, LookCase{"abcabc", "abc", {3, 3}, F, {}},
                      LookCase{"abcabc", "abc", {3, 3}, B, {0, 3}}, LookCase{"abcabc", "abc", {0, 3}, B, {}},
                      // No location: the whole text, either way.
                      LookCase{"abcabc", "abc", {NotFound, 0}, F, {0, 3}},
                      LookCase{"abcabc", "abc", {NotFound, 0}, B, {3, 3}},
                      // Backwards only what ends before the cursor's start.
                      LookCase{"xabcx", "abc", {2, 0}, B, {}}, LookCase{"ABC", "b", {0, 0}, F, {1, 1}},
                      // A cursor past the end, an empty text or find string: nothing, no crash.
                      LookCase{"abc", "a", {7, 2}, F, {}}, LookCase{"abc", "c", {40, 0}, B, {2, 1}},
                      LookCase{"", "a", {NotFound, 0}, F, {}}, LookCase{"abc", "", {NotFound, 0}, F, {}},
                      LookCase{"ab", "abc", {NotFound, 0}, B, {}},
                      // Only whole characters: not an e that carries an accent, nor half of CR LF.
                      LookCase{"e\u0301e", "e", {NotFound, 0}, F, {2, 1}},
                      LookCase{"ee\u0301", "e", {NotFound, 0}, B, {0, 1}},
                      LookCase{"a\r\nb\n", "\n", {NotFound, 0}, F, {4, 1}},
                      LookCase{"\na\r\n", "\r", {NotFound, 0}, B, {}}));

TEST(FindTextTest, ReplacingAnEmptyStringChangesNothing)
{
    EXPECT_EQ(FindText::replacingOccurrences("abc", "", "x", Qt::CaseSensitive), "abc");
    EXPECT_EQ(FindText::replacingOccurrences("aBcAbc", "abc", "x", Qt::CaseInsensitive), "xx");
    EXPECT_FALSE(FindText::holdsMatch("abc", {2, 4}, "c", Qt::CaseSensitive));
    EXPECT_TRUE(FindText::holdsMatch("abC", {2, 1}, "c", Qt::CaseInsensitive));
    EXPECT_FALSE(FindText::holdsMatch("a\r\n", {1, 1}, "\r", Qt::CaseSensitive));
}

class FieldSearchTest : public FindFixture
{
protected:
    static FieldPlace at(const QString &identifier, const QString &subIdentifier, int labelIndex,
                         ItemAndRange::TextRange cursor)
    {
        FieldPlace place;
        place.identifier = identifier;
        place.subIdentifier = subIdentifier;
        place.labelIndex = labelIndex;
        place.cursor = cursor;
        return place;
    }

    ContactRowPtr person(const QString &first, const QString &last, int ordering, bool showAsPerson = true)
    {
        const ContactRowPtr row = rowOf(storeContact(first, last));
        row->person->setValue(QVariantMap{{PersonKey::FirstName, first},
                                          {PersonKey::LastName, last},
                                          {PersonKey::NameOrdering, ordering},
                                          {PersonKey::ShowAsPerson, showAsPerson}},
                              PersonIdentifier::Name);
        return row;
    }

    std::optional<ItemAndRange> search(const QString &findString, const ContactRowPtr &row, FieldLayout layout,
                                       FieldPlace place, FindDirection direction = FindDirection::Forward)
    {
        const FieldSearch fieldSearch(findString, Qt::CaseInsensitive, FindFields(customItems));
        return fieldSearch.find(direction, layout, row, place);
    }

    QVariantList customItems;
};

TEST_F(FieldSearchTest, TheGridNameLastNameFirstPlacesTheFirstNameAfterTheBlank)
{
    // A Latin name is last name first when the user sorts by last name.
    ContactsUserDefaults::setSortOrderForTesting(ContactsUserDefaults::SortOrderFamilyName);
    const ContactRowPtr row = person("John", "Smith", 2);
    const auto grid = search("John", row, FieldLayout::Grid, at("Name", "", 0, {}));
    ASSERT_TRUE(grid);
    EXPECT_EQ(grid->range(), R(6, 4));
    EXPECT_EQ(grid->itemRange, R(0, 4));
    EXPECT_EQ(grid->subIdentifier, "FirstName");
    EXPECT_EQ(grid->uniqueId, row->uniqueId);

    const auto detail = search("John", row, FieldLayout::Detail, at("Name", "", 0, {}));
    ASSERT_TRUE(detail);
    EXPECT_EQ(detail->range(), R(0, 4));
    EXPECT_EQ(detail->subIdentifier, "FirstName");

    // On from the hit: nothing more in the name; back from it: the last name.
    EXPECT_FALSE(search("o", row, FieldLayout::Grid, at("Name", "FirstName", 0, {6, 4})));
    const auto back = search("S", row, FieldLayout::Grid, at("Name", "FirstName", 0, {6, 4}), FindDirection::Backward);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->subIdentifier, "LastName");
    EXPECT_EQ(back->range(), R(0, 1));
}

TEST_F(FieldSearchTest, ALoneSecondNamePartStartsTheGridText)
{
    const ContactRowPtr row = person("", "Smith", 1);
    const auto hit = search("mit", row, FieldLayout::Grid, at("Name", "", 0, {}));
    ASSERT_TRUE(hit);
    // The cell shows "Smith", not " Smith".
    EXPECT_EQ(hit->range(), R(1, 3));
}

TEST_F(FieldSearchTest, ACompanyIsSearchedInItsCompanyTextInTheGridOnly)
{
    StoreContact contact = storeContact("Ann", "Lee");
    contact.organizationName = "Acme Annex";
    contact.setContactType(StoreContactType::Organization);
    const ContactRowPtr row = rowOf(contact);
    ASSERT_FALSE(row->person->showAsPerson());

    const auto grid = search("Ann", row, FieldLayout::Grid, at("Name", "", 0, {}));
    ASSERT_TRUE(grid);
    EXPECT_EQ(grid->range(), R(5, 3));
    EXPECT_FALSE(grid->itemRange);
    const auto detail = search("Ann", row, FieldLayout::Detail, at("Name", "", 0, {}));
    ASSERT_TRUE(detail);
    EXPECT_EQ(detail->subIdentifier, "FirstName");
}

TEST_F(FieldSearchTest, AnInstantMessageIsServiceColonUserName)
{
    StoreContact contact = storeContact("Ann", "Lee");
    contact.instantMessageAddresses = {{{}, "home", {"z", "Jabber"}}};
    const ContactRowPtr row = rowOf(contact);

    const auto colon = search(":", row, FieldLayout::Grid, at("Instant Message", "", 0, {}));
    ASSERT_TRUE(colon);
    EXPECT_EQ(colon->range(), R(6, 1));
    EXPECT_EQ(colon->itemRange, R(6, 1));
    EXPECT_EQ(colon->subIdentifier, "service");
    const auto user = search("z", row, FieldLayout::Grid, at("Instant Message", "", 0, {}));
    ASSERT_TRUE(user);
    EXPECT_EQ(user->range(), R(7, 1));
    EXPECT_EQ(user->itemRange, R(0, 1));
    EXPECT_EQ(user->subIdentifier, "username");
    EXPECT_FALSE(search("z", row, FieldLayout::Grid, at("Instant Message", "username", 0, {7, 1})));
}

TEST_F(FieldSearchTest, AnAddressIsSearchedPartByPartInItsRangeTable)
{
    StoreContact contact = storeContact("Ann", "Lee");
    contact.postalAddresses = {{{}, "home", {"1 Main St", "Springfield", "IL", "62701", "USA", "us"}}};
    const ContactRowPtr row = rowOf(contact);
    const QList<QNPerson::AddressPartRange> table = QNPerson::rangeTableFromAddressLabeledValue(
        row->person->labeledValueForIdentifierAtLabelIndex("Address", 0).value());
    const auto city = std::find_if(table.cbegin(), table.cend(), [](const auto &part) { return part.identifier == "City"; });
    ASSERT_NE(city, table.cend());

    const auto hit = search("field", row, FieldLayout::Grid, at("Address", "", 0, {}));
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->subIdentifier, "City");
    EXPECT_EQ(hit->itemRange, R(6, 5));
    EXPECT_EQ(hit->range(), R(city->location + 6, 5));

    const auto zip = search("627", row, FieldLayout::Grid, at("ZIP", "", 0, {}));
    ASSERT_TRUE(zip);
    EXPECT_EQ(zip->range(), R(0, 3));
    EXPECT_FALSE(zip->itemRange);
    // A label index that no address carries finds nothing.
    EXPECT_FALSE(search("627", row, FieldLayout::Grid, at("ZIP", "", 3, {})));
}

TEST_F(FieldSearchTest, EntriesAreLookedUpByTheirOwnLabelIndex)
{
    StoreContact contact = storeContact("Ann", "Lee");
    contact.phoneNumbers = {labeled("home", "111"), labeled("work", "222"), labeled("other", "333")};
    const ContactRowPtr row = rowOf(contact);
    row->person->labeledValueForIdentifier("Phone"); // read before deleting from it
    row->person->deleteLabeledValueForIdentifier("Phone", 1);

    const auto hit = search("3", row, FieldLayout::Detail, at("Phone", "", 2, {}));
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->labelIndex, 2);
    EXPECT_FALSE(search("2", row, FieldLayout::Detail, at("Phone", "", 1, {})));
}

TEST_F(FieldSearchTest, DatesBirthdaysAndUntypedFieldsAreNeverSearched)
{
    StoreContact contact = storeContact("Ann", "Lee");
    contact.birthday = DateComponents{1980, 5, 17};
    contact.note = "1980 notes";
    const ContactRowPtr row = rowOf(contact);
    EXPECT_FALSE(search("1980", row, FieldLayout::Detail, at("Birthday", "", 0, {})));
    EXPECT_FALSE(search("1980", row, FieldLayout::Detail, at("Dates", "", 0, {})));
    EXPECT_FALSE(search("1980", row, FieldLayout::Detail, at("Groups", "", 0, {})));
    EXPECT_TRUE(search("1980", row, FieldLayout::Detail, at("Note", "", 0, {})));

    // A custom item counts by the window's definition.
    row->person->setValue("cat 1980", "Pets");
    customItems = {QVariantMap{{"Name", "Pets"}, {"Type", "String Value"}}};
    EXPECT_TRUE(search("1980", row, FieldLayout::Grid, at("Pets", "", 0, {})));
}

} // namespace
