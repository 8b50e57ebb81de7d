#include "platform/PhotoFitter.h"

#include <gtest/gtest.h>

namespace {

QImage picture(int width, int height, Qt::GlobalColor color = Qt::darkCyan)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(color);
    return image;
}

struct FitCase
{
    QSize size;
    QSize fitted;
};

class PhotoFitTest : public ::testing::TestWithParam<FitCase>
{
};

TEST_P(PhotoFitTest, FitsIntoFiveHundredTwelveSquare)
{
    const QSize size = GetParam().size;
    EXPECT_EQ(PhotoFitter::fittedSize(size), GetParam().fitted);
    EXPECT_EQ(PhotoFitter::fitted(picture(size.width(), size.height())).size(), GetParam().fitted);
    EXPECT_EQ(PhotoFitter::fitOnWorker(picture(size.width(), size.height()))->size(), GetParam().fitted);
    EXPECT_EQ(PhotoFitter::smallerImage(picture(size.width(), size.height())).size(), GetParam().fitted);
}

// 300 x 900 is 170.7 x 512, drawn on whole pixels.
INSTANTIATE_TEST_SUITE_P(Sizes, PhotoFitTest,
                         ::testing::Values(FitCase{{2048, 1024}, {512, 256}}, FitCase{{300, 900}, {171, 512}},
                                           FitCase{{512, 512}, {512, 512}}, FitCase{{400, 300}, {400, 300}},
                                           FitCase{{513, 513}, {512, 512}}, FitCase{{600, 2000}, {154, 512}}));

TEST(PhotoFitterTest, PictureThatFitsIsHandedBackItself)
{
    const QImage small = picture(400, 300);
    EXPECT_EQ(PhotoFitter::smallerImage(small).cacheKey(), small.cacheKey());
    EXPECT_TRUE(PhotoFitter::smallerImage(QImage()).isNull());
    EXPECT_FALSE(PhotoFitter::fitOnWorker(QImage()));
}

TEST(PhotoFitterTest, ImageResizeDrawsTheSourceOrLeavesTheTarget)
{
    QImage target;
    ASSERT_TRUE(PhotoFitter::imageResize(picture(100, 50, Qt::green), target, {40, 20}));
    EXPECT_EQ(target.size(), QSize(40, 20));
    EXPECT_EQ(target.pixelColor(20, 10), QColor(Qt::green));

    QImage untouched = picture(3, 3);
    EXPECT_FALSE(PhotoFitter::imageResize(QImage(), untouched, {40, 20}));
    EXPECT_FALSE(PhotoFitter::imageResize(picture(10, 10), untouched, {0, 20}));
    EXPECT_EQ(untouched.size(), QSize(3, 3));
}

} // namespace
