#include "FindFixture.h"

#include "find/FindWalk.h"

namespace {

using Place = std::pair<QString, int>;

class FindWalkTest : public FindFixture
{
protected:
    std::optional<ItemAndRange> grid(const QString &findString, const ItemAndRange &cursor,
                                     FindDirection direction = FindDirection::Forward)
    {
        const FindFields fields({});
        return FindWalk::walkGrid(direction, FieldSearch(findString, Qt::CaseInsensitive, fields), fields, cursor,
                                  gridSnapshot);
    }
    std::optional<ItemAndRange> detail(const QString &findString, const ItemAndRange &cursor,
                                       FindDirection direction = FindDirection::Forward)
    {
        const FindFields fields({});
        return FindWalk::walkDetail(direction, FieldSearch(findString, Qt::CaseInsensitive, fields), fields,
                                    cursor, detailSnapshot);
    }
    // The fields and entries of successive hits, each walk starting from the last hit.
    QList<Place> detailHits(const QString &findString, ItemAndRange cursor, int count,
                            FindDirection direction = FindDirection::Forward)
    {
        QList<Place> places;
        for (int i = 0; i < count; ++i) {
            const auto hit = detail(findString, cursor, direction);
            if (!hit)
                break;
            places.append({hit->identifier, hit->labelIndex});
            cursor = *hit;
        }
        return places;
    }

    static ItemAndRange cursorAt(const QString &identifier, int labelIndex, ItemAndRange::TextRange range = {0, 0})
    {
        ItemAndRange cursor;
        cursor.identifier = identifier;
        cursor.labelIndex = labelIndex;
        cursor.setRange(range);
        return cursor;
    }

    GridSnapshot gridSnapshot;
    DetailSnapshot detailSnapshot;
};

TEST_F(FindWalkTest, TheOnlyMatchIsFoundAgainAfterTheWrap)
{
    StoreContact ann = storeContact("Ann", "Lee");
    ann.phoneNumbers = {labeled("home", "111"), labeled("work", "222")};
    StoreContact bob = storeContact("Bob", "Ray");
    bob.phoneNumbers = {labeled("home", "333")};
    const ContactRowPtr annRow = rowOf(ann);
    const ContactRowPtr bobRow = rowOf(bob);
    gridSnapshot = {{"Name", "Phone"}, gridRows(annRow, 2) + gridRows(bobRow, 1)};

    const auto first = grid("333", ItemAndRange());
    ASSERT_TRUE(first);
    EXPECT_EQ(first->uniqueId, bobRow->uniqueId);
    EXPECT_EQ(first->identifier, "Phone");
    const auto again = grid("333", *first);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->uniqueId, first->uniqueId);
    EXPECT_EQ(again->identifier, first->identifier);
    EXPECT_EQ(again->labelIndex, first->labelIndex);
    EXPECT_EQ(again->range(), first->range());

    // Backwards from the first cell the walk wraps to the last row.
    ItemAndRange start = cursorAt("Name", 0);
    start.uniqueId = annRow->uniqueId;
    const auto back = grid("1", start, FindDirection::Backward);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->uniqueId, annRow->uniqueId);
    EXPECT_EQ(back->range(), R(2, 1));
    EXPECT_FALSE(grid("nowhere", start));
}

TEST_F(FindWalkTest, ASingleValuedFieldIsSearchedOnTheContactsFirstRowOnly)
{
    StoreContact ann = storeContact("Ann", "Lee");
    ann.organizationName = "Acme";
    ann.phoneNumbers = {labeled("home", "111"), labeled("work", "222")};
    const ContactRowPtr annRow = rowOf(ann);
    gridSnapshot = {{"Company", "Phone"}, gridRows(annRow, 2)};

    const auto hit = grid("Acme", ItemAndRange());
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->labelIndex, 0);
    // Forward from it the second row is walked first, and shows no company.
    const auto next = grid("Acme", *hit);
    ASSERT_TRUE(next);
    EXPECT_EQ(next->labelIndex, 0);
    EXPECT_EQ(next->range(), hit->range());
}

TEST_F(FindWalkTest, TheGridRowOfAnEntryIsItsPositionAfterADelete)
{
    StoreContact ann = storeContact("Ann", "Lee");
    ann.phoneNumbers = {labeled("home", "111"), labeled("work", "222"), labeled("other", "333")};
    const ContactRowPtr annRow = rowOf(ann);
    annRow->person->labeledValueForIdentifier("Phone");
    annRow->person->deleteLabeledValueForIdentifier("Phone", 1);
    gridSnapshot = {{"Name", "Phone"}, gridRows(annRow, 2)};

    const auto hit = grid("333", ItemAndRange());
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->labelIndex, 2);
    EXPECT_EQ(FindFields({}).forGrid(*hit).labelIndex, 1);
    // The walk on from that hit starts at the same row, so the hit comes back after one round.
    const auto again = grid("333", *hit);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->labelIndex, 2);
}

class DetailWalkTest : public FindWalkTest
{
protected:
    void SetUp() override
    {
        FindWalkTest::SetUp();
        StoreContact contact = storeContact("Max", "Lee");
        contact.phoneNumbers = {labeled("home", "x-a"), labeled("work", "x-b"), labeled("other", "x-c")};
        contact.emailAddresses = {labeled("home", "x@mail.org")};
        contact.note = "x note";
        row = rowOf(contact);
        detailSnapshot = {{"Name", "Photo", "Phone", "Email", "Birthday", "Note"}, row};
    }
    ContactRowPtr row;
};

TEST_F(DetailWalkTest, ForwardGoesOnInTheListThenTheFieldsAfterAndBeforeThenTheListAgain)
{
    const QList<Place> expected{{"Phone", 2}, {"Email", 0}, {"Note", 0}, {"Name", 0}, {"Phone", 0}, {"Phone", 1}};
    EXPECT_EQ(detailHits("x", cursorAt("Phone", 1, {0, 1}), 6), expected);
}

TEST_F(DetailWalkTest, BackwardVisitsTheCursorsFieldOnlyAtTheStart)
{
    const QList<Place> expected{{"Phone", 0}, {"Name", 0}, {"Note", 0}, {"Email", 0}, {"Phone", 2}};
    EXPECT_EQ(detailHits("x", cursorAt("Phone", 1, {0, 1}), 5, FindDirection::Backward), expected);
    // A match after the cursor in its own field alone is not found backwards.
    EXPECT_FALSE(detail("x-c", cursorAt("Phone", 1, {0, 1}), FindDirection::Backward));
}

TEST_F(DetailWalkTest, AfterADeletedPhoneTheWalkStillReachesTheLastPhone)
{
    row->person->labeledValueForIdentifier("Phone");
    row->person->deleteLabeledValueForIdentifier("Phone", 1);
    const auto hit = detail("x-c", cursorAt("Name", 0));
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->identifier, "Phone");
    EXPECT_EQ(hit->labelIndex, 2);
    const auto back = detail("x-a", *hit, FindDirection::Backward);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->labelIndex, 0);
}

TEST_F(DetailWalkTest, TheNameIsSearchedPartByPartFromTheCursorsPart)
{
    StoreContact contact = storeContact("Anna", "Hanna");
    detailSnapshot = {{"Name"}, rowOf(contact)};
    ItemAndRange cursor = cursorAt("Name", 0, {0, 0});
    cursor.subIdentifier = "LastName";
    const auto hit = detail("nna", cursor);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->subIdentifier, "LastName");
    EXPECT_EQ(hit->range(), R(2, 3));
}

TEST_F(DetailWalkTest, AGridHitInANamePartGoesOnFromItsPlaceInThePart)
{
    detailSnapshot = {{"Name"}, rowOf(storeContact("Ann", "Lee-Lee"))};
    ItemAndRange gridHit = cursorAt("Name", 0, {4, 3});
    gridHit.subIdentifier = "LastName";
    gridHit.itemRange = R(0, 3);
    const auto hit = detail("Lee", gridHit);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->itemRange, R(4, 3));
}

} // namespace
