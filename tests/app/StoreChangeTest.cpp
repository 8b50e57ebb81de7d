#include "SaveFixture.h"

#include "app/StoreChangeMonitor.h"

namespace {

const QVariantMap External{{"CNNotificationOriginationExternally", 1}};

// --- the monitor on its own ----------------------------------------------------------------------

class StoreChangeMonitorTest : public AppFixture
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        monitor.setScheduler([this](int milliseconds, std::function<void()> fn) {
            delays.append(milliseconds);
            timers.append(std::move(fn));
        });
    }
    void TearDown() override
    {
        Alert::resetTestState();
        AppFixture::TearDown();
    }

    int discards = 0;
    StoreChangeMonitor monitor{[this] {
        ++discards;
        // A change that arrives while the question is up is not asked about.
        monitor.handleContactStoreChanged(External);
    }};
    QList<int> delays;
    QList<std::function<void()>> timers;
};

TEST_F(StoreChangeMonitorTest, OnlyAnotherProgramsChangeAsks)
{
    monitor.handleContactStoreChanged({});
    monitor.handleContactStoreChanged({{"CNNotificationOriginationExternally", 0}});
    EXPECT_TRUE(Alert::shownAlerts().isEmpty());

    Alert::setNextAnswer(Alert::SecondButton);
    monitor.handleContactStoreChanged(External);
    monitor.handleContactStoreChanged(External);
    ASSERT_EQ(Alert::shownAlerts().size(), 2);
    EXPECT_EQ(discards, 1);
    const Alert::Record alert = Alert::lastShown();
    EXPECT_EQ(alert.messageText, "Contacts have been changed.");
    EXPECT_EQ(alert.informativeText, "You can discard to your changes or ignore the changes.");
    EXPECT_EQ(alert.buttons, QStringList({"Discard", "Ignore"}));
    EXPECT_FALSE(monitor.isChangedAlertShowing());
}

TEST_F(StoreChangeMonitorTest, ASaveIsQuietUntilThreeSecondsAfterItsReload)
{
    monitor.saveWillStart();
    monitor.handleContactStoreChanged(External);
    monitor.saveDidFinish();
    EXPECT_EQ(delays, QList<int>({3000}));
    // A second save before the first one's time is up keeps its own quiet time.
    monitor.saveWillStart();
    timers.takeFirst()();
    monitor.handleContactStoreChanged(External);
    monitor.saveDidFinish();
    EXPECT_TRUE(Alert::shownAlerts().isEmpty());
    timers.takeFirst()();
    EXPECT_FALSE(monitor.isChangedAlertShowing());

    monitor.saveWillStart();
    monitor.saveWasRefused();
    monitor.handleContactStoreChanged(External);
    EXPECT_EQ(Alert::shownAlerts().size(), 1);
}

// --- against the store ---------------------------------------------------------------------------

void commitElsewhere(const StoreBuilder &builder)
{
    StoreSaveRequest request;
    StoreContact contact;
    contact.givenName = QStringLiteral("Elsewhere");
    request.addContact(contact, builder.localContainer());
    ASSERT_TRUE(builder.otherApplication()->execute(request).ok());
}

class StoreChangeTest : public SaveFixture, public ::testing::WithParamInterface<int>
{
};

TEST_P(StoreChangeTest, AnotherProgramsCommitAsksWhetherToDiscard)
{
    view()->undoDeleteContacts({row(top(), "Bob")}, top(), true);
    const ContainerTable before = view()->containerTable();
    Alert::setNextAnswer(GetParam());
    commitElsewhere(*builder);
    ASSERT_TRUE(spinUntil([] { return !Alert::shownAlerts().isEmpty(); }));
    const bool discarded = GetParam() == Alert::FirstButton;
    EXPECT_EQ(view()->containerTable() != before, discarded);
    EXPECT_EQ(row(top(), "Elsewhere") != nullptr, discarded);
    EXPECT_EQ(view()->isDocumentEdited(), !discarded);
    EXPECT_EQ(view()->undoManager()->canUndo(), !discarded);
}

INSTANTIATE_TEST_SUITE_P(Answers, StoreChangeTest,
                         ::testing::Values(Alert::FirstButton, Alert::SecondButton));

} // namespace
