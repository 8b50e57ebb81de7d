#include "WidgetsFixture.h"

#include "platform/widgets/Alert.h"
#include "platform/widgets/Workspace.h"

#include <QDesktopServices>
#include <QList>
#include <QObject>
#include <QWidget>

namespace {

class UrlCatcher : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> urls;

public slots:
    void handle(const QUrl &url) { urls.append(url); }
};

class WorkspaceTest : public WidgetsFixture
{
protected:
    void SetUp() override
    {
        WidgetsFixture::SetUp();
        TestMode::setEnabled(true);
        QDesktopServices::setUrlHandler("mailto", &m_catcher, "handle");
    }
    void TearDown() override
    {
        QDesktopServices::unsetUrlHandler("mailto");
        WidgetsFixture::TearDown();
    }

    UrlCatcher m_catcher;
};

TEST_F(WorkspaceTest, HandsTheLinkToTheDesktop)
{
    const QUrl url("mailto:jane%40example%2Ecom");
    EXPECT_TRUE(Workspace::openURL(url));
    EXPECT_EQ(m_catcher.urls, QList<QUrl>({url}));
    EXPECT_TRUE(Alert::shownAlerts().isEmpty());
}

TEST_F(WorkspaceTest, ALinkNothingOpensIsReported)
{
    Workspace::setOpener([](const QUrl &) { return false; });
    QWidget window;
    EXPECT_FALSE(Workspace::openURL(QUrl("tel://03-1234-5678"), &window));
    ASSERT_EQ(Alert::shownAlerts().size(), 1);
    EXPECT_EQ(Alert::lastShown().messageText, "No application can open this link.");
    EXPECT_EQ(Alert::lastShown().informativeText, "tel://03-1234-5678");
    EXPECT_TRUE(Alert::lastShown().asSheet);
}

TEST_F(WorkspaceTest, AnInvalidLinkOpensNothingSilently)
{
    bool asked = false;
    Workspace::setOpener([&asked](const QUrl &) { return asked = true; });
    EXPECT_FALSE(Workspace::openURL(QUrl()));
    EXPECT_FALSE(asked);
    EXPECT_TRUE(Alert::shownAlerts().isEmpty());
}

} // namespace

#include "WorkspaceTest.moc"
