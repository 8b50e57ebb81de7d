#include "FunnelFixture.h"
#include "SaveFixture.h"

#include "detail/ContactInfoController.h"
#include "detail/DetailTableController.h"
#include "ui/widgets/ImageViewDragAndDrop.h"
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

enum class Reload
{
    Save,
    Revert
};

struct ReloadCase
{
    const char *name;
    Reload reload;
    // Chosen in the grid, or only shown in the pane (as at start, before any click).
    bool selectedInGrid;
};

void PrintTo(const ReloadCase &reload, std::ostream *os)
{
    *os << reload.name;
}

// The detail pane must hold the new tree's record after a reload: an edit of the old one marks the
// window edited, and the next Save writes nothing.
class DetailPaneOnReloadTest : public SaveFixture, public ::testing::WithParamInterface<ReloadCase>
{
protected:
    void SetUp() override
    {
        SaveFixture::SetUp();
        window->show();
        QCoreApplication::processEvents();
    }

    ContactInfoController *pane() const
    {
        return static_cast<ContactInfoController *>(view()->contactInfoController());
    }

    void reload(Reload kind)
    {
        if (kind == Reload::Save) {
            delegate->saveDocument();
            return;
        }
        Alert::setNextAnswer(Alert::FirstButton);
        delegate->revertAddressBookToSaved();
        QCoreApplication::processEvents();
    }
};

TEST_P(DetailPaneOnReloadTest, ThePaneShowsAndEditsTheNewRecord)
{
    ContactsGridInterface *grid = view()->contactsViewController();
    grid->tableView()->clearSelection();
    if (GetParam().selectedInGrid)
        grid->selectRowIndexesWithContacts({row(top(), "Bob")});
    else
        pane()->setContact(row(top(), "Bob"));
    ASSERT_EQ(pane()->contact()->person, row(top(), "Bob")->person);
    view()->undoReplaceValue(QStringLiteral("first"), QStringLiteral("Note"), row(top(), "Bob"), nullptr);

    reload(GetParam().reload);
    ASSERT_TRUE(pane()->contact());
    EXPECT_EQ(pane()->contact()->person, row(top(), "Bob")->person);

    ImageViewDragAndDrop well;
    well.setImage(QImage::fromData(pngOf(Qt::green)));
    pane()->detailTable()->imageDidChange(&well);
    EXPECT_TRUE(view()->isDocumentEdited());
    delegate->saveDocument();
    const StoreResult<StoreContact> stored =
        ContactStore().unifiedContact(row(top(), "Bob")->uniqueId, {StoreKey::ImageData});
    ASSERT_TRUE(stored.ok());
    EXPECT_FALSE(stored.value.imageData.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Reloads, DetailPaneOnReloadTest,
                         ::testing::Values(ReloadCase{"SaveWithTheRowSelected", Reload::Save, true},
                                           ReloadCase{"RevertWithTheRowSelected", Reload::Revert, true},
                                           ReloadCase{"SaveWithoutASelection", Reload::Save, false}),
                         [](const ::testing::TestParamInfo<ReloadCase> &info) {
                             return std::string(info.param.name);
                         });

TEST_F(DetailPaneOnReloadTest, AContactGoneWithTheOldTreeLeavesThePaneEmpty)
{
    const ContactRowPtr dora = created("Dora");
    view()->undoAddContacts({dora}, top());
    view()->contactsViewController()->tableView()->clearSelection();
    pane()->setContact(dora);
    reload(Reload::Revert);
    EXPECT_FALSE(pane()->contact());
    EXPECT_EQ(pane()->detailTable()->table().size(), 0);
}

} // namespace
