#include "PersonTestSupport.h"

namespace {

QNPerson::AddressDict springfield()
{
    return {{PersonKey::Street, QStringLiteral("1 Main St")},
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
    EXPECT_EQ(withCountry.value(PersonKey::Label), "No label");

    QNPerson::AddressDict without = springfield();
    QNPerson::updateAddressValue(without, 0);
    EXPECT_EQ(without.value(PersonKey::StringValue), "1 Main St Springfield IL 62701 ");
    EXPECT_FALSE(without.value(PersonKey::FormattedString).toString().contains(QStringLiteral("USA")));
    EXPECT_FALSE(without.contains(PersonKey::PredictCountryCode));

    QNPerson::AddressDict empty;
    QNPerson::updateAddressValue(empty, 1);
    EXPECT_EQ(empty.value(PersonKey::StringValue), empty.value(PersonKey::FormattedString));
}

class Prediction : public PersonTest,
                   public ::testing::WithParamInterface<std::pair<const char *, const char *>>
{
};

TEST_P(Prediction, ComesFromTheCountryName)
{
    QNPerson::AddressDict address{{PersonKey::Country, QString::fromUtf8(GetParam().first)}};
    QNPerson::updateAddressValue(address, 1);
    EXPECT_EQ(address.value(PersonKey::PredictCountryCode), QString::fromUtf8(GetParam().second));
    EXPECT_FALSE(address.contains(StoreValueKey::ISOCountryCode));
}

INSTANTIATE_TEST_SUITE_P(Names, Prediction,
                         ::testing::Values(std::pair{"日本", "JP"}, std::pair{"française", "FR"},
                                           std::pair{"FranÇAISE", "FR"}, std::pair{"Japan", "JP"},
                                           std::pair{"jpn", "JP"}, std::pair{"de", "DE"},
                                           std::pair{"Atlantis", ""}));

TEST_F(PersonTest, CountryOrdersTheText)
{
    QNPerson::AddressDict address{{PersonKey::Country, QStringLiteral("日本")},
                                  {PersonKey::ZIP, QStringLiteral("100-0001")},
                                  {PersonKey::City, QStringLiteral("千代田区")}};
    QNPerson::updateAddressValue(address, 1);
    EXPECT_EQ(address.value(PersonKey::StringValue), "日本 100-0001 千代田区 ");
    EXPECT_EQ(QNPerson::orderOfAddressFormats(QStringLiteral("ZZ")),
              (QStringList{QStringLiteral("ZZ"), QStringLiteral("Street"), QStringLiteral("City"),
                           QStringLiteral("State"), QStringLiteral("ZIP"), QStringLiteral("Country")}));
}

TEST_F(PersonTest, RangeTableLocatesEachPart)
{
    const QNPerson::AddressDict address{{StoreValueKey::ISOCountryCode, QStringLiteral("ZZ")},
                                        {PersonKey::City, QStringLiteral("Kyoto")},
                                        {PersonKey::ZIP, QStringLiteral("600")}};
    const QList<QNPerson::AddressPartRange> expected = {
        {QStringLiteral("Street"), QString(), 0, 0},
        {QStringLiteral("City"), QStringLiteral("Kyoto "), 0, 6},
        {QStringLiteral("State"), QString(), 6, 0},
        {QStringLiteral("ZIP"), QStringLiteral("600 "), 6, 4},
        {QStringLiteral("Country"), QString(), 10, 0}};
    EXPECT_EQ(QNPerson::rangeTableFromAddressLabeledValue(address), expected);
}

TEST_F(PersonTest, ReadAddressesKeepTheCountryAndAddedOnesDoNot)
{
    StoreContact contact;
    contact.postalAddresses = {
        {QString(),
         StoreLabel::Work,
         {{}, QStringLiteral("Springfield"), {}, {}, QStringLiteral("USA"), QStringLiteral("us")}}};
    QNPerson record(contact);
    const QVariantMap read = record.labeledValues(QNPerson::LabeledKind::Address).first().toMap();
    EXPECT_EQ(read.value(PersonKey::Label), "work");
    EXPECT_EQ(read.value(PersonKey::StringValue), "Springfield USA ");
    record.addLabeledEntry(QNPerson::LabeledKind::Address, springfield());
    EXPECT_EQ(
        record.labeledValues(QNPerson::LabeledKind::Address).last().toMap().value(PersonKey::StringValue),
        "1 Main St Springfield IL 62701 ");
}

} // namespace
