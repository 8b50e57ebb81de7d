#include "app/AppFixture.h"

#include "find/FindBarController.h"
#include "ui/contracts/FindBarDelegate.h"
#include "ui/widgets/SegmentedControl.h"
#include "ui/widgets/ViewAlpha.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

namespace {

QString nameOf(FindBarCommand command)
{
    switch (command) {
    case FindBarCommand::Done:
        return "Done";
    case FindBarCommand::OptionChanged:
        return "OptionChanged";
    case FindBarCommand::Next:
        return "Next";
    case FindBarCommand::Previous:
        return "Previous";
    case FindBarCommand::Replace:
        return "Replace";
    case FindBarCommand::ReplaceAll:
        return "ReplaceAll";
    }
    return {};
}

class RecordingFindDelegate : public FindBarDelegate
{
public:
    explicit RecordingFindDelegate(FindBarController &bar) : m_bar(bar) {}
    void findStringDidChange(const QString &findString) override { calls.append("find:" + findString); }
    void findBarButtonDidPress(FindBarCommand command) override
    {
        calls.append(nameOf(command));
        // Done must arrive after the bar began to hide.
        if (command == FindBarController::Done)
            hidingAtDone = m_bar.isAnimating();
    }

    QStringList calls;
    bool hidingAtDone = false;

private:
    FindBarController &m_bar;
};

// The bar over a neighbour that takes the rest of a fixed-height host.
class FindBarControllerTest : public AppFixture
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        m_bar = std::make_unique<FindBarController>();
        m_delegate = std::make_unique<RecordingFindDelegate>(*m_bar);
        m_bar->setDelegate(m_delegate.get());
        auto *layout = new QVBoxLayout(&m_host);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        layout->addWidget(m_bar->view());
        layout->addWidget(m_neighbour);
        m_host.resize(500, 300);
        m_host.show();
    }

    void TearDown() override
    {
        m_bar.reset();
        AppFixture::TearDown();
    }

    // Shows or hides the bar and waits for its handler.
    void setVisibleAndWait(bool visible)
    {
        bool done = false;
        m_bar->setVisible(visible, [&done] { done = true; });
        ASSERT_TRUE(spinUntil([&done] { return done; }));
        m_host.layout()->activate();
    }

    QStringList &calls() { return m_delegate->calls; }

    QWidget m_host;
    QWidget *m_neighbour = new QWidget;
    std::unique_ptr<FindBarController> m_bar;
    std::unique_ptr<RecordingFindDelegate> m_delegate;
};

TEST_F(FindBarControllerTest, StartsHiddenAndCaseInsensitive)
{
    EXPECT_FALSE(m_bar->isVisible());
    EXPECT_TRUE(m_bar->isCaseInsensitive());
    EXPECT_EQ(m_bar->optionPopup()->currentIndex(), 0);
    EXPECT_EQ(m_bar->optionPopup()->itemText(0), "Case Insensitive");
    EXPECT_EQ(m_bar->replaceControl()->label(1), "All");
}

// The case option follows the item chosen; replacing needs the edit state.
TEST_F(FindBarControllerTest, EachControlSendsOneCommand)
{
    m_bar->setSearchString("Lee");
    m_bar->directControl()->performClick(1);
    m_bar->replaceControl()->performClick(0);
    EXPECT_FALSE(m_bar->replaceControl()->isEnabled()) << "locked";
    m_bar->setEditState(true);
    m_bar->directControl()->performClick(0);
    m_bar->replaceControl()->performClick(0);
    m_bar->replaceControl()->performClick(1);
    for (int item : {1, 0}) {
        m_bar->optionPopup()->setCurrentIndex(item);
        m_bar->popupChanged(m_bar->optionPopup());
        EXPECT_EQ(m_bar->isCaseInsensitive(), item == 0);
    }
    m_bar->buttonPressed(m_neighbour);
    EXPECT_EQ(calls(),
              QStringList({"Next", "Previous", "Replace", "ReplaceAll", "OptionChanged", "OptionChanged"}));
}

TEST_F(FindBarControllerTest, EnterSendsTheSearchTextEvenWhenEmpty)
{
    setVisibleAndWait(true);
    QTest::keyClick(m_bar->searchField(), Qt::Key_Return);
    m_bar->searchField()->setText("Lee");
    QTest::keyClick(m_bar->searchField(), Qt::Key_Return);
    m_bar->replaceStringField()->setText("Li");
    EXPECT_EQ(calls(), QStringList({"find:", "find:Lee"}));
    EXPECT_EQ(m_bar->replaceString(), "Li");
}

TEST_F(FindBarControllerTest, DoneHidesTheBarBeforeTheDelegateHears)
{
    setVisibleAndWait(true);
    m_bar->doneButton()->click();
    EXPECT_EQ(calls(), QStringList({"Done"}));
    EXPECT_TRUE(m_delegate->hidingAtDone);
    EXPECT_TRUE(spinUntil([this] { return !m_bar->isVisible(); }));

    m_bar->setDelegate(nullptr);
    setVisibleAndWait(true);
    m_bar->doneButton()->click();
    EXPECT_TRUE(spinUntil([this] { return !m_bar->isVisible(); })) << "without a delegate too";
}

TEST_F(FindBarControllerTest, ShowingAndHidingFadeWhileTheNeighbourMakesRoom)
{
    const int fullHeight = m_neighbour->height();
    bool shown = false;
    m_bar->setVisible(true, [&shown] { shown = true; });
    EXPECT_TRUE(m_bar->isVisible());
    EXPECT_FALSE(shown);
    ASSERT_TRUE(spinUntil([&shown] { return shown; }));
    m_host.layout()->activate();
    EXPECT_EQ(ViewAlpha::alpha(m_bar->view()), 1.0);
    EXPECT_GT(m_bar->view()->height(), 0);
    EXPECT_EQ(m_neighbour->height(), fullHeight - m_bar->view()->height());

    bool hidden = false;
    m_bar->setVisible(false, [&hidden] { hidden = true; });
    EXPECT_TRUE(m_bar->isVisible()) << "visible until the fade has ended";
    ASSERT_TRUE(spinUntil([&hidden] { return hidden; }));
    m_host.layout()->activate();
    EXPECT_FALSE(m_bar->isVisible());
    EXPECT_EQ(ViewAlpha::alpha(m_bar->view()), 0.0);
    EXPECT_EQ(m_neighbour->height(), fullHeight);
}

TEST_F(FindBarControllerTest, OverlappingShowAndHideEachComplete)
{
    QStringList done;
    m_bar->setVisible(true, [&done] { done.append("shown"); });
    QTest::qWait(100);
    m_bar->setVisible(false, [&done] { done.append("hidden"); });
    ASSERT_TRUE(spinUntil([&done] { return done.size() == 2; }));
    EXPECT_EQ(done, QStringList({"shown", "hidden"}));
    EXPECT_FALSE(m_bar->isVisible());
}

// Hiding a hidden bar does not make it count as visible for a second.
TEST_F(FindBarControllerTest, ABarAlreadyInPlaceCompletesAtOnce)
{
    bool done = false;
    m_bar->setVisible(false, [&done] { done = true; });
    EXPECT_TRUE(done);
    EXPECT_FALSE(m_bar->isVisible());
    EXPECT_FALSE(m_bar->isAnimating());
}

} // namespace
