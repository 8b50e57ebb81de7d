#include "AppFixture.h"

#include "addressbook/DefaultsKey.h"
#include "app/FontManager.h"
#include "ui/widgets/FontService.h"
#include "app/WindowController.h"
#include "detail/DetailFont.h"

#include <QFontDatabase>

namespace {

// An installed family other than the system font's, or an empty string.
QString otherFamily()
{
    const QString system = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    for (const QString &family : QFontDatabase::families()) {
        if (family != system && !QFontDatabase::isPrivateFamily(family))
            return family;
    }
    return {};
}

class FontTest : public AppFixture
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        m_family = otherFamily();
        if (m_family.isEmpty())
            GTEST_SKIP() << "only the system font is installed";
    }

    // The window's font after a start with these stored values.
    std::optional<QFont> fontAtStart(const QVariant &name, const QVariant &size)
    {
        defaults().setObject(name, DefaultsKey::FontName);
        defaults().setObject(size, DefaultsKey::FontSize);
        WindowController window;
        return window.mainViewController()->selectedFont();
    }

    QString m_family;
};

TEST_F(FontTest, TheStoredFontIsUsedButNeverBelowSevenPoints)
{
    struct Row
    {
        QVariant size;
        double expected;
    };
    for (const Row &row : {Row{3.0, 7.0}, Row{7.0, 7.0}, Row{14.5, 14.5}, Row{QVariant(), 7.0}}) {
        const std::optional<QFont> font = fontAtStart(m_family, row.size);
        ASSERT_TRUE(font);
        EXPECT_EQ(font->family(), m_family);
        EXPECT_EQ(font->pointSizeF(), row.expected) << row.size.toString().toStdString();
    }
}

TEST_F(FontTest, TheSystemFontTakesItsStoredSizeAndNoNameTheTwelvePointSystemFont)
{
    struct Row
    {
        QVariant name;
        QVariant size;
        double expected;
    };
    const QVariant system(QStringLiteral(".AppleSystemUIFont"));
    for (const Row &row : {Row{system, 20.0, 20.0}, Row{system, 3.0, 7.0}, Row{system, QVariant(), 12.0},
                           Row{QVariant(), 20.0, 12.0}}) {
        const std::optional<QFont> font = fontAtStart(row.name, row.size);
        ASSERT_TRUE(font);
        EXPECT_TRUE(FontService::isSystemFont(*font));
        EXPECT_EQ(font->pointSizeF(), row.expected) << row.size.toString().toStdString();
    }
}

// Bigger keeps the family, so the system font is stored by its name with the new size.
TEST_F(FontTest, ABiggerSystemFontIsKeptAtTheNextStart)
{
    {
        WindowController window;
        window.show();
        FontManager::shared().modifyFontBigger();
        window.close();
    }
    WindowController window;
    ASSERT_TRUE(window.mainViewController()->selectedFont());
    EXPECT_EQ(window.mainViewController()->selectedFont()->pointSizeF(), 13.0);
    EXPECT_EQ(DetailFont::fontFromDefaults(defaults()).pointSizeF(), 13.0);
}

TEST_F(FontTest, AFontThatIsNotInstalledGivesNoFontAndChangesNothing)
{
    EXPECT_FALSE(fontAtStart(QStringLiteral("No Such Family 1234"), 12.0));
    WindowController window;
    window.show();
    EXPECT_FALSE(defaults().objectForKey(DefaultsKey::DefaultFontName).isValid());
    window.mainViewController()->applyFont(std::nullopt);
    EXPECT_FALSE(window.mainViewController()->selectedFont());
}

TEST_F(FontTest, AFontChangeReachesTheDetailViewsDefaults)
{
    WindowController window;
    window.show();
    ViewController *view = window.mainViewController();
    QFont font(m_family);
    font.setPointSizeF(15);
    view->applyFont(font);
    EXPECT_EQ(defaults().stringForKey(DefaultsKey::DefaultFontName), m_family);
    EXPECT_EQ(defaults().doubleForKey(DefaultsKey::DefaultFontSizeKey), 15.0);

    FontManager::shared().modifyFontBigger();
    EXPECT_EQ(view->selectedFont()->pointSizeF(), 16.0);

    view->revertToDefaultFont();
    EXPECT_EQ(defaults().stringForKey(DefaultsKey::DefaultFontName), ".AppleSystemUIFont");
    EXPECT_EQ(defaults().doubleForKey(DefaultsKey::DefaultFontSizeKey), 12.0);
}

TEST_F(FontTest, TheWindowsFontIsStoredWhenTheViewDisappears)
{
    {
        WindowController window;
        window.show();
        QFont font(m_family);
        font.setPointSizeF(9.5);
        window.mainViewController()->applyFont(font);
        window.close();
    }
    EXPECT_EQ(defaults().stringForKey(DefaultsKey::FontName), m_family);
    EXPECT_EQ(defaults().doubleForKey(DefaultsKey::FontSize), 9.5);
}

TEST(DefaultsKeyTest, TheFontKeysOfADocumentCarryItsName)
{
    EXPECT_EQ(DefaultsKey::documentKey("QNFontName", {}), "QNFontName");
    EXPECT_EQ(DefaultsKey::documentKey("QNFontName", "AddressBook"), "QNFontName");
    EXPECT_EQ(DefaultsKey::documentKey("QNFontSize", "My Cards"), "QNFontSize My Cards");
}

TEST(DefaultsKeyTest, EveryKeyIsListedOnce)
{
    QStringList keys;
    for (const DefaultsKey::KeyInfo &info : DefaultsKey::allKeys())
        keys.append(info.key);
    EXPECT_EQ(keys.removeDuplicates(), 0);
}

} // namespace
