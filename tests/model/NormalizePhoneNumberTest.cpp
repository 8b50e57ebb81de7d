#include "model/NormalizePhoneNumber.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

const QString SmallTable = QStringLiteral("number,country,国名,エリア名\n"
                                          "81,Japan,日本,アジア\n"
                                          "1242,Bahamas,バハマ,ラテンアメリカ\n"
                                          "1,United States,アメリカ合衆国,北アメリカ\n"
                                          "44,United Kingdom,イギリス,ヨーロッパ\n");

using Layout = QString (NormalizePhoneNumber::*)() const;

struct LayoutCase
{
    const char *input;
    const char *layoutName;
    Layout layout;
    const char *expected;
};

void PrintTo(const LayoutCase &c, std::ostream *out)
{
    *out << '"' << c.input << "\" " << c.layoutName;
}

#define LAYOUT(name) #name, &NormalizePhoneNumber::name

class NormalizePhoneNumberLayout : public testing::TestWithParam<LayoutCase>
{
};

TEST_P(NormalizePhoneNumberLayout, GivesTheExpectedText)
{
    NormalizePhoneNumber normalizer(NormalizePhoneNumber::arrayFromCountryNumbersString(SmallTable));
    normalizer.setPhoneNumber(QString::fromUtf8(GetParam().input));
    EXPECT_EQ((normalizer.*GetParam().layout)().toStdString(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    ElevenDigits, NormalizePhoneNumberLayout,
    testing::Values(LayoutCase{"090-1234-5678", LAYOUT(hyphenThreeFour), "090-1234-5678"},
                    LayoutCase{"090-1234-5678", LAYOUT(fourPlusFour), "(090) 1234-5678"},
                    LayoutCase{"090-1234-5678", LAYOUT(quadTwo), "(090) 12 34 56 78"},
                    LayoutCase{"090-1234-5678", LAYOUT(threePlusFour), "(0901) 234-5678"},
                    LayoutCase{"090-1234-5678", LAYOUT(twoPlusFour), "(09012) 34-5678"},
                    LayoutCase{"090-1234-5678", LAYOUT(hyphenFourThreeThree), "09012-345-678"},
                    LayoutCase{"(090) 12 34 56 78", LAYOUT(hyphenThreeFour), "090-1234-5678"}));

INSTANTIATE_TEST_SUITE_P(ShortNumbers, NormalizePhoneNumberLayout,
                         testing::Values(LayoutCase{"1234", LAYOUT(hyphenFourThreeThree), "1-234"},
                                         LayoutCase{"1234", LAYOUT(fourPlusFour), "1234"},
                                         LayoutCase{"12345", LAYOUT(quadTwo), "(1) 23 45"},
                                         LayoutCase{"1234567", LAYOUT(twoPlusFour), "(1) 23-4567"},
                                         LayoutCase{"1234567", LAYOUT(threePlusFour), "(123) 4567"},
                                         LayoutCase{"", LAYOUT(fourPlusFour), ""},
                                         LayoutCase{"", LAYOUT(hyphenFourThreeThree), ""},
                                         LayoutCase{"---", LAYOUT(quadTwo), ""}));

INSTANTIATE_TEST_SUITE_P(
    Extensions, NormalizePhoneNumberLayout,
    testing::Values(LayoutCase{"03-1234-5678 ext. 123", LAYOUT(hyphenThreeFour), "03-1234-5678 x123"},
                    LayoutCase{"03-1234-5678 ext 123", LAYOUT(hyphenThreeFour), "03-1234-5678 x123"},
                    LayoutCase{"03-1234-5678 x 123", LAYOUT(hyphenThreeFour), "03-1234-5678 x123"},
                    LayoutCase{"0312345678x9", LAYOUT(fourPlusFour), "(03) 1234-5678 x9"},
                    LayoutCase{"+81 3 1234 5678 ext.9", LAYOUT(fourPlusFour), "+81 (3) 1234-5678 x9"}));

INSTANTIATE_TEST_SUITE_P(
    CallingCodes, NormalizePhoneNumberLayout,
    testing::Values(LayoutCase{"+81 (3) 1234-5678", LAYOUT(fourPlusFour), "+81 (3) 1234-5678"},
                    LayoutCase{"+81 (3) 1234-5678", LAYOUT(hyphenFourThreeThree), "+81 312-345-678"},
                    LayoutCase{"+1 242 555 1234", LAYOUT(hyphenThreeFour), "+1 24-2555-1234"},
                    LayoutCase{"+811", LAYOUT(hyphenThreeFour), "+81 1"},
                    // A code needs a digit after it.
                    LayoutCase{"+81", LAYOUT(fourPlusFour), "+81"},
                    LayoutCase{"+81", LAYOUT(hyphenFourThreeThree), "+81"},
                    // No row begins with 0: laid out whole, "+" in the head group.
                    LayoutCase{"+03-1234-5678", LAYOUT(fourPlusFour), "(+03) 1234-5678"}));

// The grid writes the result back, so a number is never cut short: it is left alone instead.
INSTANTIATE_TEST_SUITE_P(
    NothingLost, NormalizePhoneNumberLayout,
    testing::Values(LayoutCase{"090.1234.5678", LAYOUT(hyphenThreeFour), "090-1234-5678"},
                    LayoutCase{"+81.3.1234.5678", LAYOUT(fourPlusFour), "+81 (3) 1234-5678"},
                    LayoutCase{"03-1234-5678 / 090-1111-2222", LAYOUT(hyphenThreeFour), ""},
                    LayoutCase{"090－1234－5678", LAYOUT(hyphenThreeFour), ""},
                    LayoutCase{"1-800-FLOWERS", LAYOUT(hyphenThreeFour), ""},
                    LayoutCase{"03-1234-5678 (home)", LAYOUT(hyphenThreeFour), ""},
                    LayoutCase{"03-1234-5678 (home) x12", LAYOUT(hyphenThreeFour), ""},
                    LayoutCase{"03-1234-5678;", LAYOUT(hyphenThreeFour), "03-1234-5678"}));

TEST(NormalizePhoneNumber, CleaningKeepsTheExtensionMarkerAsX)
{
    EXPECT_EQ(NormalizePhoneNumber::normalizeExtension("0312345678ext.12"), "0312345678x12");
    EXPECT_EQ(NormalizePhoneNumber::normalizeExtension("0312345678ext12"), "0312345678x12");
    EXPECT_EQ(NormalizePhoneNumber::normalizeExtension("+81312345678x12"), "+81312345678x12");
    EXPECT_EQ(NormalizePhoneNumber::normalizeExtension("0312345678EXT12"), "");
    EXPECT_EQ(NormalizePhoneNumber::normalizeExtension("+"), "");
}

TEST(NormalizePhoneNumber, ShorterCodeIsFoundFirstWhateverTheTableOrder)
{
    NormalizePhoneNumber normalizer(NormalizePhoneNumber::arrayFromCountryNumbersString(SmallTable));
    EXPECT_EQ(normalizer.countryNumber("+12425551234"), "1");
    EXPECT_EQ(normalizer.countryNumber("+442071234567"), "44");
    EXPECT_EQ(normalizer.countryNumber("+4"), "");
    EXPECT_EQ(normalizer.countryNumber("+44"), "");
    EXPECT_EQ(normalizer.countryNumber("442071234567"), "");
    EXPECT_EQ(normalizer.countryNumber("+52123"), "");
}

TEST(NormalizePhoneNumber, TableWithCrLfParsesAsWithLf)
{
    QString crlf = SmallTable;
    crlf.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    const QList<CountryNumberRow> rows = NormalizePhoneNumber::arrayFromCountryNumbersString(crlf);
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[0].number, "81");
    EXPECT_EQ(rows[0].firstDigit, "8");
    EXPECT_EQ(rows[0].areaName, "アジア");

    NormalizePhoneNumber normalizer(rows);
    normalizer.setPhoneNumber("+81 3 1234 5678");
    EXPECT_EQ(normalizer.fourPlusFour(), "+81 (3) 1234-5678");
}

TEST(NormalizePhoneNumber, RowsWithOtherFieldCountsNeverMatch)
{
    const QList<CountryNumberRow> rows = NormalizePhoneNumber::arrayFromCountryNumbersString(
        "number,country,国名,エリア名\n7,Russia,ロシア\n49,Germany,ドイツ,ヨーロッパ,extra\n"
        ",Nowhere,どこ,なし\n8\n81,Japan,日本,アジア");
    ASSERT_EQ(rows.size(), 4);
    NormalizePhoneNumber normalizer(rows);
    EXPECT_EQ(normalizer.countryNumber("+74951234567"), "");
    EXPECT_EQ(normalizer.countryNumber("+4930123456"), "");
    EXPECT_EQ(normalizer.countryNumber("+81312345678"), "81");
    EXPECT_TRUE(NormalizePhoneNumber::arrayFromCountryNumbersString("").isEmpty());
}

TEST(NormalizePhoneNumber, WithoutTableTheCodeIsGroupedWithTheNumber)
{
    NormalizePhoneNumber normalizer(QList<CountryNumberRow>{});
    normalizer.setPhoneNumber("+81 3 1234 5678");
    EXPECT_EQ(normalizer.phoneNumber(), "+81312345678");
    EXPECT_EQ(normalizer.fourPlusFour(), "(+813) 1234-5678");
}

TEST(NormalizePhoneNumber, BundledTableHoldsTheCallingCodes)
{
    EXPECT_EQ(NormalizePhoneNumber::bundledCountryNumbers().size(), 258);
    NormalizePhoneNumber normalizer;
    EXPECT_EQ(normalizer.countryNumber("+12425551234"), "1");
    EXPECT_EQ(normalizer.countryNumber("+8613912345678"), "86");
    normalizer.setPhoneNumber("+81 (3) 1234-5678");
    EXPECT_EQ(normalizer.fourPlusFour(), "+81 (3) 1234-5678");
}

} // namespace
