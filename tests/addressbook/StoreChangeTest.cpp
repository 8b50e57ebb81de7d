#include "app/SaveFixture.h"

#include "addressbook/StoreChangeMonitor.h"

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

    int asks = 0;
    StoreChangeMonitor monitor{[this] {
        ++asks;
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
    EXPECT_EQ(asks, 0);

    monitor.handleContactStoreChanged(External);
    monitor.handleContactStoreChanged(External);
    EXPECT_EQ(asks, 2);
    EXPECT_FALSE(monitor.isChangedAlertShowing());
}

TEST_F(StoreChangeMonitorTest, AChangeDuringASavesQuietTimeIsAskedAboutWhenItEnds)
{
    monitor.saveWillStart();
    monitor.handleContactStoreChanged(External);
    monitor.saveDidFinish();
    // A second save before the first one's time is up keeps its own quiet time.
    monitor.saveWillStart();
    timers.takeFirst()();
    monitor.handleContactStoreChanged(External);
    monitor.saveDidFinish();
    EXPECT_EQ(asks, 0);
    timers.takeFirst()();
    EXPECT_FALSE(monitor.isChangedAlertShowing());
    ASSERT_EQ(delays, QList<int>({3000, 3000, 0}));
    timers.takeFirst()();
    // One question for both changes.
    EXPECT_EQ(asks, 1);

    // A refused save wrote nothing, so a change during it is asked about right after.
    monitor.saveWillStart();
    monitor.handleContactStoreChanged(External);
    monitor.saveWasRefused();
    timers.takeFirst()();
    EXPECT_EQ(asks, 2);

    monitor.saveWillStart();
    monitor.saveDidFinish();
    timers.takeFirst()();
    EXPECT_TRUE(timers.isEmpty());
    EXPECT_EQ(asks, 2);
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
    const Alert::Record alert = Alert::lastShown();
    EXPECT_EQ(alert.messageText, "Contacts have been changed.");
    EXPECT_EQ(alert.informativeText, "You can discard to your changes or ignore the changes.");
    EXPECT_EQ(alert.buttons, QStringList({"Discard", "Ignore"}));
    const bool discarded = GetParam() == Alert::FirstButton;
    EXPECT_EQ(view()->containerTable() != before, discarded);
    EXPECT_EQ(row(top(), "Elsewhere") != nullptr, discarded);
    EXPECT_EQ(view()->isDocumentEdited(), !discarded);
    EXPECT_EQ(view()->undoManager()->canUndo(), !discarded);
}

INSTANTIATE_TEST_SUITE_P(Answers, StoreChangeTest,
                         ::testing::Values(Alert::FirstButton, Alert::SecondButton));

// Whether another program commits right after our save.
class QuietTimeAfterSave : public SaveFixture, public ::testing::WithParamInterface<bool>
{
};

TEST_P(QuietTimeAfterSave, OnlyAnotherProgramsCommitIsAskedAboutWhenItEnds)
{
    QList<std::function<void()>> timers;
    delegate->storeChangeMonitor().setScheduler(
        [&timers](int, std::function<void()> fn) { timers.append(std::move(fn)); });
    int external = 0;
    QObject::connect(delegate.get(), &AppDelegate::contactStoreChangeReceived,
                     [&external](const QVariantMap &info) {
                         external += info.value("CNNotificationOriginationExternally").toInt();
                     });
    view()->undoReplaceValue(QStringLiteral("edited"), QStringLiteral("Note"), row(top(), "Bob"), nullptr);
    delegate->saveDocument();
    if (GetParam()) {
        commitElsewhere(*builder);
        ASSERT_TRUE(spinUntil([&external] { return external > 0; }));
    } else {
        spinUntil([] { return false; }, 500); // our own save's notices arrive
    }
    EXPECT_TRUE(Alert::shownAlerts().isEmpty());
    while (!timers.isEmpty())
        timers.takeFirst()();
    EXPECT_EQ(Alert::shownAlerts().size(), GetParam() ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(AnotherProgram, QuietTimeAfterSave, ::testing::Bool());

} // namespace
