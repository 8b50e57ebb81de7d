#include "FunnelFixture.h"

#include "addressbook/UndoGroup.h"
#include "app/ChangeBroadcast.h"
#include "platform/widgets/Popover.h"

namespace {

// --- the broadcast ---------------------------------------------------------------------------

enum class Sender
{
    DetailPane,
    Popover,
    Nil,
    ViewController,
    Grid
};

struct BroadcastCase
{
    const char *name;
    Sender sender;
    QStringList refreshed;
};

class BroadcastTest : public FunnelFixture, public ::testing::WithParamInterface<BroadcastCase>
{
protected:
    void SetUp() override
    {
        FunnelFixture::SetUp();
        row = rowOf(sampleContact("Ann"));
        other = rowOf(sampleContact("Bo"));
        popover.setContentWidget(new FakeContactPopover(log, "popover", row));
        panes.grid->currentPopover = &popover;
        window = std::make_unique<FakeDetachedWindow>(log, *panes.grid, row, "window");
        otherWindow = std::make_unique<FakeDetachedWindow>(log, *panes.grid, other, "other window");
        panes.detail->setContact(row);
        log.calls.clear();
    }

    QObject *sender(Sender kind)
    {
        switch (kind) {
        case Sender::DetailPane:
            return panes.detail->view();
        case Sender::Popover:
            return popover.contentWidget();
        case Sender::ViewController:
            return view.get();
        case Sender::Grid:
            return panes.grid->view();
        case Sender::Nil:
            break;
        }
        return nullptr;
    }

    ContactRowPtr row, other;
    Popover popover;
    std::unique_ptr<FakeDetachedWindow> window, otherWindow;
};

TEST_P(BroadcastTest, RefreshesTheViewsOfTheContactAndMarksTheWindowEdited)
{
    view->contactDidUpdate(row, sender(GetParam().sender));
    EXPECT_EQ(log.calls, GetParam().refreshed);
    EXPECT_TRUE(view->isDocumentEdited());
}

INSTANTIATE_TEST_SUITE_P(
    BySender, BroadcastTest,
    ::testing::Values(BroadcastCase{"DetailPane", Sender::DetailPane, {"detail", "grid"}},
                      BroadcastCase{"Popover", Sender::Popover, {"detail", "popover", "window", "grid"}},
                      BroadcastCase{"Nil", Sender::Nil, {"detail", "window", "grid"}},
                      BroadcastCase{"ViewController", Sender::ViewController, {"detail", "window", "grid"}},
                      BroadcastCase{"Grid", Sender::Grid, {"detail", "window"}}),
    [](const ::testing::TestParamInfo<BroadcastCase> &info) { return std::string(info.param.name); });

TEST_F(BroadcastTest, DuringUndoTheDetailPaneTheGridAndTheContactsWindowsAreRefreshed)
{
    bool editedDuringUndo = true;
    undoManager().registerUndo([&] {
        view->contactDidUpdate(row, panes.detail->view());
        editedDuringUndo = view->isDocumentEdited();
    });
    nextEvent();
    undoManager().undo();
    EXPECT_EQ(log.calls, QStringList({"detail", "window", "grid"}));
    EXPECT_FALSE(editedDuringUndo);
}

TEST_F(BroadcastTest, TheDetailPaneShowingAnotherContactIsLeftAlone)
{
    view->contactDidUpdate(other, nullptr);
    EXPECT_EQ(log.calls, QStringList({"other window", "grid"}));
}

// A command over many contacts redraws each view once, when its group ends, and so does its undo.
TEST_F(BroadcastTest, ChangesInsideOneUndoGroupRedrawEachViewOnce)
{
    {
        UndoGroup group(undoManager());
        for (int i = 0; i < 3; ++i) {
            for (const ContactRowPtr &contact : {row, other}) {
                undoManager().registerUndo([this, contact] { view->contactDidUpdate(contact, nullptr); });
                view->contactDidUpdate(contact, nullptr);
            }
        }
        EXPECT_EQ(log.calls, QStringList{});
    }
    QStringList calls = log.calls;
    calls.sort();
    EXPECT_EQ(calls, QStringList({"detail", "grid", "other window", "window"}));
    EXPECT_TRUE(view->isDocumentEdited());

    log.calls.clear();
    nextEvent();
    undoManager().undo();
    calls = log.calls;
    calls.sort();
    EXPECT_EQ(calls, QStringList({"detail", "grid", "other window", "window"}));
}

// A list written whole shows in the detail pane too, not only in the grid.
TEST_F(BroadcastTest, AListWrittenWholeRedrawsTheDetailPane)
{
    view->changeBroadcast().listDidUpdate(row);
    EXPECT_EQ(log.calls, QStringList({"detail", "window", "grid"}));
}

} // namespace
