#include "platform/StoreLabels.h"

#include "platform/Localizer.h"

#include <gtest/gtest.h>

namespace {

struct TextCase
{
    QString input;
    QString expected;
};

class StoreLabelText : public ::testing::TestWithParam<TextCase>
{
};

TEST_P(StoreLabelText, ShowsReadableText)
{
    EXPECT_EQ(StoreLabel::localizedString(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, StoreLabelText,
                         ::testing::Values(TextCase{StoreLabel::Home, "home"},
                                           TextCase{StoreLabel::PhoneNumberHomeFax, "home fax"},
                                           TextCase{StoreLabel::PhoneNumberiPhone, "iPhone"},
                                           TextCase{StoreLabel::URLAddressHomePage, "home page"},
                                           TextCase{StoreLabel::ContactRelationSon, "son"},
                                           TextCase{"_$!<School>!$_", "School"},
                                           TextCase{"_$!<>!$_", "_$!<>!$_"}, TextCase{"Twitter", "Twitter"},
                                           TextCase{"", ""}));

TEST(StoreKeyText, ContactAndValueKeys)
{
    EXPECT_EQ(StoreKey::localizedString(StoreKey::PhoneNumbers), "Phone");
    EXPECT_EQ(StoreKey::localizedString(StoreKey::JobTitle), "Job Title");
    EXPECT_EQ(StoreKey::localizedString(StoreKey::NamePrefix), "Prefix");
    EXPECT_EQ(StoreKey::localizedString(QStringLiteral("noSuchKey")), "");
    EXPECT_EQ(StoreValueKey::localizedString(StoreValueKey::PostalCode), "ZIP");
    EXPECT_EQ(StoreValueKey::localizedString(StoreValueKey::Country), "Country");
    EXPECT_EQ(StoreValueKey::localizedString(QStringLiteral("noSuchKey")), "");
}

// Every contact key but the identifier and the bookkeeping ones has a name to show.
TEST(StoreKeyText, EveryValueKeyIsNamed)
{
    for (const QString &key : StoreKey::allKeys()) {
        if (key == StoreKey::Identifier || key == StoreKey::ContactType ||
            key == StoreKey::ThumbnailImageData || key == StoreKey::ImageDataAvailable)
            continue;
        EXPECT_FALSE(StoreKey::localizedString(key).isEmpty()) << qPrintable(key);
    }
}

} // namespace

TEST(StoreLabelJapanese, LabelsAndTheirAbsenceAreJapanese)
{
    const QStringList saved = Localizer::shared().preferredLanguages();
    Localizer::shared().setPreferredLanguages({QStringLiteral("ja")});
    EXPECT_EQ(StoreLabel::localizedString(StoreLabel::Home), QStringLiteral("自宅"));
    EXPECT_EQ(StoreLabel::localizedString(StoreLabel::PhoneNumberMobile), QStringLiteral("携帯電話"));
    // Our words for no label and no service are shown, so they are translated too.
    EXPECT_EQ(StoreLabel::localizedString(QStringLiteral("No label")), QStringLiteral("ラベルなし"));
    EXPECT_EQ(StoreLabel::localizedString(QStringLiteral("No service")), QStringLiteral("サービスなし"));
    EXPECT_EQ(StoreKey::localizedString(StoreKey::PhoneNumbers), QStringLiteral("電話"));
    Localizer::shared().setPreferredLanguages(saved);
}
