#include "print/LabelFitting.h"
#include "print/TextDevice.h"
#include "print/VerticalTextLayout.h"

#include <QFontMetricsF>
#include <QList>

#include <gtest/gtest.h>

namespace {

constexpr double P = 20;
const QPointF Origin(200, 50);

LabelText japanese(const QString &text)
{
    return LabelText::make(text, QStringLiteral("Noto Sans CJK JP"), P, true);
}

QList<VerticalTextLayout::Glyph> glyphs(const QString &text, VerticalTextLayout::Direction direction,
                                         QRectF *covered = nullptr)
{
    QList<VerticalTextLayout::Glyph> placed;
    const QRectF rect = VerticalTextLayout::layout(japanese(text), Origin, direction,
                                                   [&](const VerticalTextLayout::Glyph &glyph) { placed.append(glyph); });
    if (covered)
        *covered = rect;
    return placed;
}

double descent()
{
    return QFontMetricsF(japanese({}).font, TextDevice::points()).descent();
}

} // namespace

TEST(VerticalTextLayout, ColumnsRunDownAndStepLeftAtLineFeeds)
{
    QRectF covered;
    const auto placed = glyphs(QStringLiteral("東京都\n千代田"), VerticalTextLayout::Columns, &covered);
    EXPECT_EQ(covered, QRectF(Origin.x() - 2 * P, Origin.y(), 2 * P, 3 * P));
    ASSERT_EQ(placed.size(), 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(placed[i].rotation, 0) << i;
        // Upright, each in its own cell: the first column at the right, its cells one pitch apart.
        EXPECT_DOUBLE_EQ(placed[i].anchor.x(), Origin.x() - P * (1 + i / 3)) << i;
        EXPECT_NEAR(placed[i].anchor.y(), Origin.y() + P * (1 + i % 3) - descent(), 0.5) << i;
    }
    // Measuring alone gives the same extent.
    EXPECT_EQ(VerticalTextLayout::layout(japanese(QStringLiteral("東京都\n千代田")), Origin, VerticalTextLayout::Columns),
              covered);
}

TEST(VerticalTextLayout, CharacterClassesTurnAndAdvanceByTheirKind)
{
    // Columns: Latin turned clockwise at half a pitch, small kana half a pitch and raised a quarter.
    auto placed = glyphs(QStringLiteral("ABっ"), VerticalTextLayout::Columns);
    ASSERT_EQ(placed.size(), 3);
    EXPECT_EQ(placed[0].rotation, 90);
    EXPECT_DOUBLE_EQ(placed[1].anchor.y() - placed[0].anchor.y(), 0.5 * P);
    EXPECT_DOUBLE_EQ(placed[2].anchor.y(), Origin.y() + P - 0.25 * P);
    EXPECT_EQ(placed[2].rotation, 0);

    // Lines: full-width Latin turned back at a whole pitch, Latin unturned at half a pitch.
    QRectF covered;
    placed = glyphs(QStringLiteral("ＡＢab"), VerticalTextLayout::Lines, &covered);
    ASSERT_EQ(placed.size(), 4);
    EXPECT_EQ(placed[0].rotation, -90);
    EXPECT_DOUBLE_EQ(placed[1].anchor.x() - placed[0].anchor.x(), P);
    EXPECT_EQ(placed[2].rotation, 0);
    EXPECT_DOUBLE_EQ(placed[3].anchor.x() - placed[2].anchor.x(), 0.5 * P);
    EXPECT_EQ(covered, QRectF(Origin.x(), Origin.y(), 3 * P, P));

    // The prolonged sound mark stands in columns and turns in lines; its half-width form is Latin.
    EXPECT_EQ(glyphs(QStringLiteral("ー"), VerticalTextLayout::Columns)[0].rotation, 0);
    EXPECT_EQ(glyphs(QStringLiteral("ー"), VerticalTextLayout::Lines)[0].rotation, -90);
    EXPECT_EQ(glyphs(QStringLiteral("ｰ"), VerticalTextLayout::Columns)[0].rotation, 90);
}

TEST(VerticalTextLayout, SupplementaryKanjiStandUprightLikeTheOthers)
{
    EXPECT_TRUE(VerticalTextLayout::isJapanese(0x3042));
    EXPECT_TRUE(VerticalTextLayout::isJapanese(0x6F22));
    EXPECT_TRUE(VerticalTextLayout::isJapanese(0x20BB7));
    EXPECT_FALSE(VerticalTextLayout::isJapanese(0x0041));
    EXPECT_FALSE(VerticalTextLayout::isJapanese(0xAC00));

    QRectF covered;
    const auto placed = glyphs(QStringLiteral("𠮷野様"), VerticalTextLayout::Columns, &covered);
    ASSERT_EQ(placed.size(), 3);
    EXPECT_EQ(placed[0].text, QStringLiteral("𠮷"));
    for (const auto &glyph : placed)
        EXPECT_EQ(glyph.rotation, 0);
    EXPECT_EQ(covered.height(), 3 * P);
}

TEST(VerticalTextLayout, EmptyTextCoversNothingAtThePoint)
{
    EXPECT_EQ(VerticalTextLayout::layout(japanese({}), Origin, VerticalTextLayout::Lines), QRectF(Origin, QSizeF()));
}

TEST(LabelFitting, GrowsInShrinkingStepsAndStopsNearlyFull)
{
    // The text fills size / 19 of the box one way and less the other.
    QList<double> sizes;
    const auto result = LabelFitting::fit(10, [&](double size) {
        sizes.append(size);
        return std::pair{size / 19, size / 40};
    });
    const QList<double> expected{10, 11.2, 12.4, 13.2, 14.0, 14.8, 15.6, 16.0, 16.4, 16.8, 17.2};
    ASSERT_EQ(sizes.size(), expected.size());
    for (qsizetype i = 0; i < sizes.size(); ++i)
        EXPECT_NEAR(sizes[i], expected[i], 1e-9) << i;
    EXPECT_NEAR(result.size, 17.2, 1e-9);

    // Over the edge either way it shrinks until back under.
    sizes.clear();
    LabelFitting::fit(10.1, [&](double size) {
        sizes.append(size);
        return std::pair{0.1, size / 10};
    });
    EXPECT_EQ(sizes.size(), 3);
    EXPECT_NEAR(sizes.last(), 9.7, 1e-9);
}

TEST(LabelFitting, StopsAfterTwentyPassesAndNeverBelowTheLeast)
{
    auto passes = LabelFitting::fit(5, [](double) { return std::pair{0.0, 0.0}; });
    EXPECT_EQ(passes.passes, LabelFitting::MaxPasses);
    EXPECT_NEAR(passes.size, 5 + 19 * 1.2, 1e-9);

    passes = LabelFitting::fit(2, [](double) { return std::pair{0.5, 1.5}; });
    EXPECT_EQ(passes.passes, LabelFitting::MaxPasses);
    EXPECT_EQ(passes.size, LabelFitting::MinimumSize);

    // A box of no room, or no first size at all, still ends with a drawable size.
    EXPECT_EQ(LabelFitting::fit(0, [](double) { return std::pair{LabelFitting::ratio(3, 0), 0.1}; }).size,
              LabelFitting::MinimumSize);
    EXPECT_EQ(LabelFitting::ratio(0, 0), 0);
}
