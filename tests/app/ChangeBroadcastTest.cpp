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
    const ContactRowPtr ann = rowOf(sampleContact("Ann"));
    // The window outlives the view, which closes its windows as it goes.
    ListedWindow window(log, ann);
    ViewController view(defaults(), SplitPanes::makeDefault(defaults()));
    auto *grid = static_cast<ContactsViewController *>(view.contactsViewController());
    grid->setDetachedWindows(
        {std::make_shared<DetachedWindowEntry>(DetachedWindowEntry{&window, ann->uniqueId, nullptr})});
    view.contactDidUpdate(ann, nullptr);
    EXPECT_EQ(log.calls, QStringList{"window"});
}

} // namespace
