#include "PersonTestSupport.h"

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

TEST(DateText, IsYearMonthDayAndWeekdayOrMonthAndDayWithoutAYear)
{
    const std::pair<DateComponents, const char *> rows[] = {{{1990, 3, 5}, "1990.03.05(Mon)"},
                                                            {{std::nullopt, 6, 15}, "06.15"},
                                                            {{std::nullopt, 2, 29}, "02.29"},
                                                            {{2024, 2, 30}, ""},
                                                            {{}, ""}};
    for (const auto &[components, text] : rows) {
        QNPerson::BirthdayDict birthday{{PersonKey::Value, QNPerson::variantFromDateComponents(components)}};
        QNPerson::updateBirthdayValue(birthday);
        EXPECT_EQ(birthday.value(PersonKey::StringValue), QString::fromUtf8(text));
    }
}

} // namespace
