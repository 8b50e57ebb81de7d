#include "PersonTestSupport.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {

TEST_F(PersonTest, BirthdayIsReadOnceWithItsText)
{
    StoreContact contact;
    contact.birthday = DateComponents{1990, 3, 5};
    QNPerson record(contact);
    const std::optional<QNPerson::BirthdayDict> birthday = record.birthdayValue();
    ASSERT_TRUE(birthday);
    EXPECT_EQ(birthday->value(PersonKey::StringValue), "1990.03.05(Mon)");
    EXPECT_EQ(QNPerson::dateComponentsFromVariant(birthday->value(PersonKey::Value)), contact.birthday);
    EXPECT_EQ(record.birthdayValue(), birthday);
    EXPECT_FALSE(record.isChanged());
}

TEST_F(PersonTest, MissingBirthdays)
{
    QNPerson withoutOne(StoreContact{});
    EXPECT_EQ(withoutOne.birthdayValue(), (QVariantMap{{PersonKey::StringValue, QString()}}));

    QNPerson standalone;
    EXPECT_FALSE(standalone.birthdayValue());

    StoreContact contact;
    contact.birthday = DateComponents{1990, 3, 5};
    QNPerson cleared(contact);
    cleared.setBirthdayValue(std::nullopt);
    EXPECT_EQ(cleared.birthdayValue(), QVariantMap());
    EXPECT_TRUE(cleared.isChanged());
    EXPECT_FALSE(cleared.contactFromCache(contact).birthday);
}

struct DateTextRow
{
    DateComponents components;
    const char *text;
};

class DateText : public ::testing::TestWithParam<DateTextRow>
{
};

TEST_P(DateText, IsYearMonthDayAndWeekday)
{
    EXPECT_EQ(QNPerson::dateStringFromDateComponents(GetParam().components),
              QString::fromUtf8(GetParam().text));
    QNPerson::BirthdayDict birthday{
        {PersonKey::Value, QNPerson::variantFromDateComponents(GetParam().components)}};
    QNPerson::updateBirthdayValue(birthday);
    EXPECT_EQ(birthday.value(PersonKey::StringValue), QString::fromUtf8(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Dates, DateText,
                         ::testing::Values(DateTextRow{{1990, 3, 5}, "1990.03.05(Mon)"},
                                           DateTextRow{{std::nullopt, 3, 5}, "0001.03.05(Mon)"},
                                           DateTextRow{{2024, 2, 30}, ""}, DateTextRow{{}, ""}));

TEST(DateComponents, SurviveJson)
{
    const DateComponents yearless{std::nullopt, 12, 24};
    const QJsonObject json = QJsonObject::fromVariantMap(QNPerson::variantFromDateComponents(yearless));
    const QVariantMap back = QJsonDocument::fromJson(QJsonDocument(json).toJson()).object().toVariantMap();
    EXPECT_FALSE(back.contains(PersonKey::Year));
    EXPECT_EQ(QNPerson::dateComponentsFromVariant(back), yearless);
}

} // namespace
