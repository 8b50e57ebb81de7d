#include "platform/Localizer.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

class LocalizerTest : public ::testing::Test
{
protected:
    void TearDown() override { Localizer::shared().setPreferredLanguages(m_saved); }

    const QStringList m_saved = Localizer::shared().preferredLanguages();
};

} // namespace

TEST_F(LocalizerTest, UsesTheFirstPreferredLanguageThatHasATable)
{
    const QString japanese = QStringLiteral("キャンセル");
    const std::pair<QStringList, QString> rows[] = {
        {{"ja"}, japanese},          {{"ja-JP"}, japanese},       {{"ja_JP"}, japanese},
        {{"fr-FR", "ja"}, japanese}, {{"en-US", "ja"}, "Cancel"}, {{}, "Cancel"},
    };
    for (const auto &[languages, cancel] : rows) {
        SCOPED_TRACE(languages.join(',').toStdString());
        Localizer::shared().setPreferredLanguages(languages);
        EXPECT_EQ(L("Cancel"), cancel);
    }
}

TEST_F(LocalizerTest, MissingKeyGivesTheFallbackOrTheKey)
{
    Localizer &localizer = Localizer::shared();
    localizer.setPreferredLanguages({"ja"});
    EXPECT_EQ(L("No such text"), "No such text");
    EXPECT_EQ(localizer.localizedString("No such text", "Fallback"), "Fallback");
    // An empty fallback, as the menus pass it, still gives the key.
    EXPECT_EQ(localizer.localizedString("No such text", ""), "No such text");
}
