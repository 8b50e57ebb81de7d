#include "model/WorkspaceURL.h"

#include <gtest/gtest.h>

using WorkspaceURL::forValue;
using WorkspaceURL::MapService;

namespace {
QString urlFor(const char *field, const QString &text, MapService map = MapService::Desktop)
{
    return WorkspaceURL::linkText(QString::fromLatin1(field), text, map);
}
} // namespace

TEST(WorkspaceURLTest, PhoneKeepsEverythingButParenthesesAndSpaces)
{
    EXPECT_EQ(urlFor("Phone", QStringLiteral("(03) 555-0199")), QStringLiteral("tel:03555-0199"));
    EXPECT_EQ(urlFor("Phone", QStringLiteral("+44 20 7946 0000")), QStringLiteral("tel:+442079460000"));
    EXPECT_TRUE(forValue(QStringLiteral("Phone"), QStringLiteral("+44 20 7946 0000")).isValid());
}

TEST(WorkspaceURLTest, MailEncodesAllButLettersAndDigits)
{
    EXPECT_EQ(urlFor("Email", QStringLiteral("ann.lee@example.org")),
              QStringLiteral("mailto:ann%2Elee%40example%2Eorg"));
    EXPECT_TRUE(forValue(QStringLiteral("Email"), QStringLiteral("ann.lee@example.org")).isValid());
}

TEST(WorkspaceURLTest, WebAddressGetsASchemeUnlessOneStartsAtTheFirstOrSecondCharacterInAnyCase)
{
    EXPECT_EQ(urlFor("URL", QStringLiteral("example.org")), QStringLiteral("http://example.org"));
    EXPECT_EQ(urlFor("URL", QStringLiteral("https://example.org/a")), QStringLiteral("https://example.org/a"));
    EXPECT_EQ(urlFor("URL", QStringLiteral("HTTP://example.org")), QStringLiteral("HTTP://example.org"));
    EXPECT_EQ(urlFor("URL", QStringLiteral("Https://example.org")), QStringLiteral("Https://example.org"));
    EXPECT_EQ(urlFor("URL", QStringLiteral("a.io")), QStringLiteral("http://a.io"));
    EXPECT_EQ(urlFor("URL", QStringLiteral("http:/")), QStringLiteral("http://http:/"));
    // Blanks around a pasted link are dropped.
    EXPECT_EQ(urlFor("URL", QStringLiteral("  https://example.org \n")), QStringLiteral("https://example.org"));
    EXPECT_EQ(forValue(QStringLiteral("URL"), QStringLiteral(" http://example.org")),
              QUrl(QStringLiteral("http://example.org")));
    // A stray character before the scheme makes the text no valid URL: nothing opens.
    EXPECT_TRUE(forValue(QStringLiteral("URL"), QStringLiteral("\"http://example.org")).isEmpty());
}

TEST(WorkspaceURLTest, AddressesSearchTheMapWithSpacesEncoded)
{
    EXPECT_EQ(urlFor("Address", QStringLiteral("1 Main St"), MapService::WebSearch),
              QStringLiteral("https://www.google.com/maps/search/1%20Main%20St"));
    EXPECT_EQ(urlFor("Address", QStringLiteral("1 Main St")), QStringLiteral("geo:0,0?q=1%20Main%20St"));
}

TEST(WorkspaceURLTest, CalendarOpensForDatesEvenWhenEmptyAndOtherFieldsOpenNothing)
{
    EXPECT_EQ(urlFor("Birthday", QString()), QStringLiteral("ical://"));
    EXPECT_EQ(urlFor("Dates", QStringLiteral("x")), QStringLiteral("ical://"));
    EXPECT_TRUE(forValue(QStringLiteral("Phone"), QString()).isEmpty());
    EXPECT_TRUE(forValue(QStringLiteral("City"), QStringLiteral("Paris")).isEmpty());
    EXPECT_TRUE(forValue(QStringLiteral("Note"), QStringLiteral("hello")).isEmpty());
}
