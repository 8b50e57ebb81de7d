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
    // One white module all round; the finder pattern's corner starts right inside it.
    const int scale = QRCodeImage::scaleForSymbolWidth(GetParam().symbolWidth);
    EXPECT_EQ(qGray(image.pixel(scale - 1, scale - 1)), 255);
    EXPECT_EQ(qGray(image.pixel(scale, scale)), 0);
    EXPECT_EQ(qGray(image.pixel(2 * scale - 1, 2 * scale - 1)), 0);
}

// Version 2, 9 and 10 symbols at level L in 8-bit mode.
INSTANTIATE_TEST_SUITE_P(Widths, QRCodeImageSizeTest,
                         ::testing::Values(SizeCase{20, 25, 81}, SizeCase{200, 53, 220}, SizeCase{250, 57, 295}));

TEST(QRCodeImageTest, ScaleSteps)
{
    EXPECT_EQ(QRCodeImage::scaleForSymbolWidth(21), 3);
    EXPECT_EQ(QRCodeImage::scaleForSymbolWidth(45), 3);
    EXPECT_EQ(QRCodeImage::scaleForSymbolWidth(49), 4);
    EXPECT_EQ(QRCodeImage::scaleForSymbolWidth(53), 4);
    EXPECT_EQ(QRCodeImage::scaleForSymbolWidth(57), 5);
    EXPECT_EQ(QRCodeImage::scaleForSymbolWidth(177), 5);
}

TEST(QRCodeImageTest, NoCodeForAnEmptyOrOversizedPayload)
{
    EXPECT_TRUE(QRCodeImage::createQRCodeFromString(QString()).isNull());
    EXPECT_TRUE(QRCodeImage::createQRCodeFromString(QString(3000, QLatin1Char('x'))).isNull());
    EXPECT_TRUE(QRCodeImage::imageResize(QImage(), QSize(10, 10)).isNull());
}

TEST(QRCodeImageTest, TheCodeReadsBackAsThePayloadLowerCaseAndJapaneseIncluded)
{
    if (!QRDecode::isAvailable())
        GTEST_SKIP() << "zbarimg is not installed";
    for (const QString &payload : {QStringLiteral("mailto:john.doe@example.com"),
                                  QStringLiteral("MEMORY:\nNAME1:山田 太郎\nNAME2:やまだ たろう\nTEL1:03-1234-5678\n")}) {
        const std::optional<QString> decoded = QRDecode::decode(QRCodeImage::createQRCodeFromString(payload));
        ASSERT_TRUE(decoded);
        EXPECT_EQ(*decoded, payload);
    }
}

} // namespace
