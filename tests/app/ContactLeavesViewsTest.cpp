#include "SaveFixture.h"

#include "detail/ContactInfoController.h"
#include "detail/ContactInfoPopover.h"
#include "detail/DetailTableController.h"
#include "detail/DetailTableEditing.h"
#include "editors/CustomItemPanel.h"
#include "platform/widgets/Popover.h"
#include "ui/contracts/ContactsGridInterface.h"

namespace {

// The views beside the grid follow the address book: a contact that leaves the shown table leaves
// them, and a custom item added or deleted in its sheet shows in the detail pane at once.
class PaneFollowsTheBookTest : public SaveFixture
{
protected:
    void SetUp() override
    {
        SaveFixture::SetUp();
        window->show();
        view()->setEditState(true);
    }
    ContactInfoController *pane() const
    {
        return static_cast<ContactInfoController *>(view()->contactInfoController());
    }
    bool paneShowsRow(const QString &type) const
    {
        const auto rows = pane()->detailTable()->table();
        return std::any_of(rows.cbegin(), rows.cend(), [&](const auto &row) { return row->type == type; });
    }
};

TEST_F(PaneFollowsTheBookTest, AnUndoneAddLeavesThePaneAndThePopoverWithTheirEditsUnwritten)
{
    const ContactRowPtr dora = created("Dora");
    view()->undoAddContacts({dora}, top());
    view()->undoManager()->closeAutomaticGroup();
    ContactsGridInterface *grid = view()->contactsViewController();
    grid->selectRowIndexesWithContacts({dora});
    QCoreApplication::processEvents();
    ASSERT_TRUE(pane()->contact());
    ASSERT_EQ(pane()->contact()->uniqueId, dora->uniqueId);
    grid->showContactInfoPopoverWithOption(false);
    auto *popover = qobject_cast<ContactInfoPopover *>(grid->popover()->contentWidget());
    ASSERT_TRUE(popover);
    popover->detailTable()->editing().editRowInPlace(5);

    view()->undo();
    QCoreApplication::processEvents();
    EXPECT_FALSE(pane()->contact());
    EXPECT_EQ(grid->popover(), nullptr);
    EXPECT_TRUE(grid->detachedWindows().isEmpty());
    EXPECT_FALSE(view()->isDocumentEdited());
}

TEST_F(PaneFollowsTheBookTest, ACustomItemAddedOrDeletedInItsSheetShowsAtOnce)
{
    pane()->setContact(row(top(), "Ann"));
    EXPECT_FALSE(paneShowsRow("Pets"));
    window->showCustomItems();
    CustomItemPanel *panel = window->customItemPanel();
    ASSERT_TRUE(panel && panel->isSheetOpen());
    panel->setCustomItems({QVariantMap{{"Name", "Pets"}, {"Type", "String Value"}, {"new", true}}});
    panel->endSheet(1);
    QCoreApplication::processEvents();
    EXPECT_TRUE(paneShowsRow("Pets"));

    window->showCustomItems();
    panel->setCustomItems({QVariantMap{{"Name", "Pets"}, {"Type", "String Value"}, {"deleted", true}}});
    panel->endSheet(1);
    QCoreApplication::processEvents();
    EXPECT_FALSE(paneShowsRow("Pets"));
}

} // namespace
