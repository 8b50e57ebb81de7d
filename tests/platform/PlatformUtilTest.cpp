#include "platform/PlatformUtil.h"

#include <QRegularExpression>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <unicode/locid.h>

TEST(PlatformUtil, UuidStringsAreUpperCaseWithHyphens)
{
    const QRegularExpression shape(
        QStringLiteral("^[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$"));
    const QString first = PlatformUtil::newUUIDString();
    EXPECT_TRUE(shape.match(first).hasMatch()) << first.toStdString();
    EXPECT_NE(first, PlatformUtil::newUUIDString());
}

TEST(PlatformUtil, DateDescriptionIsInUtc)
{
    const QDateTime tokyo(QDate(2024, 3, 1), QTime(18, 5, 7), QTimeZone(9 * 3600));
    EXPECT_EQ(PlatformUtil::dateDescription(tokyo), "2024-03-01 09:05:07 +0000");
    const QDateTime newYork(QDate(2023, 12, 31), QTime(22, 0), QTimeZone(-5 * 3600));
    EXPECT_EQ(PlatformUtil::dateDescription(newYork), "2024-01-01 03:00:00 +0000");
    EXPECT_TRUE(PlatformUtil::dateDescription(QDateTime()).isNull());
    const QRegularExpression shape(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d \\+0000$"));
    EXPECT_TRUE(shape.match(PlatformUtil::dateDescription()).hasMatch());
}

TEST(PlatformUtil, CountryNamesInAGivenLanguage)
{
    UErrorCode status = U_ZERO_ERROR;
    icu::Locale::setDefault(icu::Locale("en_US"), status);
    ASSERT_TRUE(U_SUCCESS(status));
    const struct
    {
        const char *code;
        const char *language;
        QString name;
    } rows[] = {
        {"JP", "ja", QStringLiteral("日本")},
        {"DE", "ja-JP", QStringLiteral("ドイツ")},
        {"US", "ja_JP", QStringLiteral("アメリカ合衆国")},
        {"JP", "en", QStringLiteral("Japan")},
        {"JP", "US_JP", QStringLiteral("Japan")}, // no such language: ICU's default locale
        {"QQ", "ja", QStringLiteral("QQ")},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(std::string(row.code) + " " + row.language);
        EXPECT_EQ(PlatformUtil::localizedCountryName(row.code, row.language), row.name);
    }
}
