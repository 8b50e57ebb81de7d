#include "platform/PostalAddressFormatter.h"
#include "VCardTestSupport.h"

#include <gtest/gtest.h>

namespace {

struct AddressRow
{
    const char *name;
    StorePostalAddress address;
    QString order;
    QString expected;
};

class PostalAddressFormatterLayouts : public testing::TestWithParam<AddressRow>
{
};

const StorePostalAddress us{"1 Main St\nApt 4", "Springfield", "IL", "62701", "USA", "us"};
const StorePostalAddress de{"Unter den Linden 1", "Berlin", "", "10117", "Germany", "de"};
const StorePostalAddress jp{"千代田1-1", "千代田区", "東京都", "100-0001", "日本", "jp"};
const StorePostalAddress jpLatin{"1-1 Chiyoda", "Chiyoda-ku", "Tokyo", "100-0001", "Japan", "jp"};
const StorePostalAddress kr{"세종대로 110", "중구", "서울특별시", "04524", "대한민국", "kr"};

} // namespace

TEST_P(PostalAddressFormatterLayouts, MailingLayout)
{
    const AddressRow &row = GetParam();
    const QStringList order = row.order.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    EXPECT_EQ(PostalAddressFormatter::stringFromPostalAddress(row.address, order), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PostalAddressFormatterLayouts,
    testing::Values(
        AddressRow{"us", us, "Street City State ZIP Country", "1 Main St\nApt 4\nSpringfield IL 62701\nUSA"},
        AddressRow{"defaultOrder", us, "", "1 Main St\nApt 4\nSpringfield IL 62701\nUSA"},
        AddressRow{"unknownTokens", us, "Street Name City State ZIP Country Country",
                   "1 Main St\nApt 4\nSpringfield IL 62701\nUSA"},
        AddressRow{"de", de, "Street ZIP City State Country", "Unter den Linden 1\n10117 Berlin\nGermany"},
        AddressRow{"india",
                   {"12 MG Road", "Bengaluru", "Karnataka", "560001", "India", "in"},
                   "Street City ZIP State Country",
                   "12 MG Road\nBengaluru 560001 Karnataka\nIndia"},
        AddressRow{"jp", jp, "Country ZIP State City Street", "日本\n100-0001\n東京都千代田区\n千代田1-1"},
        AddressRow{"jpLatin", jpLatin, "Country ZIP State City Street",
                   "Japan\n100-0001\nTokyo Chiyoda-ku\n1-1 Chiyoda"},
        AddressRow{"kr", kr, "Country State City Street ZIP",
                   "대한민국\n서울특별시 중구\n세종대로 110\n04524"},
        AddressRow{"noCountry",
                   {"1 Main St", "Springfield", "IL", "62701", "", ""},
                   "Street City State ZIP Country",
                   "1 Main St\nSpringfield IL 62701"},
        AddressRow{"cityOnly", {"", " Berlin ", "", "", "", ""}, "Street ZIP City State Country", "Berlin"},
        AddressRow{"empty", {}, "Country ZIP State City Street", ""}),
    [](const testing::TestParamInfo<AddressRow> &info) { return std::string(info.param.name); });
