#include "print/AddressListLayout.h"

#include <gtest/gtest.h>

namespace {

using Slice = AddressListLayout::Slice;

// A record of n lines of 10 points.
AddressListLayout::Record lines(int count, double lineHeight = 10)
{
    AddressListLayout::Record record;
    for (int i = 1; i <= count; ++i)
        record.lineBottoms.append(i * lineHeight);
    record.height = count * lineHeight;
    return record;
}

} // namespace

TEST(AddressListLayout, RecordsFollowOneAnotherAndNoRecordsTakeOneEmptyPage)
{
    const auto slices = AddressListLayout::place({lines(2), lines(3)}, 100);
    EXPECT_EQ(slices, (QList<Slice>{{0, 0, 0, 0, 20}, {1, 0, 20, 0, 30}}));
    EXPECT_EQ(AddressListLayout::pageCount(slices), 1);
    EXPECT_EQ(AddressListLayout::pageCount(AddressListLayout::place({}, 100)), 1);
}

TEST(AddressListLayout, ARecordOfHalfAPageMovesWholeAndATallerOneIsCutAfterItsLastFittingLine)
{
    // 70 of 100 points used: a record of 50 (half the page) moves to the next page whole.
    auto slices = AddressListLayout::place({lines(7), lines(5)}, 100);
    EXPECT_EQ(slices[1], (Slice{1, 1, 0, 0, 50}));

    // One of 51 points is cut: its three first lines stay, the rest goes on at the next page's top
    // and the next record follows it there.
    AddressListLayout::Record taller = lines(5);
    taller.lineBottoms.last() = 51;
    taller.height = 51;
    slices = AddressListLayout::place({lines(7), taller, lines(1)}, 100);
    EXPECT_EQ(slices, (QList<Slice>{{0, 0, 0, 0, 70}, {1, 0, 70, 0, 30}, {1, 1, 0, 30, 21}, {2, 1, 21, 0, 10}}));
    EXPECT_EQ(AddressListLayout::pageCount(slices), 2);
}

TEST(AddressListLayout, ARecordTallerThanAPageRunsOverSeveralAndAHugeLineIsClipped)
{
    auto slices = AddressListLayout::place({lines(25)}, 100);
    EXPECT_EQ(slices, (QList<Slice>{{0, 0, 0, 0, 100}, {0, 1, 0, 100, 100}, {0, 2, 0, 200, 50}}));

    // A line that fits on no page gets a page of its own and the record goes on after it.
    AddressListLayout::Record huge;
    huge.lineBottoms = {10, 160, 170};
    huge.height = 170;
    slices = AddressListLayout::place({lines(9), huge}, 100);
    EXPECT_EQ(slices, (QList<Slice>{{0, 0, 0, 0, 90}, {1, 0, 90, 0, 10}, {1, 1, 0, 10, 150}, {1, 2, 0, 160, 10}}));

    // Pages of no height still end.
    EXPECT_EQ(AddressListLayout::pageCount(AddressListLayout::place({lines(3)}, -50)), 3);
}
