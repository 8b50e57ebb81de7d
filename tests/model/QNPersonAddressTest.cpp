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

// Every way an address is edited leaves the texts that a reload of the saved record shows: the
// country stays in "stringValue" and "formattedString".
TEST_F(PersonTest, EditedAddressesShowAsAfterAReload)
{
    StoreContact contact;
    contact.postalAddresses = {
        {QString(),
         StoreLabel::Work,
         {{}, QStringLiteral("Springfield"), {}, {}, QStringLiteral("USA"), QStringLiteral("us")}},
        {QString(), StoreLabel::Home, {{}, QStringLiteral("千代田区"), {}, {}, QStringLiteral("日本"), {}}}};
    const auto reloaded = [&contact](QNPerson &record) {
        return QNPerson(record.contactFromCache(contact)).labeledValues(QNPerson::LabeledKind::Address);
    };
    // Each entry's one-line and formatted texts, readable when they differ.
    const auto texts = [](const QVariantList &list) {
        QStringList shown;
        for (const QVariant &item : list)
            shown << item.toMap().value(PersonKey::StringValue).toString()
                  << item.toMap().value(PersonKey::FormattedString).toString();
        return shown.join(QStringLiteral(" | ")).toStdString();
    };
    const auto line = [](const QVariantList &list, qsizetype i) {
        return list.at(i).toMap().value(PersonKey::StringValue).toString().toStdString();
    };
    QNPerson record(contact);
    const QVariantList read = record.labeledValues(QNPerson::LabeledKind::Address);
    EXPECT_EQ(line(read, 0), "Springfield USA ");
    ASSERT_EQ(texts(reloaded(record)), texts(read));

    QVariantMap work = read.at(0).toMap();
    work.insert(PersonKey::City, QStringLiteral("Shelbyville"));
    record.replaceLabeledValue(work, QStringLiteral("Address"));
    QVariantMap home = read.at(1).toMap();
    home.insert(PersonKey::City, QStringLiteral("港区"));
    record.replaceLabeledEntries(QNPerson::LabeledKind::Address, home, 1);
    record.addLabeledEntry(QNPerson::LabeledKind::Address, springfield());
    const QVariantList edited = record.labeledValues(QNPerson::LabeledKind::Address);
    EXPECT_EQ(line(edited, 0), "Shelbyville USA ");
    EXPECT_EQ(line(edited, 1), "日本 港区 ");
    EXPECT_EQ(line(edited, 2), "1 Main St Springfield IL 62701 USA ");
    EXPECT_EQ(texts(reloaded(record)), texts(edited));

    record.setValue(edited, QStringLiteral("Address"));
    EXPECT_EQ(texts(record.labeledValues(QNPerson::LabeledKind::Address)), texts(edited));
}

} // namespace
