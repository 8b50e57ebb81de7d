#include "QRDecode.h"

#include "panels/QRCodeImage.h"

#include <gtest/gtest.h>

namespace {

struct SizeCase
{
    int payloadLength;
    int symbolWidth;
    int imageSide;
};

class QRCodeImageSizeTest : public ::testing::TestWithParam<SizeCase>
{
};

TEST_P(QRCodeImageSizeTest, TheSymbolWidthSetsTheScale)
{
    const QString payload(GetParam().payloadLength, QLatin1Char('a'));
    ASSERT_EQ(QRCodeImage::symbolFromString(payload).width(), GetParam().symbolWidth);
    const QImage image = QRCodeImage::createQRCodeFromString(payload);
    EXPECT_EQ(image.size(), QSize(GetParam().imageSide, GetParam().imageSide));
    // One white module all round; the finder pattern's corner comes right after it.
    const int scale = QRCodeImage::scaleForSymbolWidth(GetParam().symbolWidth);
    EXPECT_EQ(qGray(image.pixel(scale - 1, scale - 1)), 255);
    EXPECT_EQ(qGray(image.pixel(scale, scale)), 0);
}

// Symbols of version 2, 9 and 10 at level L in 8-bit mode.
INSTANTIATE_TEST_SUITE_P(Widths, QRCodeImageSizeTest,
                         ::testing::Values(SizeCase{20, 25, 81}, SizeCase{200, 53, 220},
                                           SizeCase{250, 57, 295}));

TEST(QRCodeImageTest, NoCodeForAnEmptyOrOversizedPayload)
{
    EXPECT_TRUE(QRCodeImage::createQRCodeFromString(QString()).isNull());
    EXPECT_TRUE(QRCodeImage::createQRCodeFromString(QString(3000, QLatin1Char('x'))).isNull());
}

TEST(QRCodeImageTest, TheCodeReadsBackAsThePayloadJapaneseIncluded)
{
    if (!QRDecode::isAvailable())
        GTEST_SKIP() << "zbarimg is not installed";
    const QString payload =
        QStringLiteral("MEMORY:\nNAME1:山田 太郎\nNAME2:やまだ たろう\nMAIL1:taro@example.jp\n");
    EXPECT_EQ(QRDecode::decode(QRCodeImage::createQRCodeFromString(payload)), payload);
}

} // namespace
