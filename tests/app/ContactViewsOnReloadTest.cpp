#include "FunnelFixture.h"

#include "platform/widgets/Popover.h"

#include <QLabel>

namespace {

using ContactViewsOnReloadTest = FunnelFixture;

// After Save, Revert or Discard the tree is new: a view of an old row would edit nothing shown.
TEST_F(ContactViewsOnReloadTest, HandingOverATreeClosesTheContactPopoverAndEveryTornOffWindow)
{
    const ContactRowPtr ann = rowOf(sampleContact("Ann"));
    const ContactRowPtr bob = rowOf(sampleContact("Bob"));
    FakeDetachedWindow annWindow(log, *panes.grid, ann, "ann window");
    FakeDetachedWindow bobWindow(log, *panes.grid, bob, "bob window");
    Popover popover;
    popover.setContentWidget(new FakeContactPopover(log, "popover", ann));
    panes.grid->currentPopover = &popover;

    view->setRepresentedObject(QVariant());
    EXPECT_TRUE(panes.grid->windows.isEmpty());
    EXPECT_EQ(panes.grid->currentPopover, nullptr);
}

TEST_F(ContactViewsOnReloadTest, AValueEditorInTheGridStaysOpen)
{
    Popover popover;
    popover.setContentWidget(new QLabel);
    panes.grid->currentPopover = &popover;
    view->setRepresentedObject(QVariant());
    EXPECT_EQ(panes.grid->currentPopover, &popover);
}

} // namespace
