#include "print/VerticalTextLayout.h"
#include "print/LabelFitting.h"
#include "print/TextDevice.h"

#include <QFontMetricsF>
#include <QImage>
#include <QList>
#include <QPainter>

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
    const QRectF rect =
        VerticalTextLayout::layout(japanese(text), Origin, direction,
                                   [&](const VerticalTextLayout::Glyph &glyph) { placed.append(glyph); });
    if (covered)
        *covered = rect;
    return placed;
}

double descent()
{
    return QFontMetricsF(japanese({}).font, TextDevice::points()).descent();
}

double advance(const QString &text)
{
    return LabelText::advance(text, japanese({}).font);
}

// The bounds of the character's ink as drawn, in points; nothing for a space.
QRectF inkOf(const VerticalTextLayout::Glyph &glyph)
{
    constexpr double Scale = 5;
    const QRectF area(glyph.anchor - QPointF(2 * P, 2 * P), QSizeF(4 * P, 4 * P));
    QImage image((area.size() * Scale).toSize(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(Scale, Scale);
    painter.translate(-area.topLeft());
    painter.setPen(Qt::black);
    VerticalTextLayout::drawGlyph(painter, glyph, japanese({}).font);
    painter.end();
    QRect dark;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                dark |= QRect(x, y, 1, 1);
    if (dark.isEmpty())
        return {};
    return {area.topLeft() + QPointF(dark.topLeft()) / Scale, QSizeF(dark.size()) / Scale};
}

} // namespace

TEST(VerticalTextLayout, ColumnsRunDownAndStepLeftAtLineFeeds)
{
    QRectF covered;
    const auto placed = glyphs(QStringLiteral("東京都\n千代田"), VerticalTextLayout::Columns, &covered);
    const double pitch = japanese({}).lineHeight;
    EXPECT_EQ(covered, QRectF(Origin.x() - P - pitch, Origin.y(), P + pitch, 3 * P));
    ASSERT_EQ(placed.size(), 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(placed[i].rotation, 0) << i;
        // Upright, each in its own cell: the first column at the right, its cells one point size
        // apart, the columns a line pitch.
        EXPECT_DOUBLE_EQ(placed[i].anchor.x(), Origin.x() - P - pitch * (i / 3)) << i;
        EXPECT_NEAR(placed[i].anchor.y(), Origin.y() + P * (1 + i % 3) - descent(), 0.5) << i;
    }
    // Measuring alone gives the same extent.
    EXPECT_EQ(VerticalTextLayout::layout(japanese(QStringLiteral("東京都\n千代田")), Origin,
                                         VerticalTextLayout::Columns),
              covered);
}

TEST(VerticalTextLayout, CharacterClassesTurnAndAdvanceByTheirKind)
{
    // Columns: Latin turned clockwise in its own width, narrow letters at half a pitch; small kana a
    // whole pitch and raised a quarter.
    auto placed = glyphs(QStringLiteral("AilBっ"), VerticalTextLayout::Columns);
    ASSERT_EQ(placed.size(), 5);
    EXPECT_EQ(placed[0].rotation, 90);
    EXPECT_DOUBLE_EQ(placed[1].anchor.y() - placed[0].anchor.y(), advance(QStringLiteral("A")));
    EXPECT_DOUBLE_EQ(placed[2].anchor.y() - placed[1].anchor.y(), 0.5 * P);
    const double latin = advance(QStringLiteral("A")) + P + advance(QStringLiteral("B"));
    EXPECT_NEAR(placed[4].anchor.y(), Origin.y() + latin + P - descent() - 0.25 * P, 1e-9);
    EXPECT_EQ(placed[4].rotation, 0);

    // Lines: full-width Latin turned back at a whole pitch, Latin unturned in its own width.
    QRectF covered;
    placed = glyphs(QStringLiteral("ＡＢab"), VerticalTextLayout::Lines, &covered);
    ASSERT_EQ(placed.size(), 4);
    EXPECT_EQ(placed[0].rotation, -90);
    EXPECT_DOUBLE_EQ(placed[1].anchor.x() - placed[0].anchor.x(), P);
    EXPECT_EQ(placed[2].rotation, 0);
    EXPECT_DOUBLE_EQ(placed[3].anchor.x() - placed[2].anchor.x(), advance(QStringLiteral("a")));
    EXPECT_EQ(covered, QRectF(Origin.x(), Origin.y(),
                              2 * P + advance(QStringLiteral("a")) + advance(QStringLiteral("b")), P));

    // The prolonged sound mark runs along the column (standing, it would read as 一), in the middle
    // of its own cell; its half-width form is Latin.
    placed = glyphs(QStringLiteral("区ー区"), VerticalTextLayout::Columns);
    ASSERT_EQ(placed.size(), 3);
    const QRectF mark = inkOf(placed[1]);
    EXPECT_GT(mark.height(), 4 * mark.width());
    EXPECT_NEAR(mark.center().x(), inkOf(placed[0]).center().x(), 0.1 * P);
    EXPECT_NEAR(mark.center().y(), inkOf(placed[0]).center().y() + P, 0.1 * P);
    placed = glyphs(QStringLiteral("区ー"), VerticalTextLayout::Lines);
    EXPECT_GT(inkOf(placed[1]).width(), 4 * inkOf(placed[1]).height());
    EXPECT_NEAR(inkOf(placed[1]).center().y(), inkOf(placed[0]).center().y(), 0.1 * P);
    EXPECT_EQ(glyphs(QStringLiteral("ｰ"), VerticalTextLayout::Columns)[0].rotation, 90);
}

TEST(VerticalTextLayout, FullWidthHyphenWaveDashAndTildeRunAlongTheLineAndColumnsKeepAGap)
{
    for (const QString &dash : {QStringLiteral("－"), QStringLiteral("〜"), QStringLiteral("～")}) {
        SCOPED_TRACE(dash.toStdString());
        auto placed = glyphs(QStringLiteral("区") + dash + QStringLiteral("区"), VerticalTextLayout::Columns);
        ASSERT_EQ(placed.size(), 3);
        const QRectF ink = inkOf(placed[1]);
        EXPECT_GT(ink.height(), 2 * ink.width());
        EXPECT_NEAR(ink.center().x(), inkOf(placed[0]).center().x(), 0.1 * P);
        EXPECT_NEAR(ink.center().y(), inkOf(placed[0]).center().y() + P, 0.1 * P);
        placed = glyphs(QStringLiteral("区") + dash, VerticalTextLayout::Lines);
        EXPECT_GT(inkOf(placed[1]).width(), 2 * inkOf(placed[1]).height());
        EXPECT_NEAR(inkOf(placed[1]).center().y(), inkOf(placed[0]).center().y(), 0.1 * P);
    }

    // The widest ideographs of neighbouring columns (lines) stay clearly apart.
    for (const auto direction : {VerticalTextLayout::Columns, VerticalTextLayout::Lines}) {
        const auto placed = glyphs(QStringLiteral("國\n國"), direction);
        ASSERT_EQ(placed.size(), 2);
        const QRectF first = inkOf(placed[0]);
        const QRectF second = inkOf(placed[1]);
        const double gap = direction == VerticalTextLayout::Columns ? first.left() - second.right()
                                                                    : second.top() - first.bottom();
        EXPECT_GT(gap, LabelText::VerticalLineGap * P) << direction;
    }
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

TEST(VerticalTextLayout, NeighbouringCharactersKeepApartInBothDirections)
{
    // Digits, hyphens, Latin and small kana between kanji, as an envelope's address sets them.
    const QStringList lines{QStringLiteral("東京都渋谷区桜丘町26-1 セルリアンタワー6階"),
                            QStringLiteral("〒150-8512 キャッスルWill様")};
    for (const auto direction : {VerticalTextLayout::Columns, VerticalTextLayout::Lines}) {
        for (const QString &line : lines) {
            QRectF previous;
            for (const auto &glyph : glyphs(line, direction)) {
                const QRectF ink = inkOf(glyph);
                if (ink.isNull())
                    continue;
                if (!previous.isNull()) {
                    const double gap = direction == VerticalTextLayout::Columns
                                           ? ink.top() - previous.bottom()
                                           : ink.left() - previous.right();
                    // A clear gap, not merely no shared pixel.
                    EXPECT_GT(gap, 0.04 * P)
                        << glyph.text.toStdString() << " in " << line.toStdString() << " " << direction;
                }
                previous = ink;
            }
        }
    }
}

TEST(VerticalTextLayout, EmptyTextCoversNothingAtThePoint)
{
    EXPECT_EQ(VerticalTextLayout::layout(japanese({}), Origin, VerticalTextLayout::Lines),
              QRectF(Origin, QSizeF()));
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
    EXPECT_EQ(LabelFitting::fit(0,
                                [](double) {
                                    return std::pair{LabelFitting::ratio(3, 0), 0.1};
                                })
                  .size,
              LabelFitting::MinimumSize);
    EXPECT_EQ(LabelFitting::ratio(0, 0), 0);
}
