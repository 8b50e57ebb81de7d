#include "PersonTestSupport.h"

namespace {

using Range = QNPerson::AddressPartRange;

QNPerson::AddressDict springfield()
{
    return {{PersonKey::Label, QStringLiteral("home")},
            {PersonKey::Street, QStringLiteral("1 Main St")},
            {PersonKey::City, QStringLiteral("Springfield")},
            {PersonKey::State, QStringLiteral("IL")},
            {PersonKey::ZIP, QStringLiteral("62701")},
            {PersonKey::Country, QStringLiteral("USA")},
            {StoreValueKey::ISOCountryCode, QStringLiteral("us")}};
}

TEST_F(PersonTest, OptionDecidesWhetherTheCountryShows)
{
    QNPerson::AddressDict withCountry = springfield();
    QNPerson::updateAddressValue(withCountry, 1);
    EXPECT_EQ(withCountry.value(PersonKey::StringValue), "1 Main St Springfield IL 62701 USA ");
    EXPECT_TRUE(withCountry.value(PersonKey::FormattedString).toString().endsWith(QStringLiteral("\nUSA")));

    QNPerson::AddressDict without = springfield();
    QNPerson::updateAddressValue(without, 0);
    EXPECT_EQ(without.value(PersonKey::StringValue), "1 Main St Springfield IL 62701 ");
    EXPECT_FALSE(without.value(PersonKey::FormattedString).toString().contains(QStringLiteral("USA")));
    EXPECT_FALSE(without.contains(PersonKey::PredictCountryCode));
}

TEST_F(PersonTest, EmptyAddressShowsItsFormattedText)
{
    QNPerson::AddressDict empty;
    QNPerson::updateAddressValue(empty, 1);
    EXPECT_EQ(empty.value(PersonKey::Label), "No label");
    EXPECT_EQ(empty.value(PersonKey::StringValue), empty.value(PersonKey::FormattedString));
}

struct PredictionRow
{
    const char *country;
    const char *code;
};

class Prediction : public PersonTest, public ::testing::WithParamInterface<PredictionRow>
{
};

TEST_P(Prediction, ComesFromTheCountryName)
{
    QNPerson::AddressDict address{{PersonKey::Country, QString::fromUtf8(GetParam().country)},
                                  {PersonKey::City, QStringLiteral("c")}};
    QNPerson::updateAddressValue(address, 1);
    EXPECT_EQ(address.value(PersonKey::PredictCountryCode), QString::fromUtf8(GetParam().code));
    EXPECT_FALSE(address.contains(StoreValueKey::ISOCountryCode));
}

INSTANTIATE_TEST_SUITE_P(Names, Prediction,
                         ::testing::Values(PredictionRow{"日本", "JP"}, PredictionRow{"française", "FR"},
                                           PredictionRow{"FRANÇAISE", "FR"}, PredictionRow{"FranÇaise", "FR"},
                                           PredictionRow{"Japan", "JP"}, PredictionRow{"jpn", "JP"},
                                           PredictionRow{"de", "DE"}, PredictionRow{"Atlantis", ""}));

TEST_F(PersonTest, PredictedCountryOrdersTheText)
{
    QNPerson::AddressDict address{{PersonKey::Country, QStringLiteral("日本")},
                                  {PersonKey::ZIP, QStringLiteral("100-0001")},
                                  {PersonKey::State, QStringLiteral("東京都")},
                                  {PersonKey::City, QStringLiteral("千代田区")}};
    QNPerson::updateAddressValue(address, 1);
    EXPECT_EQ(address.value(PersonKey::StringValue), "日本 100-0001 東京都 千代田区 ");
}

TEST_F(PersonTest, UnknownCountryGetsTheDefaultOrder)
{
    const QStringList defaultOrder = {QStringLiteral("ZZ"),   QStringLiteral("Street"),
                                      QStringLiteral("City"), QStringLiteral("State"),
                                      QStringLiteral("ZIP"),  QStringLiteral("Country")};
    EXPECT_EQ(QNPerson::orderOfAddressFormats(QStringLiteral("ZZ")), defaultOrder);
    EXPECT_EQ(QNPerson::orderOfAddressFormats(QStringLiteral("jp")).mid(1),
              (QStringList{QStringLiteral("Country"), QStringLiteral("ZIP"), QStringLiteral("State"),
                           QStringLiteral("City"), QStringLiteral("Street")}));
}

TEST_F(PersonTest, RangeTableLocatesEachPart)
{
    const QNPerson::AddressDict address{{StoreValueKey::ISOCountryCode, QStringLiteral("ZZ")},
                                        {PersonKey::City, QStringLiteral("Kyoto")},
                                        {PersonKey::ZIP, QStringLiteral("600")}};
    const QList<Range> expected = {{QStringLiteral("Street"), QString(), 0, 0},
                                   {QStringLiteral("City"), QStringLiteral("Kyoto "), 0, 6},
                                   {QStringLiteral("State"), QString(), 6, 0},
                                   {QStringLiteral("ZIP"), QStringLiteral("600 "), 6, 4},
                                   {QStringLiteral("Country"), QString(), 10, 0}};
    EXPECT_EQ(QNPerson::rangeTableFromAddressLabeledValue(address), expected);

    QNPerson::AddressDict normalised = address;
    QNPerson::updateAddressValue(normalised, 1);
    EXPECT_EQ(normalised.value(PersonKey::StringValue), "Kyoto 600 ");
}

TEST_F(PersonTest, ReadAddressesKeepTheCountryAndAddedOnesDoNot)
{
    StoreContact contact;
    contact.postalAddresses = {
        {QString(),
         StoreLabel::Work,
         {QStringLiteral("1 Main St"), QStringLiteral("Springfield"), QStringLiteral("IL"),
          QStringLiteral("62701"), QStringLiteral("USA"), QStringLiteral("us")}}};
    QNPerson record(contact);
    const QVariantMap read = record.addressValues().first().toMap();
    EXPECT_EQ(read.value(PersonKey::Label), "work");
    EXPECT_EQ(read.value(PersonKey::CNLabel), StoreLabel::Work);
    EXPECT_EQ(read.value(PersonKey::StringValue), "1 Main St Springfield IL 62701 USA ");
    EXPECT_EQ(read.value(StoreValueKey::ISOCountryCode), "us");

    record.addAddressValue(springfield());
    EXPECT_EQ(record.addressValues().last().toMap().value(PersonKey::StringValue),
              "1 Main St Springfield IL 62701 ");
}

} // namespace
