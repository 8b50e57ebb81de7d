#include "AppFixture.h"

#include "app/AboutPanelController.h"
#include "app/AppDelegate.h"
#include "ui/widgets/EditionIcon.h"
#include "app/MenuCommand.h"
#include "app/ProductLinks.h"
#include "app/WindowController.h"
#include "platform/widgets/TemporaryFiles.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>

namespace {

class HelpMenuTest : public AppFixture
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        Workspace::setOpener([this](const QUrl &url) {
            m_opened.append(url);
            return true;
        });
        m_window = std::make_unique<WindowController>();
    }

    void TearDown() override
    {
        ProductLinks::setTableForTesting(std::nullopt);
        QApplication::setApplicationName(QStringLiteral("Pemberlin2"));
        m_window.reset();
        AppFixture::TearDown();
    }

    void choose(MenuCommand command) { m_delegate.menuItemSelectedInHelpMenu(m_window->menuItem(command)); }

    static QByteArray contents(const QUrl &url)
    {
        QFile file(url.toLocalFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // The places a released program would have; the shipped table has none of them yet.
    static QList<ProductLinks::Entry> placesOfARelease()
    {
        QList<ProductLinks::Entry> places = ProductLinks::table();
        for (const QString edition : {"Pemberlin2", "Sorvina", "Fenwarde2", "Ostrany2"})
            places.append({ProductLinks::Link::StorePage, edition, {},
                           "https://store.example.com/apps/" + edition.toLower()});
        places.append({ProductLinks::Link::SupportMailbox, {}, {}, "support@example.org"});
        places.append({ProductLinks::Link::WebSite, {}, {}, "https://www.example.org/"});
        return places;
    }

    std::unique_ptr<WindowController> m_window;
    AppDelegate m_delegate;
    QList<QUrl> m_opened;
};

struct PageCase
{
    const char *name;
    MenuCommand command;
    QString language;
    QString fileName;
    QByteArray marker;
};

class LocalPageTest : public HelpMenuTest, public ::testing::WithParamInterface<PageCase>
{
};

TEST_P(LocalPageTest, TheHelpAndPrivacyPagesOpenFromTheTemporaryFolder)
{
    Localizer::shared().setPreferredLanguages({GetParam().language});
    choose(GetParam().command);
    ASSERT_EQ(m_opened.size(), 1);
    const QUrl url = m_opened.first();
    ASSERT_TRUE(url.isLocalFile());
    EXPECT_EQ(url.toLocalFile(), TemporaryFiles::filePath(GetParam().fileName));
    EXPECT_TRUE(contents(url).contains(GetParam().marker));
}

INSTANTIATE_TEST_SUITE_P(
    Languages, LocalPageTest,
    ::testing::Values(
        PageCase{"HelpEnglish", MenuCommand::HelpViaWeb, "en-GB", "help.html", "lang=\"en\""},
        PageCase{"HelpJapanese", MenuCommand::HelpViaWeb, "ja-JP", "help-ja.html", "lang=\"ja\""},
        PageCase{"HelpOther", MenuCommand::HelpViaWeb, "fr", "help.html", "lang=\"en\""},
        PageCase{"PrivacyEnglish", MenuCommand::PrivacyPolicy, "en", "privacy.html", "Contacts.sqlite"},
        PageCase{"PrivacyJapanese", MenuCommand::PrivacyPolicy, "ja", "privacy-ja.html", "lang=\"ja\""}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(HelpMenuTest, TheStorePageIsTheRunningEditions)
{
    ProductLinks::setTableForTesting(placesOfARelease());
    for (const QString edition : {"Pemberlin2", "Sorvina", "Fenwarde2", "Ostrany2"}) {
        QApplication::setApplicationName(edition);
        choose(MenuCommand::RateUs);
        ASSERT_FALSE(m_opened.isEmpty());
        EXPECT_EQ(m_opened.takeLast(), QUrl("https://store.example.com/apps/" + edition.toLower()));
    }
    QApplication::setApplicationName(QStringLiteral("Something Else"));
    choose(MenuCommand::RateUs);
    EXPECT_TRUE(m_opened.isEmpty());
}

TEST_F(HelpMenuTest, FeedbackOpensAMessageWhoseSubjectNamesTheProgram)
{
    ProductLinks::setTableForTesting(placesOfARelease());
    QApplication::setApplicationName(QStringLiteral("A Name With Blanks"));
    choose(MenuCommand::FeedbackViaEmail);
    ASSERT_EQ(m_opened.size(), 1);
    EXPECT_EQ(m_opened.first().toString(QUrl::FullyEncoded),
              "mailto:support@example.org?subject=Feedback%20of%20A%20Name%20With%20Blanks");
}

TEST_F(HelpMenuTest, TheMenuItemsReachTheDelegateOnceItFoundTheWindow)
{
    ContactStore::setAuthorizationStatusForTesting(StoreAuthorizationStatus::Denied);
    m_delegate.setTerminator([] {});
    m_delegate.applicationDidFinishLaunching();
    EXPECT_EQ(m_delegate.window(), m_window.get());
    m_window->menuItem(MenuCommand::HelpViaWeb)->trigger();
    EXPECT_EQ(m_opened.size(), 1);
}

// A place that does not exist yet is not offered, so nobody lands on a stand-in address; given
// one, the same items and the About window's link open it.
TEST_F(HelpMenuTest, OnlyPlacesThatExistAreOffered)
{
    for (MenuCommand command : {MenuCommand::HelpViaWeb, MenuCommand::PrivacyPolicy})
        EXPECT_TRUE(m_window->menuItem(command)->isVisible());
    for (MenuCommand command : {MenuCommand::RateUs, MenuCommand::FeedbackViaEmail}) {
        EXPECT_FALSE(m_window->menuItem(command)->isVisible());
        choose(command);
    }
    auto about = std::make_unique<AboutPanelController>();
    EXPECT_TRUE(about->urlButton()->isHidden());
    about->urlButton()->click();
    EXPECT_TRUE(m_opened.isEmpty());

    ProductLinks::setTableForTesting(placesOfARelease());
    m_window = std::make_unique<WindowController>();
    for (MenuCommand command : {MenuCommand::RateUs, MenuCommand::FeedbackViaEmail})
        EXPECT_TRUE(m_window->menuItem(command)->isVisible());
    about = std::make_unique<AboutPanelController>();
    EXPECT_FALSE(about->urlButton()->isHidden());
    about->urlButton()->click();
    EXPECT_EQ(m_opened, QList<QUrl>{QUrl("https://www.example.org/")});
}

TEST_F(HelpMenuTest, TheAboutWindowIsMadeOnceAndShowsTheEdition)
{
    Sheet::setNextModalResponse(1);
    Sheet::setNextModalResponse(1);
    m_delegate.showAboutPanel();
    AboutPanelController *about = m_delegate.aboutPanelController();
    ASSERT_TRUE(about);
    m_delegate.showAboutPanel();
    EXPECT_EQ(m_delegate.aboutPanelController(), about);

    EXPECT_EQ(about->productNameField()->text(), "Pemberlin2");
    EXPECT_EQ(about->versionField()->text(), "Version 1.0 (1)");
    EXPECT_EQ(about->iconView()->pixmap().toImage(), EditionIcon::pixmap("Pemberlin2", 128).toImage());
    // Wide enough that a title bar shows the whole title beside its buttons.
    EXPECT_EQ(about->windowTitle(), "About Pemberlin2");
    EXPECT_GT(about->minimumWidth(), QFontMetrics(about->font()).horizontalAdvance(about->windowTitle()) + 100);
}

TEST_F(HelpMenuTest, AnUnknownNameKeepsTheAboutWindowsOwnIcon)
{
    QApplication::setApplicationName(QStringLiteral("Unnamed"));
    AboutPanelController about;
    EXPECT_FALSE(about.iconView()->pixmap().isNull());
    EXPECT_TRUE(EditionIcon::pixmap("Unnamed", 128).isNull());
}

TEST(EditionIconTest, EveryEditionHasItsOwnIcon)
{
    QList<QImage> images;
    for (const QString edition : {"Pemberlin2", "Sorvina", "Fenwarde2", "Ostrany2"}) {
        const QImage image = EditionIcon::pixmap(edition, 64).toImage();
        ASSERT_FALSE(image.isNull()) << edition.toStdString();
        EXPECT_FALSE(images.contains(image));
        images.append(image);
    }
}

} // namespace
