#include "FunnelFixture.h"

#include "grid/ContactsViewController.h"

namespace {

// A torn-off window as the real grid lists it.
class ListedWindow : public DetachedWindowController
{
public:
    ListedWindow(CallLog &log, const ContactRowPtr &row) : m_content(log, QStringLiteral("window"), row) {}
    void close() override {}
    ContactInfoPopoverInterface *contentViewController() override { return &m_content; }

private:
    FakeContactPopover m_content;
};

using ChangeBroadcastTest = AppFixture;

TEST_F(ChangeBroadcastTest, AChangeReachesTheTornOffWindowsTheRealGridLists)
{
    CallLog log;
    ViewController view(defaults(), SplitPanes::makeDefault(defaults()));
    const ContactRowPtr ann = rowOf(sampleContact("Ann"));
    ListedWindow window(log, ann);
    auto *grid = static_cast<ContactsViewController *>(view.contactsViewController());
    grid->setDetachedWindows(
        {std::make_shared<DetachedWindowEntry>(DetachedWindowEntry{&window, ann->uniqueId, nullptr})});
    view.contactDidUpdate(ann, nullptr);
    EXPECT_EQ(log.calls, QStringList{"window"});
}

} // namespace
